#include "alarm/LocalDateTime.h"
#include "alarm/MissedAlarm.h"
#include "alarm/SnoozeRecord.h"
#include "alarmui/AlarmPacing.h"
#include "alarmui/ShutDownCountdown.h"
#include "alarmui/StopAlarm.h"
#include "app/MainWindow.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/Title.h"
#include "note/TitleButton.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "qtsupport/PacedTimer.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"
#include "support/RecordingOwner.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

// Each case names only the alarm fields it changes.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace bp;
using namespace bp::test;

namespace {

LocalDateTime when(int year, int month, int day, int hour, int minute = 0, int second = 0) {
    return {year, month, day, hour, minute, second, 0};
}

struct Alarm {
    int isReminder = 1;
    LocalDateTime at = when(2026, 12, 7, 9);
    std::string schedule = ";!;!;!";
    int action = 8;  // beep: one played tone sequence per ringing
    int snooze = 0;
    int flashTimes = 100;
    int flashInterval = 600;
    int repeatEach = 0;
    std::string url;
    std::string exe;
};

class AlarmFiring : public ::testing::Test, public StoreFixture {
protected:
    AlarmFiring() {
        fakes.desktop.screen = {0, 0, 1280, 800};
        fakes.desktop.available = {0, 0, 1280, 800};
        fakes.clock.set(2026, 12, 7, 8, 59, 0);  // a Monday
    }

    void setAlarm(std::int32_t nid, const Alarm& a) {
        store.SetNote(nid, a.isReminder, note::isReminder);
        store.SetNote(nid, toStored(fakes.clock, a.at), note::remindTime);
        store.SetNote(nid, a.schedule, note::schedule);
        store.SetNote(nid, a.action, note::remindAction);
        store.SetNote(nid, a.snooze, note::remindSnoozeTime);
        store.SetNote(nid, a.flashTimes, note::remindFlashTimes);
        store.SetNote(nid, a.flashInterval, note::remindFlashInterval);
        store.SetNote(nid, a.repeatEach, note::repeatEach);
        store.SetNote(nid, a.url, note::remindUrl);
        store.SetNote(nid, a.exe, note::remindExe);
    }

    CNote& open(std::int32_t nid) {
        notes.push_back(std::make_unique<CNote>(fakes.platform(), store, owner, nid));
        CNote& n = *notes.back();
        n.CreateFromRecord();
        n.ShowNote(true);
        return n;
    }

    // One timer message, as the event loop would deliver it, and the ringing of what it found
    // due, which otherwise waits for the next turn of the event loop.
    static void tick(PacedTimer& timer) {
        emit timer.fired();
        RingQueue::instance().ringAll();
    }

    int rings() const { return static_cast<int>(fakes.sound.played.size()); }
    LocalDateTime storedNext(std::int32_t nid) {
        return toLocal(fakes.clock, store.GetNote(kLiveSource, nid, note::remindTime));
    }
    int storedInt(std::int32_t nid, IntKey key) { return store.GetNote(kLiveSource, nid, key); }

    RecordingOwner owner;
    std::vector<std::unique_ptr<CNote>> notes;
};

}  // namespace

TEST_F(AlarmFiring, APastDueAlarmRingsAtTheFirstCheckAndIsStoredAdvancedAndSaved) {
    setAlarm(1, {.at = when(2026, 12, 7, 7, 30)});
    CNote& n = open(1);
    CTitleButton* alarmButton = n.title()->button(cmd::TITLE_ALARM_BUTTON);
    EXPECT_EQ(alarmButton->imageId(), bitmap::ALARM_ON);
    EXPECT_EQ(alarmButton->toolTip(), "Alarm ON\nMonday, December 07, 2026 07:30:00 AM");
    EXPECT_TRUE(n.title()->toolTip().endsWith("alarm time: Monday, December 07, 2026 07:30:00 AM"));
    EXPECT_EQ(n.alarmCheckTimer().interval(), 1000);

    // The real timer: within a second of the note's creation.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rings() == 1; }, 1500));
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    std::vector<std::pair<int, int>> tones;
    for (const Tone& t : fakes.sound.played[0]) {
        tones.emplace_back(t.frequencyHz, t.durationMs);
    }
    EXPECT_EQ(tones,
              (std::vector<std::pair<int, int>>{{100, 500}, {200, 500}, {300, 500}, {400, 500}}));
    // A one-time alarm is off afterwards, and holds the same time on the next day.
    EXPECT_EQ(storedInt(1, note::isReminder), 0);
    EXPECT_EQ(storedNext(1), when(2026, 12, 8, 7, 30));
    EXPECT_FALSE(n.alarmCheckTimer().isActive());
    EXPECT_EQ(alarmButton->imageId(), bitmap::ALARM_OFF);
    EXPECT_EQ(alarmButton->toolTip(), "Alarm");
    EXPECT_TRUE(n.title()->toolTip().endsWith("alarm time: NO ALARM"));
    const auto changed = RecordingOwner::Call{RecordingOwner::Kind::NoteChanged, 1};
    EXPECT_NE(std::find(owner.calls.begin(), owner.calls.end(), changed), owner.calls.end());

    // Saved to the file at once.
    CNotesDatabase reread(fakes.platform());
    reread.SetDataFolder(folder.path());
    ASSERT_TRUE(reread.OpenDatabase(0));
    EXPECT_EQ(reread.GetNote(kLiveSource, 1, note::isReminder), 0);
    EXPECT_EQ(toLocal(fakes.clock, reread.GetNote(kLiveSource, 1, note::remindTime)),
              when(2026, 12, 8, 7, 30));
}

TEST_F(AlarmFiring, TheFiringWritesTheAlarmBackInItsOrderBeforeSaving) {
    Alarm a{.at = when(2026, 12, 7, 8, 0)};
    a.schedule = ";!;02;!;!";  // read as Monday, written back as ";!;2;!;!"
    setAlarm(1, a);
    store.SetNote(1, 5, note::remindRepeatTimes);
    CNote& n = open(1);
    // Which alarm attribute each change of the store touched, in turn.
    std::vector<std::string> order;
    auto snapshot = [&] {
        return std::vector<std::string>{
            std::to_string(store.GetNote(kLiveSource, 1, note::remindTime)),
            store.GetNote(kLiveSource, 1, note::schedule),
            std::to_string(store.GetNote(kLiveSource, 1, note::remindRepeatTimes)),
            std::to_string(store.GetNote(kLiveSource, 1, note::isReminder))};
    };
    const char* names[] = {"remindTime", "schedule", "remindRepeatTimes", "isReminder"};
    auto last = snapshot();
    store.SetChangeListener([&] {
        const auto now = snapshot();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i] != last[i]) {
                order.push_back(names[i]);
            }
        }
        last = now;
    });
    tick(n.alarmCheckTimer());
    store.SetChangeListener({});
    EXPECT_EQ(order, (std::vector<std::string>{"remindTime", "schedule", "remindRepeatTimes",
                                               "isReminder"}));
    EXPECT_EQ(store.GetNote(kLiveSource, 1, note::schedule), ";!;2;!;!");
}

