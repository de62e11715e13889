#include "BodyEditor.h"

#include "NoteBody.h"
#include "NoteFrame.h"
#include "NoteMenus.h"
#include "Paragraph.h"
#include "Title.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "richtext/Markdown.h"
#include "richtext/RichText.h"
#include "store/Settings.h"
#include "ui/BodyFormat.h"
#include "ui/NoteDialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace bp {

namespace {

class StandardDialogs : public INoteDialogs {
public:
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override {
        const QColor chosen = QColorDialog::getColor(initial, parent);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    }
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override {
        CFontDialog dialog(parent, initial);
        return dialog.exec() == QDialog::Accepted ? std::optional<FontChoice>(dialog.choice())
                                                  : std::nullopt;
    }
    bool runParagraph(CParagraph& dialog) override { return dialog.exec() == QDialog::Accepted; }
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_') || c == QLatin1Char('\'');
}

// The six formatting keys; each note window owns its own, so they act on the note being
// edited and leave every other program's keys alone.
struct FormattingKey {
    QKeyCombination keys;
    int action;  // 0-3 an effect, otherwise a command
};

constexpr int kBodyFontAction = 100;
constexpr int kRandomColorsAction = 101;
constexpr int kChecklistAction = 102;

const FormattingKey kFormattingKeys[] = {
    {Qt::CTRL | Qt::Key_B, 0},
    {Qt::CTRL | Qt::Key_I, 1},
    {Qt::CTRL | Qt::Key_U, 2},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_S, 3},
    {Qt::CTRL | Qt::Key_D, kBodyFontAction},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_R, kRandomColorsAction},
    {CChecklistEditor::checklistKey(), kChecklistAction},
};

}  // namespace

INoteDialogs& standardNoteDialogs() {
    static StandardDialogs dialogs;
    return dialogs;
}

CBodyEditor::CBodyEditor(INoteFrame& note, CNoteBody& body, IShell* shell)
    : QObject(&note.frameWindow()),
      note_(note),
      body_(body),
      shell_(shell),
      dialogs_(&standardNoteDialogs()),
      checklist_(body, [this] { return note_.bodyFontColor(); }) {
    body_.setAccessibleName(QStringLiteral("Note text"));
    body_.setContextMenuPolicy(Qt::PreventContextMenu);
    body_.installEventFilter(this);
    body_.viewport()->installEventFilter(this);
    // The formatting keys are window shortcuts, which only an active window receives. Every
    // shortcut of the program sits in one list that each new one is sorted into and searched
    // through, so a note gets its keys when it is first activated: thousands of notes that
    // are only shown do not make that list, and every start-up step that walks it, grow.
    note_.frameWindow().installEventFilter(this);
    connect(body_.document(), &QTextDocument::contentsChanged, this,
            [this] { followChecklistProgress(); });
}

void CBodyEditor::followChecklistProgress() {
    const checklist::Progress now = checklist::progressOf(*body_.document());
    if (now == progress_) {
        return;
    }
    progress_ = now;
    if (!note_.closing() && note_.title() != nullptr) {
        note_.refreshTooltips();
    }
}

int CBodyEditor::dpi() const {
    const int value = body_.logicalDpiY();
    return value > 0 ? value : 96;
}

void CBodyEditor::installFormattingKeys() {
    for (const FormattingKey& key : kFormattingKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key.keys), &note_.frameWindow());
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(false);
        const int action = key.action;
        connect(shortcut, &QShortcut::activated, this, [this, action] {
            if (note_.closing()) {
                return;
            }
            switch (action) {
                case kBodyFontAction:
                    note_.chooseBodyFont();
                    break;
                case kRandomColorsAction:
                    emit randomColorsRequested();
                    break;
                case kChecklistAction:
                    toggleChecklist();
                    break;
                default:
                    toggleEffect(static_cast<Effect>(action));
                    break;
            }
        });
    }
}

bool CBodyEditor::isFormattingKey(const QKeyEvent& key) const {
    const QKeyCombination pressed = key.keyCombination();
    for (const FormattingKey& k : kFormattingKeys) {
        if (pressed.key() == k.keys.key() &&
            (pressed.keyboardModifiers() & ~Qt::KeypadModifier) == k.keys.keyboardModifiers()) {
            return true;
        }
    }
    return false;
}

