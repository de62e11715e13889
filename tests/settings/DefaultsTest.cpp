// "Notes Settings" shown offscreen over a real database, with the fake desktop and choosers
// that answer from the test.
#include "SettingsFixture.h"
#include "platform/Messages.h"
#include "settings/NotesSettingsDialog.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"
#include "ui/TransparencyDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>

#include <deque>

namespace bp::test {
namespace {

// Answers colour and font choosers in turn; nullopt is a cancel.
struct ScriptedChoosers : INoteDialogs {
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        colorsAskedWith.push_back(initial);
        if (colors.empty()) {
            return std::nullopt;
        }
        const std::optional<QColor> answer = colors.front();
        colors.pop_front();
        return answer;
    }
    std::optional<FontChoice> chooseFont(QWidget*, const FontChoice& initial) override {
        fontsAskedWith.push_back(initial);
        return font;
    }
    bool runParagraph(CParagraph&) override { return false; }

    std::deque<std::optional<QColor>> colors;
    std::optional<FontChoice> font;
    std::vector<QColor> colorsAskedWith;
    std::vector<FontChoice> fontsAskedWith;
};

class NotesSettings : public SettingsFixture {
protected:
    NotesSettings() {
        fakes.desktop.screen = {0, 0, 1280, 800};
        fakes.desktop.available = {0, 0, 1280, 770};
        fakes.clock.set(2024, 3, 9, 14, 5, 6);
    }
    std::unique_ptr<NotesSettingsDialog> open() {
        platform = fakes.platform();
        return std::make_unique<NotesSettingsDialog>(store, platform, owner, choosers);
    }
    static QColor pixelOf(QWidget* widget) { return widget->grab().toImage().pixelColor(2, 2); }

    Platform platform;
    ScriptedChoosers choosers;
};

TEST_F(NotesSettings, SizesOutsideTheirRangeAreRefusedAndEachSizeFollowsItsMinimum) {
    auto dialog = open();
    showActive(*dialog);
    auto* width = control<CNumberField>(*dialog, "Width");
    auto* height = control<CNumberField>(*dialog, "Height");
    auto* minWidth = control<CNumberField>(*dialog, "minWidth");
    auto* minHeight = control<CNumberField>(*dialog, "minHeight");
    expectRange(width, 150, 1280);
    expectRange(height, 72, 800);
    expectRange(minWidth, 150, 1280);
    expectRange(minHeight, 72, 800);
    expectRange(control<CNumberField>(*dialog, "autoLockTime"), 0, 3600);

    struct Case {
        CNumberField* field;
        const char* typed;
        const char* refusal;  // none when the number is taken
    };
    const Case cases[] = {
        {width, "2000", "Width must be a number from 150 to 1280."},
        {minWidth, "100", "Min Width must be a number from 150 to 1280."},
        {height, "abc", "Height must be a number from 72 to 800."},  // each letter, then none
        {minHeight, "5000", "Min Height must be a number from 72 to 800."},
        {width, "300", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString before = c.field->edit()->text();
        const QStringList reasons = typeIntoEmptyAndLeave(c.field, c.typed);
        if (c.refusal == nullptr) {
            EXPECT_EQ(c.field->edit()->text(), c.typed);
            EXPECT_TRUE(reasons.isEmpty());
        } else {
            EXPECT_EQ(c.field->edit()->text(), before);
            ASSERT_FALSE(reasons.isEmpty());
            EXPECT_EQ(reasons.back(), c.refusal);
        }
    }
    // A larger minimum takes its size along, and narrows the size's range.
    typeIntoEmptyAndLeave(minWidth, "400");
    EXPECT_EQ(width->edit()->text(), "400");
    expectRange(width, 400, 1280);
    typeIntoEmptyAndLeave(minHeight, "800");
    EXPECT_EQ(height->edit()->text(), "800");
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(setting::get(store, setting::Width), 400);
    EXPECT_EQ(setting::get(store, setting::minWidth), 400);
    EXPECT_EQ(setting::get(store, setting::Height), 800);
    EXPECT_EQ(setting::get(store, setting::minHeight), 800);
}

TEST_F(NotesSettings, OkRefusesNumbersOutOfRangeTypedWithoutLeavingTheirFields) {
    setting::set(store, setting::AutoLock, 1);
    const std::string before = store.WholeText();
    auto dialog = open();
    control<CNumberField>(*dialog, "Width")->edit()->setText("2000");
    control<CNumberField>(*dialog, "minWidth")->edit()->setText("100");
    control<CNumberField>(*dialog, "Height")->edit()->setText("50");
    control<CNumberField>(*dialog, "autoLockTime")->edit()->setText("9000");
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(store.WholeText(), before);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].caption, "Notes Settings");
    EXPECT_EQ(fakes.messages.shown[0].text,
              "Min Width must be a number from 150 to 1280.\n"
              "Width must be a number from 150 to 1280.\n"
              "Height must be a number from 72 to 800.\n"
              "Auto lock time must be a number from 0 to 3600.\n"
              "The fields are back at their numbers from before.");
    for (const auto& [name, shown] : {std::pair{"Width", "230"}, std::pair{"minWidth", "150"},
                                      std::pair{"Height", "175"}, std::pair{"autoLockTime", "0"}}) {
        EXPECT_EQ(control<CNumberField>(*dialog, name)->edit()->text(), shown) << name;
    }

