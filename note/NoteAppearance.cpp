#include "BodyEditor.h"
#include "ColorSchemes.h"
#include "Note.h"
#include "NoteBody.h"
#include "SetSizeDialog.h"
#include "Title.h"
#include "platform/Messages.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"
#include "ui/TransparencyDialog.h"

#include <QMetaObject>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

// How a note looks: priority and stacking, colours and fonts, transparency and size.

namespace bp {

void CNote::SetPriority(int priority) {
    if (closing_) {
        return;
    }
    // The user's choice takes effect at once, even on a note raised with all the others.
    static constexpr IWindowSystem::Stacking kStacking[] = {IWindowSystem::Stacking::Bottom,
                                                            IWindowSystem::Stacking::Normal,
                                                            IWindowSystem::Stacking::Top};
    platform_.windows->setStacking(this, kStacking[std::clamp(priority, 0, 2)]);
    store_.SetNote(nid_, priority, note::priority);
    title_->setPriorityImage(priority);
    priority_ = priority;
    refreshTooltips();
    owner_.noteChanged(nid_);
}

void CNote::ApplyRandomScheme() {
    if (closing_) {
        return;
    }
    const NoteColors colors = chooseRandomScheme(random_);
    title_->setColors(colorFromStored(colors.titleFont), colorFromStored(colors.titleBack));
    store_.SetNote(nid_, colors.titleFont, note::titleFontColor);
    store_.SetNote(nid_, colors.titleBack, note::titleBackColor);
    bodyBackColor_ = colorFromStored(colors.bodyBack);
    store_.SetNote(nid_, colors.bodyBack, note::bodyBackColor);
    bodyFontColor_ = colorFromStored(colors.bodyFont);
    QTextCharFormat format;
    format.setForeground(bodyFontColor_);
    body_->mergeCurrentCharFormat(format);
    store_.SetNote(nid_, colors.bodyFont, note::bodyFontColor);
    update();
}

void CNote::maximize() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    Rect area = platform_.desktop->availableRect();
    if (attachPanel_ != nullptr && attachPanel_->isVisible()) {
        area.height -= attachPanel_->height();
    }
    moveAndResize(QRect(area.x, area.y, area.width, area.height));
    LayoutChildren();
}

void CNote::chooseTransparency() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    const bool stored = store_.GetNote(kLiveSource, nid_, note::Transparency) != 0;
    const int position =
        CTransparency::positionFor(store_.GetNote(kLiveSource, nid_, note::TransLevel));
    BeginModal();
    CTransparency dialog(this, *platform_.windows, {this, attachPanel_}, stored, position);
    if (runModal(dialog) == QDialog::Accepted) {
        transparency_ = dialog.transparent() ? 1 : 0;
        store_.SetNote(nid_, CTransparency::levelFor(dialog.position()), note::TransLevel);
        store_.SetNote(nid_, transparency_, note::Transparency);
        hoverOpaque_ = false;
        update();
    }
    // Whatever the answer, the note shows what is stored now.
    ApplyTransparency();
    EndModal();
}

void CNote::chooseSize() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    BeginModal();
    CSetSize dialog(this, QSize(store_.GetNote(kLiveSource, nid_, note::Width),
                                store_.GetNote(kLiveSource, nid_, note::Height)));
    if (runModal(dialog) == QDialog::Accepted) {
        const QSize size = dialog.chosenSize();
        // The exact size wins over the size limits, until the user next resizes the note.
        setMinimumSize(std::min(minimumWidth(), size.width()),
                       std::min(minimumHeight(), size.height()));
        limitsRelaxed_ = true;
        resize(size);
        store_.SetNote(nid_, size.width(), note::Width);
        store_.SetNote(nid_, size.height(), note::Height);
        LayoutChildren();
    }
    EndModal();
}

void CNote::setNoteDialogs(INoteDialogs* dialogs) {
    dialogs_ = dialogs;
    if (editor_ != nullptr) {
        editor_->setDialogs(dialogs);
    }
}

void CNote::setAttachPanel(QWidget* panel) {
    attachPanel_ = panel;
    placeAttachPanel();
}

void CNote::showAttachPanel(bool show) {
    if (attachPanel_ == nullptr) {
        return;
    }
    if (show) {
        attachPanel_->setAttribute(Qt::WA_ShowWithoutActivating);
        attachPanel_->show();
        placeAttachPanel();
    } else {
        attachPanel_->hide();
    }
}

