#pragma once
// The whole program on real devices: serial ports on pseudo-terminals, sockets on
// 127.0.0.1, files in a temporary program folder, a fixed clock, and message boxes answered
// from a script.
#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/live_sources.h"
#include "app/logging_control.h"
#include "app/program.h"
#include "app/program_core.h"
#include "platform/qt/qt_devices.h"
#include "shell_fixture.h"

namespace tiderune::test {

// Scripted boxes; `whileOpen` runs once while the next box is open, as the time a person
// takes to read a real box lets events arrive.
class LiveBoxes final : public MessageBoxes {
public:
    MessageAnswer show(const MessageRequest& r) override {
        if (whileOpen) {
            auto f = std::move(whileOpen);
            whileOpen = nullptr;
            f(r);
        }
        return script.show(r);
    }
    std::function<void(const MessageRequest&)> whileOpen;
    ScriptedMessageBoxes script;
};

// A pseudo-terminal pair: the program opens the slave end as a COM port, the test writes to
// the master end as the device at the other end of the cable.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return master_ >= 0; }
    const std::string& path() const { return path_; }
    // Writes all of `bytes`, waiting while the terminal is full, as a device with flow control
    // does; a port that takes nothing for SendStallMs fails the test and the rest is not sent.
    void send(const std::string& bytes);
    static constexpr int SendStallMs = 30000;
    // As a device without flow control sends: what the terminal cannot take now is refused
    // (a real line would lose it). Returns the bytes taken.
    std::size_t offer(const std::string& bytes);

private:
    int master_ = -1;
    int slave_ = -1;  // kept open so that the master never sees a hang-up
    std::string path_;
};

// "GPZDA,..." with its checksum and CR LF.
std::string sentence(const std::string& body);

// A serial system: in use on `port`, which it owns, at 4800,n,8,1.
void serialSystem(Config& c, int system, const std::string& name, int port);

class LiveTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program with a setup file that `fill` describes, on the recording test core.
    void start(std::function<void(Config&)> fill);
    // The same on the program's own core, with a real setup file.
    void startOnRealCore(const std::function<void(Config&)>& fill);

    // "system:line" of every line the intake got, in order.
    std::vector<std::string> lines() const;
    std::vector<std::string> boxTexts() const;
    QAction* onlineButton(const char* key) { return MainWindow::button(window->onlineToolBar(), key); }
    std::string readFile(const std::string& path) const;
    std::string errorLogFile() const { return home + "ErrorLog/ErrorLog.txt"; }
    // Runs the event loop until done (at most 10 s), as the program's own loop runs: without
    // pauses, so that events posted one after another are not held up.
    static bool waitFor(const std::function<bool()>& done, int ms = 10000);

    QTemporaryDir dir;
    std::string home;
    LiveBoxes boxes;
    MemorySettingsStore settings;
    SettingsStore* settingsStore = &settings;  // what the program uses
    ScriptedFileDialogs fileDialogs;
    QtDeviceFactory devices;
    FixedClock clock;
    TestCore core;
    std::unique_ptr<ProgramCore> realCore;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Program> program;
    // The program's parts the tests look at.
    MainWindow* window = nullptr;
    LoggingControl* logging = nullptr;
    LiveSources* live = nullptr;
    int programEnded = 0;

private:
    void launch(SessionCore& c);
};

}  // namespace tiderune::test
