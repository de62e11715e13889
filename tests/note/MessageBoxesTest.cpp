#include "platform/Messages.h"
#include "ui/MessageBoxes.h"
#include "ui/NoteUserMessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

namespace bp {
namespace {

constexpr int kIconWarning = res::ICON_WARNING;
constexpr int kIconQuestion = res::ICON_QUESTION;

// Runs `act` on the modal box once it is up. A box the action leaves open is closed after a
// while, so that a failing test fails instead of hanging in exec().
void whenModal(std::function<void(QWidget*)> act) {
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, waited, poll] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            if (waited->elapsed() < 5000) {
                QTimer::singleShot(10, *poll);
            } else {
                ADD_FAILURE() << "no modal box appeared";
                *poll = nullptr;  // the poll holds itself; let it go once it is done
            }
            return;
        }
        *poll = nullptr;
        act(modal);
        QTimer::singleShot(3000, [] {
            if (QWidget* left = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the box stayed open";
                left->close();
            }
        });
    };
    QTimer::singleShot(0, *poll);
}

enum class Kind { Message, Answer };

std::unique_ptr<CBoxBase> makeBox(Kind kind, const QString& text, const QString& label = {}) {
    if (kind == Kind::Message) {
        return std::make_unique<CMessageBox>(nullptr, "Warning", label, text, kIconWarning);
    }
    return std::make_unique<CAnswerBox>(nullptr, "Warning", label, text, kIconQuestion);
}

const char* nameOf(Kind kind) {
    return kind == Kind::Message ? "message box" : "question box";
}

Qt::Alignment alignmentOf(const CBoxBase& box) {
    return box.messageControl()->document()->firstBlock().blockFormat().alignment() &
           Qt::AlignHorizontal_Mask;
}

TEST(MessageBoxes, BoxGrowsByOneLineHeightPerLine) {
    for (Kind kind : {Kind::Message, Kind::Answer}) {
        SCOPED_TRACE(nameOf(kind));
        auto one = makeBox(kind, "One line.");
        auto two = makeBox(kind, "First line.\nSecond line.");
        auto three = makeBox(kind, "First line.\nSecond line.\nThird line.");
        ASSERT_GT(one->lineHeight(), 0);
        EXPECT_EQ(one->lineCount(), 1);
        EXPECT_EQ(two->lineCount(), 2);
        EXPECT_EQ(three->lineCount(), 3);
        EXPECT_EQ(three->height() - one->height(), 2 * one->lineHeight());
        EXPECT_EQ(two->height() - one->height(), one->lineHeight());
    }
}

TEST(MessageBoxes, LinesAreCountedAsTheyAreShown) {
    const QString longLine = QString("word ").repeated(60).trimmed();
    struct Case {
        const char* what;
        QString text;
        int minLines;
        int maxLines;
    };
    const Case cases[] = {
        {"empty message", "", 1, 1},
        {"Windows line ends", "first\r\nsecond\r\nthird", 3, 3},
        {"lone carriage returns", "first\rsecond", 2, 2},
        {"trailing line end", "first\n", 2, 2},
        {"a long line wraps at the box width", longLine, 4, 20},
    };
    for (const Case& c : cases) {
        for (Kind kind : {Kind::Message, Kind::Answer}) {
            SCOPED_TRACE(std::string(c.what) + " in the " + nameOf(kind));
            auto box = makeBox(kind, c.text);
            EXPECT_GE(box->lineCount(), c.minLines);
            EXPECT_LE(box->lineCount(), c.maxLines);
            EXPECT_EQ(box->messageControl()->height(), box->lineCount() * box->lineHeight());
            EXPECT_FALSE(box->messageControl()->toPlainText().contains('\r'));
        }
    }
}

