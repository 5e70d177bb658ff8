// GUI tests: the real window on Qt's offscreen platform, driven by real input events.
#include "ui/appsetup.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Remembered settings go to a test location, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    tavlon::ui::PrepareApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
