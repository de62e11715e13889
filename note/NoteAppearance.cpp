#include "NoteAppearance.h"

#include "BodyEditor.h"
#include "ColorSchemes.h"
#include "Note.h"
#include "NoteBody.h"
#include "Title.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"
#include "ui/TransparencyDialog.h"

#include <QCursor>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <random>

namespace bp {

CNoteAppearance::CNoteAppearance(CNote& note) : QObject(nullptr), note_(note) {
    auto engine = std::make_shared<std::minstd_rand>(static_cast<std::minstd_rand::result_type>(
        note_.platform().clock->tickCount() + note_.nid()));
    random_ = [engine] { return static_cast<unsigned>((*engine)()); };
}

void CNoteAppearance::load() {
    CNotesDatabase& store = note_.store();
    const std::int32_t nid = note_.nid();
    bodyFont_ = store.GetNote(kLiveSource, nid, note::bodyFontType);
    bodyFontColor_ = colorFromStored(store.GetNote(kLiveSource, nid, note::bodyFontColor));
    bodyBackColor_ = colorFromStored(store.GetNote(kLiveSource, nid, note::bodyBackColor));
    transparency_ = store.GetNote(kLiveSource, nid, note::Transparency);
    priority_ = store.GetNote(kLiveSource, nid, note::priority);
}

void CNoteAppearance::setPriority(int priority) {
    if (note_.closing()) {
        return;
    }
    // The user's choice takes effect at once, even on a note raised with all the others.
    static constexpr IWindowSystem::Stacking kStacking[] = {IWindowSystem::Stacking::Bottom,
                                                            IWindowSystem::Stacking::Normal,
                                                            IWindowSystem::Stacking::Top};
    note_.platform().windows->setStacking(&note_, kStacking[std::clamp(priority, 0, 2)]);
    note_.store().SetNote(note_.nid(), priority, note::priority);
    note_.title()->setPriorityImage(priority);
    priority_ = priority;
    note_.refreshTooltips();
    note_.announceChanged();
}

void CNoteAppearance::applyPriorityZOrder() {
    if (note_.keepZOrder() || note_.closing()) {
        return;
    }
    IWindowSystem& windows = *note_.platform().windows;
    switch (priority_) {
        case 0:
            windows.setStacking(&note_, IWindowSystem::Stacking::Bottom);
            break;
        case 1:
            windows.setStacking(&note_, IWindowSystem::Stacking::Normal);
            break;
        case 2:
            windows.setStacking(&note_, IWindowSystem::Stacking::Top);
            break;
        default:
            // An unknown priority leaves the stacking as it is.
            break;
    }
}

void CNoteAppearance::applyRandomScheme() {
    if (note_.closing()) {
        return;
    }
    CNotesDatabase& store = note_.store();
    const NoteColors colors = chooseRandomScheme(random_);
    note_.title()->setColors(colorFromStored(colors.titleFont), colorFromStored(colors.titleBack));
    store.SetNote(note_.nid(), colors.titleFont, note::titleFontColor);
    store.SetNote(note_.nid(), colors.titleBack, note::titleBackColor);
    bodyBackColor_ = colorFromStored(colors.bodyBack);
    store.SetNote(note_.nid(), colors.bodyBack, note::bodyBackColor);
    bodyFontColor_ = colorFromStored(colors.bodyFont);
    QTextCharFormat format;
    format.setForeground(bodyFontColor_);
    note_.body()->mergeCurrentCharFormat(format);
    store.SetNote(note_.nid(), colors.bodyFont, note::bodyFontColor);
    note_.update();
}

void CNoteAppearance::applyTransparency() {
    if (note_.closing()) {
        return;
    }
    double opacity = 1.0;
    if (transparency_ != 0) {
        const int level = note_.store().GetNote(kLiveSource, note_.nid(), note::TransLevel);
        opacity = std::clamp(level, 55, 255) / 255.0;
    }
    note_.platform().windows->setOpacity(&note_, opacity);
    if (QWidget* panel = note_.attachPanel()) {
        note_.platform().windows->setOpacity(panel, opacity);
    }
}

void CNoteAppearance::onHoverTick() {
    if (transparency_ == 0 || !note_.isVisible()) {
        return;
    }
    if (note_.geometry().contains(QCursor::pos())) {
        showOpaque();
    } else if (hoverOpaque_ && !bodyFocused_) {
        hoverOpaque_ = false;
        applyTransparency();
    }
}

void CNoteAppearance::showOpaque() {
    if (transparency_ == 0 || hoverOpaque_) {
        return;
    }
    hoverOpaque_ = true;
    note_.platform().windows->setOpacity(&note_, 1.0);
}

void CNoteAppearance::setBodyFocused(bool focused) {
    bodyFocused_ = focused;
    if (focused) {
        showOpaque();
    }
}

void CNoteAppearance::chooseTransparency() {
    if (note_.closing()) {
        return;
    }
    note_.finishTitleEdit();
    CNotesDatabase& store = note_.store();
    const bool stored = store.GetNote(kLiveSource, note_.nid(), note::Transparency) != 0;
    const int position =
        CTransparency::positionFor(store.GetNote(kLiveSource, note_.nid(), note::TransLevel));
    note_.BeginModal();
    CTransparency dialog(&note_, *note_.platform().windows, {&note_, note_.attachPanel()}, stored,
                         position);
    if (note_.runModal(dialog) == QDialog::Accepted) {
        transparency_ = dialog.transparent() ? 1 : 0;
        store.SetNote(note_.nid(), CTransparency::levelFor(dialog.position()), note::TransLevel);
        store.SetNote(note_.nid(), transparency_, note::Transparency);
        hoverOpaque_ = false;
        note_.update();
    }
    // Whatever the answer, the note shows what is stored now.
    applyTransparency();
    note_.EndModal();
}

void CNoteAppearance::chooseNoteColor() {
    if (note_.closing()) {
        return;
    }
    note_.BeginModal();
    if (const std::optional<QColor> chosen = dialogs_->chooseColor(&note_, bodyBackColor_)) {
        // One colour for the whole note: the body and the title bar.
        bodyBackColor_ = *chosen;
        note_.update();
        note_.store().SetNote(note_.nid(), storedFromColor(*chosen), note::bodyBackColor);
        emit colorsChanged();
        note_.title()->setColors(note_.title()->textColor(), *chosen);
        note_.store().SetNote(note_.nid(), storedFromColor(*chosen), note::titleBackColor);
    }
    note_.EndModal();
}

namespace {

// The format of the first character of the text, where the whole-text commands start.
QTextCharFormat formatAtStart(QTextDocument* document) {
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat();
}

}  // namespace

void CNoteAppearance::chooseBodyTextColor() {
    if (note_.closing()) {
        return;
    }
    CNoteBody& body = *note_.body();
    CBodyEditor& editor = *note_.bodyEditor();
    const QTextCursor saved = body.textCursor();
    const QTextCharFormat first = formatAtStart(body.document());
    const QColor initial = first.hasProperty(QTextFormat::ForegroundBrush)
                               ? first.foreground().color()
                               : bodyFontColor_;
    QTextCursor all(body.document());
    all.select(QTextCursor::Document);
    body.setTextCursor(all);
    note_.BeginModal();
    if (const std::optional<QColor> chosen = dialogs_->chooseColor(&note_, initial)) {
        bodyFontColor_ = *chosen;
        editor.setInsertionColor(*chosen);
        note_.store().SetNote(note_.nid(), storedFromColor(*chosen), note::bodyFontColor);
        emit colorsChanged();
    }
    note_.EndModal();
    body.setTextCursor(saved);
}

void CNoteAppearance::chooseBodyFont() {
    if (note_.closing()) {
        return;
    }
    CNoteBody& body = *note_.body();
    CBodyEditor& editor = *note_.bodyEditor();
    const QTextCursor saved = body.textCursor();
    const QTextCharFormat first = formatAtStart(body.document());
    QTextCursor all(body.document());
    all.select(QTextCursor::Document);
    body.setTextCursor(all);
    const LogFont current = editor.charFormatToLogFont(editor.withBodyFont(first));
    note_.BeginModal();
    if (const std::optional<FontChoice> chosen =
            dialogs_->chooseFont(&note_, {fontFromRecord(current), bodyFontColor_})) {
        QTextCharFormat format;
        format.setFont(chosen->font);
        const LogFont record = editor.charFormatToLogFont(format);
        bodyFontColor_ = chosen->color;
        editor.setInsertionFont(record);
        editor.setInsertionColor(bodyFontColor_);
        bodyFont_ = record;
        note_.store().SetNote(note_.nid(), record, note::bodyFontType);
        note_.store().SetNote(note_.nid(), storedFromColor(bodyFontColor_), note::bodyFontColor);
        emit colorsChanged();
    }
    note_.EndModal();
    body.setTextCursor(saved);
}

void CNoteAppearance::chooseTitleFont() {
    if (note_.closing()) {
        return;
    }
    note_.finishTitleEdit();
    CTitle& title = *note_.title();
    const LogFont stored = note_.store().GetNote(kLiveSource, note_.nid(), note::titleFontType);
    note_.BeginModal();
    if (const std::optional<FontChoice> chosen =
            dialogs_->chooseFont(&note_, {fontFromRecord(stored), title.textColor()})) {
        QTextCharFormat format;
        format.setFont(chosen->font);
        const LogFont record = note_.bodyEditor()->charFormatToLogFont(format);
        note_.store().SetNote(note_.nid(), record, note::titleFontType);
        note_.store().SetNote(note_.nid(), storedFromColor(chosen->color), note::titleFontColor);
        title.setColors(chosen->color, title.backColor());
        title.setTitleFont(fontFromRecord(record));
    }
    note_.EndModal();
}

void CNoteAppearance::chooseTitleTextColor() {
    if (note_.closing()) {
        return;
    }
    note_.finishTitleEdit();
    CTitle& title = *note_.title();
    note_.BeginModal();
    if (const std::optional<QColor> chosen = dialogs_->chooseColor(&note_, title.textColor())) {
        note_.store().SetNote(note_.nid(), storedFromColor(*chosen), note::titleFontColor);
        title.setColors(*chosen, title.backColor());
    }
    note_.EndModal();
}

}  // namespace bp
