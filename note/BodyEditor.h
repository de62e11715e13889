#pragma once

#include "ChecklistEditor.h"
#include "richtext/Checklist.h"
#include "store/FontCodec.h"

#include <QColor>
#include <QObject>
#include <QTextCharFormat>

#include <string>

class QKeyEvent;
class QMimeData;
class QMenu;
class QShortcut;

namespace bp {

class INoteFrame;
class CNoteBody;
class IShell;
class INoteDialogs;

// The editing rules of a note's body: the format of typed and pasted text, the edit menu and
// its commands, selection font and colour, paragraph settings, the formatting keys and
// clicks on web addresses. The note owns it; the note's menus call its edit commands.
class CBodyEditor : public QObject {
    Q_OBJECT
public:
    CBodyEditor(INoteFrame& note, CNoteBody& body, IShell* shell);

    // The edit commands of the note's menu. Those that change the text do nothing while the
    // note is locked.
    void undo();
    void redo();
    void selectAll();
    void deleteSelection();
    void cut();
    void copy();
    // Pastes in the note's body font and colour where the clipboard says nothing else.
    void paste();
    // Pastes the clipboard's text only.
    void pastePlain();
    // Pastes the clipboard's text read as Markdown, in the note's own formatting.
    void pasteMarkdown();
    // Puts the selection, or the whole note when nothing is selected, on the clipboard as
    // Markdown text.
    void copyMarkdown();
    void chooseSelectionColor();
    void chooseSelectionFont();
    void paragraphSettings();
    // Makes the selected paragraphs checklist items, or plain paragraphs again.
    void toggleChecklist();
    const CChecklistEditor& checklist() const { return checklist_; }

    void setInsertionColor(const QColor& color);
    void setInsertionFont(const LogFont& font);
    // The font record of a character format, kept as the scratch font for the font dialog.
    LogFont charFormatToLogFont(const QTextCharFormat& format);
    const LogFont& scratchFont() const { return scratchFont_; }
    // A character format with what it leaves open (face, size, style) taken from the note's
    // body font, which text without a font of its own is typed in.
    QTextCharFormat withBodyFont(const QTextCharFormat& format) const;
    void applyDefaultBodyFormat();

    enum class Effect { Bold, Italic, Underline, StrikeOut };
    void toggleEffect(Effect effect);

    // Fixes the format of the text about to be typed at the caret.
    void prepareTyping();
    // Opens the body menu at a point of the body's viewport.
    void openBodyMenu(const QPoint& viewportPos);
    // Enables the body menu's items for the body's state.
    void updateMenuStates(QMenu& menu) const;
    // The web address under a point of the body's viewport, empty when there is none.
    QString addressAt(const QPoint& viewportPos) const;

    void setDialogs(INoteDialogs* dialogs) { dialogs_ = dialogs; }

    // The vertical resolution the body's sizes are converted at.
    int dpi() const;

signals:
    // Ctrl+Shift+R: the note wants a new random colour scheme.
    void randomColorsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sets a font format on the selection, or on what is typed next when nothing is selected.
    void applyFont(const QTextCharFormat& change);
    void insertClipboard(bool plainOnly);
    // Inserts Markdown text at the caret; plain text when it would pass the body's limit.
    void insertMarkdown(const QString& markdown);
    bool pastesMarkdown(const QMimeData& clipboard) const;
    // The title's tip tells how much of a checklist is done; it is told again when that changes.
    void followChecklistProgress();
    QTextCharFormat formatAtSelectionStart() const;
    void installFormattingKeys();
    bool isFormattingKey(const QKeyEvent& key) const;

    INoteFrame& note_;
    CNoteBody& body_;
    IShell* shell_;
    INoteDialogs* dialogs_;
    LogFont scratchFont_;
    CChecklistEditor checklist_;
    checklist::Progress progress_;
};

}  // namespace bp
