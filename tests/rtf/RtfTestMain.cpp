#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// The engine needs no application for its own work; one is made so fonts resolve as they do in
// the program. No display is used.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