void CBodyEditor::undo() {
    if (!body_.isReadOnly()) {
        body_.undo();
    }
}

void CBodyEditor::redo() {
    if (!body_.isReadOnly()) {
        body_.redo();
    }
}

void CBodyEditor::selectAll() {
    body_.selectAll();
}

void CBodyEditor::deleteSelection() {
    if (!body_.isReadOnly()) {
        QTextCursor cursor = body_.textCursor();
        cursor.removeSelectedText();
        body_.setTextCursor(cursor);
    }
}

void CBodyEditor::cut() {
    if (!body_.isReadOnly()) {
        body_.cut();
    }
}

void CBodyEditor::copy() {
    body_.copy();
}

void CBodyEditor::paste() {
    if (body_.isReadOnly()) {
        return;
    }
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    if (clipboard != nullptr && pastesMarkdown(*clipboard)) {
        insertMarkdown(clipboard->text());
    } else {
        insertClipboard(false);
    }
}

void CBodyEditor::pastePlain() {
    if (!body_.isReadOnly()) {
        insertClipboard(true);
    }
}

void CBodyEditor::pasteMarkdown() {
    if (!body_.isReadOnly()) {
        insertMarkdown(QGuiApplication::clipboard()->text());
    }
}

void CBodyEditor::copyMarkdown() {
    QGuiApplication::clipboard()->setText(markdown::selectionToMarkdown(body_.textCursor()));
}

void CBodyEditor::insertMarkdown(const QString& markdown) {
    QTextCursor cursor = body_.textCursor();
    const int room = CNoteBody::kTextLimit - body_.textLength() +
                     (cursor.selectionEnd() - cursor.selectionStart());
    if (markdown.size() > room) {
        insertClipboard(true);
        return;
    }
    QTextCharFormat base = withBodyFont(QTextCharFormat());
    base.setForeground(note_.bodyFontColor());
    markdown::insertMarkdown(cursor, markdown, base);
    body_.setTextCursor(cursor);
    body_.ensureCursorVisible();
}

bool CBodyEditor::pastesMarkdown(const QMimeData& clipboard) const {
    const bool rich = clipboard.hasHtml() || clipboard.hasImage() ||
                      clipboard.hasFormat(QStringLiteral("text/rtf")) ||
                      clipboard.hasFormat(QStringLiteral("application/rtf")) ||
                      clipboard.hasFormat(QStringLiteral("application/x-qt-richtext"));
    return !rich && clipboard.hasText() &&
           setting::get(note_.store(), setting::pasteMarkdown) != 0 &&
           markdown::looksLikeMarkdown(clipboard.text());
}

void CBodyEditor::setInsertionColor(const QColor& color) {
    QTextCursor cursor = body_.textCursor();
    if (cursor.hasSelection()) {
        mergeOverSelection(cursor, colorFormat(color));
    } else {
        body_.setCurrentCharFormat(insertionFormat(cursor.charFormat(), colorFormat(color)));
    }
}

void CBodyEditor::setInsertionFont(const LogFont& font) {
    applyFont(fontFormatFromLogFont(font, dpi()));
}

void CBodyEditor::applyFont(const QTextCharFormat& change) {
    QTextCursor cursor = body_.textCursor();
    if (cursor.hasSelection()) {
        mergeOverSelection(cursor, change);
    } else {
        body_.setCurrentCharFormat(insertionFormat(cursor.charFormat(), change));
    }
}

LogFont CBodyEditor::charFormatToLogFont(const QTextCharFormat& format) {
    scratchFont_ = bp::charFormatToLogFont(format, body_.document()->defaultFont(), dpi());
    return scratchFont_;
}

QTextCharFormat CBodyEditor::withBodyFont(const QTextCharFormat& format) const {
    QTextCharFormat full = fontFormatFromLogFont(note_.bodyFont(), dpi());
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        full.clearProperty(QTextFormat::FontPointSize);
    }
    full.merge(format);
    return full;
}