TEST_F(AlarmFiring, ActionsRunInTheirOrderAndFailuresAreToldOnceAllRan) {
    struct Case {
        const char* name;
        int action;
        bool activated;  // command 343 posted to the note
        bool flashing;
        int tones;
        int powerQuestions;
        std::vector<std::string> opened;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"PopUpOnly", 1, true, false, 0, 0, {}, {}},
        {"PopUpAndFlash", 3, false, true, 0, 0, {}, {}},
        {"BeepAndShutDown", 24, false, false, 1, 1, {}, {}},
        {"UrlThatCannotOpen", 64, false, false, 0, 0, {"bad://url"}, {"Can't open url."}},
        {"EveryOpenFails",
         32 | 64 | 128,
         false,
         false,
         0,
         0,
         {"bad.wav", "bad://url", "/no/such/program"},
         {"Can't open the sound file.", "Can't open url.", "Can't open program or file."}},
        {"ShutDownRefusedAndUrlFails",
         8 | 16 | 64,
         false,
         false,
         1,
         1,
         {"bad://url"},
         {"Can't shut down the computer: logind, the system's power service, is not running.",
          "Can't open url."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes = {};
        fakes.clock.set(2026, 12, 7, 9, 0, 0);
        fakes.shell.failing = {"bad.wav", "bad://url", "/no/such/program"};
        fakes.powerOff.allowed = c.errors.empty() || c.errors[0].find("shut") == std::string::npos;
        owner.calls.clear();
        Alarm a{.at = when(2026, 12, 7, 9), .action = c.action};
        a.url = "bad://url";
        a.exe = "/no/such/program";
        setAlarm(1, a);
        store.SetNote(1, std::string("bad.wav"), note::remindWav);
        CNote& n = open(1);
        std::vector<std::string> whileBoxOpen;
        fakes.messages.whileOpen = [&] {
            // Every action has run before the first box, and the note counts as in a dialog.
            whileBoxOpen.push_back(std::to_string(fakes.shell.opened.size()) + " opened, " +
                                   std::to_string(rings()) + " rung" +
                                   (n.modalOpen() ? ", modal" : ""));
            // The store already holds the state after the ringing, so a program ended while
            // the box is open does not ring this alarm again at its next start.
            EXPECT_EQ(storedInt(1, note::isReminder), 0);
            EXPECT_EQ(storedNext(1), when(2026, 12, 8, 9));
        };
        tick(n.alarmCheckTimer());
        QCoreApplication::processEvents();

        EXPECT_NE(n.stopAlarmWindow(), nullptr);
        EXPECT_EQ(std::count(fakes.windows.activated.begin(), fakes.windows.activated.end(), &n),
                  c.activated ? 1 : 0);
        EXPECT_EQ(n.flashTimer().isActive(), c.flashing);
        EXPECT_EQ(rings(), c.tones);
        EXPECT_EQ(fakes.powerOff.questions, c.powerQuestions);
        EXPECT_EQ(n.shutDownCountdown() != nullptr, fakes.powerOff.allowed && c.powerQuestions);
        EXPECT_EQ(fakes.powerOff.requests, 0) << "nothing is switched off before the count ends";
        EXPECT_EQ(fakes.shell.opened, c.opened);
        std::vector<std::string> errors;
        for (const auto& box : fakes.messages.shown) {
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.label, "");
            EXPECT_EQ(box.iconId, res::ICON_ERROR);
            errors.push_back(box.text);
        }
        EXPECT_EQ(errors, c.errors);
        const std::string allDone = std::to_string(c.opened.size()) + " opened, " +
                                    std::to_string(c.tones) + " rung, modal";
        EXPECT_EQ(whileBoxOpen, std::vector<std::string>(c.errors.size(), allDone));
        EXPECT_FALSE(n.modalOpen());
        // A one-time alarm has rung, whatever its actions did: off, and not again tomorrow.
        EXPECT_EQ(storedInt(1, note::isReminder), 0);
        EXPECT_EQ(n.reminder().isReminder, 0);
        EXPECT_EQ(storedNext(1), when(2026, 12, 8, 9));
        notes.clear();
    }
}

TEST_F(AlarmFiring, ShutDownWarnsForAMinuteAndCanBeCancelled) {
    const auto finishDeletes = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .action = 16 | 8});
    CNote& n = open(1);
    tick(n.alarmCheckTimer());
    EXPECT_EQ(rings(), 1);
    CShutDownCountdown* countdown = n.shutDownCountdown();
    ASSERT_NE(countdown, nullptr);
    EXPECT_TRUE(countdown->isVisible());
    EXPECT_EQ(countdown->windowTitle(), "Shutting Down");
    EXPECT_TRUE(countdown->message()->text().contains("in 60 seconds"));
    EXPECT_TRUE(countdown->cancelButton()->isDefault()) << "Enter keeps the computer on";
    for (int second = 1; second < CShutDownCountdown::kSeconds; ++second) {
        countdown->tick();
    }
    EXPECT_TRUE(countdown->message()->text().contains("in 1 second."));
    EXPECT_EQ(fakes.powerOff.requests, 0);
    countdown->tick();
    EXPECT_EQ(fakes.powerOff.requests, 1);
    finishDeletes();
    EXPECT_EQ(n.shutDownCountdown(), nullptr);
    EXPECT_TRUE(fakes.messages.shown.empty());

    // Cancel, Escape and the window's close button all keep the computer on for good.
    using Stop = std::function<void(CShutDownCountdown&)>;
    const std::pair<const char*, Stop> stops[] = {
        {"Cancel", [](CShutDownCountdown& w) { w.cancelButton()->click(); }},
        {"Escape", [](CShutDownCountdown& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Close", [](CShutDownCountdown& w) { w.close(); }},
    };
    for (const auto& [name, stop] : stops) {
        SCOPED_TRACE(name);
        n.runAlarmActions();
        QPointer<CShutDownCountdown> warning = n.shutDownCountdown();
        ASSERT_NE(warning, nullptr);
        stop(*warning);
        if (warning != nullptr) {
            EXPECT_FALSE(warning->isVisible());
            for (int second = 0; second < 2 * CShutDownCountdown::kSeconds; ++second) {
                warning->tick();
            }
        }
        finishDeletes();
        EXPECT_EQ(warning, nullptr);
        EXPECT_EQ(fakes.powerOff.requests, 1);
    }

    // "Shut Down Now" does not wait; a refusal then is told with its reason.
    fakes.powerOff.succeeds = false;
    fakes.powerOff.problemText = "logind answered with an error (refused)";
    n.runAlarmActions();
    n.runAlarmActions();  // a second ringing keeps the count that runs
    ASSERT_NE(n.shutDownCountdown(), nullptr);
    n.shutDownCountdown()->shutDownNowButton()->click();
    EXPECT_EQ(fakes.powerOff.requests, 2);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0],
              (fake::ShownBox{fake::ShownBox::Kind::Message, "Error", "Brightpost",
                              "Can't shut down the computer: logind answered with an error "
                              "(refused).",
                              res::ICON_ERROR}));

    // A note that goes away takes its warning with it.
    n.runAlarmActions();
    QPointer<CShutDownCountdown> orphan = n.shutDownCountdown();
    ASSERT_NE(orphan, nullptr);
    notes.clear();
    finishDeletes();
    EXPECT_EQ(orphan, nullptr);
    EXPECT_EQ(fakes.powerOff.requests, 2);
}

