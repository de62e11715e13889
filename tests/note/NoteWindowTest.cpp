#include "note/ColorSchemes.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/NoteGeometry.h"
#include "note/Title.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "support/RecordingOwner.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/NoteStyle.h"

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QWindow>

#include <deque>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;
using Stacking = IWindowSystem::Stacking;

namespace {

class NoteWindow : public ::testing::Test, public StoreFixture {
protected:
    NoteWindow() { fakes.desktop.screen = {0, 0, 1280, 800}; }

    std::unique_ptr<CNote> build(std::int32_t nid) {
        auto note = std::make_unique<CNote>(fakes.platform(), store, owner, nid);
        note->CreateFromRecord();
        return note;
    }

    int stored(std::int32_t nid, const char* name) { return store.GetNoteInt(1, nid, name); }

    RecordingOwner owner;
};

TEST_F(NoteWindow, IsBuiltFromItsRecord) {
    store.SetNoteBody(3,
                      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\b Buy\\b0  milk\\par}");
    auto note = build(3);
    EXPECT_FALSE(note->isVisible()) << "the host decides when to show it";
    EXPECT_EQ(note->geometry(), QRect(764, 189, 250, 175));
    EXPECT_EQ(note->windowTitle(), "High Priority Note");
    EXPECT_EQ(note->title()->titleText(), "High Priority Note");
    EXPECT_EQ(note->title()->backColor(), colorFromStored(7171583));
    EXPECT_EQ(note->title()->textColor(), colorFromStored(4194368));
    EXPECT_EQ(note->bodyBackColor(), colorFromStored(7895295));
    EXPECT_TRUE(note->title()->font().italic());
    EXPECT_EQ(note->title()->font().pixelSize(), 13);
    EXPECT_EQ(note->priority(), 2);
    EXPECT_EQ(note->body()->toPlainText(), "Buy milk");
    QTextCursor cursor(note->body()->document());
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(note->title()->geometry(), QRect(0, 0, 250, 16));
    EXPECT_EQ(note->body()->geometry(), QRect(0, 16, 250, 159));
    EXPECT_TRUE(note->isBodyShown());
    EXPECT_TRUE(note->isEditable());
    EXPECT_FALSE(note->body()->isReadOnly());
}

TEST_F(NoteWindow, CollapsedAndLockedStatesComeFromTheRecord) {
    store.SetNoteInt(1, 0, "isBody");
    store.SetNoteInt(1, 0, "isEdit");
    auto note = build(1);
    EXPECT_FALSE(note->isBodyShown());
    EXPECT_FALSE(note->isEditable());
    EXPECT_TRUE(note->body()->isReadOnly());
    EXPECT_EQ(note->height(), 31);
    EXPECT_EQ(note->minimumHeight(), 31);
    EXPECT_EQ(note->maximumHeight(), 31);
    EXPECT_EQ(note->minimumWidth(), 150);
}

TEST_F(NoteWindow, VisibleMovesAndResizesAreWrittenHiddenOnesAreNot) {
    auto note = build(2);
    note->move(300, 200);
    EXPECT_EQ(stored(2, "xPos"), 616) << "a hidden note writes nothing";
    note->ShowNote(true);
    EXPECT_EQ(stored(2, "isClosed"), 0);
    note->move(320, 210);
    EXPECT_EQ(stored(2, "xPos"), 320);
    EXPECT_EQ(stored(2, "yPos"), 210);
    note->resize(400, 300);
    EXPECT_EQ(stored(2, "Width"), 400);
    EXPECT_EQ(stored(2, "Height"), 300);
    EXPECT_EQ(note->body()->geometry(), QRect(0, 16, 400, 284));
    note->resize(100, 50);
    EXPECT_EQ(note->size(), QSize(150, 72)) << "no smaller than minWidth × minHeight";

    note->ShowNote(false);
    EXPECT_EQ(stored(2, "isClosed"), 1);
    note->move(10, 10);
    EXPECT_EQ(stored(2, "xPos"), 320);
}

TEST_F(NoteWindow, APlaceTheWindowManagerImposesIsUndoneAndNeverWritten) {
    store.SetNoteInt(1, 0, "yPos");
    auto note = build(1);
    // Moved through its native window, the note hears of it from the window system, as it
    // does of the window manager's moves.
    const auto windowSystemMoves = [&note](QPoint to) {
        note->windowHandle()->setGeometry(QRect(to, note->size()));
        QCoreApplication::processEvents();
    };
    // The first show and a show after a hide: a manager keeping a panel's strip at the top
    // free moves the note down while it takes it on.
    for (int round = 0; round < 2; ++round) {
        note->ShowNote(true);
        windowSystemMoves({451, 24});
        EXPECT_EQ(note->pos(), QPoint(451, 24));
        EXPECT_EQ(stored(1, "yPos"), 0) << round;
        EXPECT_TRUE(QTest::qWaitFor([&note] { return note->pos() == QPoint(451, 0); }, 5000))
            << round;
        EXPECT_EQ(stored(1, "yPos"), 0) << round;
        note->ShowNote(false);
    }
    // Once the user has the note in hand, the window system's moves are the user's.
    note->ShowNote(true);
    QTest::mousePress(note.get(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(note.get(), Qt::LeftButton, {}, QPoint(100, 100));
    windowSystemMoves({500, 300});
    EXPECT_EQ(stored(1, "xPos"), 500);
    EXPECT_EQ(stored(1, "yPos"), 300);
}

TEST_F(NoteWindow, TypingIsStoredWithTheNextMove) {
    auto note = build(1);
    note->ShowNote(true);
    QTextCursor cursor(note->body()->document());
    cursor.insertText("remember this");
    note->move(note->x() + 5, note->y());
    std::string body;
    ASSERT_TRUE(store.GetNoteBody(1, 1, body));
    EXPECT_NE(body.find("remember this"), std::string::npos);
    EXPECT_TRUE(body.starts_with("{\\rtf1"));
}

TEST_F(NoteWindow, RestoringPullsTheNoteOnScreenUnlessMoveIsSet) {
    struct Case {
        Rect stored;
        int move;
        Rect expected;
    };
    const Case cases[] = {
        {{-40, -10, 250, 175}, 0, {0, 0, 250, 175}},
        {{1200, 700, 250, 175}, 0, {1030, 625, 250, 175}},
        {{100, 100, 1500, 175}, 0, {0, 100, 1280, 175}},
        {{1200, 700, 250, 175}, 1, {1200, 700, 250, 175}},
    };
    for (const Case& c : cases) {
        setting::set(store, setting::move, c.move);
        store.SetNoteInt(1, c.stored.x, "xPos");
        store.SetNoteInt(1, c.stored.y, "yPos");
        store.SetNoteInt(1, c.stored.width, "Width");
        store.SetNoteInt(1, c.stored.height, "Height");
        auto note = build(1);
        const Rect written{stored(1, "xPos"), stored(1, "yPos"), stored(1, "Width"),
                           stored(1, "Height")};
        EXPECT_EQ(written, c.expected) << c.stored.x << "," << c.stored.y << " move " << c.move;
        EXPECT_EQ(note->geometry(),
                  QRect(c.expected.x, c.expected.y, c.expected.width, c.expected.height));
    }
}

TEST_F(NoteWindow, CollapseHoldsThirtyOnePixelsAndRestoreBringsTheBodyBack) {
    auto note = build(2);
    note->ShowNote(true);
    note->toggleMinimized();
    EXPECT_FALSE(note->isBodyShown());
    EXPECT_EQ(note->height(), 31);
    EXPECT_EQ(stored(2, "isBody"), 0);
    EXPECT_EQ(stored(2, "Height"), 175) << "the expanded height is kept";
    note->resize(250, 200);
    EXPECT_EQ(note->height(), 31);
    note->toggleMinimized();
    EXPECT_TRUE(note->isBodyShown());
    EXPECT_EQ(note->height(), 175);
    EXPECT_TRUE(note->body()->isVisible());
    EXPECT_EQ(stored(2, "isBody"), 1);
}

TEST_F(NoteWindow, PriorityDecidesTheStacking) {
    const std::pair<int, Stacking> cases[] = {
        {0, Stacking::Bottom}, {1, Stacking::Normal}, {2, Stacking::Top}};
    for (auto [priority, stacking] : cases) {
        store.SetNoteInt(1, priority, "priority");
        auto note = build(1);
        fakes.windows.setStacking(note.get(), Stacking::Top);
        note->ApplyPriorityZOrder();
        EXPECT_EQ(fakes.windows.stackingOf(note.get()), stacking) << priority;
    }
    // An unknown priority, or a note the user raised, keeps its stacking.
    store.SetNoteInt(1, 7, "priority");
    auto odd = build(1);
    fakes.windows.stackingCalls.clear();
    odd->ApplyPriorityZOrder();
    odd->setKeepZOrder(true);
    store.SetNoteInt(1, 0, "priority");
    odd->ApplyPriorityZOrder();
    EXPECT_TRUE(fakes.windows.stackingCalls.empty());
}

TEST_F(NoteWindow, ClosingSilencesEveryHandler) {
    auto note = build(1);
    note->ShowNote(true);
    owner.calls.clear();
    note->setClosing();
    note->move(5, 5);
    note->hideByUser();
    note->ShowNote(false);
    EXPECT_EQ(stored(1, "xPos"), 451);
    EXPECT_EQ(stored(1, "isClosed"), 0);
    EXPECT_TRUE(owner.calls.empty());
}

TEST_F(NoteWindow, HideAndActivateTellTheMainWindow) {
    auto note = build(1);
    note->ShowNote(true);
    owner.calls.clear();
    note->hideByUser();
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(stored(1, "isClosed"), 1);
    using K = RecordingOwner::Kind;
    EXPECT_EQ(owner.calls,
              (std::vector<RecordingOwner::Call>{{K::NoteChanged, 1}, {K::UpdateTrayTip}}));
    owner.calls.clear();
    note->activate();
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(stored(1, "isClosed"), 0);
    EXPECT_EQ(fakes.windows.stackingOf(note.get()), Stacking::Top);
    EXPECT_EQ(owner.calls.back(), (RecordingOwner::Call{K::UpdateTrayTipLater}));
}

TEST_F(NoteWindow, TheWindowManagersCloseHidesTheNoteAsItsCloseButtonDoes) {
    auto note = build(1);
    note->ShowNote(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(note.get()));
    owner.calls.clear();
    // The platform's close request, as Alt+F4 delivers it.
    note->windowHandle()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(note->isVisible());
    EXPECT_NE(note->windowHandle(), nullptr);
    EXPECT_EQ(stored(1, "isClosed"), 1);
    using K = RecordingOwner::Kind;
    EXPECT_EQ(owner.calls,
              (std::vector<RecordingOwner::Call>{{K::NoteChanged, 1}, {K::UpdateTrayTip}}));
    // Shown again, it is the same window.
    note->activate();
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(stored(1, "isClosed"), 0);

    // At exit a close is Qt's own and leaves the record alone.
    owner.calls.clear();
    note->setClosing();
    EXPECT_TRUE(note->close());
    EXPECT_EQ(stored(1, "isClosed"), 0);
    EXPECT_TRUE(owner.calls.empty());
}

TEST_F(NoteWindow, AHiddenNoteLetsGoOfItsPictureAndIsPaintedWholeWhenShownAgain) {
    auto note = build(1);
    auto picturedSize = [&] { return note->backingStore()->size(); };
    // What the window shows against the note drawn afresh, both taken between two events so
    // that the caret cannot blink in between.
    auto expectPictureComplete = [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(note.get()));
        QCoreApplication::processEvents();
        ASSERT_EQ(picturedSize(), note->size());
        const QImage shown = static_cast<QImage*>(note->backingStore()->paintDevice())
                                 ->convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, note->grab().toImage().convertToFormat(QImage::Format_RGB32));
    };
    note->ShowNote(true);
    expectPictureComplete();

    note->hideByUser();
    EXPECT_LE(picturedSize().width() * picturedSize().height(), 1);

    note->activate();
    expectPictureComplete();

    // A collapsed note's picture is only its title bar.
    note->toggleMinimized();
    expectPictureComplete();
    EXPECT_EQ(picturedSize().height(), 31);
}

TEST_F(NoteWindow, WindowsTextShowsAsWindows1252AndStaysUntouched) {
    // A title written on Windows: "Café" in its code page, not UTF-8.
    store.SetNoteString(1, "Caf\xE9", "title");
    auto note = build(1);
    note->ShowNote(true);
    note->move(200, 100);
    EXPECT_EQ(note->title()->titleText(), QString::fromUtf8("Caf\xC3\xA9"));
    EXPECT_EQ(store.GetNoteString(1, 1, "title"), "Caf\xE9");
}

TEST_F(NoteWindow, DamagedRecordStillMakesAUsableNote) {
    store.SetNoteInt(1, 9, "border");
    store.SetNoteInt(1, 5, "priority");
    auto odd = build(1);
    odd->ShowNote(true);
    odd->ApplyPriorityZOrder();
    EXPECT_TRUE(odd->isVisible());
    EXPECT_EQ(odd->body()->frameShape(), QFrame::Panel);
    // No record at all: every read is reported and the note carries on with defaults.
    auto missing = build(42);
    EXPECT_FALSE(store.TakeProblems().empty());
    missing->ShowNote(true);
    EXPECT_TRUE(missing->isVisible());
}

TEST(NoteGeometry, ClampToDesktop) {
    EXPECT_EQ(clampToDesktop({-5, -5, 100, 100}, 800, 600), (Rect{0, 0, 100, 100}));
    EXPECT_EQ(clampToDesktop({750, 550, 100, 100}, 800, 600), (Rect{700, 500, 100, 100}));
    EXPECT_EQ(clampToDesktop({10, 10, 900, 700}, 800, 600), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(clampToDesktop({10, 10, 100, 100}, 800, 600), (Rect{10, 10, 100, 100}));
}

}  // namespace

namespace {

TEST(RandomScheme, NeverWhiteNeverDarkerThan55AndReadableText) {
    auto rgb = [](unsigned r, unsigned g, unsigned b) { return r + 256 * g + 65536 * b; };
    struct Case {
        std::vector<unsigned> draws;
        NoteColors expected;
    };
    const Case cases[] = {
        // 3 × 111 = 333 keeps white text; the body, 3 × 122, takes black.
        {{0, 0, 0, 111}, {rgb(111, 111, 111), kWhite, rgb(122, 122, 122), kBlack}},
        {{0, 0, 0, 112}, {rgb(112, 112, 112), kBlack, rgb(123, 123, 123), kBlack}},
        // A dark draw is lifted by 55; three full channels are drawn again.
        {{1, 1, 1, 1, 1, 1, 0, 1, 0, 0}, {rgb(55, 255, 55), kBlack, rgb(66, 255, 66), kBlack}},
        {{0, 0, 1, 250}, {rgb(220, 220, 255), kBlack, rgb(231, 231, 255), kBlack}},
    };
    for (const Case& c : cases) {
        std::deque<unsigned> draws(c.draws.begin(), c.draws.end());
        const NoteColors colors = chooseRandomScheme([&] {
            unsigned v = draws.front();
            draws.pop_front();
            return v;
        });
        EXPECT_EQ(colors, c.expected) << c.draws.back();
    }
    // Over many real draws: no white background, no channel under 55.
    unsigned seed = 7;
    for (int i = 0; i < 2000; ++i) {
        const NoteColors colors =
            chooseRandomScheme([&] { return seed = seed * 1103515245 + 12345; });
        for (std::uint32_t back : {colors.titleBack, colors.bodyBack}) {
            EXPECT_NE(back, kWhite);
            for (int shift : {0, 8, 16}) {
                EXPECT_GE((back >> shift) & 0xFF, 55u);
            }
        }
    }
}

}  // namespace
