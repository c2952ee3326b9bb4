// Entry point for the Qt test executables: a QApplication on the offscreen platform.
#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The offscreen desktop is a 1920x1200 screen, as a user's: the main window checks its
    // stored placement against the screen it would lie on.
    QTemporaryFile screens;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && screens.open()) {
        screens.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1200}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
