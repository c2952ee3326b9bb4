#pragma once
// GSA and GSV sentences from the intake to the time-series engine and the sky plot, as the
// program hands them on, for the tests and the benchmark of the satellite chain.
#include "../timeseries/test_windows.h"
#include "charts/logic/skyplot_form.h"
#include "core/core_sink.h"
#include "core/processing.h"

namespace tiderune::test {

struct SatelliteSink : CoreSink {
    void updateTimeSeriesCharts(int s, SentenceType t) override { engine->UpdateTimeSeriesCharts(s, t); }
    void updateSkyplotGSA(int) override { skyplot->UpdateSkyplotGSA(); }
    void drawSkyplotGSV(int) override { skyplot->DrawSkyplotGSV(); }
    TimeSeriesEngine* engine = nullptr;
    SkyplotForm* skyplot = nullptr;
};

}  // namespace tiderune::test
