#include "app/MainWindow.h"
#include "note/DeleteNoteDialog.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/SetSizeDialog.h"
#include "note/Title.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "qtsupport/PacedTimer.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"
#include "ui/TransparencyDialog.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTextCursor>
#include <cmath>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

class NoteState : public ::testing::Test, public StoreFixture {
protected:
    NoteState() {
        fakes.desktop.screen = {0, 0, 1280, 800};
        fakes.desktop.available = {0, 24, 1280, 776};
    }
    void start() {
        store.SaveDatabase("");
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        ASSERT_EQ(tray->initialize(), 1);
    }
    CNote& note(std::int32_t nid) { return *tray->findNote(nid); }
    int stored(std::int32_t nid, const char* name) { return store.GetNoteInt(1, nid, name); }
    // Answers every dialog with what answer() does to it.
    void answerDialogs(std::function<int(QDialog&)> answer) {
        fakes.modalDialogs.whileOpen = std::move(answer);
    }
    void switchToAnotherApplication(CNote& n) {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(&n, &deactivate);
    }

    std::unique_ptr<MainWindow> tray;
};

TEST_F(NoteState, EveryTransitionIsWrittenToTheRecord) {
    start();
    CNote& n = note(2);
    struct Step {
        const char* name;
        void (*command)(CNote&);
        const char* attribute;
        int expected;
    };
    const Step steps[] = {
        {"lock", [](CNote& c) { c.toggleLock(); }, "isEdit", 0},
        {"lock", [](CNote& c) { c.toggleLock(); }, "isEdit", 1},
        {"lock", [](CNote& c) { c.toggleLock(); }, "isEdit", 0},
        {"unlock", [](CNote& c) { c.unlock(); }, "isEdit", 1},
        {"minimize", [](CNote& c) { c.toggleMinimized(); }, "isBody", 0},
        {"minimize", [](CNote& c) { c.toggleMinimized(); }, "isBody", 1},
        {"collapse at stored", [](CNote& c) { c.collapseAtStored(); }, "isBody", 0},
        {"minimize", [](CNote& c) { c.toggleMinimized(); }, "isBody", 1},
        {"hide", [](CNote& c) { c.hideByUser(); }, "isClosed", 1},
        {"activate", [](CNote& c) { c.activate(); }, "isClosed", 0},
        {"priority high", [](CNote& c) { c.choosePriority(2); }, "priority", 2},
        {"priority low", [](CNote& c) { c.choosePriority(0); }, "priority", 0},
    };
    for (const Step& step : steps) {
        step.command(n);
        EXPECT_EQ(stored(2, step.attribute), step.expected) << step.name;
    }
    EXPECT_EQ(fakes.windows.stackingOf(&n), IWindowSystem::Stacking::Bottom);
}

TEST_F(NoteState, ALockedNotesMinimizeButtonUnlocksIt) {
    start();
    CNote& n = note(1);
    n.toggleLock();
    EXPECT_TRUE(n.body()->isReadOnly());
    n.toggleMinimized();
    EXPECT_TRUE(n.isEditable());
    EXPECT_TRUE(n.isBodyShown()) << "unlocking does not collapse";
    EXPECT_FALSE(n.body()->isReadOnly());
}

TEST_F(NoteState, AutoLockFiresAfterSwitchingAwayAndTheSettingsStopIt) {
    setting::set(store, setting::AutoLock, 1);
    setting::set(store, setting::autoLockTime, 0);
    start();
    CNote& n = note(1);
    switchToAnotherApplication(n);
    EXPECT_TRUE(n.autoLockTimer().isActive());
    // The timer runs on the event loop, which a loaded machine may reach late.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.isEditable(); }, 5000));
    EXPECT_EQ(stored(1, "isEdit"), 0);
    EXPECT_FALSE(n.autoLockTimer().isActive());

    setting::set(store, setting::autoLockTime, 30);
    CNote& other = note(2);
    other.unlock();
    switchToAnotherApplication(other);
    EXPECT_EQ(other.autoLockTimer().interval(), 30000);
    tray->stopAutoLockTimers();
    EXPECT_FALSE(other.autoLockTimer().isActive());
    EXPECT_TRUE(other.isEditable());
}

