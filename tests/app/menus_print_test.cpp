// The menu tree, File Print with the session-information editor, the about box and File
// Open, driven as a user would through the menus, the editor's keys and scripted answers.
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/about_box.h"
#include "app/data_sources.h"
#include "app/logic/session_report.h"
#include "app/offline_status_window.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "core/setup_file.h"
#include "app/session_info_editor.h"
#include "app/session_print.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MenusAndPrint : public ShellTest {
protected:
    void startWith(std::function<void(Config&)> fill) {
        haveSetupFile(std::move(fill));
        start();
        print = &program->print();
        core.calls.clear();
        devices.log.calls.clear();
        boxes.shown.clear();
    }
    std::vector<std::string> reports() const {
        std::vector<std::string> names;
        if (fs::is_directory(home + "Reports"))
            for (const auto& e : fs::directory_iterator(home + "Reports")) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    SessionPrint* print = nullptr;
};

// Every entry of the menu bar in order: name, caption, shortcut and state.
TEST_F(MenusAndPrint, MenuTreeHoldsEveryEntryWithItsCaptionShortcutAndState) {
    shell = std::make_unique<Shell>(core, ShellServices{boxes, settings, fileDialogs, devices, clock, home});
    program = std::make_unique<Program>(*shell, nullptr);
    window = &program->window();
    std::vector<std::string> tree;
    for (QAction* top : window->menuBar()->actions()) {
        QMenu* menu = top->menu();
        tree.push_back(fromQt(menu->objectName() + " " + menu->title()));
        for (QAction* a : menu->actions()) {
            std::string e = "  " + fromQt(a->objectName()) + " " + (a->isSeparator() ? "-" : fromQt(a->text()));
            if (!a->shortcut().isEmpty()) e += " [" + fromQt(a->shortcut().toString()) + "]";
            // Qt keeps a hidden entry disabled, whatever it was set to.
            if (!a->isVisible())
                e += " hidden";
            else if (!a->isEnabled())
                e += " disabled";
            tree.push_back(e);
        }
    }
    const std::vector<std::string> expected = {
        "mnuFile &File",
        "  mnuFileNew &New [Ctrl+N] hidden",
        "  mnuFileOpen &Open [Ctrl+O]",
        "  mnuFileBar1 -",
        "  mnuFileSave &Save [Ctrl+S]",
        "  mnuFileSaveAs Save &As...",
        "  mnuFileBar3 -",
        "  mnuFilePageSetup Page Set&up... disabled",
        "  mnuFilePrintPreview Print Pre&view disabled",
        "  mnuFilePrint &Print... [Ctrl+P]",
        "  mnuFileBar5 -",
        "  mnuFileMRU  hidden",
        "  mnuFileMRU  hidden",
        "  mnuFileMRU  hidden",
        "  mnuFileMRU  hidden",
        "  mnuFileBar6 - hidden",
        "  mnuFileExit E&xit",
        "mnuMode &Mode",
        "  mnuModeOnline ONLINE",
        "  mnuModeOffline OFFLINE",
        "mnuSetup &Setup",
        "  mnuOptionsSessionInformation Session Information disabled",
        "  mnuSepBar0 -",
        "  mnuSetupPrimarySystem &Primary System         - not defined",
        "  mnuSetupBar1 -",
        "  mnuSetupSystem Secondary System &1 - not defined",
        "  mnuSetupSystem Secondary System &2 - not defined",
        "  mnuSetupSystem Secondary System &3 - not defined",
        "mnuWindow &Window",
        "  mnuWindowNewWindow &New Window",
        "  mnuWindowBar1 -",
        "  mnuWindowCascade &Cascade",
        "  mnuWindowTileHorizontal Tile &Horizontal",
        "  mnuWindowTileVertical Tile &Vertical",
        "  mnuWindowArrangeIcons &Arrange Icons",
        "mnuOptions &Options",
        "  mnuOptionLatLonFormat Lat/Lon format",
        "mnuHelp &Help",
        "  mnuHelpContents &Contents disabled",
        "  mnuHelpSearch &Search For Help On... disabled",
        "  mnuHelpBar1 -",
        "  mnuHelpAbout &About Tiderune...",
    };
    EXPECT_EQ(tree, expected);
}