void CBodyEditor::applyDefaultBodyFormat() {
    QTextDocument* document = body_.document();
    const bool modified = document->isModified();
    const QTextCharFormat font = fontFormatFromLogFont(note_.bodyFont(), dpi());
    // Text without a font of its own follows the document's font; text that has one (a
    // duplicated or loaded body) keeps it.
    QFont base = document->defaultFont();
    base = font.font().resolve(base);
    document->setDefaultFont(base);
    QTextCharFormat change = font;
    change.merge(colorFormat(note_.bodyFontColor()));
    QTextCursor cursor = body_.textCursor();
    if (document->isEmpty()) {
        cursor.clearSelection();
        body_.setTextCursor(cursor);
        body_.setCurrentCharFormat(insertionFormat(cursor.charFormat(), change));
    }
    document->setModified(modified);
}

QTextCharFormat CBodyEditor::formatAtSelectionStart() const {
    const QTextCursor selection = body_.textCursor();
    QTextCursor at(body_.document());
    const int start = std::max(0, selection.selectionStart());
    if (selection.hasSelection()) {
        // The first selected character.
        at.setPosition(start + 1);
    } else {
        at.setPosition(start);
        if (selection.position() == start) {
            return selection.charFormat();
        }
    }
    return at.charFormat();
}

void CBodyEditor::prepareTyping() {
    const QTextCursor cursor = body_.textCursor();
    if (cursor.hasSelection() || cursor.selectionStart() != 0) {
        const QTextCharFormat before = formatAtSelectionStart();
        const QBrush brush = before.foreground();
        setInsertionColor(brush.style() != Qt::NoBrush ? brush.color() : note_.bodyFontColor());
        // The font goes over as it is: a trip through a pixel height would turn 20 points
        // into 20.25 and split the text into runs that differ by a fraction of a point.
        const LogFont record = charFormatToLogFont(before);
        QTextCharFormat font = fontFormatFromLogFont(record, dpi());
        font.setFontPointSize(pointSizeOf(before, body_.document()->defaultFont(), dpi()));
        applyFont(font);
    } else {
        setInsertionColor(note_.bodyFontColor());
        setInsertionFont(note_.bodyFont());
    }
    note_.frameWindow().update(body_.geometry());
}

void CBodyEditor::toggleEffect(Effect effect) {
    if (body_.isReadOnly() || note_.closing()) {
        return;
    }
    QTextDocument* document = body_.document();
    QTextCursor cursor = body_.textCursor();
    const QTextCharFormat current = formatAtSelectionStart();

    int wordStart = -1;
    int wordEnd = -1;
    if (!cursor.hasSelection()) {
        const int caret = cursor.position();
        if (isWordChar(document->characterAt(caret))) {
            wordStart = caret;
            while (wordStart > 0 && isWordChar(document->characterAt(wordStart - 1))) {
                --wordStart;
            }
            wordEnd = caret;
            while (isWordChar(document->characterAt(wordEnd))) {
                ++wordEnd;
            }
        }
    }

    QTextCharFormat change;
    change.setFontWeight(isBold(current) ? QFont::Normal : QFont::Bold);
    change.setFontItalic(current.fontItalic());
    change.setFontUnderline(current.fontUnderline());
    change.setFontStrikeOut(current.fontStrikeOut());
    if (current.hasProperty(QTextFormat::ForegroundBrush)) {
        change.setForeground(current.foreground());
    }
    if (effect != Effect::Bold) {
        change.setFontWeight(isBold(current) ? QFont::Bold : QFont::Normal);
    }
    switch (effect) {
        case Effect::Bold:
            break;
        case Effect::Italic:
            change.setFontItalic(!current.fontItalic());
            break;
        case Effect::Underline:
            change.setFontUnderline(!current.fontUnderline());
            break;
        case Effect::StrikeOut:
            change.setFontStrikeOut(!current.fontStrikeOut());
            break;
    }

    if (wordStart >= 0 && wordStart < wordEnd) {
        QTextCursor word(document);
        word.setPosition(wordStart);
        word.setPosition(wordEnd, QTextCursor::KeepAnchor);
        mergeOverSelection(word, change);
    } else if (cursor.hasSelection()) {
        mergeOverSelection(cursor, change);
    } else {
        body_.setCurrentCharFormat(insertionFormat(cursor.charFormat(), change));
    }
}

