#pragma once
// Everything the main window and the child windows share for the whole run: the core's
// tables and operations, the session-control values, the services of the platform, the
// event gate, the core sink, the window registry and the window slots. Made once in main()
// (or a test) and passed by reference. The main window is reached only through the narrow
// WindowServices it sets as the host.
#include <QObject>
#include <QString>
#include <string>

#include "frame/app_core_sink.h"
#include "frame/event_gate.h"
#include "frame/session_core.h"
#include "frame/shell_state.h"
#include "frame/window_icons.h"
#include "frame/window_registry.h"
#include "frame/window_services.h"
#include "frame/time_series_slots.h"
#include "frame/window_slots.h"
#include "core/number_text.h"
#include "platform/clock.h"
#include "platform/devices.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/qt/qt_edge.h"
#include "platform/settings_store.h"

namespace tiderune {

struct ShellServices {
    MessageBoxes& boxes;
    SettingsStore& settings;
    FileDialogs& fileDialogs;
    DeviceFactory& devices;
    Clock& clock;
    std::string appFolder;  // the program folder
};

class Shell {
public:
    Shell(SessionCore& core, const ShellServices& services);

    SessionCore& core;
    CoreState& coreState;
    Config& config;
    RunState& run;
    ShellState state;
    ShellServices services;
    EventGate gate;
    AppCoreSink sink;
    WindowRegistry registry;
    WindowSlots windows;
    // The time-series engine: chart settings, decimation states and each system's chart x,
    // kept for the whole run (no reset clears them).
    SlotTimeSeriesWindows timeSeriesWindows{*this};
    TimeSeriesEngine timeSeries{coreState, timeSeriesWindows};
    // The scatter update and the scaling of each system's scatter plot, for the whole run.
    SlotScatterWindows scatterWindows{*this};
    ScatterUpdate scatter{coreState, scatterWindows, state.SystemColour};
    // The icons of the windows of systems 2 to 4.
    WindowIcons icons{state.SystemColour};

    // The main window as the child windows see it, set by the main window for its lifetime.
    void setHost(WindowServices* host) { host_ = host; }
    bool hasHost() const { return host_ != nullptr; }
    // Throws std::logic_error when no main window is there.
    WindowServices& host() const;

    static const char* const VersionText;   // "v 3.02a - 26 Sep 2019 "

    // The hand-over word of a window kind; the monitor's is the one the intake sets too.
    std::int16_t& handOverWord(HandOver h) {
        if (h == HandOver::NMEA) return coreState.NMEACurrentSystem;
        return state.handOver[static_cast<std::size_t>(h)];
    }
    // The system a loading window takes: 0 (never handed over) counts as system 1.
    int takeSystem(HandOver h) {
        int s = handOverWord(h);
        return isValidSystem(s) ? s : 1;
    }

    // One received line of one system through the intake, inside the event gate: notices it
    // raises are shown after it. Run-time errors reach the caller, which logs them.
    void processSentence(int system, std::string_view line);

    // A box of the program with the application title. While it is open, device events wait.
    MessageAnswer ask(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                      MessageAnswer defaultAnswer = MessageAnswer::Ok, MessageIcon icon = MessageIcon::None);

    // The program folder with its trailing "/".
    const std::string& appFolder() const { return services.appFolder; }
    std::string setupFilePath() const { return services.appFolder + "Tiderune.ini"; }

    // Values of the "Settings" section: placements in twips, as the text of a single.
    double settingNumber(const std::string& key, double fallback) const;
    void setSettingNumber(const std::string& key, double value);

private:
    // What the gate leaves to the event loop goes with the shell.
    QObject eventLoopContext_;
    WindowServices* host_ = nullptr;
};

}  // namespace tiderune
