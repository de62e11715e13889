// The program's windows open wholly inside the work area: the rule, and the filter that applies
// it to every dialog and dialog-like window as it is shown.
#include "platform/Desktop.h"
#include "platform/WindowPlacement.h"
#include "platform/fake/FakePlatform.h"
#include "platform/qt/KeepOnScreen.h"

#include <QApplication>
#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace bp;

namespace {

TEST(WindowPlacement, AFrameIsMovedAsLittleAsItTakesToLieInsideTheArea) {
    const Rect area{0, 24, 1280, 776};  // below a 24-pixel panel
    struct Case {
        const char* name;
        Rect frame;
        Rect placed;
    };
    const Case cases[] = {
        {"inside: stays", {100, 100, 300, 200}, {100, 100, 300, 200}},
        {"over the bottom edge: up", {0, 415, 702, 426}, {0, 374, 702, 426}},
        {"over the right edge: left", {1100, 300, 300, 120}, {980, 300, 300, 120}},
        {"under the panel and off the left: in", {-40, 0, 300, 120}, {0, 24, 300, 120}},
        {"larger than the area: its corner in", {-10, 500, 1400, 900}, {0, 24, 1400, 900}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placedInside(c.frame, area), c.placed) << c.name;
    }
    EXPECT_EQ(placedInside({5, 5, 10, 10}, {}), (Rect{5, 5, 10, 10})) << "no area known";
}

class KeepOnScreenFilter : public ::testing::Test {
protected:
    KeepOnScreenFilter() : filter(fakes.desktop) {
        fakes.desktop.available = {0, 24, 1280, 776};
        qApp->installEventFilter(&filter);
    }
    ~KeepOnScreenFilter() override { qApp->removeEventFilter(&filter); }

    bool inside(const QWidget& window) const {
        const Rect& a = fakes.desktop.available;
        return QRect(a.x, a.y, a.width, a.height).contains(window.frameGeometry());
    }

    fake::FakePlatform fakes;
    KeepOnScreen filter;
};

TEST_F(KeepOnScreenFilter, DialogsAndDialogLikeWindowsOpenInsideTheWorkAreaOthersWhereTheyAre) {
    // The Notes Manager's case: 400 high at the bottom, its frame below the screen's edge.
    QDialog dialog;
    dialog.resize(700, 400);
    dialog.move(0, 415);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(inside(dialog)) << dialog.frameGeometry().y();
    EXPECT_EQ(dialog.frameGeometry().bottom(), 799);
    EXPECT_EQ(dialog.frameGeometry().x(), 0);

    // Moved off the screen by the user and shown again: back inside.
    dialog.hide();
    dialog.move(900, -30);
    dialog.show();
    EXPECT_TRUE(inside(dialog)) << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();

    QWidget stopAlarm(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    stopAlarm.setProperty(kDialogLikeProperty, true);
    stopAlarm.setGeometry(-100, 780, 300, 120);
    stopAlarm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&stopAlarm));
    EXPECT_EQ(stopAlarm.frameGeometry(), QRect(0, 680, 300, 120));

    // A note keeps the place its record gives it.
    QWidget note(nullptr, Qt::FramelessWindowHint);
    note.setGeometry(-100, 780, 250, 175);
    note.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&note));
    EXPECT_EQ(note.pos(), QPoint(-100, 780));
}

}  // namespace