    // A minimum above its size, never left, still takes the size along on OK.
    control<CNumberField>(*dialog, "minWidth")->edit()->setText("400");
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(setting::get(store, setting::minWidth), 400);
    EXPECT_EQ(setting::get(store, setting::Width), 400);
}

TEST_F(NotesSettings, TitleDateListShowsTheTimeNowAndOkStoresTheChoice) {
    setting::set(store, setting::TitleDefaults, "9");
    auto dialog = open();
    auto* dates = control<QComboBox>(*dialog, "TitleDefaults");
    ASSERT_EQ(dates->count(), 19);
    EXPECT_EQ(dates->itemText(0), "No date");  // not a blank first entry
    EXPECT_EQ(dates->itemText(1), "Mar 09, 2024");
    EXPECT_EQ(dates->itemText(6), "2024-03-09");
    EXPECT_EQ(dates->itemText(7), "Mar 09, 2024 - 02:05 PM");
    EXPECT_EQ(dates->itemText(18), "2024-03-09 - 14:05:06");
    EXPECT_EQ(dates->currentIndex(), 9);
    dates->setCurrentIndex(12);
    control<QLineEdit>(*dialog, "TitleText")->setText(QString(100, QLatin1Char('t')));
    control<QCheckBox>(*dialog, "TitleOrder")->setChecked(true);
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::TitleDefaults), "12");
    EXPECT_EQ(setting::get(store, setting::TitleText), std::string(80, 't'));
    EXPECT_EQ(setting::get(store, setting::TitleOrder), 1);

    // An index without an entry shows no date.
    setting::set(store, setting::TitleDefaults, "40");
    EXPECT_EQ(control<QComboBox>(*open(), "TitleDefaults")->currentIndex(), 0);
}

TEST_F(NotesSettings, ColorButtonColoursBothPreviewBackgroundsAndBothSettings) {
    setting::set(store, setting::RandomColors, 0);
    choosers.colors = {QColor(10, 120, 230)};
    auto dialog = open();
    control<QPushButton>(*dialog, "color")->click();
    ASSERT_EQ(choosers.colorsAskedWith.size(), 1u);
    EXPECT_EQ(choosers.colorsAskedWith[0], colorFromStored(9043967));
    EXPECT_EQ(dialog->titlePreview()->backColor(), QColor(10, 120, 230));
    EXPECT_EQ(dialog->bodyPreview()->backColor(), QColor(10, 120, 230));
    EXPECT_EQ(pixelOf(dialog->titlePreview()), QColor(10, 120, 230));
    EXPECT_EQ(pixelOf(dialog->bodyPreview()), QColor(10, 120, 230));
    dialog->accept();
    const std::uint32_t stored = 10 + 120 * 256 + 230 * 65536;
    EXPECT_EQ(setting::get(store, setting::bodyBackColor), stored);
    EXPECT_EQ(setting::get(store, setting::titleBackColor), stored);
}

TEST_F(NotesSettings, BlackTextOpensTheChooserAtDarkGreyWhichStaysWhenCancelled) {
    setting::set(store, setting::RandomColors, 0);
    setting::set(store, setting::titleFontColor, 0);
    setting::set(store, setting::bodyFontColor, 0);
    choosers.colors = {std::nullopt, QColor(0, 0, 0)};
    auto dialog = open();
    control<QPushButton>(*dialog, "titleColor")->click();
    control<QPushButton>(*dialog, "textColor")->click();
    EXPECT_EQ(choosers.colorsAskedWith,
              (std::vector<QColor>{QColor(55, 55, 55), QColor(55, 55, 55)}));
    EXPECT_EQ(dialog->titlePreview()->textColor(), QColor(55, 55, 55));
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::titleFontColor), 3618615u);
    EXPECT_EQ(setting::get(store, setting::bodyFontColor), 0u);  // black chosen on purpose
}

TEST_F(NotesSettings, FontButtonsSetFontAndTextColourOfTheirPreview) {
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(20);
    chosen.setBold(true);
    choosers.font = FontChoice{chosen, QColor(200, 0, 0)};
    auto dialog = open();
    control<QPushButton>(*dialog, "bodyFont")->click();
    EXPECT_EQ(dialog->bodyPreview()->textColor(), QColor(200, 0, 0));
    EXPECT_EQ(dialog->bodyPreview()->sampleFont().family(), "DejaVu Serif");
    EXPECT_EQ(dialog->titlePreview()->sampleFont().family(),
              fontFromRecord(setting::get(store, setting::titleFontType)).family());
    dialog->accept();
    const LogFont body = setting::get(store, setting::bodyFontType);
    EXPECT_EQ(body.face(), "DejaVu Serif");
    EXPECT_EQ(body.weight, 700);
    EXPECT_EQ(setting::get(store, setting::bodyFontColor), 200u);
}

