#pragma once
// Turns what the serial ports and sockets deliver into lines for the sentence intake.
//
// A serial receive event analyses at most one line: further complete lines wait in the port's
// buffer for the next event, or, with the system's buffer emptying on, are discarded and
// counted. Every complete line of a socket's data goes on in the same event; a TCP stream
// keeps its unfinished last line for the next data, a UDP datagram does not.
//
// Run-time errors raised while a line is handled are written to the error log and handling
// goes on with the next step. Questions the error log has then become due are left to the
// caller, once the event is done (ErrorLog::askIfDue).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/logic/line_splitting.h"
#include "core/indexed.h"

namespace tiderune {

class ErrorLog;

class ReceptionSink {
public:
    virtual ~ReceptionSink() = default;
    // One line, with its line end, for the sentence intake of the system.
    virtual void processLine(int system, std::string_view line) = 0;
    // The raw input of the system's source, for its monitor's input-buffer line when that
    // window is open: the whole port buffer, or the socket's data block.
    virtual void showInputBuffer(int system, std::string_view text) = 0;
    // The system's count of lines discarded by buffer emptying has changed.
    virtual void ignoredCountChanged(int system, std::int32_t count) = 0;
};

class Reception {
public:
    // portSystem: the system a COM port feeds (the port's configured owner). emptyBuffer: the
    // system's buffer-emptying option.
    Reception(ReceptionSink& sink, ErrorLog& errorLog, std::function<int(int port)> portSystem,
              std::function<bool(int system)> emptyBuffer);

    // A receive event of COM port 1-16 with what arrived since the previous one.
    void serialReceived(int port, std::string_view data);
    // A line error of the port: its buffer is emptied.
    void serialLineError(int port);

    // The system's TCP connection is (re)established: nothing is carried over.
    void tcpConnected(int system);
    void tcpData(int system, std::string_view data);
    void udpDatagram(int system, std::string_view datagram);

    // Lines that arrived but could not be taken in (a box held the program up too long): they
    // are counted with the lines discarded by buffer emptying.
    void countIgnored(int system, std::int32_t lines);
    // Some of the port's data could not be taken in: the line it cut is dropped whole.
    void serialCut(int port);

    std::int32_t ignoredCount(int system) const { return ignored_[system]; }
    const SerialLineBuffer& portBuffer(int port) const { return buffers_[port]; }

private:
    void handleLine(int system, std::string_view line);
    void logError(const std::exception& e);
    bool ownerOf(int port, int* system);

    ReceptionSink& sink_;
    ErrorLog& errorLog_;
    std::function<int(int)> portSystem_;
    std::function<bool(int)> emptyBuffer_;
    PerComPort<SerialLineBuffer> buffers_;
    PerComPort<bool> badOwnerReported_;
    PerComPort<int> badOwner_;
    PerSystem<std::int32_t> ignored_;
    PerSystem<StreamLineSplitter> streams_;
};

}  // namespace tiderune