// Print with a session text: Yes opens the editor, Print waits for it while it is off, the
// text typed is wrapped at 60 and kept by OK, then one report per system in use; with none in
// use, Print says so and asks nothing.
TEST_F(MenusAndPrint, PrintEditsTheSessionTextThenWritesTheReportOfEverySystemInUse) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        useSystem(c, 3, "Third", {SentenceType::GGA});
        c.SessionInfo = "Trial";
    });
    bool sawWait = false;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(print->documentOpen());
        sawWait = !action("mnuFilePrint")->isEnabled();
        QPlainTextEdit* box = print->editor()->textBox();
        EXPECT_EQ(box->toPlainText(), "Trial");
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QString(" ") + QString(60, 'x'));  // the line's 61st character
        EXPECT_EQ(box->toPlainText(), "Trial " + QString(54, 'x') + "\n" + QString(6, 'x'));
        EXPECT_EQ(box->textCursor().position(), box->toPlainText().size());
        QTest::mouseClick(print->editor()->okButton(), Qt::LeftButton);
    });
    action("mnuFilePrint")->trigger();

    EXPECT_TRUE(sawWait);
    EXPECT_TRUE(action("mnuFilePrint")->isEnabled());
    EXPECT_FALSE(print->documentOpen());
    const std::string info = "Trial " + std::string(54, 'x') + "\r\n" + std::string(6, 'x');
    EXPECT_EQ(shell->config.SessionInfo, info);
    const std::string folder = home + "Reports/";
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "Session info : \r\nTrial\r\n Do you wan't to edit?",
                              "Statistics summary printed to text file : " + folder + "20261208-1432-Prim-GPS1.txt",
                              "Statistics summary printed to text file : " + folder + "20261208-1432-Sec2-Third.txt",
                          }));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(reports(), (std::vector<std::string>{"20261208-1432-Prim-GPS1.txt", "20261208-1432-Sec2-Third.txt"}));
    const std::string written = readFile(folder + "20261208-1432-Prim-GPS1.txt");
    EXPECT_NE(written.find("\r\n" + info + "\r\n"), std::string::npos);

    // Cancel keeps the text; the reports are written all the same.
    QTimer::singleShot(0, [&] {
        QTest::keyClicks(print->editor()->textBox(), "more");
        QTest::mouseClick(print->editor()->cancelButton(), Qt::LeftButton);
    });
    action("mnuFilePrint")->trigger();
    EXPECT_EQ(shell->config.SessionInfo, info);

    // With no system in use there is nothing to print: that is said at once, without the
    // question about the session text, and no report is written.
    shell->config.Systems[1].InUse = shell->config.Systems[3].InUse = false;
    const std::vector<std::string> before = reports();
    boxes.shown.clear();
    boxes.answers = {MessageAnswer::No};  // should the question come, not to wait for the editor
    action("mnuFilePrint")->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"No system in use : no statistics summary printed. Go to Setup first !"});
    EXPECT_FALSE(print->documentOpen());
    EXPECT_EQ(reports(), before);
}

TEST_F(MenusAndPrint, ClosingTheProgramWhileTheEditorWaitsEndsTheWaitWithoutReports) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.SessionInfo = "Trial";
    });
    QTimer::singleShot(0, [&] { EXPECT_TRUE(exitProgram()); });
    action("mnuFilePrint")->trigger();
    EXPECT_FALSE(print->documentOpen());
    EXPECT_TRUE(reports().empty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MenusAndPrint, AboutBoxShowsTheVersionAndOpensItsLinks) {
    startWith([](Config&) {});
    std::vector<QUrl> opened;
    AboutBox about(*shell, window, [&](const QUrl& u) { opened.push_back(u); });
    EXPECT_EQ(about.windowTitle(), "About Tiderune");
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version v 3.02a - 26 Sep 2019 ");
    QTest::mouseClick(about.sysInfoButton(), Qt::LeftButton);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"System Information Is Unavailable At This Time"});
    for (const char* name : {"lblHyperlink", "lblSendMail"}) {
        QLabel* l = about.findChild<QLabel*>(name);
        const QString href = l->text().section('"', 1, 1);
        emit l->linkActivated(href);
    }
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].toString(), AboutBox::WebAddress);
    EXPECT_EQ(opened[1].toString(), QString("mailto:") + AboutBox::MailAddress);
}

// File Open refuses what is not a setup file before anything changes; a setup that loads
// closes every system's windows and sources first, and the sources opened afterwards are
// those of the systems the new setup puts in use.
TEST_F(MenusAndPrint, FileOpenRefusesOtherFilesAndLeavesNoWindowOrSourceBehind) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.Systems[1].UseTCP = true;
        c.Systems[1].TCPHost = "10.0.0.1";
        c.Systems[1].TCPPort = 8040;
        useSystem(c, 2, "Gyro", {});
    });
    ShowNMEAWindow(*shell, 1);
    ShowSkyplotWindow(*shell, 3);  // a system not in use
    ShowAISTargetsWindow(*shell, 2);
    devices.log.calls.clear();

    const std::string recording = home + "survey.nmea";
    std::ofstream(recording) << "$GPGGA,120000,5200.0000,N,00400.0000,E,1,08,0.9,10.0,M,46.9,M,,*4B\r\n";
    fileDialogs.answers = {recording};
    action("mnuFileOpen")->trigger();
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"File " + recording + " is not a setup file. Nothing was changed."});
    EXPECT_TRUE(core.calls.empty());
    EXPECT_TRUE(devices.log.calls.empty());
    EXPECT_TRUE(shell->windows.slot(WindowKind::NMEA, 1).isVisible());

    // A damaged file: the defaults put no system in use.
    fileDialogs.answers = {std::string(home + "Tiderune.ini")};
    core.setupFile = [](Config& c) { LoadDefaultSetup(c); c.Systems[1].InUse = c.Systems[2].InUse = false; };
    action("mnuFileOpen")->trigger();
    for (WindowKind k : {WindowKind::NMEA, WindowKind::Skyplot, WindowKind::AISTargets})
        for (int s = 1; s <= MaxSystems; ++s) EXPECT_FALSE(shell->windows.slot(k, s).isLoaded());
    EXPECT_EQ(devices.log.calls, (std::vector<std::string>{"COM2 close", "TCP1 close"}));
    EXPECT_EQ(window->sources().tcp(1).state(), SocketState::Closed);
}

