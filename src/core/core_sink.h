#pragma once
// Everything the analysis core hands to the outside world while it processes a line leaves
// through this interface: one method per outward call, in the order the core makes them, so
// that a recording sink sees exactly the program's sequence. The application implements it
// over its windows; the defaults do nothing, for tools, tests and benchmarks.
#include <cstdint>
#include <string>
#include <string_view>

#include "notices.h"
#include "records.h"

namespace tiderune {

class CoreSink : public NoticeSink {
public:
    ~CoreSink() override = default;

    // A message for the user (parser failures, ...); shown after the line is processed.
    void notice(const Notice&) override {}

    // ---- Intake ----
    // The system's NMEA monitor is open: one received line as it arrived, valid or not. The
    // monitor's format counters (CoreState::Monitor) are already updated for it.
    virtual void showRawMessage(int /*system*/, std::string_view /*text*/) {}
    // Raw-data logging is on: the line goes to the system's log file.
    virtual void writeLogLine(int /*system*/, std::string_view /*text*/) {}
    // The checksum gate dropped a line: the status-bar panel (4 to 7 for systems 1 to 4)
    // shows `text`, the new count in the Str form.
    virtual void showChecksumRejected(int /*system*/, int /*panel*/, const std::string& /*text*/) {}
};

}  // namespace tiderune
