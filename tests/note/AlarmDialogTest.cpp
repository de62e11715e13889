// The note's alarm settings dialog and its alarm actions dialog, answered as a user would.

#include "alarm/AlarmSettingsModel.h"
#include "alarmui/AlarmActionsDialog.h"
#include "alarmui/AlarmSettingsDialog.h"
#include "alarmui/ExpiryDialog.h"
#include "note/Note.h"
#include "note/Title.h"
#include "note/TitleButton.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "qtsupport/PacedTimer.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"
#include "support/RecordingOwner.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace bp;
using namespace bp::test;

namespace {

constexpr std::int32_t kNid = 2;

template <typename T>
T* find(const CAlarmDialog& d, int id) {
    return qobject_cast<T*>(d.control(id));
}
template <typename T>
T* find(const CAlarmActions& d, int id) {
    return qobject_cast<T*>(d.control(id));
}

class AlarmDialog : public ::testing::Test, public StoreFixture {
protected:
    AlarmDialog() {
        fakes.clock.set(2026, 12, 10, 15, 30, 20);  // a Thursday
        fakes.modalDialogs.whileOpen = [this](QDialog& dialog) {
            if (auto* actions = dynamic_cast<CAlarmActions*>(&dialog)) {
                return onActions ? onActions(*actions) : int(QDialog::Rejected);
            }
            auto* settings = dynamic_cast<CAlarmDialog*>(&dialog);
            EXPECT_NE(settings, nullptr);
            seenWhileOpen = {note->alarmDialogOpen(), note->modalOpen(),
                             note->alarmCheckTimer().isActive()};
            return onSettings ? onSettings(*settings) : int(QDialog::Rejected);
        };
    }

    void openNote() {
        note = std::make_unique<CNote>(fakes.platform(), store, owner, kNid);
        note->CreateFromRecord();
    }
    // The alarm attributes as stored, by name.
    std::map<std::string, std::string> storedAlarm() {
        std::map<std::string, std::string> values;
        for (const char* name :
             {"isReminder", "remindRepeat", "remindAction", "remindTime", "remindTime1",
              "remindTime2", "schedule", "repeatEach", "remindSnoozeTime", "remindRepeatTimes",
              "remindRepeatInterval", "remindRepeatInterval2", "remindFlashTimes",
              "remindFlashInterval", "remindWav", "remindUrl", "remindExe"}) {
            values[name] = store.GetNoteAttribute(kLiveSource, kNid, name);
        }
        return values;
    }
    std::uint32_t at(int y, int mo, int d, int h, int mi, int s = 0) {
        fake::FakeClock c;
        c.set(y, mo, d, h, mi, s);
        return static_cast<std::uint32_t>(c.seconds);
    }
    bool postedChanged() const {
        const std::vector<std::int32_t> changed = owner.nidsOf(RecordingOwner::Kind::NoteChanged);
        return std::find(changed.begin(), changed.end(), kNid) != changed.end();
    }

    struct WhileOpen {
        bool dialogOpen = false;
        bool modal = false;
        bool alarmCheckRunning = true;
    };

    RecordingOwner owner;
    std::unique_ptr<CNote> note;
    std::function<int(CAlarmDialog&)> onSettings;
    std::function<int(CAlarmActions&)> onActions;
    WhileOpen seenWhileOpen;
};

TEST_F(AlarmDialog, OnANoteWithoutAlarmOkMakesAOneTimeAlarmThatIsDueAtOnce) {
    store.SetNote(kNid, 0, note::isReminder);
    openNote();
    onSettings = [](CAlarmDialog& d) {
        EXPECT_TRUE(find<QRadioButton>(d, cmd::ALARM_ON_RADIO)->isChecked());
        EXPECT_FALSE(find<QRadioButton>(d, cmd::ALARM_OFF_RADIO)->isChecked());
        EXPECT_EQ(find<QLineEdit>(d, CAlarmDialog::kNextAlarm)->text(), "NO ALARM");
        EXPECT_EQ(d.page()->calendar()->selectedDate(), QDate(2026, 12, 10));
        EXPECT_EQ(d.page()->timePicker()->time(), QTime(15, 30, 20));
        EXPECT_FALSE(find<QCheckBox>(d, cmd::ALARM_SNOOZE_CHECK)->isChecked());
        find<QAbstractButton>(d, 1)->click();
        return d.result();
    };
    note->OpenAlarmDialog();

    EXPECT_TRUE(seenWhileOpen.dialogOpen);
    EXPECT_TRUE(seenWhileOpen.modal);
    EXPECT_FALSE(seenWhileOpen.alarmCheckRunning);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::isReminder), 1);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindAction), 3);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindTime), at(2026, 12, 10, 15, 30, 20));
    EXPECT_FALSE(note->alarmDialogOpen());
    EXPECT_FALSE(note->modalOpen());
    EXPECT_TRUE(note->alarmCheckTimer().isActive()) << "it rings at the next check";
    EXPECT_TRUE(note->title()->button(cmd::TITLE_ALARM_BUTTON)->toolTip().startsWith("Alarm ON\n"));
    EXPECT_TRUE(postedChanged());
}

