#pragma once
// What the setup dialog's OK changes in the running session, on the main window: its
// sources, status panels, windows, offline status window and Setup menu.
#include <functional>

#include "setup/logic/setup_apply.h"

namespace tiderune {

class MainWindow;

class AppSetupSession final : public SetupSession {
public:
    // `ignoredCount` gives a system's count of ignored lines (status panel system + 8).
    AppSetupSession(MainWindow& window, std::function<long(int)> ignoredCount);

    MessageAnswer ask(const MessageRequest& request) override;
    NoticeSink& notices() override;
    std::string appFolder() override;
    bool isSerialOpen(int port) override;
    void closeSerial(int port) override;
    void setSerialSettings(int port, const std::string& settings) override;
    void openSerial(int port) override;
    SocketState tcpState(int system) override;
    void closeTcp(int system) override;
    void connectTcp(int system, const std::string& host, int port) override;
    SocketState udpState(int system) override;
    void closeUdp(int system) override;
    void bindUdp(int system, int port) override;
    void setAnalysedMessageTypes(int system) override;
    void unloadWindow(int word, int system) override;
    void setPanel(int panel, bool shown, const std::string& text) override;
    long checksumRejected(int system) override;
    long ignoredCount(int system) override;
    void reshowOfflineStatus() override;
    void resetAfterSetup() override;
    void reloadWindow(int word, int system) override;
    void refreshMonitorSource(int system) override;
    void updateSetupMenu(int system) override;

private:
    MainWindow& window_;
    std::function<long(int)> ignoredCount_;
};

}  // namespace tiderune