TEST_F(AlarmFiring, WithoutAPowerServiceTheShutDownDoesNothing) {
    setAlarm(3, {.at = when(2026, 12, 7, 8, 0), .action = 16 | 8});
    Platform platform = fakes.platform();
    platform.powerOff = nullptr;
    platform.sound = nullptr;
    notes.push_back(std::make_unique<CNote>(platform, store, owner, 3));
    CNote& bare = *notes.back();
    bare.CreateFromRecord();
    tick(bare.alarmCheckTimer());
    EXPECT_NE(bare.stopAlarmWindow(), nullptr);
    EXPECT_EQ(bare.shutDownCountdown(), nullptr);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(AlarmFiring, TimerMessagesDuringAnActionsBoxAreDropped) {
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .action = 64 | 2, .url = "bad://url"});
    fakes.shell.failing = {"bad://url"};
    store.SetNote(1, static_cast<std::uint32_t>(fakes.clock.now() + 3600), note::expireTime);
    CNote& n = open(1);
    fakes.messages.whileOpen = [&] {
        // The box's event loop delivers timers: a flash step and an expiry now due.
        fakes.clock.seconds += 7200;
        tick(n.flashTimer());
        tick(n.hoverTimer());
        tick(n.alarmCheckTimer());
    };
    tick(n.alarmCheckTimer());
    EXPECT_TRUE(n.isVisible());
    EXPECT_EQ(owner.count(RecordingOwner::Kind::DeleteNoteWindow), 0);
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
    // Also when the actions run outside a timer, as when the alarm dialog rings at once.
    n.runAlarmActions();
    EXPECT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_TRUE(n.isVisible());
    EXPECT_FALSE(n.timerBusy());

    // Once the box is closed, timers work again.
    fakes.messages.whileOpen = {};
    tick(n.flashTimer());
    EXPECT_FALSE(n.isVisible());
    EXPECT_NE(owner.count(RecordingOwner::Kind::DeleteNoteWindow), 0);
}

TEST(StopAlarmPlacement, BelowAboveOrAtTheBottomOfTheWorkArea) {
    const QSize window(300, 120);
    const Rect area{0, 0, 1280, 800};
    struct Case {
        const char* name;
        QRect note;
        QPoint expected;
    };
    const Case cases[] = {
        {"Below", {100, 100, 200, 200}, {50, 300}},
        {"JustFitsBelow", {100, 480, 200, 200}, {50, 680}},
        {"AboveNearTheBottom", {100, 600, 201, 150}, {50, 480}},
        {"TallNoteGoesToTheBottomEdge", {100, 50, 200, 700}, {50, 680}},
        {"OddWidthsTruncate", {101, 0, 301, 100}, {101 + 150 - 150, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stopAlarmPosition(c.note, window, area), c.expected);
    }
    // A panel at the top: above the note means below the panel.
    EXPECT_EQ(stopAlarmPosition({100, 100, 200, 690}, window, {0, 30, 1280, 770}), QPoint(50, 680));
}

TEST_F(AlarmFiring, TheRecordHoldsTheAlarmAsTheNoteDoesOnceItRangOrWasSwitchedOff) {
    // A one-time alarm that rang drops its repetition; a recurring one on a day that never
    // comes is switched off unheard and loses its actions. Read back, the record says so.
    setAlarm(1, {.at = when(2026, 12, 7, 7, 30)});
    store.SetNote(1, 1, note::remindRepeat);
    setAlarm(2, {.isReminder = 2, .at = when(2026, 12, 7, 7, 30), .schedule = ";30;!;!;2;!"});
    for (std::int32_t nid : {1, 2}) {
        SCOPED_TRACE(nid);
        CNote& n = open(nid);
        tick(n.alarmCheckTimer());
        AlarmSchedule stored;
        stored.Load(store, nid, fakes.clock);
        EXPECT_EQ(stored.isReminder, 0);
        EXPECT_EQ(stored.remindRepeat, 0);
        EXPECT_EQ(stored.remindAction, n.reminder().remindAction);
    }
    EXPECT_EQ(rings(), 1) << "only the one-time alarm rang";
}

TEST_F(AlarmFiring, TheStopAlarmWindowWithAndWithoutSnoozeAndItsTimeout) {
    for (int snooze : {0, 540000}) {
        SCOPED_TRACE(snooze);
        fakes.windows.activated.clear();
        setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .snooze = snooze});
        CNote& n = open(1);
        n.move(400, 200);
        n.resize(200, 150);
        tick(n.alarmCheckTimer());
        CStopAlarm* window = n.stopAlarmWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->geometry(), QRect(350, 350, 300, 180));
        EXPECT_EQ(fakes.windows.stackingOf(window), IWindowSystem::Stacking::Top);
        EXPECT_EQ(window->snoozeEnabled(), snooze > 0);
        CStopAlarmButton* snoozeButton = window->snoozeButton();
        CStopAlarmButton* stopButton = window->stopButton();
        EXPECT_EQ(snoozeButton->text(), " SNOOZE ");
        EXPECT_EQ(stopButton->text(), " stop alarm ");
        EXPECT_EQ(snoozeButton->isVisible(), snooze > 0);
        EXPECT_EQ(stopButton->geometry(),
                  snooze > 0 ? QRect(80, 145, 120, 25) : QRect(10, 100, 280, 45));
        EXPECT_TRUE(window->timeout().isActive());
        EXPECT_EQ(window->timeout().interval(), 60000);

        // A minute without a press: snooze when it can, else stop; the note comes forward.
        QPointer<CStopAlarm> gone(window);
        window->timedOut();
        EXPECT_TRUE(window->handled());
        EXPECT_EQ(n.stopAlarmWindow(), nullptr);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(std::count(fakes.windows.activated.begin(), fakes.windows.activated.end(), &n),
                  1);
        EXPECT_EQ(n.snoozeTimer().interval(), snooze);
        EXPECT_EQ(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->isVisible(), snooze > 0);
        // Presses after the window acted do nothing.
        QTest::mouseClick(stopButton, Qt::LeftButton);
        EXPECT_EQ(std::count(fakes.windows.activated.begin(), fakes.windows.activated.end(), &n),
                  1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(gone.isNull());
        notes.clear();
    }
}