void CNote::setAttachmentsShown(bool show) {
    if (closing_) {
        return;
    }
    links_ = show ? 1 : 0;
    store_.SetNote(nid_, links_, note::links);
    store_.RequestSave(SaveUrgency::Soon);
    // Asked for by name, the panel shows even under a collapsed note.
    showAttachPanel(show && isVisible());
}

void CNote::placeAttachPanel() {
    if (attachPanel_ != nullptr) {
        attachPanel_->setGeometry(x(), y() + height(), width(), attachPanel_->height());
    }
}

void CNote::chooseNoteColor() {
    if (closing_) {
        return;
    }
    BeginModal();
    if (const std::optional<QColor> chosen = dialogs_->chooseColor(this, bodyBackColor_)) {
        // One colour for the whole note: the body and the title bar.
        bodyBackColor_ = *chosen;
        update();
        store_.SetNote(nid_, storedFromColor(*chosen), note::bodyBackColor);
        emit colorsChanged();
        title_->setColors(title_->textColor(), *chosen);
        store_.SetNote(nid_, storedFromColor(*chosen), note::titleBackColor);
    }
    EndModal();
}

namespace {

// The format of the first character of the text, where the whole-text commands start.
QTextCharFormat formatAtStart(QTextDocument* document) {
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat();
}

}  // namespace

void CNote::chooseBodyTextColor() {
    if (closing_) {
        return;
    }
    const QTextCursor saved = body_->textCursor();
    const QTextCharFormat first = formatAtStart(body_->document());
    const QColor initial = first.hasProperty(QTextFormat::ForegroundBrush)
                               ? first.foreground().color()
                               : bodyFontColor_;
    QTextCursor all(body_->document());
    all.select(QTextCursor::Document);
    body_->setTextCursor(all);
    BeginModal();
    if (const std::optional<QColor> chosen = dialogs_->chooseColor(this, initial)) {
        bodyFontColor_ = *chosen;
        editor_->setInsertionColor(*chosen);
        store_.SetNote(nid_, storedFromColor(*chosen), note::bodyFontColor);
        emit colorsChanged();
    }
    EndModal();
    body_->setTextCursor(saved);
}

void CNote::chooseBodyFont() {
    if (closing_) {
        return;
    }
    const QTextCursor saved = body_->textCursor();
    const QTextCharFormat first = formatAtStart(body_->document());
    QTextCursor all(body_->document());
    all.select(QTextCursor::Document);
    body_->setTextCursor(all);
    const LogFont current = editor_->charFormatToLogFont(editor_->withBodyFont(first));
    BeginModal();
    if (const std::optional<FontChoice> chosen =
            dialogs_->chooseFont(this, {fontFromRecord(current), bodyFontColor_})) {
        QTextCharFormat format;
        format.setFont(chosen->font);
        const LogFont record = editor_->charFormatToLogFont(format);
        bodyFontColor_ = chosen->color;
        editor_->setInsertionFont(record);
        editor_->setInsertionColor(bodyFontColor_);
        bodyFont_ = record;
        store_.SetNote(nid_, record, note::bodyFontType);
        store_.SetNote(nid_, storedFromColor(bodyFontColor_), note::bodyFontColor);
        emit colorsChanged();
    }
    EndModal();
    body_->setTextCursor(saved);
}

void CNote::chooseTitleFont() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    const LogFont stored = store_.GetNote(kLiveSource, nid_, note::titleFontType);
    BeginModal();
    if (const std::optional<FontChoice> chosen =
            dialogs_->chooseFont(this, {fontFromRecord(stored), title_->textColor()})) {
        QTextCharFormat format;
        format.setFont(chosen->font);
        const LogFont record = editor_->charFormatToLogFont(format);
        store_.SetNote(nid_, record, note::titleFontType);
        store_.SetNote(nid_, storedFromColor(chosen->color), note::titleFontColor);
        title_->setColors(chosen->color, title_->backColor());
        title_->setTitleFont(fontFromRecord(record));
    }
    EndModal();
}

void CNote::chooseTitleTextColor() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    BeginModal();
    if (const std::optional<QColor> chosen = dialogs_->chooseColor(this, title_->textColor())) {
        store_.SetNote(nid_, storedFromColor(*chosen), note::titleFontColor);
        title_->setColors(*chosen, title_->backColor());
    }
    EndModal();
}

}  // namespace bp