TEST_F(NoteState, DeleteAnsweredNoBringsTheNoteBackWhereItWas) {
    start();
    CNote& n = note(3);
    const QRect before = n.geometry();
    QString shown;
    answerDialogs([&](QDialog& dialog) {
        EXPECT_FALSE(n.isVisible()) << "the note is hidden while the question is asked";
        EXPECT_EQ(stored(3, "isClosed"), 0) << "but not recorded as closed";
        shown = static_cast<CDeleteNote&>(dialog).text();
        EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        return int(QDialog::Rejected);
    });
    n.deleteWithConfirmation();
    EXPECT_EQ(shown, "title: High Priority Note\ncreated: " +
                         QString::fromStdString(n.createdText()) + "\npriority: high\n");
    EXPECT_TRUE(n.isVisible());
    EXPECT_EQ(n.geometry(), before);
    EXPECT_EQ(stored(3, "isClosed"), 0);
    EXPECT_FALSE(n.modalOpen());
}

TEST_F(NoteState, DeleteAnsweredYesGoesToTheBinOrForGood) {
    for (int deleteMode : {1, 0}) {
        SCOPED_TRACE(deleteMode);
        setting::set(store, setting::deleteMode, deleteMode);
        start();
        answerDialogs([](QDialog&) { return int(QDialog::Accepted); });
        note(1).deleteWithConfirmation();
        QCoreApplication::processEvents();
        EXPECT_EQ(tray->findNote(1), nullptr);
        if (deleteMode == 1) {
            EXPECT_EQ(stored(1, "isDeleted"), 1);
        } else {
            EXPECT_EQ(store.ListNotes(1), (IdList{2, 3}));
            EXPECT_FALSE(store.ListDeletedNotes().has_value());
        }
        tray.reset();
        store.SetDataFolder(folder.path());
        ASSERT_TRUE(store.CreateDefaultDatabase(""));
    }
}

TEST_F(NoteState, DuplicateMakesASecondWindowWithTheSameContent) {
    store.SetNoteBody(2, "{\\rtf1\\ansi the same words\\par}");
    start();
    note(2).duplicate();
    ASSERT_EQ(tray->noteCount(), 4u);
    CNote& copy = tray->noteAt(3);
    EXPECT_TRUE(copy.isVisible());
    EXPECT_EQ(copy.body()->toPlainText(), "the same words");
    EXPECT_EQ(copy.geometry(), note(2).geometry());
    EXPECT_FALSE(note(2).modalOpen());
}

TEST_F(NoteState, TransparencyPreviewsLiveAndOnlyOkKeepsIt) {
    start();
    CNote& n = note(1);
    answerDialogs([&](QDialog& dialog) {
        auto& t = static_cast<CTransparency&>(dialog);
        EXPECT_FALSE(t.transparent());
        EXPECT_EQ(t.position(), 105) << "255 - 150";
        t.setTransparent(true);
        t.setPosition(200);
        EXPECT_NEAR(fakes.windows.opacityOf(&n), 55 / 255.0, 1e-9) << "the lowest it goes";
        return int(QDialog::Rejected);
    });
    n.chooseTransparency();
    EXPECT_EQ(fakes.windows.opacityOf(&n), 1.0) << "cancel brings back the stored look";
    EXPECT_EQ(stored(1, "Transparency"), 0);

    answerDialogs([&](QDialog& dialog) {
        auto& t = static_cast<CTransparency&>(dialog);
        t.setTransparent(true);
        t.setPosition(0);
        return int(QDialog::Accepted);
    });
    n.chooseTransparency();
    EXPECT_EQ(stored(1, "Transparency"), 1);
    EXPECT_EQ(stored(1, "TransLevel"), 255);
    EXPECT_TRUE(n.isTransparent());
    EXPECT_EQ(fakes.windows.opacityOf(&n), 1.0) << "level 255 is transparent but opaque";
    EXPECT_EQ(CTransparency::positionFor(10), 200) << "a stored level below 55 shows as 55";
}

TEST_F(NoteState, TransparentNoteIsOpaqueWhileTheBodyHasTheFocus) {
    store.SetNoteInt(2, 1, "Transparency");
    store.SetNoteInt(2, 100, "TransLevel");
    start();
    CNote& n = note(2);
    EXPECT_NEAR(fakes.windows.opacityOf(&n), 100 / 255.0, 1e-9);
    // Real focus changes in an active window: a late activation by the platform cannot hand
    // the body its focus again behind the test's back.
    n.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(n.isActiveWindow(), 5000);
    n.body()->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(n.body()->hasFocus(), 5000);
    EXPECT_EQ(fakes.windows.opacityOf(&n), 1.0);
    EXPECT_TRUE(n.hoverOpaque());
    n.body()->clearFocus();
    QCursor::setPos(2000, 2000);
    n.hoverTimer().start(1);
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(fakes.windows.opacityOf(&n) - 100 / 255.0) < 1e-9, 5000);
}