TEST_F(NotesSettings, RandomColoursDisableTheColourButtonsOnly) {
    setting::set(store, setting::RandomColors, 1);
    auto dialog = open();
    const char* colourButtons[] = {"titleColor", "textColor", "color"};
    const char* fontButtons[] = {"titleFont", "bodyFont", "transparency"};
    for (const char* name : colourButtons) {
        EXPECT_FALSE(control<QPushButton>(*dialog, name)->isEnabled()) << name;
    }
    for (const char* name : fontButtons) {
        EXPECT_TRUE(control<QPushButton>(*dialog, name)->isEnabled()) << name;
    }
    control<QCheckBox>(*dialog, "RandomColors")->setChecked(false);
    for (const char* name : colourButtons) {
        EXPECT_TRUE(control<QPushButton>(*dialog, name)->isEnabled()) << name;
    }
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::RandomColors), 0);
}

TEST_F(NotesSettings, SwitchingAutoLockOffStopsTheTimersAndSwitchingItOnSendsNothing) {
    for (const int atOpening : {1, 0}) {
        SCOPED_TRACE(atOpening);
        setting::set(store, setting::AutoLock, atOpening);
        owner.calls.clear();
        auto dialog = open();
        auto* check = control<QCheckBox>(*dialog, "AutoLock");
        auto* time = control<CNumberField>(*dialog, "autoLockTime");
        EXPECT_EQ(time->isEnabled(), atOpening == 1);
        check->toggle();
        EXPECT_EQ(time->isEnabled(), atOpening == 0);
        dialog->accept();
        EXPECT_EQ(setting::get(store, setting::AutoLock), 1 - atOpening);
        const std::vector<RecordingOwner::Call> expected =
            atOpening == 1
                ? std::vector<RecordingOwner::Call>{{RecordingOwner::Kind::StopAutoLockTimers}}
                : std::vector<RecordingOwner::Call>{};
        EXPECT_EQ(owner.calls, expected);
    }
}

TEST_F(NotesSettings, TransparencyComesFromItsOwnDialog) {
    setting::set(store, setting::Transparency, 0);
    setting::set(store, setting::TransLevel, 200);
    int opened = 0;
    fakes.modalDialogs.whileOpen = [&](QDialog& shown) {
        auto* dialog = qobject_cast<CTransparency*>(&shown);
        EXPECT_NE(dialog, nullptr);
        if (dialog == nullptr) {
            return 0;
        }
        ++opened;
        EXPECT_FALSE(dialog->transparent());
        EXPECT_EQ(dialog->position(), 55);
        dialog->setTransparent(true);
        dialog->setPosition(100);
        return opened == 1 ? static_cast<int>(QDialog::Accepted) : 0;
    };
    auto dialog = open();
    control<QPushButton>(*dialog, "transparency")->click();
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::Transparency), 1);
    EXPECT_EQ(setting::get(store, setting::TransLevel), 155);

    // Closed without OK, the dialog changes nothing.
    setting::set(store, setting::Transparency, 0);
    setting::set(store, setting::TransLevel, 200);
    auto again = open();
    control<QPushButton>(*again, "transparency")->click();
    again->accept();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(setting::get(store, setting::Transparency), 0);
    EXPECT_EQ(setting::get(store, setting::TransLevel), 200);
}

TEST_F(NotesSettings, OkKeepsHiddenSettingsAndTypedPriorityThatIsNoEntry) {
    setting::set(store, setting::border, 7);
    setting::set(store, setting::links, 1);
    setting::set(store, setting::hideAttach, 0);
    setting::set(store, setting::defaultImagePath, "/home/u/pictures");
    setting::set(store, setting::priority, 0);
    auto dialog = open();
    auto* priority = control<QComboBox>(*dialog, "priority");
    EXPECT_EQ(priority->currentText(), "Low");
    priority->setEditText("Urgent");
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::priority), 0);
    EXPECT_EQ(setting::get(store, setting::border), 2);  // an unknown border is written as 3D Thin
    EXPECT_EQ(setting::get(store, setting::links), 1);
    EXPECT_EQ(setting::get(store, setting::hideAttach), 0);
    EXPECT_EQ(setting::get(store, setting::defaultImagePath), "/home/u/pictures");

    auto next = open();
    control<QComboBox>(*next, "priority")->setCurrentText("Regular");
    next->accept();
    EXPECT_EQ(setting::get(store, setting::priority), 1);
}

TEST_F(NotesSettings, CancelWritesNothing) {
    setting::set(store, setting::RandomColors, 0);
    const std::string before = store.WholeText();
    choosers.colors = {QColor(1, 2, 3)};
    auto dialog = open();
    control<QPushButton>(*dialog, "color")->click();
    control<CNumberField>(*dialog, "Width")->edit()->setText("500");
    control<QCheckBox>(*dialog, "AutoLock")->setChecked(true);
    dialog->reject();
    EXPECT_EQ(store.WholeText(), before);
    EXPECT_TRUE(owner.calls.empty());
}

}  // namespace
}  // namespace bp::test