TEST_F(AlarmDialog, AlarmOffThenCancelLeavesTheAlarmAsItWas) {
    store.SetNote(kNid, 2, note::isReminder);
    store.SetNote(kNid, 8 + 3, note::remindAction);
    store.SetNote(kNid, std::string(";!;2;4;!;!"), note::schedule);
    store.SetNote(kNid, at(2026, 12, 14, 9, 0), note::remindTime);
    store.SetNote(kNid, 540000, note::remindSnoozeTime);
    openNote();
    const auto before = storedAlarm();
    const AlarmSchedule live = note->reminder();
    onSettings = [](CAlarmDialog& d) {
        EXPECT_EQ(find<QLineEdit>(d, CAlarmDialog::kNextAlarm)->text(),
                  "Monday, December 14, 2026 09:00:00 AM");
        EXPECT_TRUE(d.page()->weekday(1)->isChecked());
        EXPECT_TRUE(d.page()->weekday(3)->isChecked());
        find<QAbstractButton>(d, cmd::ALARM_OFF_RADIO)->click();
        EXPECT_EQ(find<QLineEdit>(d, CAlarmDialog::kNextAlarm)->text(), "NO ALARM");
        EXPECT_TRUE(find<QWidget>(d, CAlarmDialog::kTab)->isHidden());
        EXPECT_FALSE(d.page()->weekday(1)->isChecked());
        find<QAbstractButton>(d, cmd::ALARM_SNOOZE_CHECK)->click();
        find<QAbstractButton>(d, 2)->click();
        return d.result();
    };
    note->OpenAlarmDialog();

    EXPECT_EQ(storedAlarm(), before);
    const AlarmSchedule& after = note->reminder();
    EXPECT_EQ(after.isReminder, 2);
    EXPECT_TRUE(after.recurring);
    EXPECT_EQ(after.remindTime, live.remindTime);
    EXPECT_EQ(after.remindSnoozeTime, 540000);
    EXPECT_EQ(after.weekdays, (std::array<bool, 7>{false, true, false, true}));
    EXPECT_TRUE(note->alarmCheckTimer().isActive()) << "the alarm goes on";
}

TEST_F(AlarmDialog, AlarmOffThenOkSwitchesTheAlarmOff) {
    store.SetNote(kNid, 2, note::isReminder);
    store.SetNote(kNid, 8 + 3, note::remindAction);
    store.SetNote(kNid, std::string(";!;2;4;!;!"), note::schedule);
    openNote();
    onSettings = [](CAlarmDialog& d) {
        find<QAbstractButton>(d, cmd::ALARM_OFF_RADIO)->click();
        find<QAbstractButton>(d, 1)->click();
        return d.result();
    };
    note->OpenAlarmDialog();

    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::isReminder), 0);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindAction), 0);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::schedule), ";!;!;!");
    EXPECT_FALSE(note->alarmCheckTimer().isActive());
    EXPECT_EQ(note->title()->button(cmd::TITLE_ALARM_BUTTON)->toolTip(), "Alarm");
}

