#pragma once
// The live sources of ONLINE mode at work: what the serial ports and sockets of the main
// window deliver goes, one event at a time through the event gate, into the line framing and
// on to the intake of the owning system. An event that arrives while a box is open or a line
// is being processed waits its turn. A TCP error is told to the user and closes the socket.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/logic/reception.h"

namespace tiderune {

class DataSources;
class ErrorLog;
class MainWindow;
class Shell;

class LiveSources final : public ReceptionSink {
public:
    // Attaches to every device of the main window's sources; errors of the handlers go to
    // errorLog.
    LiveSources(MainWindow& window, ErrorLog& errorLog);
    ~LiveSources() override;
    LiveSources(const LiveSources&) = delete;
    LiveSources& operator=(const LiveSources&) = delete;

    Reception& reception() { return reception_; }
    // Lines of the system discarded by buffer emptying.
    std::int32_t IgnoredCount(int system) const { return reception_.ignoredCount(system); }

    // ReceptionSink
    void processLine(int system, std::string_view line) override;
    void showInputBuffer(int system, std::string_view text) override;
    void ignoredCountChanged(int system, std::int32_t count) override;

private:
    void attach();
    void detach();
    void deliver(std::function<void()> event);
    void tcpError(int system, int number, const std::string& description);

    MainWindow& window_;
    Shell& shell_;
    DataSources& sources_;
    Reception reception_;
};

}  // namespace tiderune
