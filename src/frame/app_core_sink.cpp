#include "frame/app_core_sink.h"

#include "frame/shell.h"
#include "timeseries/chart_designs.h"

namespace tiderune {

void AppCoreSink::notice(const Notice& n) { shell_.gate.notice(n); }

void AppCoreSink::showRawMessage(int system, std::string_view text) {
    if (!isValidSystem(system) || !shell_.windows.created()) return;
    if (ChildWindow* w = shell_.windows.slot(WindowKind::NMEA, system).window()) w->rawMessage(text);
}

void AppCoreSink::showInputBuffer(int system, std::string_view text) {
    if (!isValidSystem(system) || !shell_.windows.created()) return;
    if (ChildWindow* w = shell_.windows.slot(WindowKind::NMEA, system).window()) w->inputBuffer(text);
}

void AppCoreSink::writeLogLine(int system, std::string_view text) {
    if (onLogLine) onLogLine(system, text);
}

void AppCoreSink::showChecksumRejected(int, int panel, const std::string& text) {
    if (shell_.hasHost()) shell_.host().setStatusPanel(panel, text);
}

void AppCoreSink::feed(WindowKind kind, int system, SentenceType type) {
    if (!isValidSystem(system) || !shell_.windows.created()) return;
    if (ChildWindow* w = shell_.windows.slot(kind, system).window()) w->feed(type);
}

void AppCoreSink::updateNumericsWindow(int s, SentenceType t) { feed(WindowKind::Numerics, s, t); }
void AppCoreSink::updateARPATargetGrid(int s, SentenceType t) { feed(WindowKind::ARPATargets, s, t); }
void AppCoreSink::updateAISTargetGrid(int s, SentenceType t) { feed(WindowKind::AISTargets, s, t); }

void AppCoreSink::updateStatisticsWindow(int s, SentenceType t) {
    feed(WindowKind::Statistics, s, t);
    feed(WindowKind::StatisticsSNR, s, t);
}

void AppCoreSink::updateTimeSeriesCharts(int s, SentenceType t) {
    if (!isValidSystem(s)) return;
    // The engine feeds the charts of the windows built from a chart design; every loaded
    // chart window of the type is then told, as any window of its sentence.
    if (formDesignOf(t)) shell_.timeSeries.UpdateTimeSeriesCharts(s, t);
    if (const std::optional<WindowKind> kind = timeSeriesKindOf(t)) feed(*kind, s, t);
}

void AppCoreSink::dispatchPositionToScatter(int s, SentenceType t) {
    // The scatter update adds the point (loading the window hidden when it must); the
    // loaded window then hears its sentence like any other.
    shell_.scatter.DispatchPositionToScatter(s, t);
    feed(WindowKind::Scatter, s, t);
}
void AppCoreSink::updateSkyplotGSA(int s) { feed(WindowKind::Skyplot, s, SentenceType::GSA); }
void AppCoreSink::drawSkyplotGSV(int s) { feed(WindowKind::Skyplot, s, SentenceType::GSV); }

}  // namespace tiderune