TEST_F(AlarmDialog, TickedWeekdaysMakeARecurringAlarmThatReopensWithThem) {
    store.SetNote(kNid, 0, note::isReminder);
    openNote();
    onSettings = [](CAlarmDialog& d) {
        d.page()->weekday(1)->click();  // Monday
        d.page()->weekday(3)->click();  // Wednesday
        d.page()->calendar()->setSelectedDate(QDate(2026, 12, 14));
        d.page()->timePicker()->setTime(QTime(9, 0, 0));
        find<QAbstractButton>(d, 1)->click();
        return d.result();
    };
    note->OpenAlarmDialog();
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::isReminder), 2);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::schedule), ";!;2;4;!;!");
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindTime), at(2026, 12, 14, 9, 0));

    // After a restart the boxes come back from the record; OK keeps everything.
    openNote();
    const auto before = storedAlarm();
    onSettings = [](CAlarmDialog& d) {
        EXPECT_TRUE(d.page()->weekday(1)->isChecked());
        EXPECT_TRUE(d.page()->weekday(3)->isChecked());
        EXPECT_FALSE(d.page()->weekday(2)->isChecked());
        find<QAbstractButton>(d, 1)->click();
        return d.result();
    };
    note->OpenAlarmDialog();
    EXPECT_EQ(storedAlarm(), before);
}

TEST_F(AlarmDialog, OkWithNothingChangedKeepsEveryStoredScheduleAndShowsIt) {
    struct Case {
        int isReminder;
        const char* schedule;
        std::uint32_t remindTime;
        int snooze;
        int action;
        const char* repeatText;
    };
    const Case cases[] = {
        {2, ";11;!;!;!", at(2026, 12, 11, 9, 0), 0, 3, "Repeats on day 11 of every month"},
        {2, ";!;!;!", at(2026, 12, 11, 7, 0), 0, 8, "Repeats every day"},
        {2, ";1;15;!;!;3;9;!", at(2027, 3, 1, 8, 0), 540000, 3,
         "Repeats on days 1 and 15 in March and September"},
        {2, ";13;!;6;!;!", at(2027, 8, 13, 8, 0), 0, 3,
         "Repeats on day 13 of every month when it is a Friday"},
        {2, ";!;2;6;!;!", at(2026, 12, 11, 8, 0), 0, 3, "Repeats every Monday and Friday"},
        {2, ";!;!;12;!", at(2026, 12, 11, 8, 0), 0, 3, "Repeats every day in December"},
        // Written as no control would write it; read the same, so kept as it is.
        {2, ";!;06;!;!", at(2026, 12, 11, 8, 0), 0, 3, "Repeats every Friday"},
        // A snooze delay of the user's own and pop-up without flashing are kept too.
        {1, ";!;!;!", at(2026, 12, 11, 10, 0), 300000, 1, "Does not repeat"},
        {1, ";11;!;!;!", at(2026, 12, 11, 10, 0), 0, 3, "Does not repeat"},
        {2, ";25;!;!;12;!", at(2026, 12, 25, 7, 0), 600000, 3 + 32,
         "Repeats on day 25 in December"},
        {2, ";!;1;7;!;6;7;8;!", at(2027, 6, 5, 10, 0), 0, 3,
         "Repeats every Sunday and Saturday in June, July and August"},
        // A monthly alarm on a day that only some months have.
        {2, ";31;!;!;!", at(2026, 12, 31, 6, 0), 0, 3, "Repeats on day 31 of every month"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.schedule);
        store.SetNote(kNid, c.isReminder, note::isReminder);
        store.SetNote(kNid, std::string(c.schedule), note::schedule);
        store.SetNote(kNid, c.remindTime, note::remindTime);
        store.SetNote(kNid, c.snooze, note::remindSnoozeTime);
        store.SetNote(kNid, c.action, note::remindAction);
        // Values no control shows, which OK must carry through as well.
        store.SetNote(kNid, 4, note::remindRepeat);
        store.SetNote(kNid, 2, note::remindRepeatTimes);
        store.SetNote(kNid, 30, note::remindRepeatInterval);
        store.SetNote(kNid, 7, note::remindRepeatInterval2);
        store.SetNote(kNid, 1, note::repeatEach);
        store.SetNote(kNid, at(2026, 1, 2, 3, 4, 5), note::remindTime1);
        store.SetNote(kNid, at(2027, 6, 7, 8, 9, 10), note::remindTime2);
        store.SetNote(kNid, std::string("/sounds/bell.wav"), note::remindWav);
        openNote();
        const auto before = storedAlarm();
        const std::string next = FormatNextAlarm(fakes.clock, toLocal(fakes.clock, c.remindTime));
        onSettings = [&](CAlarmDialog& d) {
            EXPECT_EQ(d.page()->repeatText()->text().toStdString(), c.repeatText);
            EXPECT_EQ(find<QLineEdit>(d, CAlarmDialog::kNextAlarm)->text().toStdString(), next);
            EXPECT_TRUE(d.passedWarning()->text().isEmpty());
            find<QAbstractButton>(d, 1)->click();
            return d.result();
        };
        note->OpenAlarmDialog();
        EXPECT_EQ(storedAlarm(), before);
        EXPECT_EQ(note->reminder().isReminder, c.isReminder);
        EXPECT_EQ(note->reminder().recurring, c.isReminder == 2);
    }
}

