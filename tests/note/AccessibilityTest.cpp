#include "note/Note.h"
#include "note/NoteAccessibility.h"
#include "note/NoteBody.h"
#include "note/NoteKeyboard.h"
#include "note/NoteMenus.h"
#include "note/Title.h"
#include "note/TitleButton.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "qtsupport/StoredText.h"
#include "store/NotesDatabase.h"
#include "support/RecordingOwner.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTextEdit>

#include <functional>
#include <map>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

TEST(NoteReaderName, IsTheTitleOrFallsBackToTheNumber) {
    struct Case {
        std::string stored;
        QString name;
    };
    const Case cases[] = {
        {"Shopping", "Shopping"},
        {"  Call\tthe\xC2\xA0plumber  ", "Call the plumber"},
        {"", "Note 7"},
        {"   \t ", "Note 7"},
        {"\xC2\xA0\xE2\x80\x83", "Note 7"},                           // no-break and em spaces only
        {"Caf\xE9", QString::fromUtf8("Café")},                       // Windows-1252
        {"\x93quoted\x94", QString::fromUtf8("\u201cquoted\u201d")},  // Windows-1252
        {"\x81\x8D\x8F\x90\x9D", "Note 7"},  // the holes of Windows-1252 only
        {"a\x01z", "a z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readableNoteName(textFromStored(c.stored), 7), c.name) << "stored: " << c.stored;
    }
}

TEST(TitleButtonReaderName, FollowsImageAndTip) {
    struct Case {
        int command;
        int image;
        QString tip;
        QString name;
    };
    const Case cases[] = {
        {cmd::TITLE_PRIORITY_BUTTON, bitmap::PRIORITY_HIGH, "High Priority", "Priority: High"},
        {cmd::TITLE_PRIORITY_BUTTON, bitmap::PRIORITY_LOW, "Low Priority", "Priority: Low"},
        {cmd::TITLE_MINIMIZE_BUTTON, bitmap::MINIMIZE, "Minimize - Title Only", "Minimize"},
        {cmd::TITLE_MINIMIZE_BUTTON, bitmap::RESTORE, "Restore", "Restore"},
        {cmd::TITLE_MINIMIZE_BUTTON, bitmap::LOCKED, "Unlock note", "Unlock"},
        {cmd::TITLE_ALARM_BUTTON, bitmap::ALARM_OFF, "Alarm", "Alarm off"},
        {cmd::TITLE_ALARM_BUTTON, bitmap::ALARM_ON, "Alarm ON\nFriday, May 01, 2026 02:00:00 PM",
         "Alarm at Friday, May 01, 2026 02:00:00 PM"},
        {cmd::TITLE_ALARM_BUTTON, bitmap::ALARM_ON, "Alarm ON\n", "Alarm on"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(titleButtonName(c.command, c.image, c.tip), c.name) << c.tip.toStdString();
    }
    EXPECT_EQ(titleButtonDescription(cmd::TITLE_ALARM_BUTTON, bitmap::ALARM_ON,
                                     "Alarm ON\nFriday, May 01, 2026 02:00:00 PM"),
              "Alarm ON, Friday, May 01, 2026 02:00:00 PM. Opens the alarm settings.");
}

class NoteAccessibility : public ::testing::Test, public StoreFixture {
protected:
    NoteAccessibility() { fakes.desktop.screen = {0, 0, 1280, 800}; }

    CNote& open(std::int32_t nid) {
        note = std::make_unique<CNote>(fakes.platform(), store, owner, nid);
        note->CreateFromRecord();
        note->ShowNote(true);
        return *note;
    }

    // Every interface under root, as a screen reader walks the tree.
    static void walk(QAccessibleInterface* root,
                     const std::function<void(QAccessibleInterface*)>& visit) {
        visit(root);
        for (int i = 0; i < root->childCount(); ++i) {
            if (QAccessibleInterface* child = root->child(i)) {
                walk(child, visit);
            }
        }
    }

    std::map<QString, QAccessibleInterface*> buttonsByName() {
        std::map<QString, QAccessibleInterface*> buttons;
        walk(QAccessible::queryAccessibleInterface(note.get()), [&](QAccessibleInterface* i) {
            if (i->role() == QAccessible::Button && !i->state().invisible) {
                buttons[i->text(QAccessible::Name)] = i;
            }
        });
        return buttons;
    }

    void press(const QString& name) {
        auto buttons = buttonsByName();
        ASSERT_TRUE(buttons.count(name)) << name.toStdString();
        QAccessibleActionInterface* action = buttons[name]->actionInterface();
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
        action->doAction(QAccessibleActionInterface::pressAction());
    }

    RecordingOwner owner;
    std::unique_ptr<CNote> note;
};

TEST_F(NoteAccessibility, NoteIsAWindowNamedByItsTitleWithItsState) {
    CNote& n = open(3);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&n);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "High Priority Note");
    EXPECT_EQ(window->text(QAccessible::Description), "Priority High, No alarm");

    n.toggleLock();
    EXPECT_EQ(window->text(QAccessible::Description), "Locked, Priority High, No alarm");

    n.title()->setTitleText(QStringLiteral("  "));
    EXPECT_EQ(window->text(QAccessible::Name), "Note 3");
}

