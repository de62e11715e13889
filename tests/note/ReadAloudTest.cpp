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

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

constexpr int kSlack = 5000;  // a loaded machine may reach the event loop late

class ReadAloud : public ::testing::Test, public StoreFixture {
protected:
    ReadAloud() {
        readingNid = 0;
        store.SaveDatabase("");
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        EXPECT_EQ(tray->initialize(), 1);
    }
    ~ReadAloud() override {
        tray.reset();
        EXPECT_EQ(readingNid, 0) << "a closed note left the program believing it reads";
        readingNid = 0;
    }

    CNote& note(std::int32_t nid) { return *tray->findNote(nid); }
    static CReadingWindow* window(CNote& n) { return n.reading().window(); }
    static bool readButtonEnabled(CNote& n) {
        return n.title()->button(cmd::TITLE_READ_BUTTON)->isEnabled();
    }
    static std::vector<CReadingWindow*> openReadingWindows() {
        std::vector<CReadingWindow*> open;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* r = qobject_cast<CReadingWindow*>(w); r != nullptr && r->isVisible()) {
                open.push_back(r);
            }
        }
        return open;
    }
    // The user presses the read button of an unlocked note.
    void pressRead(CNote& n, const QString& text) {
        n.body()->setPlainText(text);
        n.title()->onReadButton();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window(n) != nullptr; }, kSlack));
    }
    bool waitIdle(CNote& n) {
        return QTest::qWaitFor(
            [&] { return window(n) == nullptr && readingNid == 0 && readButtonEnabled(n); },
            kSlack);
    }

    std::unique_ptr<MainWindow> tray;
};

TEST(ReadAloudText, TrimsAndNamesAnEmptyNote) {
    const struct {
        QString body;
        std::string spoken;
    } cases[] = {
        {"  Buy milk\r\nand bread \t", "Buy milk\r\nand bread"},
        {"", "Your sticky note is empty!"},
        {" \t\r\n\r\n \u00a0 ", "Your sticky note is empty!"},
        {QString(QChar::ObjectReplacementCharacter) + " ", "Your sticky note is empty!"},
        {"Grüße", "Grüße"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textToSpeak(c.body), c.spoken) << c.body.toStdString();
    }
}

TEST_F(ReadAloud, ReadButtonReadsInATopmostWindowUntilTheTextIsSpoken) {
    CNote& n = note(2);
    pressRead(n, "  first line\nsecond line  ");
    EXPECT_FALSE(readButtonEnabled(n));
    EXPECT_EQ(readingNid, 2);
    ASSERT_EQ(fakes.speech.spoken, std::vector<std::string>{"first line\r\nsecond line"});
    CReadingWindow* w = window(n);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Reading");
    EXPECT_EQ(w->stopButton()->text(), "Stop Reading");
    EXPECT_TRUE(w->stopButton()->isVisible());
    EXPECT_EQ(fakes.windows.stackingOf(w), IWindowSystem::Stacking::Top);

    // Polling goes on while the engine speaks.
    QTest::qWait(2 * SpeechWatcher::kPollMs);
    EXPECT_EQ(window(n), w);
    EXPECT_EQ(readingNid, 2);

    fakes.speech.finish();
    ASSERT_TRUE(waitIdle(n));
    EXPECT_EQ(fakes.speech.purges, 0) << "a text spoken to its end needs no purge";
    EXPECT_TRUE(openReadingWindows().empty());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(ReadAloud, ANewReadingStopsTheRunningOneFirst) {
    CNote& a = note(1);
    CNote& b = note(2);
    pressRead(a, "note A");
    b.body()->setPlainText("note B");
    b.title()->onReadButton();
    // Never two readings at once: B's window comes only after A's has gone.
    bool overlapped = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            overlapped = overlapped || openReadingWindows().size() > 1;
            return window(b) != nullptr;
        },
        kSlack));
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(window(a), nullptr);
    EXPECT_TRUE(readButtonEnabled(a));
    EXPECT_FALSE(readButtonEnabled(b));
    EXPECT_EQ(fakes.speech.purges, 1) << "A's speech was cut short";
    EXPECT_EQ(fakes.speech.spoken, (std::vector<std::string>{"note A", "note B"}));
    EXPECT_EQ(readingNid, 2);
}

TEST_F(ReadAloud, ANoteAskedToReadWhileItReadsStartsAgain) {
    CNote& n = note(3);
    pressRead(n, "once");
    CReadingWindow* first = window(n);
    // Its alarm's read action comes while the user's reading still runs.
    n.readAloud();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fakes.speech.spoken.size() == 2; }, kSlack));
    EXPECT_EQ(fakes.speech.purges, 1);
    EXPECT_NE(window(n), nullptr);
    EXPECT_NE(window(n), first);
    EXPECT_EQ(openReadingWindows().size(), 1u);
    EXPECT_FALSE(readButtonEnabled(n)) << "the first reading's end gave the button back";
    EXPECT_EQ(readingNid, 3);
}