// The height comes from the line count; the text must still fit once the box is on screen,
// or its last lines are cut off.
TEST(MessageBoxes, WholeMessageFitsItsControl) {
    const QString longLine = QString("word ").repeated(60).trimmed();
    const QString texts[] = {"one", "a\nb\nc", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12", longLine};
    for (const QString& text : texts) {
        for (Kind kind : {Kind::Message, Kind::Answer}) {
            SCOPED_TRACE(text.left(20).toStdString() + " in the " + nameOf(kind));
            auto box = makeBox(kind, text);
            box->show();
            QApplication::processEvents();
            QTextEdit* control = box->messageControl();
            EXPECT_LE(control->document()->size().height(), control->viewport()->height());
            EXPECT_LE(control->geometry().bottom(), box->frame()->geometry().bottom());
            box->hide();
        }
    }
}

TEST(MessageBoxes, OnlyAOneLineMessageIsCentred) {
    const QString longLine = QString("word ").repeated(60).trimmed();
    struct Case {
        const char* what;
        QString text;
        Qt::Alignment expected;
    };
    const Case cases[] = {
        {"one line", "Initialization error.", Qt::AlignHCenter},
        {"two lines", "No alarm actions selected\nPlease select an action", Qt::AlignLeft},
        {"one paragraph wrapped", longLine, Qt::AlignLeft},
    };
    for (const Case& c : cases) {
        for (Kind kind : {Kind::Message, Kind::Answer}) {
            SCOPED_TRACE(std::string(c.what) + " in the " + nameOf(kind));
            auto box = makeBox(kind, c.text);
            const Qt::Alignment alignment = alignmentOf(*box);
            if (c.expected == Qt::AlignHCenter) {
                EXPECT_EQ(alignment, Qt::AlignHCenter);
            } else {
                EXPECT_NE(alignment, Qt::AlignHCenter);
            }
        }
    }
}

TEST(MessageBoxes, ControlsSitWhereTheBoxPutsThem) {
    CMessageBox message(nullptr, "Error", "Label", "a\nb", kIconWarning);
    const int a = message.messageHeight();
    ASSERT_EQ(a, 2 * message.lineHeight());
    EXPECT_EQ(message.messageControl()->geometry(), QRect(15, 20, 265, a));
    EXPECT_EQ(message.frame()->geometry(), QRect(QPoint(5, 0), QPoint(289, a + 29)));
    EXPECT_EQ(message.okButton()->geometry(), QRect(100, a + 35, 100, 20));
    EXPECT_EQ(message.size(), QSize(300, a + 60));

    CAnswerBox answer(nullptr, "Warning", "Label", "a\nb\nc", kIconQuestion);
    const int b = answer.messageHeight();
    ASSERT_EQ(b, 3 * answer.lineHeight());
    EXPECT_EQ(answer.messageControl()->geometry(), QRect(15, 20, 330, b));
    EXPECT_EQ(answer.frame()->geometry(), QRect(QPoint(5, 0), QPoint(349, b + 29)));
    EXPECT_EQ(answer.yesButton()->geometry(), QRect(10, b + 35, 100, 20));
    EXPECT_EQ(answer.noButton()->geometry(), QRect(245, b + 35, 100, 20));
    EXPECT_EQ(answer.size(), QSize(375, b + 70));
}

TEST(MessageBoxes, CaptionLabelAndTextAreShownAsGiven) {
    for (Kind kind : {Kind::Message, Kind::Answer}) {
        SCOPED_TRACE(nameOf(kind));
        // Markup in a message (a quoted file name, a note title) is text, not formatting.
        auto box = makeBox(kind, "Can't open '<b>notes</b> & more'.", "Delete note");
        EXPECT_EQ(box->windowTitle(), "Warning");
        EXPECT_EQ(box->frame()->title(), "Delete note");
        EXPECT_EQ(box->messageControl()->toPlainText(), "Can't open '<b>notes</b> & more'.");
    }
}

TEST(MessageBoxes, MessageIsBlackInADisabledControl) {
    for (Kind kind : {Kind::Message, Kind::Answer}) {
        SCOPED_TRACE(nameOf(kind));
        auto box = makeBox(kind, "Some text");
        QTextEdit* control = box->messageControl();
        EXPECT_FALSE(control->isEnabled());
        EXPECT_TRUE(control->isReadOnly());
        EXPECT_EQ(control->property("controlId").toInt(), ctl::BOX_MESSAGE);
        EXPECT_EQ(control->palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::black));
        const QTextCharFormat format =
            control->document()->firstBlock().begin().fragment().charFormat();
        EXPECT_EQ(format.foreground().color(), QColor(Qt::black));
    }
}

TEST(MessageBoxes, FontIsTheSmallSansSerifWithALinuxStandIn) {
    const QFont font = messageBoxFont();
    EXPECT_EQ(font.family(), "MS Sans Serif");
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    const QString used = QFontInfo(font).family();
    EXPECT_TRUE(used == "Liberation Sans" || used == "DejaVu Sans") << used.toStdString();

    CMessageBox box(nullptr, "Warning", "", "text", kIconWarning);
    EXPECT_EQ(box.messageControl()->font(), font);
    EXPECT_EQ(box.okButton()->font(), font);
    EXPECT_EQ(box.frame()->font(), font);
}

TEST(MessageBoxes, WindowIcons) {
    ASSERT_FALSE(boxIcon(res::ICON_WARNING).isNull());
    ASSERT_FALSE(boxIcon(res::ICON_PROGRAM).isNull());
    EXPECT_TRUE(boxIcon(12345).isNull());

    const auto image = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
    CMessageBox message(nullptr, "Warning", "", "text", kIconWarning);
    EXPECT_EQ(image(message.windowIcon()), image(boxIcon(res::ICON_WARNING)));
    // Whatever icon the caller names, the question box wears the program's icon.
    CAnswerBox answer(nullptr, "Warning", "", "text", kIconWarning);
    EXPECT_EQ(image(answer.windowIcon()), image(boxIcon(res::ICON_PROGRAM)));
    EXPECT_NE(image(answer.windowIcon()), image(boxIcon(res::ICON_WARNING)));
}

