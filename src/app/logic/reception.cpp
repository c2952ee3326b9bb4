#include "reception.h"

#include <exception>

#include "core/counting.h"
#include "error_log.h"

namespace tiderune {

Reception::Reception(ReceptionSink& sink, ErrorLog& errorLog, std::function<int(int port)> portSystem,
                     std::function<bool(int system)> emptyBuffer)
    : sink_(sink), errorLog_(errorLog), portSystem_(std::move(portSystem)), emptyBuffer_(std::move(emptyBuffer)) {}

void Reception::logError(const std::exception& e) { errorLog_.write(e); }

bool Reception::ownerOf(int port, int* system) {
    const int s = portSystem_(port);
    if (isValidSystem(s)) {
        badOwnerReported_[port] = false;
        *system = s;
        return true;
    }
    // A port whose owner is not a system (a damaged setup file): its data is ignored, and
    // that is logged once rather than as an error at every event.
    if (!badOwnerReported_[port] || badOwner_[port] != s) {
        errorLog_.writeEntry("Comport " + std::to_string(port) + " belongs to system " + std::to_string(s) +
                             ", which does not exist. Its data is ignored");
        badOwnerReported_[port] = true;
        badOwner_[port] = s;
    }
    return false;
}

void Reception::serialReceived(int port, std::string_view data) {
    if (!PerComPort<int>::inRange(port)) return;
    int system = 0;
    try {
        if (!ownerOf(port, &system)) {
            buffers_[port].clear();
            return;
        }
    } catch (const std::exception& e) {
        logError(e);
        return;
    }
    SerialLineBuffer& buffer = buffers_[port];
    const std::int64_t lostBefore = buffer.overflowLines();
    buffer.append(data);
    // A port that delivers faster than the analysis for long overflows its buffer: the lines
    // lost with it are counted like those of buffer emptying.
    countIgnored(system, static_cast<std::int32_t>(buffer.overflowLines() - lostBefore));
    try {
        sink_.showInputBuffer(system, buffer.text());
    } catch (const std::exception& e) {
        logError(e);
    }
    std::optional<std::string> line = buffer.takeLine();
    if (!line) return;
    try {
        if (emptyBuffer_(system)) {
            if (const int n = buffer.discardCompleteLines(); n > 0) {
                countUp(ignored_[system], n);
                sink_.ignoredCountChanged(system, ignored_[system]);
            }
        }
    } catch (const std::exception& e) {
        logError(e);
    }
    handleLine(system, *line);
}

void Reception::serialLineError(int port) {
    if (PerComPort<int>::inRange(port)) buffers_[port].clear();
}

void Reception::serialCut(int port) {
    if (PerComPort<int>::inRange(port)) buffers_[port].cut();
}

void Reception::countIgnored(int system, std::int32_t lines) {
    if (!isValidSystem(system) || lines <= 0) return;
    countUp(ignored_[system], lines);
    try {
        sink_.ignoredCountChanged(system, ignored_[system]);
    } catch (const std::exception& e) {
        logError(e);
    }
}

void Reception::tcpConnected(int system) {
    if (isValidSystem(system)) streams_[system].reset();
}

void Reception::tcpData(int system, std::string_view data) {
    if (!isValidSystem(system)) return;
    try {
        sink_.showInputBuffer(system, data);
    } catch (const std::exception& e) {
        logError(e);
    }
    streams_[system].feed(data, [&](std::string_view line) { handleLine(system, line); });
}

void Reception::udpDatagram(int system, std::string_view datagram) {
    if (!isValidSystem(system)) return;
    try {
        sink_.showInputBuffer(system, datagram);
    } catch (const std::exception& e) {
        logError(e);
    }
    splitDatagram(datagram, [&](std::string_view line) { handleLine(system, line); });
}

void Reception::handleLine(int system, std::string_view line) {
    try {
        sink_.processLine(system, line);
    } catch (const std::exception& e) {
        logError(e);
    }
}

}  // namespace tiderune
