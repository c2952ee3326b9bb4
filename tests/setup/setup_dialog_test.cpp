// The setup dialog as a user meets it: opened from the Setup menu of a running program,
// filled from the setup, checked box by box, and applied by OK to the live sources.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

#include <fstream>
#include <iterator>

#include "app/data_sources.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "app/setup_session.h"
#include "live_fixture.h"
#include "platform/qt/qt_settings_store.h"
#include "setup/logic/reference_file.h"
#include "setup/setup_windows.h"
#include "views/nmea_monitor_window.h"

namespace tiderune::test {
namespace {

QStringList items(QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

class SetupDialogTest : public LiveTest {
protected:
    // Starts the program and opens the setup of a system from its Setup menu entry.
    SetupDialog* open(int system) {
        setup = &program->setup();
        if (system == 1) {
            window->action("mnuSetupPrimarySystem")->trigger();
        } else {
            for (QAction* a : window->findChildren<QAction*>("mnuSetupSystem"))
                if (a->property("index").toInt() == system) a->trigger();
        }
        SetupDialog* d = setup->dialog();
        if (d) {
            QApplication::setActiveWindow(d);
            waitFor([d] { return d->isActiveWindow(); }, 2000);
        }
        return d;
    }
    // Moves the focus from one box to another as Tab does, and lets the check run.
    static void tab(QWidget* from, QWidget* to) {
        from->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        to->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    bool hasFocus(QWidget* w) const {
        QWidget* f = QApplication::focusWidget();
        return f == w || (f && f->parentWidget() == w);
    }
    void usePorts(std::initializer_list<std::pair<int, std::string>> paths) {
        SerialDeviceMap map(settings);
        for (int p = 1; p <= MaxComPorts; ++p) map.setDevicePath(p, "/dev/tiderune-no-such-port-" + std::to_string(p));
        for (const auto& [p, path] : paths) map.setDevicePath(p, path);
    }

    SetupWindows* setup = nullptr;  // the program's
};

TEST_F(SetupDialogTest, LoadFillsEveryPageAndProbesThePorts) {
    Pty free, used;
    usePorts({{1, free.path()}, {2, used.path()}});
    start([](Config& c) {
        c.Mode = "ONLINE";
        serialSystem(c, 1, "", 2);
        c.Systems[1].Kind = "Sextant";
        c.MessagesToAnalyse[1][1] = "GGA";
        c.MessagesToAnalyse[1][2] = "RMC";
        c.MessagesToAnalyse[1][3] = "XYZ";
        c.Comports[2].Baud = 38400;
    });
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "Setup Primary System");
    EXPECT_EQ(d->txtName->text(), "Primary System");
    EXPECT_EQ(d->lblName->text(), "Primary System");
    EXPECT_TRUE(d->optType[0]->isChecked());  // an unknown kind gives GNSS
    EXPECT_TRUE(d->cmdCopyPrimary->isHidden());
    // Ticking the stored RMC during load put GGA aside, with its message.
    EXPECT_FALSE(d->box(SentenceBox::GGA)->isChecked());
    EXPECT_TRUE(d->box(SentenceBox::RMC)->isChecked());
    ASSERT_FALSE(boxTexts().empty());
    EXPECT_EQ(boxTexts().back(),
              "Only one of GGA/GNS/GLL/RMC message, containing position data, can be enabled simultaneously. GGA disabled.");
    EXPECT_EQ(items(d->cmbComPort), QStringList({"COM 1 - free", "COM 2 - current"}));
    EXPECT_EQ(d->cmbComPort->currentText(), "COM 2 - current");
    EXPECT_EQ(shell->config.Comports[3].ProbeStatus, "none");
    EXPECT_TRUE(shell->config.Comports[1].Probed);
    EXPECT_EQ(d->cmbBaudRate->currentText(), "38400");
    EXPECT_EQ(d->cmbParity->currentText(), "none");
    EXPECT_EQ(d->cmbIP->currentText(), "127.0.0.1");
    EXPECT_EQ(d->txtPort->text(), "8040");
    EXPECT_EQ(d->txtUDP_port->text(), "1000");
    EXPECT_TRUE(d->chkOutliers->isChecked());  // 15 after start-up
    EXPECT_EQ(d->cmbOutliers->currentText(), "15.0");
    EXPECT_FALSE(d->chkSvs->isChecked());
    EXPECT_EQ(d->cmbSvs->currentText(), " 0");
    EXPECT_FALSE(d->cmbSvs->isEnabled());
    EXPECT_EQ(d->cmbHdop->currentText(), "0.0");
    EXPECT_FALSE(d->frameCOM->isHidden());
    EXPECT_TRUE(d->frameTCPIP->isHidden());
    for (QPushButton* b : d->findChildren<QPushButton*>()) EXPECT_FALSE(b->autoDefault()) << b->objectName().toStdString();

    // One dialog at a time; Esc closes it without a word.
    open(3);
    EXPECT_EQ(boxTexts().back(), "Only one system setup window at the time can be opened");
    QTest::keyClick(d, Qt::Key_Escape);
    waitFor([this] { return !setup->dialog(); }, 2000);
    EXPECT_FALSE(setup->SetupOpen[1]);
    SetupDialog* d3 = open(3);
    ASSERT_TRUE(d3);
    EXPECT_EQ(d3->windowTitle(), "Setup Secondary SYSTEM 2");
    EXPECT_EQ(d3->txtName->text(), "Secondary System 2");
    EXPECT_FALSE(d3->cmdCopyPrimary->isHidden());
    EXPECT_EQ(items(d3->cmbComPort), QStringList({"COM 1 - free", "COM 2 - busy"}));
    EXPECT_EQ(d3->cmbBaudRate->currentText(), "4800");
}

TEST_F(SetupDialogTest, TheDemoSetupOpensAndConfirmsUnchanged) {
    // The bundled demo setup, read by the program's own setup file reader.
    const std::string demo = home + "demo.ini";
    {
        std::ifstream in(std::string(TIDERUNE_SOURCE_DIR) + "/examples/Tiderune.ini.in");
        std::string text((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(demo) << text;
    }
    startOnRealCore([&demo](Config& c) {
        ProgramCore reader;
        NullNoticeSink quiet;
        reader.LoadSetupFile(demo, quiet, SavedOver::No);
        c = reader.state().config;
    });
    const Config before = shell->config;
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    EXPECT_TRUE(boxTexts().empty());  // the stored sentences break no rule
    EXPECT_EQ(d->txtName->text(), "Demo GNSS");
    EXPECT_EQ(d->SSTab1->tabText(5), "Input file");
    EXPECT_TRUE(d->optReference[2]->isChecked());
    EXPECT_EQ(d->txtRefName->text(), "Horten quay 3");
    EXPECT_EQ(d->txtHgt->text(), "6.300");
    EXPECT_EQ(d->txtHdg->text(), "183.70");
    int ticked = 0;
    for (QCheckBox* b : d->chkSentence) ticked += b->isChecked();
    EXPECT_EQ(ticked, 10);
    boxes.script.answers = {MessageAnswer::Yes};
    d->cmdOk->click();
    EXPECT_FALSE(setup->dialog() && setup->dialog()->isVisible());
    // Confirmed unchanged: the reference keeps every digit and no file is written.
    EXPECT_EQ(shell->config.ReferenceLat[1], before.ReferenceLat[1]);
    EXPECT_EQ(shell->config.ReferenceLon[1], before.ReferenceLon[1]);
    EXPECT_EQ(shell->config.MessagesToAnalyse[1][10], before.MessagesToAnalyse[1][10]);
    EXPECT_EQ(shell->config.Systems[1].OfflineFile, before.Systems[1].OfflineFile);
    EXPECT_FALSE(std::filesystem::exists(home + ReferenceFileName));
}

TEST_F(SetupDialogTest, OfflineShowsTheInputFilePage) {
    start([](Config& c) {
        c.Mode = "OFFLINE";
        c.Systems[1].InUse = true;
        // A name as the file system spells it (UTF-8).
        c.Systems[1].OfflineFile = "/data/m\xC3\xA5ling1.nmea";
    });
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->SSTab1->tabText(5), "Input file");
    EXPECT_FALSE(d->frameLogfile->isHidden());
    EXPECT_TRUE(d->frameCOM->isHidden());
    EXPECT_TRUE(d->optCom[0]->isHidden());
    EXPECT_FALSE(d->chkEmptyBuffer->isEnabled());
    EXPECT_EQ(d->cmbBaudRate->count(), 0);
    EXPECT_EQ(d->cmbComPort->count(), 0);
    EXPECT_EQ(d->lblFileName->text(), QString::fromUtf8("/data/m\xC3\xA5ling1.nmea"));
    fileDialogs.answers.push_back("/data/m\xC3\xA5ling2.nmea");
    d->cmdSelectFile->click();
    EXPECT_EQ(fileDialogs.shown.back().request.initialDir, "/data");
    EXPECT_EQ(d->lblFileName->text(), QString::fromUtf8("/data/m\xC3\xA5ling2.nmea"));
    d->cmdCancel->click();
    EXPECT_EQ(shell->config.Systems[1].OfflineFile, "/data/m\xC3\xA5ling1.nmea");
    // OK keeps the name's bytes, the chosen one's and an older Latin-1 one's alike; both show
    // their letters.
    for (const std::string chosen : {"/data/m\xC3\xA5ling2.nmea", "/data/b\xE5t.nmea"}) {
        d = open(1);
        ASSERT_TRUE(d);
        fileDialogs.answers.push_back(chosen);
        d->cmdSelectFile->click();
        EXPECT_TRUE(d->lblFileName->text().contains(QString::fromUtf8("\xC3\xA5"))) << d->lblFileName->text().toStdString();
        boxes.script.answers = {MessageAnswer::Yes};
        d->cmdOk->click();
        EXPECT_EQ(shell->config.Systems[1].OfflineFile, chosen);
    }
}

TEST_F(SetupDialogTest, FieldsAreCheckedEachTimeTheFocusLeavesThem) {
    usePorts({});
    start([](Config& c) {
        c.Mode = "ONLINE";
        c.Systems[1].InUse = true;
        c.Systems[1].UseTCP = true;
        c.Systems[1].TCPHost = "10.0.0.1";
        c.Systems[1].TCPPort = 8040;
    });
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    d->SSTab1->setCurrentIndex(5);
    const std::size_t before = boxTexts().size();
    d->cmbIP->setEditText("1.2.3");
    tab(d->cmbIP, d->txtPort);
    ASSERT_EQ(boxTexts().size(), before + 1);
    EXPECT_EQ(boxTexts().back(), "1.2.3 is not a valid IP address! Has to be in the range 1.0.0.1 to 255.255.255.255");
    EXPECT_EQ(boxes.script.shown.back().icon, MessageIcon::Critical);
    EXPECT_TRUE(hasFocus(d->cmbIP));
    tab(d->cmbIP, d->txtPort);  // left again, unedited
    EXPECT_EQ(boxTexts().size(), before + 2);
    // Cancel is never held up by a check.
    d->cmbIP->setFocus(Qt::TabFocusReason);
    d->cmdCancel->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxTexts().size(), before + 2);
    d->cmdCancel->click();
    waitFor([this] { return !setup->dialog(); }, 2000);

    d = open(1);
    ASSERT_TRUE(d);
    d->SSTab1->setCurrentIndex(5);
    d->cmbIP->setEditText("10.0.0.2");
    tab(d->cmbIP, d->txtPort);
    EXPECT_EQ(shell->config.IPList[shell->config.IPListCount - 1], "10.0.0.2");  // kept even on Cancel
    d->txtPort->setText("8040abc");
    tab(d->txtPort, d->cmbIP);
    EXPECT_EQ(d->txtPort->text(), " 8040");
    d->txtPort->setText("0");
    tab(d->txtPort, d->cmbIP);
    EXPECT_EQ(boxTexts().back(), "0 is not a valid port number! Has to be an integer value in the range 1-65535");
    d->txtPort->setText("8041");
    d->SSTab1->setCurrentIndex(3);
    d->chkSvs->setChecked(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(d->cmbSvs->isEnabled());
    EXPECT_TRUE(hasFocus(d->cmbSvs));
    d->cmbSvs->setEditText("0");
    tab(d->cmbSvs, d->chkHdop);
    EXPECT_EQ(boxTexts().back(), "No of svs > 3 has to be selected");
    // OK checks again: the refused value stops it before the question.
    const std::size_t boxesBefore = boxTexts().size();
    d->cmdOkClick();
    EXPECT_EQ(boxTexts().size(), boxesBefore + 1);
    EXPECT_EQ(boxTexts().back(), "No of svs > 3 has to be selected");
    EXPECT_EQ(shell->config.Systems[1].TCPPort, 8040);
}

// The port list offers the devices that the settings file names as the dialog opens, one
// that the user added while the program runs included.
TEST_F(SetupDialogTest, ThePortListFollowsTheSettingsFileAsTheUserEditsIt) {
    Pty pty;
    const std::string file = dir.path().toStdString() + "/settings.ini";
    auto writeByHand = [&](const std::string& com3) {
        std::ofstream f(file);
        f << "[SerialDevices]\n";
        for (int p = 1; p <= MaxComPorts; ++p)
            f << "COM" << p << "=" << (p == 3 && !com3.empty() ? com3 : "/dev/tiderune-no-such-port") << "\n";
    };
    writeByHand("");
    QtSettingsStore store(QString::fromStdString(file));
    settingsStore = &store;
    start([](Config& c) { c.Mode = "ONLINE"; });
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    EXPECT_EQ(items(d->cmbComPort).join('|'), "");
    QTest::keyClick(d, Qt::Key_Escape);
    ASSERT_TRUE(waitFor([this] { return !setup->dialog(); }, 2000));
    writeByHand(pty.path());
    d = open(1);
    ASSERT_TRUE(d);
    EXPECT_EQ(items(d->cmbComPort).join('|'), "COM 3 - free");
    TearDown();
}

TEST_F(SetupDialogTest, OkMovesASerialSystemToTcp) {
    Pty pty;
    usePorts({{1, pty.path()}});
    start([](Config& c) {
        c.Mode = "ONLINE";
        serialSystem(c, 1, "GPS", 1);
    });
    pty.send(sentence("GPZDA,120000.00,08,12,2026,00,00"));
    ASSERT_TRUE(waitFor([this] { return lines().size() == 1; }));
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    ShowNMEAWindow(*shell, 1);
    NMEAMonitorWindow* monitor = monitorWindow(*shell, 1);
    ASSERT_TRUE(monitor);
    auto panels = [monitor] {
        QStringList p;
        for (int i = 1; i <= 5; ++i) p << monitor->panelText(i);
        return p.join('|');
    };

    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    d->optCom[1]->setChecked(true);
    EXPECT_FALSE(d->frameTCPIP->isHidden());
    EXPECT_TRUE(d->frameCOM->isHidden());
    EXPECT_TRUE(d->cmdComInfo->isHidden());
    d->txtPort->setText(QString::number(server.serverPort()));
    // A name typed with the code page's letters is stored as its bytes and shown as typed.
    d->txtName->setText(QString::fromUtf8("GPS over TCP \xE2\x80\x98\xE2\x82\xAC\xE2\x80\x99"));
    boxes.script.answers = {MessageAnswer::Yes};
    d->cmdOk->click();
    EXPECT_EQ(boxTexts().back().rfind("Are you sure? All statistics and graphics will be reset.", 0), 0u);
    EXPECT_FALSE(setup->dialog() && setup->dialog()->isVisible());
    EXPECT_FALSE(window->sources().serial(1).isOpen());
    EXPECT_EQ(shell->config.Comports[1].AssignedSystem, 0);
    EXPECT_EQ(shell->config.Systems[1].Name, "GPS over TCP \x91\x80\x92");
    EXPECT_EQ(window->action("mnuSetupPrimarySystem")->text(),
              QString::fromUtf8("&Primary System         - GPS over TCP \xE2\x80\x98\xE2\x82\xAC\xE2\x80\x99"));

    ASSERT_TRUE(waitFor([&server] { return server.hasPendingConnections() || server.waitForNewConnection(10); }));
    QTcpSocket* peer = server.nextPendingConnection();
    ASSERT_TRUE(peer);
    pty.send(sentence("GPZDA,120001.00,08,12,2026,00,00"));
    const std::string tcpLine = sentence("GPZDA,120002.00,08,12,2026,00,00");
    peer->write(tcpLine.data(), static_cast<qint64>(tcpLine.size()));
    ASSERT_TRUE(waitFor([this] { return lines().size() >= 2; }));
    QTest::qWait(100);
    const auto got = lines();
    ASSERT_EQ(got.size(), 2u);  // the line on the old port never arrives
    EXPECT_NE(got[1].find("120002"), std::string::npos);
    // The open monitor describes the new source, its state polled in OK's words.
    const QString port = " " + QString::number(server.serverPort());
    EXPECT_TRUE(waitFor([&] { return monitor->panelText(4) == "State : Connected"; }));
    EXPECT_EQ(panels(), "TCP/IP|IP :127.0.0.1|Port :" + port + "|State : Connected|");

    // And on to UDP.
    QUdpSocket probe;
    ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
    const quint16 udpPort = probe.localPort();
    probe.close();
    d = open(1);
    ASSERT_TRUE(d);
    d->optCom[2]->setChecked(true);
    d->txtUDP_port->setText(QString::number(udpPort));
    boxes.script.answers = {MessageAnswer::Yes};
    d->cmdOk->click();
    EXPECT_EQ(panels(), "UDP||Port : " + QString::number(udpPort) + "||");
    EXPECT_FALSE(monitor->stateTimer().isActive());  // no TCP state to poll any more
}

TEST_F(SetupDialogTest, ReferenceKeepsItsPrecisionAndTheFileOnlyTakesEdits) {
    const double lat = 1.0370524758536123;
    start([lat](Config& c) {
        c.Mode = "OFFLINE";
        c.Systems[1].InUse = true;
        c.ReferenceMode[1] = 2;
        c.ReferenceName[1] = "Quay";
        c.ReferenceLat[1] = lat;
        c.ReferenceHeight[1] = 6.3f;
    });
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    d->SSTab1->setCurrentIndex(2);
    tab(d->txtLat, d->txtLon);
    tab(d->txtHgt, d->txtHdg);
    EXPECT_FALSE(d->refChanged());
    boxes.script.answers = {MessageAnswer::Yes};
    d->cmdOkClick();
    EXPECT_EQ(shell->config.ReferenceLat[1], lat);
    const std::string file = home + ReferenceFileName;
    EXPECT_FALSE(std::filesystem::exists(file));

    d = open(1);
    ASSERT_TRUE(d);
    d->SSTab1->setCurrentIndex(2);
    d->txtHgt->setText("6,301");
    tab(d->txtHgt, d->txtHdg);
    EXPECT_EQ(d->txtHgt->text(), "6.301");
    EXPECT_TRUE(d->refChanged());
    d->optReference[0]->setChecked(true);
    EXPECT_FALSE(d->txtHgt->isEnabled());
    EXPECT_EQ(d->txtHgt->text(), "6.301");
    boxes.script.answers = {MessageAnswer::Yes};
    d->cmdOkClick();
    const auto records = readReferenceRecords(file);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], (ReferenceRecord{"Quay", lat, 0, 6.301f}));
    EXPECT_EQ(shell->config.ReferenceMode[1], 0);

    d = open(1);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->cmbRefPositions->count(), 1);
    EXPECT_EQ(d->cmbRefPositions->currentIndex(), -1);
    d->txtHgt->setText("0");
    d->cmbRefPositions->setCurrentIndex(0);
    emit d->cmbRefPositions->activated(0);
    EXPECT_EQ(d->txtHgt->text(), "6.301");
    EXPECT_FALSE(d->refChanged());  // a stored position is already in the file
    d->cmdCancel->click();
    waitFor([this] { return !setup->dialog(); }, 2000);

