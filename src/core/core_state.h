#pragma once
// The program-wide tables of the analysis core, owned by one object that main() makes and
// passes by reference. Nothing here is a global: tests, tools and benchmarks make their own.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "analysis_state.h"
#include "config.h"
#include "counting.h"
#include "indexed.h"
#include "records.h"

namespace tiderune {

// The session's run state, read by the intake and the per-type processing.
struct RunState {
    bool OnlinePaused = false;  // no statistics; in ONLINE mode nothing after the target lists
    bool OfflineRunning = false;
    bool OfflinePause = false;
    bool OfflineStep = false;
    bool OfflineStop = false;
    double ProcessingStart = 0;  // date-time: day count with the time of day as fraction
    double ProcessingEnd = 0;
    bool LoggingOn = false;  // raw-data logging is switched on
};

// The NMEA monitor's format counters of one system.
struct MonitorCounters {
    std::int32_t MonitorSentenceCount = 0;  // every line fed
    std::int32_t MonitorNMEACount = 0;      // lines beginning with "$"
    std::int32_t MonitorAISCount = 0;       // lines beginning with "!"
    std::int32_t MonitorChecksumOK = 0;
    std::int32_t MonitorChecksumError = 0;  // "$"/"!" lines without a checksum or a wrong one
};

// Keeps a flood of one parser failure from burying the user: the first failure of a kind
// (parser and error number) is shown, the repeats are only counted until the user starts
// afresh (RESET ALL, which a mode switch and PLAY include, or File Open).
class ParserNoticeGate {
public:
    struct Entry {
        std::string title;   // "Error ExtractRMC"
        int errorNumber = 0;
        std::int64_t count = 0;       // every failure of this kind, the shown one included
        std::int64_t suppressed = 0;  // the ones not shown
    };

    // True when this failure is to be shown.
    bool admit(const std::string& title, int errorNumber) {
        Entry& e = entries_[{title, errorNumber}];
        const bool first = e.count == 0;
        countUp(e.count);
        if (first) {
            e.title = title;
            e.errorNumber = errorNumber;
            return true;
        }
        countUp(e.suppressed);
        return false;
    }
    const std::map<std::pair<std::string, int>, Entry>& entries() const { return entries_; }
    std::int64_t suppressedTotal() const {
        std::int64_t n = 0;
        for (const auto& [key, e] : entries_) n += e.suppressed;
        return n;
    }
    // Every kind is shown again at its next failure.
    void reset() { entries_.clear(); }

private:
    std::map<std::pair<std::string, int>, Entry> entries_;
};

struct CoreState {
    Config config;

    // Per system, the last raw text and decoded record of each recognised type.
    PerSystem<NMEAMessageSet> NMEAMessages;
    // Lines dropped by the checksum gate since start; never reset while the program runs.
    PerSystem<std::int32_t> ChecksumRejected;
    PerSystem<MonitorCounters> Monitor;
    // Hand-over value of the NMEA monitor window kind: the system the monitor is fed for.
    std::int16_t NMEACurrentSystem = 0;

    RunState run;

    // Epoch time and date per system (day counts with the time of day as fraction).
    PerSystem<double> EpochTime;
    PerSystem<double> SentenceDate;
    PerSystem<double> PreviousEpochTime;

    // Epoch values and running statistics of every system.
    AnalysisState analysis;

    ParserNoticeGate parserNotices;
};

}  // namespace tiderune