TEST_F(NoteState, SetSizeAcceptsTheSmallestSizeWhateverTheLimits) {
    setting::set(store, setting::minWidth, 300);
    setting::set(store, setting::minHeight, 200);
    start();
    CNote& n = note(1);
    answerDialogs([](QDialog& dialog) {
        auto& s = static_cast<CSetSize&>(dialog);
        EXPECT_EQ(s.chosenSize(), QSize(250, 175)) << "the note's stored size";
        s.setValues(10, 5);
        EXPECT_EQ(s.chosenSize(), QSize(150, 72));
        s.setValues(99999, 99999);
        EXPECT_EQ(s.chosenSize(), QSize(10000, 10000));
        s.setValues(150, 72);
        return int(QDialog::Accepted);
    });
    n.chooseSize();
    EXPECT_EQ(n.size(), QSize(150, 72));
    EXPECT_EQ(stored(1, "Width"), 150);
    EXPECT_EQ(stored(1, "Height"), 72);
    n.resize(160, 80);
    EXPECT_EQ(n.size(), QSize(300, 200)) << "the next resize snaps to the limits";
}

TEST_F(NoteState, MaximizeFillsTheAvailableArea) {
    start();
    CNote& n = note(2);
    n.maximize();
    EXPECT_EQ(n.geometry(), QRect(0, 24, 1280, 776));
    EXPECT_EQ(stored(2, "Width"), 1280);
    EXPECT_EQ(stored(2, "Height"), 776);
}

}  // namespace

namespace {

// Answers the colour and font dialogs with fixed choices and remembers what they showed.
class ScriptedNoteDialogs : public INoteDialogs {
public:
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        shownColors.push_back(initial);
        return color;
    }
    std::optional<FontChoice> chooseFont(QWidget*, const FontChoice& initial) override {
        shownFonts.push_back(initial);
        if (!font) {
            return std::nullopt;
        }
        return FontChoice{*font, fontColor.value_or(initial.color)};
    }
    bool runParagraph(CParagraph&) override { return false; }

    std::optional<QColor> color;
    std::optional<QFont> font;
    std::optional<QColor> fontColor;
    std::vector<QColor> shownColors;
    std::vector<FontChoice> shownFonts;
};