TEST_F(NoteAccessibility, TitleButtonsAreNamedAndPressable) {
    CNote& n = open(3);
    auto buttons = buttonsByName();
    std::vector<QString> names;
    for (const auto& [name, iface] : buttons) {
        names.push_back(name);
        EXPECT_FALSE(iface->text(QAccessible::Description).isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(names, (std::vector<QString>{"Alarm off", "Close", "Minimize", "Priority: High",
                                           "Read aloud"}));

    press("Minimize");
    EXPECT_FALSE(n.isBodyShown());
    press("Restore");
    EXPECT_TRUE(n.isBodyShown());

    n.toggleLock();
    ASSERT_FALSE(n.isEditable());
    press("Unlock");
    EXPECT_TRUE(n.isEditable());
    EXPECT_EQ(store.GetNoteInt(1, 3, "isEdit"), 1);

    press("Close");
    EXPECT_FALSE(n.isVisible());
}

TEST_F(NoteAccessibility, BodyIsEditableTextNamedNoteText) {
    CNote& n = open(3);
    QTextEdit& body = *n.body();
    body.setPlainText(QStringLiteral("Buy milk"));
    QTextCursor cursor = body.textCursor();
    cursor.setPosition(4);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    body.setTextCursor(cursor);

    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(&body);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->role(), QAccessible::EditableText);
    EXPECT_EQ(text->text(QAccessible::Name), "Note text");
    QAccessibleTextInterface* reader = text->textInterface();
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->text(0, reader->characterCount()), "Buy milk");
    EXPECT_EQ(reader->cursorPosition(), 8);
    int start = -1;
    int end = -1;
    reader->selection(0, &start, &end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 8);
}

TEST(NoteKeys, MoveAndSizeByArrowKeys) {
    const QRect at(100, 100, 200, 150);
    const QSize minimum(60, 40);
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        std::optional<QRect> result;
    };
    const Case cases[] = {
        {Qt::Key_Left, Qt::AltModifier, QRect(90, 100, 200, 150)},
        {Qt::Key_Down, Qt::AltModifier | Qt::KeypadModifier, QRect(100, 110, 200, 150)},
        {Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier, QRect(100, 100, 210, 150)},
        {Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier, QRect(100, 100, 200, 140)},
        {Qt::Key_Left, Qt::NoModifier, std::nullopt},  // the editor's caret
        {Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, std::nullopt},
        {Qt::Key_A, Qt::AltModifier, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyboardGeometry(at, c.key, c.mods, minimum), c.result) << c.key;
    }
    EXPECT_EQ(keyboardGeometry(QRect(0, 0, 65, 45), Qt::Key_Left,
                               Qt::AltModifier | Qt::ShiftModifier, minimum),
              QRect(0, 0, 60, 45))
        << "never below the smallest note";

    EXPECT_EQ(menuForKey(Qt::Key_Menu, Qt::NoModifier), KeyMenu::Context);
    EXPECT_EQ(menuForKey(Qt::Key_F10, Qt::ShiftModifier), KeyMenu::Context);
    EXPECT_EQ(menuForKey(Qt::Key_Menu, Qt::ControlModifier), KeyMenu::Note);
    EXPECT_EQ(menuForKey(Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier), KeyMenu::Note);
    EXPECT_EQ(menuForKey(Qt::Key_F10, Qt::NoModifier), KeyMenu::None);
    EXPECT_EQ(menuForKey(Qt::Key_F10, Qt::ControlModifier), KeyMenu::None);
    EXPECT_EQ(menuForKey(Qt::Key_Menu, Qt::AltModifier), KeyMenu::None);
}

TEST_F(NoteAccessibility, KeysOnTheBodyOpenTheMenuAndMoveTheNote) {
    CNote& n = open(3);
    std::vector<QString> menus;
    MenuTracker previous = setMenuTracker([&](QMenu& menu, const QPoint&) {
        menus.push_back(menu.objectName());
        return 0;
    });
    QTest::keyClick(n.body(), Qt::Key_F10, Qt::ShiftModifier);
    QTest::keyClick(n.body(), Qt::Key_Menu);
    QTest::keyClick(n.body(), Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier);
    n.toggleLock();
    QTest::keyClick(n.body(), Qt::Key_Menu);
    EXPECT_EQ(menus, (std::vector<QString>{"editMenu", "editMenu", "noteMenu", "unlockMenu"}))
        << "each key opens its menu once";

    const QPoint before = n.pos();
    QTest::keyClick(n.body(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(n.pos(), before + QPoint(kKeyStep, 0));
    EXPECT_EQ(store.GetNote(kLiveSource, 3, note::xPos), before.x() + kKeyStep);
    const int width = n.width();
    QTest::keyClick(n.body(), Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(n.width(), width + kKeyStep);
    setMenuTracker(std::move(previous));
}

TEST(HighContrast, BoxTextFollowsADarkTheme) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(20, 20, 20));
    dark.setColor(QPalette::WindowText, Qt::white);
    QPalette light;
    light.setColor(QPalette::Window, QColor(240, 240, 240));
    light.setColor(QPalette::WindowText, Qt::black);
    EXPECT_EQ(readableTextColor(Qt::black, dark), QColor(Qt::white));
    EXPECT_EQ(readableTextColor(QColor(43, 43, 43), light), QColor(43, 43, 43));

    const QPalette saved = QApplication::palette();
    QApplication::setPalette(dark);
    {
        CMessageBox box(nullptr, "Brightpost", "", "Saved.", 0);
        auto* text = box.findChild<QTextEdit*>();
        ASSERT_NE(text, nullptr);
        QTextCursor first(text->document());
        first.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        EXPECT_EQ(first.charFormat().foreground().color(), QColor(Qt::white))
            << "black on a dark window cannot be read";
    }
    QApplication::setPalette(saved);
}

}  // namespace