TEST_F(AlarmDialog, NextAlarmFollowsThePickedMomentAndSaysWhenItHasPassed) {
    static const QString kPassed =
        "This moment has passed: the alarm will ring as soon as you press OK.";
    store.SetNote(kNid, 0, note::isReminder);
    openNote();
    onSettings = [this](CAlarmDialog& d) {
        auto* next = find<QLineEdit>(d, CAlarmDialog::kNextAlarm);
        auto* passed = d.passedWarning();
        EXPECT_EQ(next->text(), "NO ALARM");
        EXPECT_TRUE(passed->text().isEmpty());

        d.page()->calendar()->setSelectedDate(QDate(2026, 12, 24));
        d.page()->timePicker()->setTime(QTime(18, 0, 0));
        EXPECT_EQ(next->text(), "Thursday, December 24, 2026 06:00:00 PM");
        EXPECT_TRUE(passed->text().isEmpty());

        d.page()->calendar()->setSelectedDate(QDate(2026, 12, 9));
        EXPECT_EQ(next->text(), "Wednesday, December 09, 2026 06:00:00 PM");
        EXPECT_EQ(passed->text(), kPassed);

        // Repeating on Mondays, the alarm first rings on the Monday after the chosen date.
        d.page()->weekday(1)->click();
        EXPECT_EQ(next->text(), "Monday, December 14, 2026 06:00:00 PM");
        EXPECT_TRUE(passed->text().isEmpty());
        EXPECT_EQ(d.page()->repeatText()->text(), "Repeats every Monday");
        d.page()->weekday(1)->click();
        EXPECT_EQ(passed->text(), kPassed);
        EXPECT_EQ(d.page()->repeatText()->text(), "Does not repeat");

        // A moment that passes while the dialog is open is told as well.
        d.page()->calendar()->setSelectedDate(QDate(2026, 12, 10));
        d.page()->timePicker()->setTime(QTime(15, 30, 50));
        EXPECT_TRUE(passed->text().isEmpty());
        fakes.clock.seconds += 60;
        d.showNextAlarm();
        EXPECT_EQ(passed->text(), kPassed);

        find<QAbstractButton>(d, cmd::ALARM_OFF_RADIO)->click();
        EXPECT_EQ(next->text(), "NO ALARM");
        EXPECT_TRUE(passed->text().isEmpty());
        find<QAbstractButton>(d, cmd::ALARM_ON_RADIO)->click();
        // Off set the date and time to the present moment, which OK would ring at once.
        EXPECT_EQ(next->text(), "Thursday, December 10, 2026 03:31:20 PM");
        find<QAbstractButton>(d, 2)->click();
        return d.result();
    };
    note->OpenAlarmDialog();
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::isReminder), 0);
}

