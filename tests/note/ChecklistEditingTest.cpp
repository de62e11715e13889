#include "NoteFixture.h"
#include "platform/Messages.h"
#include "richtext/Checklist.h"
#include "store/Settings.h"
#include "ui/BodyFormat.h"

#include <QClipboard>
#include <QMimeData>

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace bp {
namespace {

using test::NoteFixture;

constexpr QChar kOpen(checklist::kOpenBox);
constexpr QChar kTicked(checklist::kTickedBox);

class ChecklistEditing : public NoteFixture {
protected:
    CNote& focusedNote(const QString& text = QString()) {
        CNote& note = open(2);
        note.body()->setPlainText(text);
        note.activateWindow();
        note.body()->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&note));
        caretTo(note, text.size());
        return note;
    }
    static void caretTo(CNote& note, int position) {
        QTextCursor cursor = note.body()->textCursor();
        cursor.setPosition(position);
        note.body()->setTextCursor(cursor);
    }
    static QStringList lines(CNote& note) {
        return note.body()->toPlainText().split(QLatin1Char('\n'));
    }
    static QTextBlock block(CNote& note, int number) {
        return note.body()->document()->findBlockByNumber(number);
    }
    // The format of a character of a paragraph.
    static QTextCharFormat formatIn(CNote& note, int blockNumber, int offset) {
        QTextCursor cursor(note.body()->document());
        cursor.setPosition(block(note, blockNumber).position() + offset + 1);
        return cursor.charFormat();
    }
    static QPoint boxCentre(CNote& note, int blockNumber) {
        QTextCursor before(note.body()->document());
        before.setPosition(block(note, blockNumber).position());
        QTextCursor after(before);
        after.setPosition(before.position() + 1);
        const QRect a = note.body()->cursorRect(before);
        const QRect b = note.body()->cursorRect(after);
        return QPoint((a.left() + b.left()) / 2, a.center().y());
    }
};

// "[ ] " and "- [ ] " at a paragraph's start become a box; Enter goes on with a new item, and
// Enter on an empty one ends the list; elsewhere the brackets are only text.
TEST_F(ChecklistEditing, TypedItemsContinueAndEndWithEnter) {
    CNote& note = focusedNote();
    QTest::keyClicks(note.body(), "[ ] milk");
    QTest::keyClick(note.body(), Qt::Key_Return);
    QTest::keyClicks(note.body(), "eggs");
    QTest::keyClick(note.body(), Qt::Key_Return);
    QTest::keyClick(note.body(), Qt::Key_Return);
    QTest::keyClicks(note.body(), "- [ ] bread and [ ] not a box");
    QTest::keyClick(note.body(), Qt::Key_Return);
    QTest::keyClick(note.body(), Qt::Key_Return);
    QTest::keyClicks(note.body(), "done");
    EXPECT_EQ(lines(note), (QStringList{QString(kOpen) + " milk", QString(kOpen) + " eggs",
                                        QString(kOpen) + " bread and [ ] not a box", "done"}));
    // One undo takes the new box away and leaves what was typed.
    CNote& other = focusedNote();
    QTest::keyClicks(other.body(), "[x] ");
    EXPECT_EQ(lines(other), QStringList{QString(kTicked) + " "});
    other.bodyEditor()->undo();
    EXPECT_EQ(lines(other), QStringList{"[x] "});
}