// "Until stopped": the beep comes again while the stop-alarm window stands, and not once it has
// been answered in any way.
TEST_F(AlarmFiring, TheBeepRepeatsUntilTheAlarmIsAnsweredOnlyWhenTheSettingsAskForIt) {
    struct Case {
        const char* what;
        int repeat;
        int snooze;
    };
    const Case cases[] = {
        {"once", 0, 0},
        {"until it stops by itself", 1, 0},
        {"until it snoozes", 1, 540000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes.sound.played.clear();
        setting::set(store, setting::alarmBeepRepeat, c.repeat);
        setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .snooze = c.snooze});
        CNote& n = open(1);
        tick(n.alarmCheckTimer());
        ASSERT_EQ(rings(), 1);
        QTimer& again = n.alarm().beepRepeatTimer();
        EXPECT_EQ(again.isActive(), c.repeat != 0);
        if (c.repeat != 0) {
            QMetaObject::invokeMethod(&again, "timeout");
            EXPECT_EQ(rings(), 2);
        }
        ASSERT_NE(n.stopAlarmWindow(), nullptr);
        n.stopAlarmWindow()->timedOut();
        EXPECT_FALSE(again.isActive());
        QMetaObject::invokeMethod(&again, "timeout");
        EXPECT_EQ(rings(), c.repeat != 0 ? 2 : 1) << "no beep after the alarm was answered";
        notes.clear();
    }
}

TEST_F(AlarmFiring, SnoozeRingsAgainWithANewWindowAndCanBeCancelled) {
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .snooze = 540000});
    CNote& n = open(1);
    tick(n.alarmCheckTimer());
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
    EXPECT_EQ(n.stopAlarmWindow(), nullptr);
    EXPECT_EQ(n.snoozeTimer().interval(), 540000);
    EXPECT_TRUE(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->isVisible());

    // Nine minutes later: the one-time alarm is already off, and rings all the same.
    tick(n.snoozeTimer());
    EXPECT_EQ(rings(), 2);
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    EXPECT_FALSE(n.stopAlarmWindow()->handled());
    EXPECT_FALSE(n.snoozeTimer().isActive());
    EXPECT_FALSE(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->isVisible());

    // Snoozed again, then the title bar's button ends the snooze.
    QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
    EXPECT_TRUE(n.snoozeTimer().isActive());
    QTest::mouseClick(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(n.snoozeTimer().isActive());
    EXPECT_FALSE(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->isVisible());
    EXPECT_EQ(rings(), 2);
}

TEST_F(AlarmFiring, ASnoozeOutlivesARestartAndIsShownAsTheNextRinging) {
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .snooze = 540000});
    const QString snoozeEnd = "Monday, December 07, 2026 09:08:00 AM";
    auto snoozeShown = [&](CNote& n) {
        EXPECT_TRUE(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->isVisible());
        EXPECT_TRUE(n.title()->toolTip().endsWith("alarm time: " + snoozeEnd));
        EXPECT_EQ(n.title()->button(cmd::TITLE_ALARM_BUTTON)->toolTip(), "Alarm ON\n" + snoozeEnd);
    };
    // The program ends (its saves have carried the store) and starts again.
    auto restart = [&] {
        ASSERT_TRUE(store.SaveDatabase(""));
        notes.clear();
        ASSERT_TRUE(store.OpenDatabase(0));
    };
    {
        CNote& n = open(1);
        tick(n.alarmCheckTimer());
        QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
        snoozeShown(n);
        // The one-time alarm itself stays off.
        EXPECT_EQ(storedInt(1, note::isReminder), 0);
    }
    fakes.clock.set(2026, 12, 7, 9, 3, 0);
    restart();
    {
        CNote& n = open(1);
        snoozeShown(n);
        EXPECT_EQ(n.snoozeTimer().interval(), 5 * 60 * 1000);
        fakes.clock.set(2026, 12, 7, 9, 8, 0);
        tick(n.snoozeTimer());
        EXPECT_EQ(rings(), 2);
        EXPECT_FALSE(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->isVisible());
        EXPECT_TRUE(n.title()->toolTip().endsWith("alarm time: NO ALARM"));
        EXPECT_EQ(storedSnoozeEnd(store, 1), std::nullopt);
        // Snoozed again, and the program is away until long after its end: it rings at once.
        QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
        EXPECT_EQ(storedSnoozeEnd(store, 1), toStored(fakes.clock, when(2026, 12, 7, 9, 17)));
    }
    fakes.clock.set(2026, 12, 7, 11, 0, 0);
    restart();
    CNote& n = open(1);
    EXPECT_EQ(n.snoozeTimer().interval(), 1000);
    tick(n.snoozeTimer());
    EXPECT_EQ(rings(), 3);
    // Cancelled from the title bar, it is gone for good.
    QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
    QTest::mouseClick(n.title()->button(cmd::TITLE_STOP_SNOOZE_BUTTON), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(storedSnoozeEnd(store, 1), std::nullopt);
    EXPECT_TRUE(n.title()->toolTip().endsWith("alarm time: NO ALARM"));
}

