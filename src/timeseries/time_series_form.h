#pragma once
// A time-series window without its screen: the charts built from the member's design, the
// three lists above them (time-axis mode, interval, filter), the filter label, the caption,
// and the handlers of the window family. The engine feeds it whether it is shown or not;
// the Qt window only shows it and hands the user's clicks to the handlers here.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/config.h"
#include "platform/chart_model.h"
#include "timeseries/chart_designs.h"
#include "timeseries/chart_settings.h"

namespace tiderune {

// A drop-down list: its items with their item data, the selected index (-1: none) and
// whether it is shown.
struct ListBox {
    std::vector<std::string> items;
    std::vector<std::int32_t> itemData;
    int listIndex = -1;
    bool visible = true;

    void add(const std::string& item, std::int32_t data = 0) {
        items.push_back(item);
        itemData.push_back(data);
    }
    std::string text() const { return listIndex >= 0 ? items[static_cast<std::size_t>(listIndex)] : std::string(); }
    // The selected item's data; 0 with none selected.
    std::int32_t selectedData() const { return listIndex >= 0 ? itemData[static_cast<std::size_t>(listIndex)] : 0; }
};

struct Label {
    std::string caption;
    bool visible = true;
    Colour foreColour = colours::Black;
};

// What an axis click asks the window to do.
enum class AxisClickAction { None, YAxisDialog, XAxisDialog, RefuseBottom };

inline constexpr const char* ManualTimeAxisMessage =
    "Time Axis has to be selected as manual to adjust Start/End time";
inline constexpr const char* MaximizedMessage = "No effect as long as form is maximized!";

struct CheckBox {
    int value = 0;  // 0 unticked, 1 ticked
    bool visible = true;
    int left = 0;   // twips
};

struct ChartPlace {
    int left = 0, top = 0, width = 0, height = 0;  // twips
};

class TimeSeriesForm {
public:
    // Charts are the window's own unless the screen hands in the ones it draws (one per
    // chart of the design, empty).
    TimeSeriesForm(const FormDesign& design, ChartSettings& settings, Config& config,
                   std::vector<Chart*> screenCharts = {});
    TimeSeriesForm(const TimeSeriesForm&) = delete;
    TimeSeriesForm& operator=(const TimeSeriesForm&) = delete;

    const FormDesign& design() const { return design_; }
    std::int16_t ChartKind = 0;
    std::int16_t ChartCount = 0;
    std::string Tag;  // the system as digits
    int system() const;

    Chart& TChart(int i);
    const Chart& TChart(int i) const;

    ListBox cmbOption, cmbInterval, cmbFilter;
    // The position windows: the DGPS chart switch (ticked in the design) and GGA's "Age off".
    CheckBox chkDGPS{1, false, 7680};
    CheckBox chkAgeOff{0, false, 9840};
    Label lblFilter;
    Label lblSystemColor;
    std::string caption;
    std::vector<ChartPlace> chartPlaces;  // where each chart sits, twips

    // Load: system from the hand-over word (0 counts as 1), caption, open flag, the system's
    // colour label, then the lists filled and their first items selected, each running its
    // handler.
    void load(std::int16_t handOverWord, const std::string& systemName);
    // Unload (by the program or at exit): clears the open flag.
    void unload();
    // The user's close: true when the window only hides (the program runs on).
    static bool closeOnlyHides(bool unloadByProgram, bool appClosing) { return !unloadByProgram && !appClosing; }

    void cmbOption_Click(int index);
    void cmbInterval_Click(int index);
    void cmbFilter_Click(int index);

    // Places the charts for the window's outer size in twips.
    void resize(int width, int height);
    // The smallest size (twips) for which resize gives every chart it lays out at least
    // `chartWidth` across and `chartHeight` down.
    int widthForCharts(int chartWidth) const;
    int heightForCharts(int chartHeight) const;

    // The DGPS switch after the box changed to `value`. A maximised window refuses it (the
    // box keeps the change; the caller shows MaximizedMessage) and false is returned;
    // otherwise heightRequest tells the window how much to grow (or shrink).
    bool chkDGPS_Click(int value, bool maximised);
    void chkAgeOff_Click(int value) { chkAgeOff.value = value; touch(); }
    // Twips the window's height is to change by, for the screen to apply and clear.
    int heightRequest = 0;

    // An axis click on chart index: what to open. Fills the hand-over for the dialogs.
    AxisClickAction axisClick(int index, AxisCode axis, int button, AxisDialogTarget& target);
    // The user zoomed, unzoomed or scrolled chart index.
    void viewChange(int index);

    // Bumped by every change of the lists, labels or caption, so a screen can follow.
    unsigned long long stateGeneration() const { return generation_; }
    void touch() {
        ++generation_;
        if (onChange) onChange();
    }
    // Told of each such change: the screen's labels must follow the values in force even
    // when no chart of the window is repainted (a covered or minimised window).
    std::function<void()> onChange;

private:
    // The charts resize shares the height among, and what it takes off each chart's share.
    int sharedCharts() const;
    int shareLoss() const;

    const FormDesign& design_;
    ChartSettings& settings_;
    Config& config_;
    std::vector<std::unique_ptr<Chart>> own_;
    std::vector<Chart*> charts_;
    unsigned long long generation_ = 0;
};

// What a window of the program offers the engine: its form. The engine reaches it through
// the window's slot for every sentence.
class TimeSeriesFormHolder {
public:
    virtual ~TimeSeriesFormHolder() = default;
    virtual TimeSeriesForm* timeSeriesForm() = 0;
};

}  // namespace tiderune