void CBodyEditor::insertClipboard(bool plainOnly) {
    setInsertionColor(note_.bodyFontColor());
    setInsertionFont(note_.bodyFont());
    if (plainOnly) {
        body_.insertLimitedText(QGuiApplication::clipboard()->text());
    } else {
        body_.paste();
    }
}

void CBodyEditor::chooseSelectionColor() {
    if (body_.isReadOnly() || note_.closing()) {
        return;
    }
    const QTextCursor kept = body_.textCursor();
    const QTextCharFormat format = formatAtSelectionStart();
    const QBrush brush = format.foreground();
    const QColor initial = brush.style() != Qt::NoBrush ? brush.color() : note_.bodyFontColor();
    note_.BeginModal();
    QPointer<QWidget> alive(&note_.frameWindow());
    const std::optional<QColor> chosen = dialogs_->chooseColor(&note_.frameWindow(), initial);
    if (!alive) {
        return;
    }
    note_.EndModal();
    if (chosen) {
        body_.setTextCursor(kept);
        setInsertionColor(*chosen);
    }
}

void CBodyEditor::chooseSelectionFont() {
    if (body_.isReadOnly() || note_.closing()) {
        return;
    }
    const QTextCursor kept = body_.textCursor();
    const QTextCharFormat format = formatAtSelectionStart();
    const LogFont initial = charFormatToLogFont(withBodyFont(format));
    QFont font = QTextCharFormat(fontFormatFromLogFont(initial, dpi())).font();
    const QBrush brush = format.foreground();
    const QColor color = brush.style() != Qt::NoBrush ? brush.color() : note_.bodyFontColor();
    note_.BeginModal();
    QPointer<QWidget> alive(&note_.frameWindow());
    const std::optional<FontChoice> chosen =
        dialogs_->chooseFont(&note_.frameWindow(), {font, color});
    if (!alive) {
        return;
    }
    note_.EndModal();
    if (chosen) {
        body_.setTextCursor(kept);
        LogFont record;
        QTextCharFormat asFormat;
        asFormat.setFont(chosen->font, QTextCharFormat::FontPropertiesSpecifiedOnly);
        record = bp::charFormatToLogFont(asFormat, body_.document()->defaultFont(), dpi());
        // The size goes through pixels at the screen's resolution, like every stored font.
        setInsertionFont(record);
        // Text of several colours keeps them unless another colour was picked.
        if (chosen->color != color) {
            setInsertionColor(chosen->color);
        }
    }
}

void CBodyEditor::paragraphSettings() {
    if (body_.isReadOnly() || note_.closing()) {
        return;
    }
    note_.title()->finishEdit();
    note_.BeginModal();
    QTextCursor cursor = body_.textCursor();
    const bool atStart = cursor.selectionEnd() <= 0;
    if (atStart) {
        cursor.setPosition(0);
        body_.setTextCursor(cursor);
    }
    QPointer<QWidget> alive(&note_.frameWindow());
    CParagraph dialog(&note_.frameWindow());
    dialog.setChoice(choiceForParagraph(cursor));
    const bool confirmed = dialogs_->runParagraph(dialog);
    if (!alive) {
        return;
    }
    if (confirmed) {
        applyParagraphChoice(cursor, dialog.choice());
        if (atStart) {
            QTextCursor start = body_.textCursor();
            start.setPosition(0);
            body_.setTextCursor(start);
        }
    }
    note_.EndModal();
}

void CBodyEditor::toggleChecklist() {
    if (!body_.isReadOnly() && !note_.closing()) {
        checklist_.toggleChecklist();
    }
}

void CBodyEditor::updateMenuStates(QMenu& menu) const {
    const bool selected = body_.textCursor().hasSelection();
    const bool editable = !body_.isReadOnly();
    auto enable = [&menu](int id, bool on) {
        if (QAction* action = findCommand(menu, id)) {
            action->setEnabled(on);
        }
    };
    enable(cmd::EDIT_CUT, selected && editable);
    enable(cmd::EDIT_COPY, selected);
    enable(cmd::EDIT_DELETE, selected && editable);
    const bool pasteable = editable && body_.canPaste();
    enable(cmd::EDIT_PASTE, pasteable);
    enable(cmd::EDIT_PASTE_PLAIN, pasteable);
    enable(cmd::EDIT_PASTE_MARKDOWN, editable && !QGuiApplication::clipboard()->text().isEmpty());
    enable(cmd::CHECKLIST, editable);
    enable(cmd::EDIT_UNDO, editable && body_.document()->isUndoAvailable());
    enable(cmd::EDIT_REDO, editable && body_.document()->isRedoAvailable());
}

