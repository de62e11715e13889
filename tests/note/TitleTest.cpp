#include "NoteFixture.h"
#include "note/EditTitle.h"
#include "note/TitleButton.h"
#include "note/TitleLayout.h"
#include "platform/Messages.h"
#include "qtsupport/StoredText.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

namespace bp {
namespace {

using test::NoteFixture;

struct LayoutCase {
    TitleButtonsShown shown;
    int textLeft;
    int editorLeft;
};

TEST(TitleLayout, TextAndEditorStartRightOfTheVisibleButtons) {
    const LayoutCase cases[] = {
        {{true, true, true, false, false}, 54, 54},   {{true, true, true, true, false}, 72, 72},
        {{true, true, true, false, true}, 74, 74},    {{true, true, true, true, true}, 92, 92},
        {{false, true, true, false, false}, 34, 54},  {{true, false, false, false, false}, 20, 54},
        {{false, false, false, false, false}, 0, 54},
    };
    const QRect bar(0, 0, 250, 16);
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.textLeft);
        const QRect text = titleTextRect(bar, c.shown);
        EXPECT_EQ(text.left(), c.textLeft);
        EXPECT_EQ(text.right(), 250 - 39 - 1);  // 39 pixels kept free on the right
        const QRect editor = titleEditorRect(bar, c.shown);
        EXPECT_EQ(editor.left(), c.editorLeft);
        EXPECT_EQ(editor.right(), 250 - 56 - 1);
    }
}

TEST(TitleLayout, ButtonsHaveFixedPlacesInTheRow) {
    for (bool snooze : {false, true}) {
        const TitleButtonPlaces p = placeTitleButtons(250, 16, {true, true, true, snooze, true});
        EXPECT_EQ(p.close, QRect(233, 0, 16, 16));
        EXPECT_EQ(p.minimize, QRect(217, 0, 16, 16));
        EXPECT_EQ(p.priority, QRect(0, 0, 16, 16));
        EXPECT_EQ(p.read, QRect(17, 0, 16, 16));
        EXPECT_EQ(p.alarm, QRect(34, 0, 16, 16));
        EXPECT_EQ(p.stopSnooze, QRect(51, 0, 16, 16));
        // The expiration button sits in the next free slot, inside the room the text leaves.
        EXPECT_EQ(p.expiration, QRect(snooze ? 68 : 51, 0, 15, 15));
        EXPECT_LE(p.expiration.right(),
                  titleTextRect({0, 0, 250, 16}, {true, true, true, snooze, true}).left());
    }
}

TEST(TitleLayout, OnlyAPlainLeftPressDrags) {
    struct Case {
        Qt::MouseButton button;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        bool drags;
    };
    const Case cases[] = {
        {Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, true},
        {Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier, false},
        {Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier, false},
        {Qt::LeftButton, Qt::LeftButton | Qt::RightButton, Qt::NoModifier, false},
        {Qt::RightButton, Qt::RightButton, Qt::NoModifier, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pressStartsDrag(c.button, c.buttons, c.modifiers), c.drags);
    }
}

TEST(TitleLayout, PriorityWordsAndTheTitleTip) {
    EXPECT_EQ(priorityWord("0"), "Low");
    EXPECT_EQ(priorityWord("1"), "Regular");
    EXPECT_EQ(priorityWord("2"), "High");
    EXPECT_EQ(priorityWord("7"), "7");
    // A title that looks like a placeholder stays as typed.
    EXPECT_EQ(titleToolTip("c", "High", "%2 and %4", "NO ALARM"),
              "created: c\npriority: High\ntitle: %2 and %4\nalarm time: NO ALARM");
}

class TitleBar : public NoteFixture {
protected:
    void press(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers, QPoint at = {100, 8}) {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(target, &event);
    }
};

