// Test entry point for tests that need a QApplication: widgets are drawn offscreen.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A program set up on a new data folder would greet the user; the welcome's own tests
    // ask for it.
    qputenv("BRIGHTPOST_NO_WELCOME", "1");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