TEST_F(AlarmDialog, RepeatSnoozeLengthAndExpiryAreChosenFromTheKeyboard) {
    store.SetNote(kNid, 0, note::isReminder);
    store.SetNote(kNid, 0u, note::expireTime);
    openNote();
    const std::uint32_t expires = at(2027, 1, 31, 12, 0);
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        if (auto* expiry = dynamic_cast<CExpiryDialog*>(&dialog)) {
            EXPECT_TRUE(expiry->noExpiry()->isChecked());
            QTest::keyClick(expiry->noExpiry(), Qt::Key_Space);
            expiry->moment()->setDateTime(QDateTime(QDate(2027, 1, 31), QTime(12, 0)));
            expiry->accept();
            return expiry->result();
        }
        auto& d = dynamic_cast<CAlarmDialog&>(dialog);
        EXPECT_EQ(d.expiry()->text(), "Never");
        EXPECT_FALSE(d.snoozeLength()->isEnabled());
        EXPECT_EQ(d.snoozeLength()->currentText(), "9 minutes");
        QTest::keyClick(find<QCheckBox>(d, cmd::ALARM_SNOOZE_CHECK), Qt::Key_Space);
        EXPECT_TRUE(d.snoozeLength()->isEnabled());
        QTest::keyClick(d.snoozeLength(), Qt::Key_Home);
        EXPECT_EQ(d.snoozeLength()->currentText(), "5 minutes");

        QComboBox* repeat = d.page()->repeat();
        EXPECT_EQ(repeat->currentText(), "Does not repeat");
        EXPECT_TRUE(d.upcoming()->text().isEmpty()) << "NO ALARM until something is picked";
        QTest::keyClick(repeat, Qt::Key_Down);
        QTest::keyClick(repeat, Qt::Key_Down);
        EXPECT_EQ(repeat->currentText(), "Every month on the chosen day");
        // Today, the 10th, is ticked on the other tab and the ringings follow it.
        EXPECT_TRUE(d.daysPage()->day(10)->isChecked());
        EXPECT_EQ(d.upcoming()->text().toStdString(),
                  "Thursday, December 10, 2026 03:30:20 PM\n"
                  "Sunday, January 10, 2027 03:30:20 PM\n"
                  "Wednesday, February 10, 2027 03:30:20 PM");
        // Ticking a month by hand is a schedule of its own.
        QTest::keyClick(d.daysPage()->month(3), Qt::Key_Space);
        EXPECT_EQ(repeat->currentText(), "On the days ticked");
        EXPECT_EQ(d.page()->repeatText()->text(), "Repeats on day 10 in March");
        EXPECT_TRUE(d.upcoming()->text().startsWith("Wednesday, March 10, 2027"));

        QTest::keyClick(d.expiryButton(), Qt::Key_Space);
        EXPECT_EQ(d.expiry()->text(), "Sunday, January 31, 2027 12:00:00 PM");
        find<QAbstractButton>(d, 1)->click();
        return d.result();
    };
    note->OpenAlarmDialog();
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::isReminder), 2);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::schedule), ";10;!;!;3;!");
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindTime), at(2027, 3, 10, 15, 30, 20));
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindSnoozeTime), 300000);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::expireTime), expires);
    EXPECT_FALSE(note->title()->button(cmd::TITLE_EXPIRATION_BUTTON)->isHidden());
    EXPECT_EQ(note->title()->button(cmd::TITLE_EXPIRATION_BUTTON)->toolTip(),
              "Expiration Off\nExpires: Sunday, January 31, 2027 12:00:00 PM");
}

TEST_F(AlarmDialog, ActionsChosenInTheActionsDialogAreStoredWithOk) {
    store.SetNote(kNid, 0, note::isReminder);
    store.SetNote(kNid, 0, note::remindAction);
    store.SetNote(kNid, std::string("a.wav"), note::remindWav);
    openNote();
    onActions = [](CAlarmActions& a) {
        // An alarm without actions offers pop-up and flash, and the program's own address.
        EXPECT_TRUE(find<QCheckBox>(a, CAlarmActions::kPopUpCheck)->isChecked());
        EXPECT_EQ(find<QLineEdit>(a, CAlarmActions::kUrlEdit)->text(), CAlarmDialog::kDefaultUrl);
        find<QAbstractButton>(a, CAlarmActions::kPopUpCheck)->click();
        find<QAbstractButton>(a, CAlarmActions::kBeepCheck)->click();
        find<QAbstractButton>(a, cmd::ACTIONS_OPEN_URL_CHECK)->click();
        find<QLineEdit>(a, CAlarmActions::kUrlEdit)->setText("https://example.org/a");
        find<QAbstractButton>(a, 1)->click();
        return a.result();
    };
    onSettings = [](CAlarmDialog& d) {
        find<QAbstractButton>(d, cmd::ALARM_ACTIONS_BUTTON)->click();
        find<QAbstractButton>(d, 1)->click();
        return d.result();
    };
    note->OpenAlarmDialog();
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindAction), 8 + 64);
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindUrl), "https://example.org/a");
    EXPECT_EQ(store.GetNote(kLiveSource, kNid, note::remindWav), "a.wav") << "passed through";
}

