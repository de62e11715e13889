#pragma once

#include <QSize>

class QDialog;
class QFormLayout;
class QString;

namespace bp {

// Lays a dialog out as its form of fields above "OK" and "Cancel", which accept and reject it.
void layOutFormWithOkCancel(QDialog& dialog, QFormLayout* form);

// Gives a laid-out dialog the one size it keeps: the window manager then offers no maximise
// button, the dialog asks for no context-help or minimise button, and it is wide enough for
// its whole caption. A preferred size stands in for what the contents ask for.
void fixDialogSize(QDialog& dialog, QSize preferred = {});

// The width a window manager's title bar needs for caption: the text in bold, the window
// icon and the buttons beside it.
int captionRoom(const QString& caption);

}  // namespace bp