    // Systems 2-4 copy the primary reference, heading, pitch and roll as "000.00".
    shell->config.ReferencePitch[1] = -1.5f;
    setup->mnuSetupSystemClick(3);  // its menu entry is disabled in OFFLINE mode
    SetupDialog* d3 = setup->dialog();
    ASSERT_TRUE(d3);
    EXPECT_FALSE(d3->cmdCopyPrimary->isEnabled());  // only for a true reference
    d3->chkEnabled->setChecked(true);
    d3->optReference[2]->setChecked(true);
    d3->cmdCopyPrimary->click();
    EXPECT_EQ(d3->txtRefName->text(), "Quay");
    EXPECT_EQ(d3->txtHgt->text(), "6.301");
    EXPECT_EQ(d3->txtPitch->text(), "-001.50");
    EXPECT_EQ(d3->values().latExact, lat);
    d3->cmdCancel->click();
    waitFor([this] { return !setup->dialog(); }, 2000);

    d = open(1);
    ASSERT_TRUE(d);
    d->txtRefName->setText("Quay with a \"quote\"");
    d->cmdOkClick();
    EXPECT_EQ(boxTexts().back(), UnstorableReferenceNameMessage);
    EXPECT_TRUE(setup->dialog());
}

TEST_F(SetupDialogTest, AReferenceFileThatIsAFolderLeavesTheListEmptyWithItsMessage) {
    start([](Config&) {});
    const std::string file = home + ReferenceFileName;
    ASSERT_TRUE(std::filesystem::create_directory(file));
    SetupDialog* d = open(1);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->cmbRefPositions->count(), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"The file " + file + " could not be read."});
    d->cmdCancel->click();
}