TEST_F(AlarmFiring, ASecondRingingReplacesTheWindowOfTheFirst) {
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0)});
    CNote& n = open(1);
    n.runAlarmActions();
    QPointer<CStopAlarm> first(n.stopAlarmWindow());
    n.runAlarmActions();
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    EXPECT_NE(n.stopAlarmWindow(), first.data());
    // Left alone, the first window could be pressed but would never go away.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    QTest::mouseClick(n.stopAlarmWindow()->stopButton(), Qt::LeftButton);
    EXPECT_EQ(n.stopAlarmWindow(), nullptr);
}

TEST_F(AlarmFiring, TheStopAlarmWindowNamesItsNoteAndWhenTheAlarmWasDue) {
    struct Case {
        const char* title;
        const char* body;
        const char* name;
        const char* firstLine;
    };
    const Case cases[] = {
        {"Dentist", "Call to confirm\nbring the card", "Dentist", "Call to confirm"},
        // A blank title is named as a screen reader names the note; blank lines are passed.
        {"   ", "\n  \n  Water the plants  \nlater", "Note 2", "Water the plants"},
        {"Empty", "", "Empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        store.SetNote(2, std::string(c.title), note::title);
        setAlarm(2, {.at = when(2026, 12, 7, 8, 30)});
        CNote& n = open(2);
        n.body()->setPlainText(QString::fromUtf8(c.body));
        tick(n.alarmCheckTimer());
        CStopAlarm* window = n.stopAlarmWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->nameLabel()->accessibleName(), QString::fromUtf8(c.name));
        EXPECT_EQ(window->firstLineLabel()->accessibleName(), QString::fromUtf8(c.firstLine));
        // When it was due, not when the check found it: the program may have been closed then.
        EXPECT_EQ(window->dueLabel()->text(), "Due Dec 07, 2026 - 08:30:00 AM");
        EXPECT_EQ(window->accessibleName(), QStringLiteral("Alarm of %1").arg(c.name));
        notes.clear();
    }

    // A long first line is cut to the window, and read out whole.
    const QString longLine(200, QLatin1Char('w'));
    setAlarm(1, {.at = when(2026, 12, 7, 8, 30)});
    CNote& n = open(1);
    n.body()->setPlainText(longLine);
    n.runAlarmActions();
    QLabel* line = n.stopAlarmWindow()->firstLineLabel();
    EXPECT_EQ(line->accessibleName(), longLine);
    EXPECT_TRUE(line->text().endsWith(QChar(0x2026)));
    EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
}

// The desktop notification offers what the stop-alarm window offers, and lasts as long as it.
TEST_F(AlarmFiring, ARingingIsAlsoADesktopNotificationThatAnswersAsTheWindowDoes) {
    using Id = IDesktopNotifications::Id;
    fake::FakeDesktopNotifications& desktop = fakes.notifications;
    store.SetNote(1, std::string("Dentist"), note::title);
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .action = 3, .snooze = 540000});
    CNote& n = open(1);
    n.body()->setPlainText("Call to confirm\n\nbring the card\nand the form\nand a pen");
    tick(n.alarmCheckTimer());
    ASSERT_EQ(desktop.shown.size(), 1u);
    const IDesktopNotifications::Notification& shown = desktop.shown[0].notification;
    EXPECT_EQ(shown.summary, "Dentist");
    EXPECT_EQ(shown.body, "Call to confirm\nbring the card\nand the form");
    EXPECT_EQ(shown.actions, (std::vector<IDesktopNotifications::Action>{
                                 {"stop", "Stop"}, {"snooze", "Snooze"}, {"show", "Show note"}}));
    EXPECT_EQ(shown.urgency, IDesktopNotifications::Urgency::Critical);
    EXPECT_TRUE(shown.resident);
    EXPECT_EQ(shown.expireTimeoutMs, 0);

    // "Show note" brings the note up as a press on it does; the ringing waits for an answer.
    tick(n.flashTimer());
    ASSERT_FALSE(n.isVisible());
    desktop.invoke(1, "show");
    EXPECT_TRUE(n.isVisible());
    EXPECT_FALSE(n.flashTimer().isActive());
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    EXPECT_FALSE(n.stopAlarmWindow()->handled());
    EXPECT_TRUE(desktop.closeCalls.empty());

    // "Snooze" snoozes as the window's button does, and both go.
    desktop.invoke(1, "snooze");
    EXPECT_EQ(n.stopAlarmWindow(), nullptr);
    EXPECT_TRUE(n.snoozeTimer().isActive());
    EXPECT_EQ(storedSnoozeEnd(store, 1), toStored(fakes.clock, when(2026, 12, 7, 9, 8)));
    EXPECT_EQ(desktop.closeCalls, std::vector<Id>{1});

    // The snooze ends: a new notification, which the window's own stop button takes away.
    tick(n.snoozeTimer());
    ASSERT_EQ(desktop.shown.size(), 2u);
    QTest::mouseClick(n.stopAlarmWindow()->stopButton(), Qt::LeftButton);
    EXPECT_EQ(desktop.closeCalls, (std::vector<Id>{1, 2}));

    // "Stop" from the notification.
    n.runAlarmActions();
    desktop.invoke(3, "stop");
    EXPECT_EQ(n.stopAlarmWindow(), nullptr);
    EXPECT_FALSE(n.snoozeTimer().isActive());
    EXPECT_EQ(desktop.closeCalls, (std::vector<Id>{1, 2, 3}));

    // The window's minute runs out: the notification goes too.
    n.runAlarmActions();
    n.stopAlarmWindow()->timedOut();
    EXPECT_EQ(desktop.closeCalls, (std::vector<Id>{1, 2, 3, 4}));

    // A new ringing while the last one's window stands replaces both.
    n.runAlarmActions();
    n.runAlarmActions();
    EXPECT_EQ(desktop.closeCalls, (std::vector<Id>{1, 2, 3, 4, 5}));
    EXPECT_EQ(desktop.openCount(), 1u);

    // The user dismissing the notification leaves the ringing to its window.
    desktop.closedByServer(6, IDesktopNotifications::ClosedReason::DismissedByUser);
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    EXPECT_FALSE(n.stopAlarmWindow()->handled());
    EXPECT_TRUE(n.stopAlarmWindow()->isVisible());
    QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
    EXPECT_EQ(desktop.closeCalls.size(), 5u) << "nothing left to take away";
    EXPECT_TRUE(fakes.messages.shown.empty());

    // A note closed while it rings takes its notification with it.
    n.cancelSnooze();
    n.runAlarmActions();
    notes.clear();
    EXPECT_EQ(desktop.openCount(), 0u);
}

