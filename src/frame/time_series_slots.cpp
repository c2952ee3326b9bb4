#include "frame/time_series_slots.h"

#include "frame/child_window.h"
#include "frame/shell.h"
#include "timeseries/chart_designs.h"
#include "timeseries/time_series_form.h"

namespace tiderune {

template <typename Holder>
Holder* WindowSeen<Holder>::holderOf(ChildWindow* window) {
    if (window != window_) {
        window_ = window;
        holder_ = dynamic_cast<Holder*>(window);
    }
    return holder_;
}

TimeSeriesForm* SlotTimeSeriesWindows::timeSeriesForm(int chartKind, int system) {
    if (!isValidSystem(system)) return nullptr;
    const FormDesign* design = formDesign(chartKind);
    const std::optional<WindowKind> found = design ? timeSeriesKindOf(design->type) : std::nullopt;
    if (!found) return nullptr;
    const WindowKind kind = *found;
    if (!shell_.windows.created() || !shell_.hasHost()) return nullptr;
    WindowSlot& slot = shell_.windows.slot(kind, system);
    if (!slot.isLoaded()) {
        // The window loads for the system it is fed for, whatever the last opener handed over.
        shell_.handOverWord(windowKindInfo(kind).handOver) = static_cast<std::int16_t>(system);
        slot.setVisible(false);  // loads it, and keeps it out of sight
    }
    TimeSeriesFormHolder* holder = formSeen_[static_cast<int>(kind)][system].holderOf(slot.window());
    return holder ? holder->timeSeriesForm() : nullptr;
}

Chart* SlotTimeSeriesWindows::snrChart(int system, int constellation, int chart) {
    if (!isValidSystem(system) || constellation < 1 || constellation > SNRConstellations) return nullptr;
    if (chart < 0 || chart > SNRSeriesPerConstellation) return nullptr;
    if (!shell_.windows.created() || !shell_.hasHost()) return nullptr;
    // The slot loads the window for its own system and constellation.
    WindowSlot& slot = shell_.windows.slot(WindowKind::TimeSeriesSNR, system, constellation);
    if (!slot.isLoaded()) slot.setVisible(false);  // loads it, and keeps it out of sight
    SNRChartsHolder* holder = snrSeen_[system][constellation].holderOf(slot.window());
    return holder ? &holder->snrChart(chart) : nullptr;
}

Chart* SlotScatterWindows::scatterChart(int system) {
    if (!isValidSystem(system) || !shell_.windows.created() || !shell_.hasHost()) return nullptr;
    WindowSlot& slot = shell_.windows.slot(WindowKind::Scatter, system);
    if (!slot.isLoaded()) {
        // The window loads for the system it is fed for, whatever the last opener handed over.
        shell_.handOverWord(HandOver::Scatter) = static_cast<std::int16_t>(system);
        slot.setVisible(false);  // loads it, and keeps it out of sight
    }
    auto* holder = dynamic_cast<ScatterChartHolder*>(slot.window());
    return holder ? &holder->scatterChart() : nullptr;
}

}  // namespace tiderune
