#pragma once
// Where the analysis core's outward calls land in the program: notices go through the event
// gate, the checksum count into the status bar, the monitor feed and the fan-out to the
// system's open windows, the log line to the raw-data logging.
#include <functional>
#include <string_view>

#include "frame/window_kinds.h"
#include "core/core_sink.h"

namespace tiderune {

class Shell;

class AppCoreSink : public CoreSink {
public:
    explicit AppCoreSink(Shell& shell) : shell_(shell) {}

    void notice(const Notice& n) override;
    void showRawMessage(int system, std::string_view text) override;
    void writeLogLine(int system, std::string_view text) override;
    void showChecksumRejected(int system, int panel, const std::string& text) override;

    // The raw input buffer of a system's source (for a replay, the line just read), for the
    // system's monitor.
    void showInputBuffer(int system, std::string_view text);

    // The fan-out: each call goes to the system's loaded window of that kind (ChildWindow::feed).
    // This is the one way into a window: its slot, never a search or a cast.
    void updateNumericsWindow(int system, SentenceType type) override;
    void updateARPATargetGrid(int system, SentenceType type) override;
    void updateAISTargetGrid(int system, SentenceType type) override;
    void updateStatisticsWindow(int system, SentenceType type) override;
    void updateTimeSeriesCharts(int system, SentenceType type) override;
    void dispatchPositionToScatter(int system, SentenceType type) override;
    void updateSkyplotGSA(int system) override;
    void drawSkyplotGSV(int system) override;

    // Set by the raw-data logging.
    std::function<void(int system, std::string_view text)> onLogLine;

private:
    void feed(WindowKind kind, int system, SentenceType type);

    Shell& shell_;
};

}  // namespace tiderune