TEST_F(AlarmFiring, NoDesktopNotificationWhenTurnedOffOrWithoutAServer) {
    setAlarm(1, {.at = when(2026, 12, 7, 8, 0), .snooze = 540000});
    CNote& n = open(1);
    setting::set(store, setting::alarmNotifications, 0);
    n.runAlarmActions();
    EXPECT_NE(n.stopAlarmWindow(), nullptr);
    EXPECT_TRUE(fakes.notifications.shown.empty());
    QTest::mouseClick(n.stopAlarmWindow()->stopButton(), Qt::LeftButton);

    // On, but nothing on the desktop shows notifications: the ringing is as it always was,
    // and nobody is told.
    setting::set(store, setting::alarmNotifications, 1);
    fakes.notifications.serverRunning = false;
    n.runAlarmActions();
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    EXPECT_EQ(rings(), 2);
    EXPECT_TRUE(fakes.notifications.shown.empty());
    QTest::mouseClick(n.stopAlarmWindow()->snoozeButton(), Qt::LeftButton);
    EXPECT_TRUE(n.snoozeTimer().isActive());
    EXPECT_TRUE(fakes.notifications.closeCalls.empty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(AlarmFiring, AlarmsRingingAtOnceKeepTheirWindowsApart) {
    // Three notes on one place: their windows would cover each other.
    for (std::int32_t nid : {1, 2, 3}) {
        setAlarm(nid, {.at = when(2026, 12, 7, 8, 0)});
    }
    std::vector<CStopAlarm*> windows;
    for (std::int32_t nid : {1, 2, 3}) {
        CNote& n = open(nid);
        n.move(400, 100);
        n.resize(200, 150);
        n.runAlarmActions();
        windows.push_back(n.stopAlarmWindow());
    }
    EXPECT_EQ(windows[0]->pos(), QPoint(350, 250));
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const QRect r = windows[i]->geometry();
        EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(r)) << i;
        EXPECT_EQ(fakes.windows.stackingOf(windows[i]), IWindowSystem::Stacking::Top);
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(r.intersects(windows[j]->geometry())) << i << " covers " << j;
        }
    }
    // A window that went makes room for the next one.
    QTest::mouseClick(windows[0]->stopButton(), Qt::LeftButton);
    notes[0]->runAlarmActions();
    EXPECT_EQ(notes[0]->stopAlarmWindow()->pos(), QPoint(350, 250));
}

