#pragma once

#include "FontDialog.h"

#include <QColor>
#include <QFont>

#include <optional>

class QWidget;

namespace bp {

class CParagraph;

// The standard dialogs the body's commands ask the user through. Tests answer them instead.
class INoteDialogs {
public:
    virtual ~INoteDialogs() = default;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    // A font with its text colour.
    virtual std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) = 0;
    // True when the user confirmed the dialog.
    virtual bool runParagraph(CParagraph& dialog) = 0;
};

// Qt's own colour and font dialogs, and the paragraph dialog shown modally.
INoteDialogs& standardNoteDialogs();

}  // namespace bp