TEST_F(TitleBar, LayoutOfTheRealBarFollowsItsVisibleButtons) {
    CNote& note = open(1);
    CTitle* title = note.title();
    ASSERT_EQ(title->width(), 250);
    EXPECT_EQ(title->textRect().left(), 54);
    title->showStopSnooze(true);
    EXPECT_EQ(title->textRect().left(), 72);
    EXPECT_EQ(title->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->geometry().left(), 51);
    title->showExpiration(true);
    EXPECT_EQ(title->textRect().left(), 92);
    title->showStopSnooze(false);
    EXPECT_EQ(title->textRect().left(), 74);
    EXPECT_EQ(title->button(cmd::TITLE_CLOSE_BUTTON)->geometry(), QRect(233, 0, 16, 16));
    EXPECT_EQ(title->button(cmd::TITLE_MINIMIZE_BUTTON)->geometry(), QRect(217, 0, 16, 16));
    // Every button has its image.
    for (int id : {cmd::TITLE_PRIORITY_BUTTON, cmd::TITLE_CLOSE_BUTTON, cmd::TITLE_MINIMIZE_BUTTON,
                   cmd::TITLE_READ_BUTTON, cmd::TITLE_ALARM_BUTTON, cmd::TITLE_STOP_SNOOZE_BUTTON,
                   cmd::TITLE_EXPIRATION_BUTTON}) {
        CTitleButton* b = title->button(id);
        EXPECT_TRUE(b->setImage(b->imageId())) << id;
    }
}

TEST_F(TitleBar, ExpirationButtonSwitchesExpiryOff) {
    db().SetNoteUInt(2, 1900000000u, "expireTime");
    CNote& note = open(2);
    EXPECT_EQ(note.title()->textRect().left(), 74);
    QTest::mouseClick(note.title()->button(cmd::TITLE_EXPIRATION_BUTTON), Qt::LeftButton);
    EXPECT_EQ(db().GetNoteUInt(kLiveSource, 2, "expireTime"), 0u);
    EXPECT_EQ(note.title()->textRect().left(), 54);
}

TEST_F(TitleBar, LongTitleIsClippedNotShortened) {
    CNote& note = open(1);
    CTitle* title = note.title();
    const QString longTitle = QString(200, QLatin1Char('W'));
    title->setTitleText(longTitle);
    const QRect text = title->textRect();
    const QImage shown = title->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The same text drawn with no clip at all, cut to the text rectangle: a clipped title is
    // exactly that, an elided one would end differently.
    QImage full(text.left() + 4000, title->height(), QImage::Format_RGB32);
    full.fill(title->backColor());
    {
        QPainter p(&full);
        p.setPen(title->textColor());
        p.setFont(title->font());
        p.drawText(QRect(text.left(), 0, 4000, title->height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, longTitle);
    }
    EXPECT_EQ(shown.copy(text), full.copy(text));
    // Nothing of the text reaches the free strip before the minimize button.
    const QImage strip = shown.copy(QRect(text.right() + 1, 0, 6, title->height()));
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            ASSERT_EQ(QColor(strip.pixel(x, y)), title->backColor());
        }
    }
}

TEST_F(TitleBar, EnterAndEscapeBothCommitTheTypedTitle) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        CNote& note = open(1);
        CTitle* title = note.title();
        QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(100, 8));
        ASSERT_TRUE(title->isEditing());
        EXPECT_EQ(title->editor()->geometry().left(), 54);
        owner.calls.clear();
        QLineEdit* edit = title->editor()->lineEdit();
        QTest::keyClicks(edit, "Renamed |<|<|<|<|<x>|>|>|>|>| </note>");
        QTest::keyClick(edit, key);
        QCoreApplication::processEvents();
        const QString expected = "Renamed |<|<|<|<|<x>|>|>|>|>| </note>";
        EXPECT_FALSE(title->isEditing());
        EXPECT_EQ(title->titleText(), expected);
        EXPECT_EQ(note.windowTitle(), expected);
        // The store keeps its mark-up tokens out of values by breaking them with a blank.
        EXPECT_EQ(db().GetNoteString(kLiveSource, 1, "title"),
                  "Renamed | <|<|<|<|<x> |>|>|>|>| </note>");
        EXPECT_TRUE(title->toolTip().contains("title: " + expected));
        EXPECT_EQ(owner.nidsOf(test::RecordingOwner::Kind::NoteChanged),
                  std::vector<std::int32_t>{1});
        notes.clear();
    }
}

