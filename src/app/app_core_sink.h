#pragma once
// Where the analysis core's outward calls land in the program: notices go through the event
// gate, the checksum count into the status bar, the monitor feed and the log line to whoever
// handles them (the monitor window, the raw-data logger).
#include <functional>
#include <string_view>

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

    // Set by the monitor windows and the raw-data logging.
    std::function<void(int system, std::string_view text)> onRawMessage;
    std::function<void(int system, std::string_view text)> onLogLine;

private:
    Shell& shell_;
};

}  // namespace tiderune
