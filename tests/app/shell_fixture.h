#pragma once
// The whole program on scripted parts: message boxes answered from a queue, settings in
// memory, fake source devices that record what was asked of them, and a core whose setup
// file is a function of the test.
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program.h"
#include "app/program_core.h"
#include "core/errors.h"
#include "platform/clock.h"
#include "platform/devices.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"

namespace tiderune::test {

// What the fake devices were asked, in order: "COM3 open", "TCP2 connect 10.0.0.1:8040", ...
struct DeviceLog {
    std::vector<std::string> calls;
    // Errors to raise, by "COM3 open", "COM3 settings", "UDP2 bind".
    std::map<std::string, RuntimeError> failures;
    void call(const std::string& what) {
        calls.push_back(what);
        auto it = failures.find(what);
        if (it != failures.end()) throw it->second;
    }
};

class FakeSerialPort final : public SerialPort {
public:
    FakeSerialPort(DeviceLog& log, int com) : log_(log), com_(com) {}
    int comNumber() const override { return com_; }
    std::string devicePath() const override { return "/dev/fake" + std::to_string(com_); }
    void setDevicePath(const std::string&) override {}
    void setSettings(const std::string& text) override {
        log_.call(name() + " settings");
        settings_ = text;
    }
    std::string settings() const override { return settings_; }
    void open() override {
        if (open_) throw RuntimeError(8005, "Port already open");
        log_.call(name() + " open");
        open_ = true;
    }
    void close() override {
        log_.call(name() + " close");
        open_ = false;
    }
    bool isOpen() const override { return open_; }

private:
    std::string name() const { return "COM" + std::to_string(com_); }
    DeviceLog& log_;
    int com_;
    bool open_ = false;
    std::string settings_;
};

class FakeTcpClient final : public TcpClient {
public:
    FakeTcpClient(DeviceLog& log, int n) : log_(log), n_(n) {}
    void connectTo(const std::string& host, int port) override {
        log_.call("TCP" + std::to_string(n_) + " connect " + host + ":" + std::to_string(port));
        state_ = SocketState::Connecting;
    }
    void close() override {
        log_.call("TCP" + std::to_string(n_) + " close");
        state_ = SocketState::Closed;
    }
    SocketState state() const override { return state_; }
    std::string remoteHost() const override { return {}; }
    int remotePort() const override { return 0; }

private:
    DeviceLog& log_;
    int n_;
    SocketState state_ = SocketState::Closed;
};

class FakeUdpListener final : public UdpListener {
public:
    FakeUdpListener(DeviceLog& log, int n) : log_(log), n_(n) {}
    void bind(int port) override {
        log_.call("UDP" + std::to_string(n_) + " bind " + std::to_string(port));
        state_ = SocketState::Open;
        port_ = port;
    }
    void close() override {
        log_.call("UDP" + std::to_string(n_) + " close");
        state_ = SocketState::Closed;
    }
    SocketState state() const override { return state_; }
    int localPort() const override { return port_; }

private:
    DeviceLog& log_;
    int n_;
    int port_ = 0;
    SocketState state_ = SocketState::Closed;
};

class FakeTimer final : public Timer {
public:
    void setInterval(int ms) override { ms_ = ms; }
    int interval() const override { return ms_; }
    void start() override { active_ = true; }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }

private:
    int ms_ = 0;
    bool active_ = false;
};

class FakeDevices final : public DeviceFactory {
public:
    std::unique_ptr<SerialPort> makeSerialPort(int com, const std::string&) override {
        return std::make_unique<FakeSerialPort>(log, com);
    }
    std::unique_ptr<TcpClient> makeTcpClient() override { return std::make_unique<FakeTcpClient>(log, ++tcp_); }
    std::unique_ptr<UdpListener> makeUdpListener() override {
        return std::make_unique<FakeUdpListener>(log, ++udp_);
    }
    std::unique_ptr<Timer> makeTimer() override { return std::make_unique<FakeTimer>(); }
    DeviceLog log;

private:
    int tcp_ = 0;
    int udp_ = 0;
};

// The core with a setup file that the test describes: `setupFile` fills the tables when the
// file is loaded; a save writes a marker file and records what the tables held then.
class TestCore final : public SessionCore {
public:
    CoreState& state() override { return *state_; }
    void LoadDefaultSetup() override {
        calls.push_back("LoadDefaultSetup");
        tiderune::LoadDefaultSetup(state_->config);
    }
    SetupLoad LoadSetupFile(const std::string& path, NoticeSink&, SavedOver) override {
        calls.push_back("LoadSetupFile " + path);
        if (setupFile) setupFile(state_->config);
        return {};
    }
    void SaveSetupFile(const std::string& path) override;
    void SetAnalysedMessageTypes(int s) override {
        calls.push_back("SetAnalysedMessageTypes " + std::to_string(s));
        // Kept as the test set them: the chosen lists are not what these tests are about.
    }
    void ResetSystemStatistics(int s) override { calls.push_back("ResetSystemStatistics " + std::to_string(s)); }
    void InitAISTables(NoticeSink&) override { calls.push_back("InitAISTables"); }
    void ProcessSentence(CoreSink& sink, int s, std::string_view line) override {
        calls.push_back("ProcessSentence " + std::to_string(s) + " " + std::string(line));
        if (onLine) onLine(sink, s, line);
    }
    std::function<void(CoreSink&, int, std::string_view)> onLine;

    std::function<void(Config&)> setupFile;
    bool failSave = false;
    std::vector<std::string> calls;
    // What each save saw: the numerics word of system 1 and whether the program was closing.
    struct Saved {
        std::string path;
        bool numericsOpen;
    };
    std::vector<Saved> saves;

private:
    std::unique_ptr<CoreState> state_ = std::make_unique<CoreState>();
};

// Puts a system in use on a serial port with a few analysed types.
void useSystem(Config& c, int s, const std::string& name, std::initializer_list<SentenceType> types);

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the setup file marker, so that start-up loads it through core.setupFile.
    void haveSetupFile(std::function<void(Config&)> fill);
    // Makes the program and runs the start-up.
    void start();
    // Starts the program on `real` (the real setup file and statistics) with an empty setup file.
    void startOnRealCore(SessionCore& real) {
        realCore = &real;
        haveSetupFile({});
        start();
    }
    // Closes the main window as the user would; true when it closed.
    bool exitProgram();

    QAction* action(const char* name) { return window->action(name); }
    QAction* onlineButton(const char* key) { return MainWindow::button(window->onlineToolBar(), key); }
    std::vector<std::string> boxTexts() const;
    int windowsLoaded(WindowKind kind, int system) const;

    QTemporaryDir dir;
    std::string home;
    ScriptedMessageBoxes boxes;
    MemorySettingsStore settings;
    ScriptedFileDialogs fileDialogs;
    FakeDevices devices;
    DeviceFactory* deviceFactory = &devices;  // what the program uses
    FixedClock clock;
    TestCore core;
    // When set, the program runs on this core instead (the real setup file and statistics).
    SessionCore* realCore = nullptr;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Program> program;
    MainWindow* window = nullptr;  // the program's
    // Times No at the error question would have ended the program.
    int programEnded = 0;
};

}  // namespace tiderune::test