TEST(StopAlarmPlacement, StackedWindowsStayApartAndOnTheWorkArea) {
    const Rect area{0, 0, 1280, 800};
    const QSize size(300, 180);
    struct Case {
        const char* name;
        QPoint wanted;
        std::vector<QRect> shown;
        QPoint expected;
    };
    const Case cases[] = {
        {"NoneShown", {50, 100}, {}, {50, 100}},
        {"ClearOfTheOthers", {50, 100}, {{600, 100, 300, 180}}, {50, 100}},
        {"BelowTheOneItCovers", {50, 100}, {{50, 100, 300, 180}}, {50, 280}},
        {"BelowAChainOfThem", {50, 100}, {{50, 100, 300, 180}, {60, 290, 300, 180}}, {50, 470}},
        {"AboveWhenNoRoomBelow", {50, 500}, {{50, 500, 300, 180}, {50, 620, 300, 180}}, {50, 320}},
        // Nowhere free: a line lower per window, so that each one's name shows.
        {"SteppedWhenFull",
         {50, 300},
         {{50, 0, 300, 180},
          {50, 180, 300, 180},
          {50, 360, 300, 180},
          {50, 540, 300, 180},
          {50, 720, 300, 80}},
         {50, 300 + 5 * 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stackedStopAlarmPosition(QRect(c.wanted, size), c.shown, area), c.expected);
    }
    // Stepped down no further than the bottom of the work area.
    const std::vector<QRect> many(40, QRect(50, 0, 300, 800));
    EXPECT_EQ(stackedStopAlarmPosition(QRect({50, 300}, size), many, area), QPoint(50, 620));
}

TEST_F(AlarmFiring, AnAlarmNobodyAnsweredMarksItsNoteUntilTheUserOpensIt) {
    setAlarm(1, {.at = when(2026, 12, 7, 8, 30)});
    CNote& n = open(1);
    tick(n.alarmCheckTimer());
    ASSERT_NE(n.stopAlarmWindow(), nullptr);
    owner.calls.clear();
    n.stopAlarmWindow()->timedOut();
    EXPECT_EQ(storedMissedAlarm(store, 1), toStored(fakes.clock, when(2026, 12, 7, 8, 30)));
    EXPECT_TRUE(n.title()->toolTip().endsWith("\nmissed alarm: Dec 07, 2026 - 08:30:00 AM"))
        << n.title()->toolTip().toStdString();
    // The Notes Manager and the tray hear of it.
    EXPECT_NE(owner.count(RecordingOwner::Kind::NoteChanged), 0);
    EXPECT_NE(owner.count(RecordingOwner::Kind::UpdateTrayTipLater), 0);

    // The stop's own bringing forward of the note did not count as opening it; it survives
    // the program's end.
    notes.clear();
    CNote& again = open(1);
    EXPECT_TRUE(again.title()->toolTip().contains("missed alarm: "));

    // A press on the note opens it.
    QTest::mousePress(&again, Qt::LeftButton, {}, QPoint(5, 60));
    QTest::mouseRelease(&again, Qt::LeftButton, {}, QPoint(5, 60));
    EXPECT_EQ(storedMissedAlarm(store, 1), std::nullopt);
    EXPECT_FALSE(again.title()->toolTip().contains("missed"));
}

TEST_F(AlarmFiring, OnlyAnAlarmThatStoppedByItselfIsMissed) {
    struct Case {
        const char* name;
        int snooze;
        void (*answer)(CStopAlarm&);
    };
    const Case cases[] = {
        {"StopPressed", 0,
         [](CStopAlarm& w) { QTest::mouseClick(w.stopButton(), Qt::LeftButton); }},
        {"SnoozePressed", 540000,
         [](CStopAlarm& w) { QTest::mouseClick(w.snoozeButton(), Qt::LeftButton); }},
        // It rings again in nine minutes: nothing is lost yet.
        {"SnoozedByItself", 540000, [](CStopAlarm& w) { w.timedOut(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setAlarm(1, {.at = when(2026, 12, 7, 8, 30), .snooze = c.snooze});
        CNote& n = open(1);
        tick(n.alarmCheckTimer());
        ASSERT_NE(n.stopAlarmWindow(), nullptr);
        c.answer(*n.stopAlarmWindow());
        EXPECT_EQ(storedMissedAlarm(store, 1), std::nullopt);
        notes.clear();
        storeSnoozeEnd(store, 1, std::nullopt);
    }
}

TEST_F(AlarmFiring, FlashingHidesAndShowsTheNoteAndAClickEndsIt) {
    setAlarm(1,
             {.at = when(2026, 12, 7, 8, 0), .action = 3, .flashTimes = 1, .flashInterval = 250});
    CNote& n = open(1);
    tick(n.alarmCheckTimer());
    EXPECT_EQ(n.flashTimer().interval(), 250);
    fakes.windows.activated.clear();
    tick(n.flashTimer());
    EXPECT_FALSE(n.isVisible());
    // Flashing never changes what is stored: a program ended now starts with the note shown.
    EXPECT_EQ(storedInt(1, note::isClosed), 0);
    tick(n.flashTimer());
    EXPECT_TRUE(n.isVisible());
    EXPECT_EQ(storedInt(1, note::isClosed), 0);
    // The pop-up bit brings the shown note forward with the focus.
    EXPECT_EQ(fakes.windows.activated, std::vector<QWidget*>{&n});
    EXPECT_EQ(owner.count(RecordingOwner::Kind::UpdateTrayTipLater), 0);
    tick(n.flashTimer());
    EXPECT_FALSE(n.flashTimer().isActive());
    EXPECT_TRUE(n.isVisible());
    EXPECT_EQ(owner.count(RecordingOwner::Kind::UpdateTrayTipLater), 1);

    // Flashing again; a click into the body stops it, and the note stays shown.
    n.runAlarmActions();
    ASSERT_TRUE(n.flashTimer().isActive());
    QTest::mouseClick(n.body()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(n.flashTimer().isActive());
    EXPECT_TRUE(n.isVisible());

    // Flashing stopped in a hidden phase (the alarm dialog opens) leaves the note shown.
    n.runAlarmActions();
    tick(n.flashTimer());
    ASSERT_FALSE(n.isVisible());
    n.stopAlarmTimers();
    EXPECT_TRUE(n.isVisible());
    EXPECT_EQ(storedInt(1, note::isClosed), 0);

    // A note that was hidden when its alarm rang is brought up for good; one the user hides
    // while it flashes stays hidden.
    n.ShowNote(false);
    n.runAlarmActions();
    tick(n.flashTimer());
    EXPECT_TRUE(n.isVisible());
    EXPECT_EQ(storedInt(1, note::isClosed), 0);
    n.ShowNote(false);
    EXPECT_FALSE(n.flashTimer().isActive());
    EXPECT_EQ(storedInt(1, note::isClosed), 1);
}

TEST_F(AlarmFiring, AlarmsDueAtOnceRingAFewPerTurnEarliestFirst) {
    // Due in an order that is not that of the notes.
    constexpr int kAlarms = 12;
    std::vector<std::pair<int, std::int32_t>> dueMinuteAndNid;
    for (int i = 0; i < kAlarms; ++i) {
        const std::int32_t nid = i < 3 ? i + 1 : store.NewNote();
        const int minute = (i * 7) % kAlarms;
        setAlarm(nid, {.at = when(2026, 12, 7, 8, minute)});
        dueMinuteAndNid.emplace_back(minute, nid);
        open(nid);
    }
    owner.calls.clear();
    // Whatever else the program has to do gets its turn between the ringings.
    std::vector<int> ringsSeenByOthers;
    QTimer other;
    other.setInterval(0);
    QObject::connect(&other, &QTimer::timeout, [&] { ringsSeenByOthers.push_back(rings()); });
    other.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rings() == kAlarms; }, 5000));
    other.stop();
    ASSERT_FALSE(ringsSeenByOthers.empty());
    for (std::size_t i = 1; i < ringsSeenByOthers.size(); ++i) {
        EXPECT_LE(ringsSeenByOthers[i] - ringsSeenByOthers[i - 1],
                  static_cast<int>(RingQueue::kPerTurn));
    }

    std::sort(dueMinuteAndNid.begin(), dueMinuteAndNid.end());
    std::vector<std::int32_t> expected;
    for (const auto& [minute, nid] : dueMinuteAndNid) {
        expected.push_back(nid);
    }
    EXPECT_EQ(owner.nidsOf(RecordingOwner::Kind::NoteChanged), expected);
    // Saved once they have all rung.
    CNotesDatabase reread(fakes.platform());
    reread.SetDataFolder(folder.path());
    ASSERT_TRUE(reread.OpenDatabase(0));
    for (const auto& [minute, nid] : dueMinuteAndNid) {
        EXPECT_EQ(reread.GetNote(kLiveSource, nid, note::isReminder), 0) << nid;
    }
}

TEST_F(AlarmFiring, OnlyTheLastFewRungNotesFlashAndTheOthersStayShown) {
    constexpr std::size_t kMost = FlashingNotes::kMostAtOnce;
    std::vector<CNote*> rung;
    for (std::size_t i = 0; i < kMost + 2; ++i) {
        const std::int32_t nid = i < 3 ? static_cast<std::int32_t>(i) + 1 : store.NewNote();
        setAlarm(nid, {.at = when(2026, 12, 7, 8, 0), .action = 3});
        rung.push_back(&open(nid));
    }
    for (std::size_t i = 0; i < kMost; ++i) {
        tick(rung[i]->alarmCheckTimer());
    }
    // They flash together, on one timer; the first is in a hidden phase when more ring.
    tick(rung[0]->flashTimer());
    ASSERT_FALSE(rung[0]->isVisible());
    for (std::size_t i = kMost; i < rung.size(); ++i) {
        tick(rung[i]->alarmCheckTimer());
    }
    EXPECT_EQ(FlashingNotes::instance().count(), kMost);
    for (std::size_t i = 0; i < rung.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rung[i]->flashTimer().isActive(), i >= 2);
        EXPECT_TRUE(rung[i]->isVisible());
        EXPECT_NE(rung[i]->stopAlarmWindow(), nullptr);
        EXPECT_EQ(storedInt(rung[i]->nid(), note::isClosed), 0);
    }
    notes.clear();
    EXPECT_EQ(FlashingNotes::instance().count(), 0u);
}

TEST_F(AlarmFiring, FlashCountsAndPeriodsOfZeroOrLessUseTheDefaults) {
    for (int bad : {0, -5}) {
        SCOPED_TRACE(bad);
        setAlarm(
            1,
            {.at = when(2026, 12, 7, 8, 0), .action = 2, .flashTimes = bad, .flashInterval = bad});
        CNote& n = open(1);
        tick(n.alarmCheckTimer());
        EXPECT_EQ(n.flashTimer().interval(), 600);
        EXPECT_EQ(n.reminder().flashesLeft, 100);
        notes.clear();
    }
}

TEST_F(AlarmFiring, SleepAndClockJumpsRingOnceAndNeverTwice) {
    // Daily at 09:00.
    setAlarm(1, {.isReminder = 2, .at = when(2026, 12, 7, 9)});
    CNote& n = open(1);
    tick(n.alarmCheckTimer());
    EXPECT_EQ(rings(), 0);

    // Suspended from 08:59 to 14:00: rings once on waking.
    fakes.clock.set(2026, 12, 7, 14, 0, 0);
    tick(n.alarmCheckTimer());
    tick(n.alarmCheckTimer());
    EXPECT_EQ(rings(), 1);
    EXPECT_EQ(storedNext(1), when(2026, 12, 8, 9));

    // Rung on time on Tuesday, then the clock goes back an hour and passes 09:00 again.
    fakes.clock.set(2026, 12, 8, 9, 0, 0);
    tick(n.alarmCheckTimer());
    EXPECT_EQ(rings(), 2);
    fakes.clock.set(2026, 12, 8, 8, 0, 30);
    tick(n.alarmCheckTimer());
    fakes.clock.set(2026, 12, 8, 9, 0, 0);
    tick(n.alarmCheckTimer());
    EXPECT_EQ(rings(), 2);

    // Forward past several ringings: once, and the next one after the new present.
    fakes.clock.set(2026, 12, 12, 10, 0, 0);
    tick(n.alarmCheckTimer());
    tick(n.alarmCheckTimer());
    EXPECT_EQ(rings(), 3);
    EXPECT_EQ(storedNext(1), when(2026, 12, 13, 9));
    EXPECT_TRUE(n.alarmCheckTimer().isActive());
}

TEST_F(AlarmFiring, ARepeatEachAlarmRingsOnceAtItsSecond) {
    // With repeatEach the search for the next ringing starts at the present moment, and so
    // finds the ringing being handled.
    setAlarm(1, {.isReminder = 2, .at = when(2026, 12, 7, 9), .repeatEach = 1});
    CNote& n = open(1);
    for (int second = 0; second < 3; ++second) {
        fakes.clock.set(2026, 12, 7, 9, 0, second);
        tick(n.alarmCheckTimer());
    }
    EXPECT_EQ(rings(), 1);
    EXPECT_EQ(storedNext(1), when(2026, 12, 8, 9));
}

TEST_F(AlarmFiring, BadAlarmRecordsNeitherCrashNorSpin) {
    struct Case {
        const char* name;
        int isReminder;
        std::uint32_t remindTime;
        std::string schedule;
        int action;
        int expectedRings;
    };
    const Case cases[] = {
        {"RemindTimeZeroIsDueAtOnce", 2, 0, "", 8, 1},
        {"JunkSchedule", 2, 0, "x;y!!;-4;99999999999999;!zz", 8, 1},
        {"HugeAndNegativeNumbers", 2, 0, ";-31;4294967298;!;-2;!;13;!", 8, 1},
        {"NoDayEverFits", 2, 0, ";31;!;!;2;!", 8, 0},
        {"NoActions", 2, 0, ";!;!;!", 0, 0},
        {"NegativeOnState", -3, 0, ";!;!;!", 8, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes.sound.played.clear();
        store.SetNote(1, c.isReminder, note::isReminder);
        store.SetNote(1, c.remindTime, note::remindTime);
        store.SetNote(1, c.schedule, note::schedule);
        store.SetNote(1, c.action, note::remindAction);
        CNote& n = open(1);
        for (int i = 0; i < 3; ++i) {
            tick(n.alarmCheckTimer());
        }
        EXPECT_EQ(rings(), c.expectedRings);
        if (c.expectedRings == 0) {
            EXPECT_EQ(n.stopAlarmWindow(), nullptr);
        }
        // Whatever rang, nothing is left due that the check would spin on.
        EXPECT_TRUE(!n.alarmCheckTimer().isActive() ||
                    localNow(fakes.clock).earlier(storedNext(1)));
        notes.clear();
    }
}

// Expiry needs the main window, which removes the note.
class NoteExpiry : public ::testing::Test, public StoreFixture {
protected:
    NoteExpiry() { fakes.clock.set(2026, 12, 7, 12, 0, 0); }
    void start() {
        store.SaveDatabase("");
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        ASSERT_EQ(tray->initialize(), 1);
    }
    std::unique_ptr<MainWindow> tray;
};

TEST_F(NoteExpiry, ANoteExpiresIntoTheBinOnAnyOfItsTimers) {
    setting::set(store, setting::deleteMode, 1);
    const auto now = static_cast<std::uint32_t>(fakes.clock.now());
    store.SetNote(1, now + 60, note::expireTime);
    store.SetNote(2, now - 3600, note::expireTime);  // passed while the program was closed
    start();
    ASSERT_NE(tray->findNote(1), nullptr);
    EXPECT_TRUE(tray->findNote(1)->title()->button(cmd::TITLE_EXPIRATION_BUTTON)->isVisible());

    // The first timer after start removes the note already expired.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray->findNote(2) == nullptr; }, 1500));
    EXPECT_EQ(store.GetNote(kLiveSource, 2, note::isDeleted), 1);
    emit tray->findNote(1)->hoverTimer().fired();
    EXPECT_NE(tray->findNote(1), nullptr);

    fakes.clock.seconds += 60;
    emit tray->findNote(1)->hoverTimer().fired();
    QCoreApplication::processEvents();
    EXPECT_EQ(tray->findNote(1), nullptr);
    EXPECT_EQ(store.GetNote(kLiveSource, 1, note::isDeleted), 1);
    EXPECT_EQ(store.GetNote(kLiveSource, 1, note::deleteTime), now + 60);
}

TEST_F(NoteExpiry, TheExpirationButtonSwitchesExpiryOff) {
    const auto now = static_cast<std::uint32_t>(fakes.clock.now());
    store.SetNote(3, now + 5, note::expireTime);
    start();
    CNote& n = *tray->findNote(3);
    CTitleButton* button = n.title()->button(cmd::TITLE_EXPIRATION_BUTTON);
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isVisible());
    EXPECT_EQ(store.GetNote(kLiveSource, 3, note::expireTime), 0u);
    fakes.clock.seconds += 3600;
    emit n.hoverTimer().fired();
    EXPECT_EQ(tray->findNote(3), &n);
}
