#pragma once

#include <QColor>
#include <QSize>

class QPalette;

class QDialog;
class QFormLayout;
class QString;
class QWidget;

namespace bp {

// Lays a dialog out as its form of fields above "OK" and "Cancel", which accept and reject it.
void layOutFormWithOkCancel(QDialog& dialog, QFormLayout* form);

// A box or small dialog asks the window manager for its title and close button only: no
// minimise, maximise or context-help button, since there is nothing to shrink or grow.
void offerOnlyCloseButton(QWidget& window);

// Gives a laid-out dialog the one size it keeps: the window manager then offers no maximise
// button, the dialog asks for no context-help or minimise button, and it is wide enough for
// its whole caption. A preferred size stands in for what the contents ask for.
void fixDialogSize(QDialog& dialog, QSize preferred = {});

// The width a window manager's title bar needs for caption: the text in bold, the window
// icon and the buttons beside it.
int captionRoom(const QString& caption);

// The colour for text the program wants in a fixed colour on a dialog's window: that colour
// while it stands out from the window (the usual light themes), else the theme's own text
// colour, so that dark and high-contrast themes keep the text readable.
QColor readableTextColor(const QColor& preferred, const QPalette& palette);

}  // namespace bp
