#pragma once
// The live sources of ONLINE mode at work: what the serial ports and sockets of the main
// window deliver goes, one event at a time through the event gate, into the line framing and
// on to the intake of the owning system. An event that arrives while a box is open or a line
// is being processed waits its turn. A TCP error is told to the user and closes the socket.
//
// While events wait (a box is open), what the sources take in is bounded: a TCP socket stops
// reading, so that TCP holds its peer back and nothing is lost; a UDP port or serial port goes
// on reading, and what goes beyond the bound is dropped and counted as ignored lines.
//
// A serial receive event analyses one line. While complete lines wait in a port's buffer the
// port raises its next receive event at once, through the event loop, as a device that
// delivers its characters one by one would: every line is analysed, in order, interleaved
// with the other sources. The port goes on reading meanwhile: a device without flow control
// cannot wait, and what it sends while the port is not read is lost in the system's small
// buffer without a trace. Only once half a MiB of the port's data waits (in the gate and in
// the port's buffer together) does the port stop reading until the backlog is below that
// again, so that a writer faster than the analysis is held back instead of overflowing the
// bound: what is in flight when the port stops still fits.
#include <QObject>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/logic/reception.h"
#include "core/indexed.h"

namespace tiderune {

class DataSources;
class ErrorLog;
class MainWindow;
class Shell;

class LiveSources final : public ReceptionSink {
public:
    // What a UDP or serial port may have waiting in the gate; beyond it data is dropped.
    static constexpr std::size_t WaitingLimit = 1 << 20;
    // A serial port stops reading while this much of its data waits, in the gate and in the
    // port's buffer.
    static constexpr std::size_t SerialHoldLimit = WaitingLimit / 2;

    // Attaches to every device of the main window's sources; errors of the handlers go to
    // errorLog.
    LiveSources(MainWindow& window, ErrorLog& errorLog);
    ~LiveSources() override;
    LiveSources(const LiveSources&) = delete;
    LiveSources& operator=(const LiveSources&) = delete;

    Reception& reception() { return reception_; }
    // Lines of the system discarded by buffer emptying or dropped while the program was held up.
    std::int32_t IgnoredCount(int system) const { return reception_.ignoredCount(system); }

    // ReceptionSink
    void processLine(int system, std::string_view line) override;
    void showInputBuffer(int system, std::string_view text) override;
    void ignoredCountChanged(int system, std::int32_t count) override;

private:
    void attach();
    void detach();
    void deliver(std::function<void()> event);
    // Data for the gate, counted in `waiting` until its event runs; false when the bound
    // would be passed.
    bool deliverBounded(std::size_t& waiting, const std::string& data, std::function<void(const std::string&)> event);
    void serialEvent(int port, const std::string& data);
    void serialDropped(int port, const std::string& data);
    // Holds the port while its backlog is at SerialHoldLimit, releases it below.
    void holdSerialWhileFull(int port);
    void raiseAgainWhileLinesWait(int port);
    void tcpData(int system, const std::string& data);
    void resume();
    void tcpError(int system, int number, const std::string& description);

    MainWindow& window_;
    Shell& shell_;
    DataSources& sources_;
    Reception reception_;
    PerComPort<std::size_t> serialWaiting_{};
    PerComPort<bool> serialCutWaiting_{};
    PerComPort<bool> raiseAgain_{};
    PerSystem<std::size_t> udpWaiting_{};
    PerSystem<bool> tcpHeld_{};
    QObject eventLoopContext_;  // posted receive events go with the sources
};

}  // namespace tiderune