TEST_F(NoteState, ColourAndFontCommandsWriteTheNoteAndItsTitle) {
    store.SetNoteBody(2, "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard two words\\par}");
    start();
    CNote& n = note(2);
    ScriptedNoteDialogs dialogs;
    n.setNoteDialogs(&dialogs);
    auto storedColor = [&](const char* name) { return store.GetNoteUInt(1, 2, name); };

    // Colour: body and title background together.
    dialogs.color = QColor(10, 20, 30);
    n.chooseNoteColor();
    EXPECT_EQ(dialogs.shownColors.back(), colorFromStored(5177166));
    EXPECT_EQ(storedColor("bodyBackColor"), 10u + 256 * 20 + 65536 * 30);
    EXPECT_EQ(storedColor("titleBackColor"), storedColor("bodyBackColor"));
    EXPECT_EQ(n.bodyBackColor(), QColor(10, 20, 30));

    // Body text colour: the whole text, and the selection comes back.
    QTextCursor caret(n.body()->document());
    caret.setPosition(2);
    n.body()->setTextCursor(caret);
    dialogs.color = QColor(200, 0, 0);
    n.chooseBodyTextColor();
    EXPECT_EQ(storedColor("bodyFontColor"), 200u);
    QTextCursor last(n.body()->document());
    last.movePosition(QTextCursor::End);
    EXPECT_EQ(last.charFormat().foreground().color(), QColor(200, 0, 0));
    EXPECT_EQ(n.body()->textCursor().position(), 2);

    // Body font: opens on the first character's font and the body colour; the chosen font
    // and colour go over the whole text and into the record.
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(20);
    chosen.setBold(true);
    dialogs.font = chosen;
    dialogs.fontColor = QColor(0, 90, 0);
    n.chooseBodyFont();
    EXPECT_EQ(dialogs.shownFonts.back().font.family(), "Arial");
    EXPECT_EQ(dialogs.shownFonts.back().color, QColor(200, 0, 0));
    EXPECT_EQ(store.GetNoteFont(1, 2, "bodyFontType").face(), "DejaVu Serif");
    EXPECT_EQ(store.GetNoteFont(1, 2, "bodyFontType").weight, 700);
    EXPECT_EQ(storedColor("bodyFontColor"), 90u * 256);
    EXPECT_EQ(n.bodyFontColor(), QColor(0, 90, 0));
    EXPECT_EQ(last.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(last.charFormat().foreground().color(), QColor(0, 90, 0));

    // Title font and colour, on the title bar.
    dialogs.color = QColor(0, 0, 255);
    n.chooseTitleTextColor();
    EXPECT_EQ(storedColor("titleFontColor"), 65536u * 255);
    dialogs.font = QFont(QStringLiteral("DejaVu Sans Mono"));
    dialogs.fontColor = QColor(255, 255, 0);
    n.chooseTitleFont();
    EXPECT_EQ(dialogs.shownFonts.back().color, QColor(0, 0, 255));
    EXPECT_EQ(store.GetNoteFont(1, 2, "titleFontType").face(), "DejaVu Sans Mono");
    EXPECT_EQ(n.title()->font().families().value(0), "DejaVu Sans Mono");
    EXPECT_EQ(storedColor("titleFontColor"), 0xFFFFu);
    EXPECT_EQ(n.title()->textColor(), QColor(255, 255, 0));

    // Cancelling a dialog changes nothing.
    const std::string before = store.NotesSection();
    dialogs.color.reset();
    dialogs.font.reset();
    for (void (CNote::*command)() :
         {&CNote::chooseNoteColor, &CNote::chooseBodyTextColor, &CNote::chooseBodyFont,
          &CNote::chooseTitleFont, &CNote::chooseTitleTextColor}) {
        (n.*command)();
    }
    EXPECT_EQ(store.NotesSection(), before);
    EXPECT_FALSE(n.modalOpen());
}

}  // namespace

namespace {

TEST_F(NoteState, TheAttachPanelFollowsTheNote) {
    store.SetNoteInt(2, 1, "links");
    start();
    CNote& n = note(2);
    QWidget panel;
    panel.resize(10, 60);
    n.setAttachPanel(&panel);
    n.ShowNote(false);
    n.ShowNote(true);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.geometry(), QRect(616, 111 + 175, 250, 60)) << "glued under the note";
    n.move(100, 50);
    EXPECT_EQ(panel.geometry().topLeft(), QPoint(100, 225));

    // Collapsing hides it only when the settings say so; restoring shows it again.
    for (int hideAttach : {0, 1}) {
        setting::set(store, setting::hideAttach, hideAttach);
        n.toggleMinimized();
        EXPECT_EQ(panel.isVisible(), hideAttach == 0) << hideAttach;
        n.toggleMinimized();
        EXPECT_TRUE(panel.isVisible());
    }

    // Locking disables it; the end of the next dialog enables it again.
    n.toggleLock();
    EXPECT_FALSE(panel.isEnabled());
    n.unlock();
    EXPECT_FALSE(panel.isEnabled());
    n.BeginModal();
    n.EndModal();
    EXPECT_TRUE(panel.isEnabled());

    // It fades with the note and leaves room for itself when the note fills the screen.
    answerDialogs([](QDialog& dialog) {
        auto& t = static_cast<CTransparency&>(dialog);
        t.setTransparent(true);
        t.setPosition(100);
        return int(QDialog::Accepted);
    });
    QCursor::setPos(2000, 2000);
    n.chooseTransparency();
    EXPECT_NEAR(fakes.windows.opacityOf(&panel), 155 / 255.0, 1e-9);
    n.maximize();
    EXPECT_EQ(n.geometry(), QRect(0, 24, 1280, 776 - 60));
    EXPECT_EQ(panel.geometry(), QRect(0, 24 + 716, 1280, 60));

    n.hideByUser();
    EXPECT_FALSE(panel.isVisible());
    n.setAttachPanel(nullptr);
}

}  // namespace
