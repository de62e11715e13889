// The note's own small dialogs, shown and typed into as a user would.

#include "note/DeleteNoteDialog.h"
#include "note/Paragraph.h"
#include "note/SetSizeDialog.h"
#include "platform/fake/FakePlatform.h"
#include "ui/FontDialog.h"
#include "ui/TransparencyDialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLayout>

#include <QAbstractSpinBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace bp {
namespace {

// Replaces the text of a spin box by typing, as a user does.
void typeInto(QSpinBox* spin, const QString& text) {
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(spin, text);
}

// Typed sizes below the smallest note are raised to it, whichever way the typing ends: the
// focus moving on, Enter, or OK.
TEST(SetSizeDialog, TypedSizesBelowTheLimitsAreRaisedToThem) {
    struct Case {
        QString width;
        QString height;
        QSize chosen;
    };
    const Case cases[] = {
        {"50", "20", {150, 72}}, {"100", "71", {150, 72}}, {"149", "300", {150, 300}},
        {"400", "5", {400, 72}}, {"151", "73", {151, 73}},
    };
    enum class End { FocusMoves, Enter, Ok };
    for (const End end : {End::FocusMoves, End::Enter, End::Ok}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.width.toStdString() + " x " + c.height.toStdString() + " end " +
                         std::to_string(static_cast<int>(end)));
            CSetSize dialog(nullptr, QSize(250, 175));
            dialog.show();
            dialog.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            const QList<QSpinBox*> spins = dialog.findChildren<QSpinBox*>();
            ASSERT_EQ(spins.size(), 2);
            typeInto(spins[0], c.width);
            typeInto(spins[1], c.height);
            switch (end) {
                case End::FocusMoves:
                    spins[0]->setFocus();
                    EXPECT_EQ(dialog.chosenSize().height(), c.chosen.height());
                    typeInto(spins[0], c.width);
                    spins[1]->setFocus();
                    EXPECT_EQ(dialog.chosenSize(), c.chosen);
                    break;
                case End::Enter:
                    QTest::keyClick(spins[1], Qt::Key_Return);
                    EXPECT_EQ(dialog.result(), QDialog::Accepted);
                    break;
                case End::Ok:
                    dialog.accept();
                    break;
            }
            EXPECT_EQ(dialog.chosenSize(), c.chosen);
        }
    }
}

// The font dialog opens on the font, size, style and colour it is given, a stored face the
// system draws with a stand-in shown as that stand-in, and hands back the stored face unless
// another was picked.
TEST(FontDialog, OpensOnTheCurrentFontAndColourAndReturnsBoth) {
    struct Case {
        const char* face;
        bool bold;
        bool italic;
        const char* style;
    };
    const Case cases[] = {
        {"Arial", true, true, "Bold Italic"},
        {"Arial", false, false, "Regular"},
        {"Times New Roman", true, false, "Bold"},
        {"DejaVu Serif", false, true, "Italic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + c.style);
        // As a stored font record gives it: a size in pixels.
        QFont stored;
        stored.setFamilies({c.face});
        stored.setPixelSize(16);
        stored.setBold(c.bold);
        stored.setItalic(c.italic);
        stored.setUnderline(true);
        CFontDialog dialog(nullptr, {stored, QColor(200, 10, 20)});
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QFont shown = dialog.shownFont();
        const QString drawnWith = QFontInfo(stored).family();
        EXPECT_EQ(shown.family(), drawnWith);
        EXPECT_TRUE(QFontDatabase::families().contains(shown.family()));
        EXPECT_EQ(QFontDatabase::styleString(shown), c.style);
        EXPECT_EQ(shown.bold(), c.bold);
        EXPECT_EQ(shown.italic(), c.italic);
        EXPECT_TRUE(shown.underline());
        EXPECT_EQ(shown.pointSize(), qRound(16 * 72.0 / dialog.logicalDpiY()));
        EXPECT_EQ(dialog.color(), QColor(200, 10, 20));

        // Kept as it was: the stored face, not its stand-in, and the colour.
        FontChoice kept = dialog.choice();
        EXPECT_EQ(kept.font.family(), c.face);
        EXPECT_EQ(kept.font.bold(), c.bold);
        EXPECT_EQ(kept.color, QColor(200, 10, 20));

        // Another face and colour picked.
        auto* fonts = dialog.findChild<QFontDialog*>();
        ASSERT_NE(fonts, nullptr);
        QFont other(QStringLiteral("DejaVu Sans Mono"));
        other.setPointSize(14);
        fonts->setCurrentFont(other);
        dialog.setColor(QColor(0, 128, 0));
        const FontChoice changed = dialog.choice();
        EXPECT_EQ(changed.font.family(), "DejaVu Sans Mono");
        EXPECT_EQ(changed.font.pointSize(), 14);
        EXPECT_EQ(changed.color, QColor(0, 128, 0));
    }
}

// Enter and Escape typed in the font lists answer the whole dialog.
TEST(FontDialog, EnterAndEscapeInTheFontListsAnswerTheDialog) {
    for (const auto& [key, result] : {std::pair{Qt::Key_Return, QDialog::Accepted},
                                      std::pair{Qt::Key_Escape, QDialog::Rejected}}) {
        CFontDialog dialog(nullptr, {QFont(), Qt::black});
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        auto* sizeField = dialog.findChild<QFontDialog*>()->findChildren<QLineEdit*>().value(2);
        ASSERT_NE(sizeField, nullptr);
        sizeField->setFocus();
        QTest::keyClick(sizeField, key);
        EXPECT_EQ(dialog.result(), result);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(dialog.findChild<QFontDialog*>()->isVisibleTo(&dialog));
    }
}

// Dialogs of one size: no maximise or help button, and a caption the window manager can show
// in full (in bold, beside the window icon and its buttons).
TEST(NoteDialogs, FixedSizeDialogsKeepTheirSizeAndShowTheirWholeCaption) {
    fake::FakePlatform fakes;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<CSetSize>(nullptr, QSize(250, 175)));
    dialogs.push_back(std::make_unique<CParagraph>(nullptr));
    dialogs.push_back(
        std::make_unique<CTransparency>(nullptr, fakes.windows, std::vector<QWidget*>{}, false, 0));
    dialogs.push_back(std::make_unique<CDeleteNote>(nullptr, "title", "created", "1"));
    dialogs.push_back(std::make_unique<CFontDialog>(nullptr, FontChoice{QFont(), Qt::black}));
    QFont bold = QApplication::font();
    bold.setBold(true);
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
        // A question mark beside the caption reads as a help button.
        const QImage icon = dialog->windowIcon().pixmap(16, 16).toImage();
        EXPECT_NE(icon, QIcon(":/icons/box-question.svg").pixmap(16, 16).toImage());
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        EXPECT_EQ(dialog->size(), dialog->minimumSize());
        EXPECT_GE(dialog->width(),
                  QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 120);
        // Everything inside still gets the room it asks for.
        EXPECT_GE(dialog->height(), dialog->layout()->minimumSize().height());
    }
}

}  // namespace
}  // namespace bp
