#include "app/setup_session.h"

#include <QAction>

#include "app/data_sources.h"
#include "app/main_window.h"
#include "app/reset_family.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

namespace {
WindowKind kindOfWord(int word) {
    switch (word) {
    case VisibleForms::Statistics: return WindowKind::Statistics;
    case VisibleForms::SNRStatistics: return WindowKind::StatisticsSNR;
    case VisibleForms::NMEAMonitor: return WindowKind::NMEA;
    default: return WindowKind::Numerics;
    }
}
}  // namespace

AppSetupSession::AppSetupSession(MainWindow& window, std::function<long(int)> ignoredCount)
    : window_(window), ignoredCount_(std::move(ignoredCount)) {}

MessageAnswer AppSetupSession::ask(const MessageRequest& r) {
    return window_.shell().ask(r.text, r.buttons, r.defaultAnswer, r.icon);
}
NoticeSink& AppSetupSession::notices() { return window_.shell().gate; }
std::string AppSetupSession::appFolder() { return window_.shell().appFolder(); }

bool AppSetupSession::isSerialOpen(int port) { return window_.sources().serial(port).isOpen(); }
void AppSetupSession::closeSerial(int port) { window_.sources().serial(port).close(); }
void AppSetupSession::setSerialSettings(int port, const std::string& s) { window_.sources().serial(port).setSettings(s); }
void AppSetupSession::openSerial(int port) { window_.sources().openSerial(port); }
SocketState AppSetupSession::tcpState(int s) { return window_.sources().tcp(s).state(); }
void AppSetupSession::closeTcp(int s) { window_.sources().tcp(s).close(); }
void AppSetupSession::connectTcp(int s, const std::string& host, int port) { window_.sources().tcp(s).connectTo(host, port); }
SocketState AppSetupSession::udpState(int s) { return window_.sources().udp(s).state(); }
void AppSetupSession::closeUdp(int s) { window_.sources().udp(s).close(); }
void AppSetupSession::bindUdp(int s, int port) { window_.sources().udp(s).bind(port); }

void AppSetupSession::setAnalysedMessageTypes(int s) { window_.shell().core.SetAnalysedMessageTypes(s); }

void AppSetupSession::unloadWindow(int word, int s) { window_.shell().windows.slot(kindOfWord(word), s).unload(); }

void AppSetupSession::setPanel(int panel, bool shown, const std::string& text) {
    window_.setPanelShown(panel, shown);
    if (shown) window_.setPanelText(panel, toQt(text));
}

long AppSetupSession::checksumRejected(int s) { return window_.shell().coreState.ChecksumRejected[s]; }
long AppSetupSession::ignoredCount(int s) { return ignoredCount_ ? ignoredCount_(s) : 0; }

void AppSetupSession::reshowOfflineStatus() {
    window_.unloadOfflineStatus();
    window_.showOfflineStatus();
}

void AppSetupSession::resetAfterSetup() {
    Shell& shell = window_.shell();
    shell.state.StartupDone = false;
    window_.resets().ResetAll();
    shell.state.StartupDone = true;
    window_.resets().ResetGraphics();
}

void AppSetupSession::reloadWindow(int word, int s) {
    Shell& shell = window_.shell();
    shell.windows.slot(kindOfWord(word), s).unload();
    if (word == VisibleForms::Statistics)
        ShowStatisticsWindow(shell, s);
    else if (word == VisibleForms::SNRStatistics)
        ShowStatisticsSNRWindow(shell, s);
    else
        ShowNumericsWindow(shell, s);
}

void AppSetupSession::refreshMonitorSource(int s) {
    WindowSlot& slot = window_.shell().windows.slot(WindowKind::NMEA, s);
    if (ChildWindow* monitor = slot.window()) monitor->sourceChanged();
}

void AppSetupSession::updateSetupMenu(int s) {
    const SystemSetup& sys = window_.shell().config.Systems[s];
    QAction* item = nullptr;
    if (s == 1) {
        item = window_.action("mnuSetupPrimarySystem");
    } else {
        for (QAction* a : window_.findChildren<QAction*>("mnuSetupSystem"))
            if (a->property("index").toInt() == s) item = a;
    }
    if (!item) return;
    const int keep = s == 1 ? 26 : 22;
    item->setChecked(sys.InUse);
    item->setText(item->text().left(keep) + (sys.InUse ? toQt(sys.Name) : QString("not defined")));
}

}  // namespace tiderune