TEST_F(MenusAndPrint, FileOpenInOfflineModeNamesTheNewFileInTheStatusWindow) {
    startWith([](Config& c) {
        useSystem(c, 1, "GPS1", {});
        c.Mode = "OFFLINE";
        c.Systems[1].OfflineFile = "/data/old/caf\xC3\xA9.nmea";
    });
    ASSERT_NE(window->offlineStatusWindow(), nullptr);
    EXPECT_EQ(window->offlineStatusWindow()->lblFileName->text(), QString::fromUtf8("/data/old/caf\xC3\xA9.nmea"));
    // An older setup file's Latin-1 name shows the same letter.
    fileDialogs.answers = {std::string(home + "Tiderune.ini")};
    core.setupFile = [](Config& c) { c.Systems[1].OfflineFile = "/data/new/caf\xE9.nmea"; };
    action("mnuFileOpen")->trigger();
    EXPECT_EQ(window->offlineStatusWindow()->lblFileName->text(), QString::fromUtf8("/data/new/caf\xC3\xA9.nmea"));
}

// A damaged setup file loads the defaults. Only the program's own Tiderune.ini is saved over
// (at exit, by File Save), so only that one, at the start or by whatever name File Open opens
// it, is kept beside itself first; a damaged file opened from elsewhere is left alone, and
// the user's good Tiderune.ini is kept beside itself before the exit saves the defaults.
TEST_F(MenusAndPrint, FileOpenKeepsACopyOnlyOfADamagedFileItWillSaveOver) {
    ProgramCore real;
    realCore = &real;
    fs::create_directories(home + "sub");
    Config good;
    LoadDefaultSetup(good);
    const std::string text = SetupFileText(good);
    const std::string damaged = text.substr(0, text.find("\"REM Comports\"") + 20);
    std::ofstream(home + "Tiderune.ini", std::ios::binary) << damaged;
    std::ofstream(home + "other.ini", std::ios::binary) << damaged;
    // The start loads the program's own file, which the exit saves over.
    start();
    const std::string Damage = "Input past end of file - Error in Setup file. Default data loaded";
    EXPECT_EQ(boxTexts(), std::vector<std::string>{Damage + "\n\nThe file as it was is kept as " + home +
                                                   "Tiderune.ini.bak"});
    EXPECT_EQ(readFile(home + "Tiderune.ini.bak"), damaged);
    std::ofstream(home + "Tiderune.ini", std::ios::binary) << text;

    struct Case {
        std::string opened;  // as the file dialog gives it
        std::string copy;    // the copy kept, or none
    };
    const std::string InUse = "\n\nThe defaults are now in use. Before they are saved over Tiderune.ini, that "
                              "file is kept beside itself.";
    const Case cases[] = {
        {home + "other.ini", ""},
        {home + "Tiderune.ini", home + "Tiderune.ini.bak.2"},  // never over a copy
        {home + "sub/../Tiderune.ini", home + "sub/../Tiderune.ini.bak.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened);
        std::ofstream(home + "Tiderune.ini", std::ios::binary) << damaged;
        boxes.shown.clear();
        fileDialogs.answers = {c.opened};
        action("mnuFileOpen")->trigger();
        EXPECT_EQ(boxTexts(), std::vector<std::string>{c.copy.empty() ? Damage + InUse
                                                                      : Damage + "\n\nThe file as it was is kept as " +
                                                                            c.copy});
        if (!c.copy.empty()) {
            EXPECT_EQ(readFile(c.copy), damaged);
        }
        std::ofstream(home + "Tiderune.ini", std::ios::binary) << text;
    }
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(home))
        if (e.is_regular_file()) files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Tiderune.ini", "Tiderune.ini.bak", "Tiderune.ini.bak.2",
                                              "Tiderune.ini.bak.3", "other.ini"}));
    EXPECT_EQ(readFile(home + "other.ini"), damaged);

    // The exit after a failed open of another file keeps the user's file as it was.
    fileDialogs.answers = {home + "other.ini"};
    action("mnuFileOpen")->trigger();
    boxes.shown.clear();
    EXPECT_TRUE(exitProgram());
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(fs::exists(home + "Tiderune.ini.bak.4"));
    EXPECT_EQ(readFile(home + "Tiderune.ini.bak.4"), text);
    EXPECT_EQ(readFile(home + "Tiderune.ini"), SetupFileText(real.state().config));
}

}  // namespace
}  // namespace tiderune::test