TEST_F(ChecklistEditing, ClickAndCtrlSpaceTickAndClear) {
    CNote& note = focusedNote(QString(kOpen) + " milk\n" + kOpen + " eggs");
    QCoreApplication::processEvents();
    caretTo(note, 3);
    QTest::mouseClick(note.body()->viewport(), Qt::LeftButton, Qt::NoModifier, boxCentre(note, 1));
    EXPECT_EQ(lines(note)[1], QString(kTicked) + " eggs");
    EXPECT_EQ(note.body()->textCursor().position(), 3) << "a tick leaves the caret alone";
    const QTextCharFormat ticked = formatIn(note, 1, 3);
    EXPECT_TRUE(ticked.fontStrikeOut());
    EXPECT_EQ(ticked.foreground().color(), checklist::tickedColor());
    EXPECT_FALSE(formatIn(note, 1, 0).fontStrikeOut()) << "the box is not struck";

    // A click on the text beside a box only moves the caret.
    QTextCursor text(note.body()->document());
    text.setPosition(block(note, 0).position() + 4);
    QTest::mouseClick(note.body()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      note.body()->cursorRect(text).center() + QPoint(2, 0));
    EXPECT_EQ(lines(note)[0], QString(kOpen) + " milk");

    caretTo(note, block(note, 1).position() + 4);
    QTest::keyClick(note.body(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(lines(note)[1], QString(kOpen) + " eggs");
    const QTextCharFormat open = formatIn(note, 1, 3);
    EXPECT_FALSE(open.fontStrikeOut());
    EXPECT_EQ(open.foreground().color(), note.bodyFontColor());

    // A locked note's boxes stay as they are.
    note.body()->setReadOnly(true);
    QTest::mouseClick(note.body()->viewport(), Qt::LeftButton, Qt::NoModifier, boxCentre(note, 0));
    QTest::keyClick(note.body(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(lines(note)[0], QString(kOpen) + " milk");
}

TEST_F(ChecklistEditing, EnterOnATickedItemStartsAnOpenOne) {
    CNote& note = focusedNote(QString(kOpen) + " milk");
    caretTo(note, 3);
    QTest::keyClick(note.body(), Qt::Key_Space, Qt::ControlModifier);
    caretTo(note, block(note, 0).length() - 1);
    QTest::keyClick(note.body(), Qt::Key_Return);
    QTest::keyClicks(note.body(), "jam");
    EXPECT_EQ(lines(note), (QStringList{QString(kTicked) + " milk", QString(kOpen) + " jam"}));
    EXPECT_FALSE(formatIn(note, 1, 2).fontStrikeOut());
    EXPECT_EQ(formatIn(note, 1, 2).foreground().color(), note.bodyFontColor());
}

TEST_F(ChecklistEditing, TabAndShiftTabNestItemsOnly) {
    CNote& note = focusedNote(QString(kOpen) + " fruit\n" + kOpen + " apples\nplain");
    caretTo(note, block(note, 1).position() + 3);
    QTest::keyClick(note.body(), Qt::Key_Tab);
    QTest::keyClick(note.body(), Qt::Key_Tab);
    EXPECT_EQ(checklist::nestLevel(block(note, 1)), 2);
    QTest::keyClick(note.body(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(checklist::nestLevel(block(note, 1)), 1);
    EXPECT_EQ(lines(note)[1], QString(kOpen) + " apples") << "nesting types no tab";
    // A new item keeps its parent's level.
    caretTo(note, block(note, 1).position() + block(note, 1).length() - 1);
    QTest::keyClick(note.body(), Qt::Key_Return);
    EXPECT_EQ(checklist::nestLevel(block(note, 2)), 1);
    // Shift+Tab at the left does nothing; Tab in a plain paragraph types a tab.
    caretTo(note, 2);
    QTest::keyClick(note.body(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(checklist::nestLevel(block(note, 0)), 0);
    caretTo(note, block(note, 3).position());
    QTest::keyClick(note.body(), Qt::Key_Tab);
    EXPECT_EQ(lines(note)[3], "\tplain");
}

// The body menu's item and its key make the selected paragraphs items, and take the boxes
// away again when all of them have one.
TEST_F(ChecklistEditing, MenuItemAndKeyMakeAndUnmakeItems) {
    CNote& note = focusedNote("bread\nbutter\nnote");
    QTextCursor two = note.body()->textCursor();
    two.setPosition(1);
    two.setPosition(8, QTextCursor::KeepAnchor);
    note.body()->setTextCursor(two);
    menuAnswer = cmd::CHECKLIST;
    note.bodyEditor()->openBodyMenu(QPoint(1, 1));
    ASSERT_FALSE(menus.empty());
    EXPECT_FALSE(menus.back().checked.at(cmd::CHECKLIST));
    EXPECT_EQ(lines(note),
              (QStringList{QString(kOpen) + " bread", QString(kOpen) + " butter", "note"}));

    caretTo(note, 3);
    menuAnswer = 0;
    note.bodyEditor()->openBodyMenu(QPoint(1, 1));
    EXPECT_TRUE(menus.back().checked.at(cmd::CHECKLIST)) << "the caret is on an item";

    QTest::keyClick(note.body(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(lines(note), (QStringList{"bread", QString(kOpen) + " butter", "note"}));
}

TEST_F(ChecklistEditing, TitleTipTellsHowMuchIsDone) {
    CNote& note = focusedNote("plain");
    EXPECT_FALSE(note.title()->toolTip().contains("checklist"));
    note.body()->setPlainText(QString(kOpen) + " a\n" + kOpen + " b\n" + kOpen + " c");
    EXPECT_TRUE(note.title()->toolTip().contains("checklist: 0/3 done"))
        << note.title()->toolTip().toStdString();
    caretTo(note, 1);
    QTest::keyClick(note.body(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(note.title()->toolTip().contains("checklist: 1/3 done"));
}

// Plain text that is plainly Markdown pastes as formatting, unless the setting is off or
// the clipboard has rich text of its own; the menu's items paste and copy it on demand.
TEST_F(ChecklistEditing, MarkdownPastesAsFormattingAndCopiesBack) {
    const QString list = QStringLiteral("# Shop\n\n- [ ] milk\n- [x] eggs\n");
    CNote& note = focusedNote();
    QGuiApplication::clipboard()->setText(list);
    QTest::keyClick(note.body(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(lines(note),
              (QStringList{"Shop", QString(kOpen) + " milk", QString(kTicked) + " eggs"}));
    note.bodyEditor()->selectAll();
    note.bodyEditor()->copyMarkdown();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), list);
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasHtml());

    setting::set(db(), setting::pasteMarkdown, 0);
    CNote& literal = focusedNote();
    QGuiApplication::clipboard()->setText(list);
    QTest::keyClick(literal.body(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(literal.body()->toPlainText(), list);
    // On demand it still pastes as Markdown.
    literal.body()->clear();
    literal.bodyEditor()->pasteMarkdown();
    EXPECT_EQ(lines(literal)[0], "Shop");

    setting::set(db(), setting::pasteMarkdown, 1);
    CNote& rich = focusedNote();
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<b># not a heading</b>"));
    mime->setText(QStringLiteral("# not a heading"));
    QGuiApplication::clipboard()->setMimeData(mime);
    rich.bodyEditor()->paste();
    EXPECT_EQ(rich.body()->toPlainText(), "# not a heading");
}

}  // namespace
}  // namespace bp