TEST_F(ReadAloud, StopReadingAsksAndOnlyYesStops) {
    for (bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        CNote& n = note(1);
        pressRead(n, "a long text");
        fakes.messages.shown.clear();
        fakes.messages.answers = {yes};
        window(n)->stopButton()->click();
        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        EXPECT_EQ(fakes.messages.shown[0],
                  (fake::ShownBox{fake::ShownBox::Kind::Question, "Warning", "",
                                  "Are you sure you want to stop reading?", res::ICON_QUESTION}));
        if (yes) {
            ASSERT_TRUE(waitIdle(n));
            EXPECT_EQ(fakes.speech.purges, 1);
        } else {
            QTest::qWait(2 * SpeechWatcher::kPollMs);
            EXPECT_NE(window(n), nullptr) << "the reading goes on";
            EXPECT_TRUE(fakes.speech.speaking);
            fakes.speech.finish();
            ASSERT_TRUE(waitIdle(n));
        }
    }
}

TEST_F(ReadAloud, TheReadingDoesNotFinishUnderTheQuestion) {
    CNote& n = note(1);
    pressRead(n, "text");
    CReadingWindow* w = window(n);
    bool stayedOpen = true;
    fakes.messages.whileAsking = [&] {
        // The engine gets to the end while the user is still asked.
        fakes.speech.finish();
        QTest::qWait(3 * SpeechWatcher::kPollMs);
        stayedOpen = window(n) == w && w->isVisible() && readingNid == 1;
    };
    fakes.messages.answers = {false};
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    ASSERT_TRUE(waitIdle(n)) << "after the answer the finished reading ends";
    EXPECT_EQ(fakes.speech.purges, 0);
}

TEST_F(ReadAloud, AnAlarmReadingABlankNoteSaysItIsEmpty) {
    CNote& n = note(2);
    n.body()->setPlainText(" \n\t \n ");
    n.readAloud();
    ASSERT_EQ(fakes.speech.spoken, std::vector<std::string>{"Your sticky note is empty!"});
    EXPECT_NE(window(n), nullptr);
}

TEST_F(ReadAloud, StoppingTheAlarmStopsTheSpeech) {
    CNote& n = note(2);
    n.readAloud();
    ASSERT_NE(window(n), nullptr);
    n.StopOwnReading();
    EXPECT_EQ(n.reading().readingNote(), nullptr);
    ASSERT_TRUE(waitIdle(n));
    EXPECT_EQ(fakes.speech.purges, 1);

    // A read action still waiting for another note's reading does not start after the stop.
    CNote& other = note(1);
    pressRead(other, "the other note");
    n.readAloud();
    EXPECT_TRUE(n.reading().waitingToStart());
    n.StopOwnReading();
    EXPECT_TRUE(readButtonEnabled(n));
    fakes.speech.finish();
    ASSERT_TRUE(waitIdle(other));
    QTest::qWait(SpeechWatcher::kPollMs);
    EXPECT_EQ(window(n), nullptr);
    EXPECT_EQ(fakes.speech.spoken.size(), 2u);
}

TEST_F(ReadAloud, AnEngineThatFailsLeavesNothingBehindAndSaysWhy) {
    const struct {
        const char* name;
        bool works;
        bool failsWhileSpeaking;
    } cases[] = {{"cannot be made", false, false}, {"gives up", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fakes.speech.works = c.works;
        fakes.speech.failsWhileSpeaking = c.failsWhileSpeaking;
        fakes.speech.problemText = "no voice here";
        fakes.messages.shown.clear();
        CNote& n = note(1);
        n.readAloud();
        ASSERT_TRUE(waitIdle(n));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.messages.shown.empty(); }, kSlack));
        EXPECT_TRUE(openReadingWindows().empty());
        EXPECT_EQ(fakes.messages.shown[0].kind, fake::ShownBox::Kind::Message);
        EXPECT_EQ(fakes.messages.shown[0].caption, "Error");
        EXPECT_NE(fakes.messages.shown[0].text.find("no voice here"), std::string::npos);
    }
    // The next reading works once the engine does.
    fakes.speech.works = true;
    fakes.speech.failsWhileSpeaking = false;
    CNote& n = note(2);
    n.readAloud();
    EXPECT_NE(window(n), nullptr);
}

TEST_F(ReadAloud, DeletingTheReadingNoteLetsTheNextNoteRead) {
    CNote& a = note(1);
    pressRead(a, "going away");
    tray->deleteNote(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return readingNid == 0; }, kSlack));
    EXPECT_EQ(fakes.speech.purges, 1) << "the deleted note's speech stops with it";
    EXPECT_TRUE(openReadingWindows().empty());

    CNote& b = note(2);
    pressRead(b, "still here");
    EXPECT_EQ(readingNid, 2);
}

}  // namespace