class AlarmActionsDialog : public ::testing::Test {
protected:
    AlarmActionsDialog() : dialog(nullptr, &fakes.shell, &fakes.fileDialogs, &fakes.messages) {}
    template <typename T>
    T* get(int id) {
        return find<T>(dialog, id);
    }
    std::vector<std::string> warnings() const {
        std::vector<std::string> texts;
        for (const auto& box : fakes.messages.shown) {
            EXPECT_EQ(box.caption, "Warning");
            EXPECT_EQ(box.label, "");
            EXPECT_EQ(box.iconId, res::ICON_WARNING);
            texts.push_back(box.text);
        }
        return texts;
    }
    fake::FakePlatform fakes;
    CAlarmActions dialog;
};

TEST_F(AlarmActionsDialog, OkWarnsInOrderAndStaysOpenUntilTheChoiceCanRun) {
    AlarmActionsChoice play;
    play.flags[action::Play] = true;
    dialog.setChoice(play);
    EXPECT_TRUE(get<QCheckBox>(CAlarmActions::kPlayCheck)->isChecked());
    get<QAbstractButton>(cmd::ACTIONS_OPEN_URL_CHECK)->click();
    get<QAbstractButton>(cmd::ACTIONS_OPEN_PROGRAM_CHECK)->click();
    get<QLineEdit>(CAlarmActions::kUrlEdit)->clear();
    get<QAbstractButton>(1)->click();
    get<QAbstractButton>(CAlarmActions::kPlayCheck)->click();
    for (int i = 0; i < 3; ++i) {
        get<QAbstractButton>(1)->click();
    }
    // The ticks stay on the screen, so the url warning comes again until the field is filled.
    EXPECT_EQ(warnings(),
              (std::vector<std::string>{"Please select a file for playing", "Please enter any url",
                                        "Please enter any url", "Please enter any url"}));
    EXPECT_EQ(dialog.result(), 0);
    get<QLineEdit>(CAlarmActions::kUrlEdit)->setText("http://example.org");
    get<QAbstractButton>(1)->click();
    EXPECT_EQ(warnings().back(), "Please select a program or file to open");
    get<QAbstractButton>(cmd::ACTIONS_OPEN_PROGRAM_CHECK)->click();
    get<QAbstractButton>(1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.choice().flags[action::Play]);
    EXPECT_TRUE(dialog.choice().flags[action::OpenUrl]);

    CAlarmActions empty(nullptr, &fakes.shell, &fakes.fileDialogs, &fakes.messages);
    empty.setChoice({});
    find<QAbstractButton>(empty, 1)->click();
    EXPECT_EQ(warnings().back(), "No alarm actions selected\nPlease select an action");
    EXPECT_EQ(empty.result(), 0);
}

