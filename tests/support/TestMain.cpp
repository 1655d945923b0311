#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

void InstallTestSeams(); // ScriptedDialogs.cpp

int main(int argc, char** argv) {
    // Tests never open a real window on a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Message boxes, file dialogs and modal forms are scripted: an unexpected one fails the test.
    InstallTestSeams();
    return RUN_ALL_TESTS();
}