TEST_F(TitleBar, CloseButtonDuringAnEditCommitsThenHides) {
    CNote& note = open(1);
    CTitle* title = note.title();
    title->startEdit();
    QTest::keyClicks(title->editor()->lineEdit(), "Kept");
    QTest::mouseClick(title->button(cmd::TITLE_CLOSE_BUTTON), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(textFromStored(db().GetNoteString(kLiveSource, 1, "title")), "Kept");
    EXPECT_FALSE(note.isVisible());
    EXPECT_EQ(db().GetNoteInt(kLiveSource, 1, "isClosed"), 1);
}

TEST_F(TitleBar, TitleSurvivesASaveAndReopen) {
    const std::string markers = "a |<|<|<|<|<b>|>|>|>|>| c []]]]]>>>>> </notes> & <x>";
    const std::string veryLong(20000, 'L');
    const std::string escaped = "a | <|<|<|<|<b> |>|>|>|>| c [ ]]]]]>>>>> </notes> & <x>";
    for (const auto& [title, stored] : {std::pair{markers, escaped}, std::pair{veryLong, veryLong},
                                        std::pair{std::string(), std::string()}}) {
        CNote& note = open(1);
        note.title()->startEdit();
        note.title()->editor()->lineEdit()->setText(QString::fromStdString(title));
        note.title()->finishEdit();
        notes.clear();
        ASSERT_TRUE(db().SaveDatabase(""));
        ASSERT_TRUE(db().OpenDatabase(0));
        EXPECT_EQ(db().GetNoteString(kLiveSource, 1, "title"), stored);
        // The rest of the database is untouched by whatever the title held.
        EXPECT_EQ(db().GetNoteInt(kLiveSource, 1, "priority"), 0);
        EXPECT_EQ(db().GetNoteString(kLiveSource, 2, "title"), "Regular Priority Note");
    }
}

TEST_F(TitleBar, ShiftOrCtrlPressDoesNotDrag) {
    CNote& note = open(1);
    CTitle* title = note.title();
    int drags = 0;
    QObject::connect(title, &CTitle::dragRequested, [&] { ++drags; });
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers(Qt::ControlModifier),
          Qt::KeyboardModifiers(Qt::NoModifier)}) {
        const int before = drags;
        press(title, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, mods);
        press(title, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, mods, {130, 8});
        press(title, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, mods, {130, 8});
        EXPECT_EQ(drags - before, mods == Qt::NoModifier ? 1 : 0) << mods;
    }
}

TEST_F(TitleBar, LockedNoteOffersOnlyTheUnlockMenu) {
    CNote& note = open(1);
    note.SetEditable(false, false);
    CTitle* title = note.title();
    for (int id : {cmd::TITLE_PRIORITY_BUTTON, cmd::TITLE_READ_BUTTON, cmd::TITLE_ALARM_BUTTON}) {
        QTest::mouseClick(title->button(id), Qt::LeftButton);
    }
    press(title, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(menus.size(), 4u);
    for (const test::SeenMenu& m : menus) {
        EXPECT_EQ(m.name, "unlockMenu");
        EXPECT_EQ(m.enabled.size(), 1u);
        EXPECT_TRUE(m.enabled.count(cmd::NOTE_UNLOCK));
    }
    EXPECT_EQ(title->button(cmd::TITLE_MINIMIZE_BUTTON)->imageId(), bitmap::LOCKED);
    EXPECT_EQ(title->button(cmd::TITLE_MINIMIZE_BUTTON)->toolTip(), "Unlock note");
    // A locked title is not renamed by a double click.
    QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(100, 8));
    EXPECT_FALSE(title->isEditing());
}

TEST_F(TitleBar, NoteMenuChecksThePriorityOfTheRecord) {
    const struct {
        int priority;
        int checked;
    } cases[] = {{0, cmd::NOTE_PRIORITY_LOW},
                 {1, cmd::NOTE_PRIORITY_REGULAR},
                 {2, cmd::NOTE_PRIORITY_HIGH},
                 {5, 0}};
    CNote& note = open(1);
    for (const auto& c : cases) {
        menus.clear();
        db().SetNoteInt(1, c.priority, "priority");
        QTest::mouseClick(note.title()->button(cmd::TITLE_PRIORITY_BUTTON), Qt::LeftButton);
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0].name, "noteMenu");
        for (int id :
             {cmd::NOTE_PRIORITY_HIGH, cmd::NOTE_PRIORITY_REGULAR, cmd::NOTE_PRIORITY_LOW}) {
            EXPECT_EQ(menus[0].checked[id], id == c.checked) << c.priority << " " << id;
        }
        EXPECT_TRUE(menus[0].enabled[cmd::NOTE_TRANSPARENCY]);
    }
}

