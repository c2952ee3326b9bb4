#pragma once
// The engine's windows for tests: made on first use, as the slots do, loaded for their system,
// and the SNR windows' charts with their three series.
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "timeseries/time_series_engine.h"
#include "timeseries/time_series_form.h"

namespace tiderune::test {

struct Windows : TimeSeriesWindows {
    explicit Windows(Config& c, std::string name = "Sys") : config(c), systemName(std::move(name)) {}
    TimeSeriesForm* timeSeriesForm(int kind, int system) override {
        auto& w = forms[{kind, system}];
        if (!w) {
            w = std::make_unique<TimeSeriesForm>(*formDesign(kind), *settings, config);
            w->load(static_cast<std::int16_t>(system), systemName);
            if (engine) engine->TakeChartColours(*w);
        }
        return w.get();
    }
    Chart* snrChart(int system, int constellation, int chart) override {
        auto& c = snr[{system, constellation, chart}];
        if (!c) {
            c = std::make_unique<Chart>();
            for (int i = 0; i < 3; ++i) c->addSeries(i == 0 ? SeriesKind::Bar : SeriesKind::Line);
        }
        return c.get();
    }
    ChartSettings* settings = nullptr;
    // When set, a loading window gives its satellites' colours to the engine, as the program's do.
    TimeSeriesEngine* engine = nullptr;
    Config& config;
    std::string systemName;
    std::map<std::pair<int, int>, std::unique_ptr<TimeSeriesForm>> forms;
    std::map<std::tuple<int, int, int>, std::unique_ptr<Chart>> snr;
};

}  // namespace tiderune::test
