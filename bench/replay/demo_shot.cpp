// A picture of the demo as a person sees it: the program on the demo setup, the NMEA monitor
// opened from the Window menu's dialog, PLAY pressed, and the main window taken one and a half seconds later.
//   tiderune-demo-shot OUTPUT.png
// The program folder is $TIDERUNE_HOME when set (as the demo script leaves it), else a
// temporary one with the demo setup and a copy of the recording (the docs picture is taken so).
#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/new_window_dialog.h"
#include "demo_program.h"

using namespace tiderune;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    std::string home = qEnvironmentVariable("TIDERUNE_HOME").toStdString();
    if (home.empty()) {
        // The picture shows the recording's path: a copy in the temporary program folder keeps
        // the folder the program was built in out of it.
        home = dir.path().toStdString() + "/Tiderune";
        const std::string recording = home + "/demo.nmea";
        std::filesystem::create_directories(home);
        std::filesystem::copy_file(std::string(TIDERUNE_SOURCE_DIR) + "/examples/demo.nmea", recording,
                                   std::filesystem::copy_options::overwrite_existing);
        demo::installDemoSetup(home, recording);
    }
    demo::Program program(home);
    MainWindow& window = *program.window;
    window.setGeometry(40, 40, 1180, 820);

    // Window > New Window > "NMEA Monitor" > OK, as the user opens it.
    window.action("mnuWindowNewWindow")->trigger();
    if (NewWindowDialog* d = window.newWindowDialog()) {
        if (auto* type = d->findChild<QComboBox*>("cmbType")) type->setCurrentIndex(6);
        if (auto* ok = d->findChild<QPushButton*>("cmdOk")) ok->click();
    }
    if (NMEAMonitorWindow* m = monitorWindow(*program.shell, 1)) m->parentWidget()->setGeometry(0, 215, 1000, 430);

    bool saved = false;
    QTimer::singleShot(0, [&] { program.click("PLAY"); });
    QTimer::singleShot(1500, [&] {
        saved = window.grab().save(output);
        if (program.shell->run.OfflineRunning) program.click("STOP");  // Enter: Yes
        QTimer::singleShot(0, &app, &QApplication::quit);
    });
    app.exec();
    std::printf("%s %s\n", saved ? "saved" : "could not save", argv[1]);
    return saved ? 0 : 1;
}