TEST_F(TitleBar, RightClickOpensTheEditMenuAndItsCommandsReachTheNote) {
    CNote& note = open(1);
    note.body()->setPlainText("some text");
    menuAnswer = cmd::EDIT_SELECT_ALL;
    press(note.title(), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].name, "editMenu");
    EXPECT_EQ(note.body()->textCursor().selectedText(), "some text");
    // The title's own edit command comes back from the menu to the bar.
    menuAnswer = cmd::TITLE_EDIT;
    press(note.title(), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    EXPECT_TRUE(note.title()->isEditing());
}

TEST_F(TitleBar, ToolTipsSumUpTheNote) {
    CNote& note = open(1);
    CTitle* title = note.title();
    EXPECT_EQ(title->toolTip(),
              "created: Nov 25, 2017 - 10:34:06 AM\npriority: Low\ntitle: Low Priority Note\n"
              "alarm time: NO ALARM");
    EXPECT_EQ(title->button(cmd::TITLE_PRIORITY_BUTTON)->toolTip(), "Low Priority");
    EXPECT_EQ(title->button(cmd::TITLE_CLOSE_BUTTON)->toolTip(), "Close");
    EXPECT_EQ(title->button(cmd::TITLE_MINIMIZE_BUTTON)->toolTip(), "Minimize - Title Only");
    EXPECT_EQ(title->button(cmd::TITLE_READ_BUTTON)->toolTip(), "Read");
    EXPECT_EQ(title->button(cmd::TITLE_ALARM_BUTTON)->toolTip(), "Alarm");
    EXPECT_EQ(title->button(cmd::TITLE_STOP_SNOOZE_BUTTON)->toolTip(), "Stop Snooze");
    EXPECT_EQ(title->button(cmd::TITLE_EXPIRATION_BUTTON)->toolTip(), "Expiration Off");

    db().SetNoteInt(1, 9, "priority");
    title->refreshTooltips("then", QStringLiteral("Monday, May 06, 2024 07:08:09 AM"));
    EXPECT_EQ(title->toolTip(),
              "created: then\npriority: 9\ntitle: Low Priority Note\n"
              "alarm time: Monday, May 06, 2024 07:08:09 AM");
    EXPECT_EQ(title->button(cmd::TITLE_ALARM_BUTTON)->toolTip(),
              "Alarm ON\nMonday, May 06, 2024 07:08:09 AM");

    // Collapsing changes the minimize button to the restore button.
    note.toggleMinimized();
    EXPECT_EQ(title->button(cmd::TITLE_MINIMIZE_BUTTON)->imageId(), bitmap::RESTORE);
    EXPECT_EQ(title->button(cmd::TITLE_MINIMIZE_BUTTON)->toolTip(), "Restore");
}

// A tip wider than 300 pixels wraps at blanks (a word longer than a line wherever it must), and
// every word of it is still shown.
TEST_F(TitleBar, ToolTipsWrapAt300Pixels) {
    CNote& note = open(1);
    CTitle* title = note.title();
    const QString longTitle =
        "A title long enough to need several lines in a tip: alpha beta gamma delta epsilon "
        "zeta eta theta iota kappa lambda mu nu xi omicron pi rho sigma tau upsilon "
        "Averyveryverylongwordwithoutanyblankinsideitatallthatcannotfitonasingleline";
    title->setTitleText(longTitle);
    note.refreshTooltips();
    for (QWidget* tipped : {static_cast<QWidget*>(title),
                            static_cast<QWidget*>(title->button(cmd::TITLE_ALARM_BUTTON))}) {
        if (tipped != title) {
            tipped->setToolTip(longTitle);
        }
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), tipped->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(tipped, &help);
        QLabel* tip = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->inherits("QTipLabel") && w->isVisible()) {
                tip = static_cast<QLabel*>(w);
            }
        }
        ASSERT_NE(tip, nullptr);
        // The label's frame and margins come on top of the 300 pixels of text.
        const int frame = tip->width() - tip->contentsRect().width();
        EXPECT_LE(tip->width(), 300 + frame + 2 * tip->margin() + 8) << tip->text().toStdString();
        EXPECT_GT(tip->height(), 4 * tip->fontMetrics().height());
        QString shown = tip->text();
        QTextDocument document;
        document.setHtml(shown);
        shown = document.toPlainText().simplified().remove(' ');
        EXPECT_TRUE(shown.contains(QString(longTitle).remove(' '))) << shown.toStdString();
        QToolTip::hideText();
    }
}

}  // namespace
}  // namespace bp
