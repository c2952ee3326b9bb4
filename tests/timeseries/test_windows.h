#pragma once
// The engine's windows for tests: made on first use, as the slots do, loaded for their system.
#include <map>
#include <memory>
#include <string>
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
        }
        return w.get();
    }
    ChartSettings* settings = nullptr;
    Config& config;
    std::string systemName;
    std::map<std::pair<int, int>, std::unique_ptr<TimeSeriesForm>> forms;
};

}  // namespace tiderune::test