TEST_F(AlarmActionsDialog, FieldsFollowTheirBoxesAndGoAndBrowseDoTheirPart) {
    dialog.setChoice({});
    auto* url = get<QLineEdit>(CAlarmActions::kUrlEdit);
    auto* go = get<QAbstractButton>(cmd::ACTIONS_GO_BUTTON);
    auto* program = get<QLineEdit>(CAlarmActions::kProgramEdit);
    auto* browse = get<QAbstractButton>(cmd::ACTIONS_BROWSE_BUTTON);
    EXPECT_FALSE(url->isEnabled());
    EXPECT_FALSE(go->isEnabled());
    EXPECT_FALSE(program->isEnabled());
    EXPECT_FALSE(browse->isEnabled());
    get<QAbstractButton>(cmd::ACTIONS_OPEN_URL_CHECK)->click();
    get<QAbstractButton>(cmd::ACTIONS_OPEN_PROGRAM_CHECK)->click();
    EXPECT_TRUE(url->isEnabled() && go->isEnabled());
    EXPECT_TRUE(program->isEnabled() && browse->isEnabled());

    for (const char* address :
         {"HTTPS://example.org", "www.example.org", "", "https://a.example", "http://b.example"}) {
        url->setText(address);
        go->click();
    }
    EXPECT_EQ(fakes.shell.opened,
              (std::vector<std::string>{"https://a.example", "http://b.example"}));
    EXPECT_TRUE(fakes.messages.shown.empty());

    // The sound file: chosen through the file dialog, and stored as it is.
    auto* sound = get<QLineEdit>(CAlarmActions::kSoundEdit);
    auto* chooseSound = get<QAbstractButton>(CAlarmActions::kSoundBrowseButton);
    EXPECT_FALSE(sound->isEnabled() || chooseSound->isEnabled());
    get<QAbstractButton>(CAlarmActions::kPlayCheck)->click();
    EXPECT_TRUE(sound->isEnabled() && chooseSound->isEnabled());
    fakes.fileDialogs.answers = {"/home/me/my sounds/bell.ogg"};
    chooseSound->click();
    EXPECT_EQ(sound->text(), "/home/me/my sounds/bell.ogg");
    ASSERT_EQ(fakes.fileDialogs.calls.size(), 1u);
    EXPECT_TRUE(fakes.fileDialogs.calls[0].filter.starts_with("Sound Files ("))
        << fakes.fileDialogs.calls[0].filter;
    fakes.fileDialogs.calls.clear();
    get<QAbstractButton>(1)->click();
    EXPECT_EQ(dialog.result(), 0) << "the program to open is still missing";
    EXPECT_TRUE(dialog.choice().flags[action::Play]);
    EXPECT_EQ(dialog.choice().soundFile, "/home/me/my sounds/bell.ogg");

    fakes.fileDialogs.answers = {"/opt/tools/reminder.sh", "", "/opt/my tools/it's.sh"};
    browse->click();
    EXPECT_EQ(program->text(), "/opt/tools/reminder.sh");
    browse->click();  // cancelled: the path stays
    EXPECT_EQ(program->text(), "/opt/tools/reminder.sh");
    browse->click();  // quoted, so that arguments can follow
    EXPECT_EQ(program->text(), R"('/opt/my tools/it'\''s.sh')");
    ASSERT_EQ(fakes.fileDialogs.calls.size(), 3u);
    EXPECT_EQ(fakes.fileDialogs.calls[0].kind, "open");
    // Programs and scripts have no extension to filter on: all files come first.
    const std::string& filter = fakes.fileDialogs.calls[0].filter;
    EXPECT_TRUE(filter.starts_with("All Files (*);;")) << filter;
    EXPECT_EQ(filter.find("*.exe"), std::string::npos) << filter;
}

}  // namespace

namespace {

TEST(ExpiryDialog, AnswersTheStoredValueNoExpiryOrNothingOnCancel) {
    fake::FakePlatform fakes;
    fakes.clock.set(2026, 12, 10, 15, 30, 20);
    const std::uint32_t now = static_cast<std::uint32_t>(fakes.clock.seconds);
    const std::uint32_t nextMinute = now + 40;
    fake::FakeClock later;
    later.set(2027, 1, 2, 8, 15, 0);
    const std::uint32_t typed = static_cast<std::uint32_t>(later.seconds);
    struct Case {
        const char* what;
        std::uint32_t stored;
        std::function<int(CExpiryDialog&)> user;
        std::optional<std::uint32_t> answer;
    };
    const auto ok = [](CExpiryDialog& d) {
        d.accept();
        return d.result();
    };
    const Case cases[] = {
        {"unchanged keeps the moment", now + 600, ok, now + 600},
        {"unchanged keeps no expiry", 0, ok, 0u},
        {"no expiry ticked", now + 600,
         [](CExpiryDialog& d) {
             EXPECT_TRUE(d.moment()->isEnabled());
             d.noExpiry()->click();
             EXPECT_FALSE(d.moment()->isEnabled());
             d.accept();
             return d.result();
         },
         0u},
        // Without a stored moment a day from the next minute is offered, not one that has passed.
        {"a moment picked on a note without expiry", 0,
         [](CExpiryDialog& d) {
             EXPECT_FALSE(d.moment()->isEnabled());
             d.noExpiry()->click();
             d.accept();
             return d.result();
         },
         nextMinute + 24 * 3600},
        {"a new moment typed", now + 600,
         [](CExpiryDialog& d) {
             d.moment()->setDateTime(QDateTime(QDate(2027, 1, 2), QTime(8, 15, 0)));
             d.accept();
             return d.result();
         },
         typed},
        {"cancel", now + 600,
         [](CExpiryDialog& d) {
             d.noExpiry()->click();
             d.reject();
             return d.result();
         },
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
            auto* expiry = dynamic_cast<CExpiryDialog*>(&dialog);
            EXPECT_NE(expiry, nullptr);
            return c.user(*expiry);
        };
        EXPECT_EQ(AskExpiry(nullptr, fakes.platform(), c.stored), c.answer);
    }
}

}  // namespace
