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

    // ---- Per-type processing fan-out, in this order for one sentence ----
    // The numerics window of the system is open.
    virtual void updateNumericsWindow(int /*system*/, SentenceType /*type*/) {}
    // The ARPA target window is open (acts on TTM only).
    virtual void updateARPATargetGrid(int /*system*/, SentenceType /*type*/) {}
    // The AIS target window is open (acts on VDM only).
    virtual void updateAISTargetGrid(int /*system*/, SentenceType /*type*/) {}
    // Nothing below is called for a sentence that arrives while ONLINE is paused.
    // The statistics window is open; the epoch values and statistics are already updated.
    virtual void updateStatisticsWindow(int /*system*/, SentenceType /*type*/) {}
    // Every analysed sentence: the time-series engine reads the epoch values.
    virtual void updateTimeSeriesCharts(int /*system*/, SentenceType /*type*/) {}
    // GGA, GNS, GLL, RMC and GST.
    virtual void dispatchPositionToScatter(int /*system*/, SentenceType /*type*/) {}
    // GSA or GSV with the sky plot window open.
    virtual void updateSkyplotGSA(int /*system*/) {}
    virtual void drawSkyplotGSV(int /*system*/) {}
};

}  // namespace tiderune