TEST(MessageBoxes, BoxesOfferOnlyTheirCloseButton) {
    CMessageBox message(nullptr, "Warning", "", "text", kIconWarning);
    CAnswerBox answer(nullptr, "Warning", "", "text", kIconQuestion);
    for (const QWidget* box : {static_cast<QWidget*>(&message), static_cast<QWidget*>(&answer)}) {
        const Qt::WindowFlags flags = box->windowFlags();
        EXPECT_EQ(box->windowType(), Qt::Dialog);
        // Without the customize hint the window manager would add its own buttons back.
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    }
}

TEST(MessageBoxes, QuestionBoxStaysOnTopAndStartsOnNo) {
    CAnswerBox box(nullptr, "Warning", "", "Are you sure?", kIconQuestion);
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(box.focusWidget(), box.noButton());
    EXPECT_TRUE(box.noButton()->isDefault());
    EXPECT_FALSE(box.yesButton()->isDefault());
}

TEST(MessageBoxes, QuestionBoxAnswers) {
    struct Case {
        const char* what;
        std::function<void(CAnswerBox*)> act;
        bool expected;
    };
    const Case cases[] = {
        {"Enter", [](CAnswerBox* b) { QTest::keyClick(b, Qt::Key_Return); }, false},
        {"keypad Enter", [](CAnswerBox* b) { QTest::keyClick(b, Qt::Key_Enter); }, false},
        {"Yes clicked", [](CAnswerBox* b) { QTest::mouseClick(b->yesButton(), Qt::LeftButton); },
         true},
        {"No clicked", [](CAnswerBox* b) { QTest::mouseClick(b->noButton(), Qt::LeftButton); },
         false},
        {"Escape", [](CAnswerBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, false},
        {"closed", [](CAnswerBox* b) { b->close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool sawBox = false;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<CAnswerBox*>(modal);
            ASSERT_NE(box, nullptr);
            sawBox = true;
            c.act(box);
        });
        EXPECT_EQ(AskYesNo(nullptr, "Warning", "", "Are you sure?", kIconQuestion), c.expected);
        EXPECT_TRUE(sawBox);
    }
}

TEST(MessageBoxes, MessageBoxReturnsWhenClosed) {
    const std::function<void(CMessageBox*)> ways[] = {
        [](CMessageBox* b) { QTest::mouseClick(b->okButton(), Qt::LeftButton); },
        [](CMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); },
        [](CMessageBox* b) { b->close(); },
    };
    for (const auto& way : ways) {
        bool sawBox = false;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<CMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            sawBox = true;
            EXPECT_EQ(box->windowTitle(), "Error");
            way(box);
        });
        ShowMessageBox(nullptr, "Error", "", "Initialization error.", kIconWarning);
        EXPECT_TRUE(sawBox);
    }
}

TEST(MessageBoxes, BoxIsCentredOnItsParent) {
    QWidget parent;
    parent.setGeometry(100, 200, 800, 600);
    CMessageBox box(&parent, "Warning", "", "text", kIconWarning);
    EXPECT_NEAR(box.geometry().center().x(), parent.frameGeometry().center().x(), 1);
    EXPECT_NEAR(box.geometry().center().y(), parent.frameGeometry().center().y(), 1);
}

TEST(NoteUserMessages, RoutesEveryKindOfBox) {
    NoteUserMessages messages;

    bool sawMessage = false;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<CMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        sawMessage = true;
        EXPECT_EQ(box->windowTitle(), "Attention");
        EXPECT_EQ(box->frame()->title(), "Label");
        EXPECT_EQ(box->messageControl()->toPlainText(), "Grüße\nzwei");
        box->okButton()->click();
    });
    messages.showMessage("Attention", "Label", "Grüße\nzwei", kIconWarning);
    EXPECT_TRUE(sawMessage);

    for (bool answer : {true, false}) {
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<CAnswerBox*>(modal);
            ASSERT_NE(box, nullptr);
            (answer ? box->yesButton() : box->noButton())->click();
        });
        EXPECT_EQ(messages.askYesNo("Warning", "", "Discard changes?", kIconQuestion), answer);
    }

    bool sawError = false;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        sawError = true;
        EXPECT_EQ(box->windowTitle(), "Error 2");
        EXPECT_EQ(box->text(), "Can't open <file>.");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->button(QMessageBox::Ok)->click();
    });
    messages.standardError("Error 2", "Can't open <file>.");
    EXPECT_TRUE(sawError);
}

TEST(NoteUserMessages, BoxesAskedForOnAnotherThreadAppearOnTheGuiThread) {
    NoteUserMessages messages;
    bool sawOnGuiThread = false;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<CMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        sawOnGuiThread = QThread::currentThread() == qApp->thread();
        box->okButton()->click();
    });
    bool answer = true;
    std::thread([&] {
        messages.showMessage("Error", "", "from a save in the background", kIconWarning);
        answer = messages.askYesNo("Warning", "", "Nobody can answer this", kIconQuestion);
    }).join();
    EXPECT_FALSE(answer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sawOnGuiThread; }, 5000));
}

}  // namespace
}  // namespace bp
