// The note's own menu (its priority button, or Ctrl+Menu) reaching what otherwise only the
// title bar's buttons and the attach panel's flag reach.
#include "alarmui/AlarmSettingsDialog.h"
#include "alarmui/ExpiryDialog.h"
#include "app/MainWindow.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/ReadAloud.h"
#include "note/Title.h"
#include "note/TitleButton.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/PopupMenu.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

constexpr int kSlack = 5000;  // a loaded machine may reach the event loop late

class NoteMenu : public ::testing::Test, public StoreFixture {
protected:
    NoteMenu() {
        readingNid = 0;
        fakes.clock.set(2026, 12, 7, 12, 0, 30);
        store.SaveDatabase("");
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        EXPECT_EQ(tray->initialize(), 1);
        previous = setMenuTracker([this](QMenu& menu, const QPoint&) {
            QAction* action = findCommand(menu, answer);
            seenChecked = action != nullptr && action->isChecked();
            return action != nullptr ? answer : 0;
        });
    }
    ~NoteMenu() override {
        setMenuTracker(std::move(previous));
        tray.reset();
        readingNid = 0;
    }

    CNote& note(std::int32_t nid) { return *tray->findNote(nid); }
    // Opens the note menu as its button does and picks the item.
    void choose(CNote& n, int id) {
        answer = id;
        seenChecked = false;
        QTest::mouseClick(n.title()->button(cmd::TITLE_PRIORITY_BUTTON), Qt::LeftButton);
    }
    std::uint32_t expiry(std::int32_t nid) {
        return store.GetNote(kLiveSource, nid, note::expireTime);
    }
    bool hourglassShown(CNote& n) {
        return n.title()->button(cmd::TITLE_EXPIRATION_BUTTON)->isVisible();
    }

    std::unique_ptr<MainWindow> tray;
    MenuTracker previous;
    int answer = 0;
    bool seenChecked = false;
};

TEST_F(NoteMenu, ReachesTheAlarmDialogAndReadingAloud) {
    CNote& n = note(1);
    bool alarmDialogShown = false;
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        alarmDialogShown = qobject_cast<CAlarmDialog*>(&dialog) != nullptr;
        return int(QDialog::Rejected);
    };
    choose(n, cmd::NOTE_ALARM_SETTINGS);
    EXPECT_TRUE(alarmDialogShown);
    EXPECT_FALSE(n.alarmDialogOpen());

    fakes.speech.offeredVoices = {"Alan", "Kal"};
    setting::set(store, setting::speechVoice, std::string("Kal"));
    n.body()->setPlainText("Water the plants");
    choose(n, cmd::NOTE_READ_ALOUD);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.speech.spoken.empty(); }, kSlack));
    EXPECT_EQ(fakes.speech.spoken, std::vector<std::string>{"Water the plants"});
    EXPECT_EQ(fakes.speech.voice, "Kal") << "read in the voice the settings chose";
    fakes.speech.finish();
    EXPECT_TRUE(QTest::qWaitFor([&] { return readingNid == 0; }, kSlack));
}

TEST_F(NoteMenu, ExpiryDateIsSetChangedAndClearedFromTheMenu) {
    // 2026-12-07 12:00:30 UTC on the fake clock, which keeps local time in UTC.
    const std::uint32_t now = static_cast<std::uint32_t>(fakes.clock.now());
    const std::uint32_t nextMinute = now + 30;
    const std::uint32_t twoDays = now - 30 + 2 * 24 * 3600;
    struct Case {
        const char* what;
        std::function<void(CExpiryDialog&)> answer;
        bool ok;
        std::uint32_t stored;
    };
    const Case cases[] = {
        {"a day ahead, as offered", [](CExpiryDialog& d) { d.noExpiry()->setChecked(false); }, true,
         nextMinute + 24 * 3600},
        {"another moment",
         [](CExpiryDialog& d) {
             d.moment()->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
         },
         true, twoDays},
        {"cancelled", [](CExpiryDialog& d) { d.noExpiry()->setChecked(true); }, false, twoDays},
        // The edit offers nothing before the next minute: the note is not removed at once.
        {"a moment already past",
         [](CExpiryDialog& d) {
             d.moment()->setDateTime(QDateTime(QDate(2026, 12, 1), QTime(8, 0)));
         },
         true, nextMinute},
        {"no expiry", [](CExpiryDialog& d) { d.noExpiry()->setChecked(true); }, true, 0},
    };
    CNote& n = note(2);
    ASSERT_EQ(expiry(2), 0u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
            auto* expiryDialog = qobject_cast<CExpiryDialog*>(&dialog);
            EXPECT_NE(expiryDialog, nullptr);
            if (expiryDialog == nullptr) {
                return int(QDialog::Rejected);
            }
            EXPECT_FALSE(expiryDialog->noExpiry()->accessibleName().isEmpty());
            EXPECT_FALSE(expiryDialog->moment()->accessibleName().isEmpty());
            c.answer(*expiryDialog);
            return int(c.ok ? QDialog::Accepted : QDialog::Rejected);
        };
        choose(n, cmd::NOTE_EXPIRY);
        EXPECT_EQ(expiry(2), c.stored);
        EXPECT_EQ(hourglassShown(n), c.stored != 0);
        EXPECT_FALSE(n.modalOpen());
    }
    // Still there: none of the moments had passed.
    QTest::qWait(50);
    EXPECT_NE(tray->findNote(2), nullptr);
}

TEST_F(NoteMenu, AttachmentsShowsAndHidesThePanelAndTheRecordFollows) {
    CNote& n = note(3);
    ASSERT_NE(n.attachPanel(), nullptr);
    ASSERT_FALSE(n.attachPanel()->isVisible());
    for (const bool shown : {true, false, true}) {
        SCOPED_TRACE(shown);
        choose(n, cmd::NOTE_ATTACHMENTS);
        EXPECT_NE(seenChecked, shown) << "the item showed the panel's state before";
        EXPECT_EQ(n.attachPanel()->isVisible(), shown);
        EXPECT_EQ(store.GetNote(kLiveSource, 3, note::links), shown ? 1 : 0);
    }
    // Shown on the next start, as the record now says.
    store.SaveDatabase("");
    tray.reset();
    tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
    ASSERT_EQ(tray->initialize(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return note(3).attachPanel()->isVisible(); }, kSlack));
}

}  // namespace