TEST_F(SetupDialogTest, LatLonFormatDialog) {
    start([](Config& c) {
        c.Mode = "OFFLINE";
        c.LatLonFormatDMS = true;
        c.LatLonDecimals = 2;
        c.ReferenceLat[1] = (59 + 25.5 / 60) * 0.017453292519944444;
    });
    AppSetupSession appSession(*window, nullptr);
    SetupWindows windows(*shell, appSession, window);
    windows.mnuOptionLatLonFormatClick();
    GeoFormatDialog* g = windows.geoFormat();
    ASSERT_TRUE(g);
    EXPECT_TRUE(g->optFormat[1]->isChecked());
    EXPECT_EQ(g->cmbDecimals->currentText(), "2");
    EXPECT_EQ(g->lblExample->text(), QString::fromLatin1("59\xB0 25' 30.00\" N"));
    g->optFormat[0]->setChecked(true);
    EXPECT_EQ(g->lblExample->text(), QString::fromLatin1("59\xB0 25.5000' N"));
    EXPECT_EQ(g->cmbDecimals->currentText(), "2");
    g->cmbDecimals->setCurrentIndex(0);
    g->cmdOk->click();
    EXPECT_FALSE(shell->config.LatLonFormatDMS);
    EXPECT_EQ(shell->config.LatLonDecimals, 0);
    windows.mnuOptionLatLonFormatClick();
    ASSERT_TRUE(windows.geoFormat());
    windows.geoFormat()->optFormat[1]->setChecked(true);
    windows.geoFormat()->cmdCancel->click();
    EXPECT_FALSE(shell->config.LatLonFormatDMS);
}

}  // namespace
}  // namespace tiderune::test