void CBodyEditor::openBodyMenu(const QPoint& viewportPos) {
    note_.title()->finishEdit();
    note_.StoreBody();
    const bool locked = !note_.isEditable();
    std::unique_ptr<QMenu> menu =
        note_.buildMenu(locked ? NoteMenu::Unlock : NoteMenu::Edit, &note_.frameWindow());
    if (!locked) {
        updateMenuStates(*menu);
    }
    trackMenu(*menu, body_.viewport()->mapToGlobal(viewportPos));
}

QString CBodyEditor::addressAt(const QPoint& viewportPos) const {
    const QPointF documentPos(viewportPos.x() + body_.horizontalScrollBar()->value(),
                              viewportPos.y() + body_.verticalScrollBar()->value());
    QTextDocument* document = body_.document();
    const int position = document->documentLayout()->hitTest(documentPos, Qt::ExactHit);
    if (position < 0) {
        return {};
    }
    QString anchor = body_.anchorAt(viewportPos);
    if (!anchor.isEmpty()) {
        return anchor;
    }
    const QTextBlock block = document->findBlock(position);
    const QString text = block.text();
    const qsizetype offset = position - block.position();
    for (const rtf::TextRange& range : rtf::findWebAddresses(text)) {
        if (offset >= range.start && offset < range.start + range.length) {
            return text.mid(range.start, range.length);
        }
    }
    return {};
}

bool CBodyEditor::eventFilter(QObject* watched, QEvent* event) {
    if (note_.closing()) {
        return false;
    }
    if (watched == &note_.frameWindow()) {
        if (event->type() == QEvent::WindowActivate) {
            note_.frameWindow().removeEventFilter(this);
            installFormattingKeys();
        }
        return false;
    }
    if (watched == &body_) {
        switch (event->type()) {
            case QEvent::ShortcutOverride: {
                // The edit control has uses of its own for some of these keys (Ctrl+U deletes
                // the line on X11); the note's formatting keys come first.
                auto* key = static_cast<QKeyEvent*>(event);
                if (isFormattingKey(*key)) {
                    event->ignore();
                    return true;
                }
                if (checklist_.wantsKey(*key)) {
                    event->accept();
                    return true;
                }
                break;
            }
            case QEvent::KeyPress: {
                auto* key = static_cast<QKeyEvent*>(event);
                if (checklist_.handleKey(*key)) {
                    return true;
                }
                if (key->matches(QKeySequence::Paste) && !body_.isReadOnly()) {
                    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
                    if (clipboard != nullptr && pastesMarkdown(*clipboard)) {
                        insertMarkdown(clipboard->text());
                        return true;
                    }
                }
                const QString text = key->text();
                if (!body_.isReadOnly() && !text.isEmpty() && text.front().unicode() >= 32 &&
                    text.front() != QChar(0x7F) && !(key->modifiers() & Qt::ControlModifier)) {
                    prepareTyping();
                }
                break;
            }
            case QEvent::FocusIn:
                if (CTitle* title = note_.title()) {
                    title->finishEdit();
                }
                note_.frameWindow().update(body_.geometry());
                break;
            case QEvent::FocusOut:
                note_.frameWindow().update(body_.geometry());
                break;
            default:
                break;
        }
        return false;
    }
    if (watched == body_.viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            // A click on a box ticks it and leaves the caret and selection where they were.
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier &&
                checklist_.handleClick(mouse->position().toPoint())) {
                return true;
            }
        }
        if (event->type() == QEvent::MouseButtonRelease ||
            event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint pos = mouse->position().toPoint();
            if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonRelease) {
                openBodyMenu(pos);
                return true;
            }
            if (mouse->button() == Qt::LeftButton && !body_.textCursor().hasSelection()) {
                const QString address = addressAt(pos);
                if (!address.isEmpty()) {
                    if (shell_ != nullptr) {
                        shell_->open(address.toStdString());
                    }
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace bp
