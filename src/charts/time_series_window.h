#pragma once
// A time-series window of the family: the strip of lists above the charts and the charts of
// its design. Everything it shows lives in its TimeSeriesForm, which the engine feeds per
// sentence; the window copies the lists and labels into its widgets and repaints the
// changed charts on the shared redraw tick.
#include <memory>
#include <vector>

#include "frame/child_window.h"
#include "platform/chart_model.h"
#include "timeseries/time_series_form.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace tiderune {

class ChartWidget;

class TimeSeriesWindow : public ChildWindow,
                         public TimeSeriesFormHolder,
                         private ChartObserver,
                         private ChartListener {
    Q_OBJECT
public:
    TimeSeriesWindow(Shell& shell, WindowKind kind, const FormDesign& design);
    ~TimeSeriesWindow() override;

    void load() override;
    void unload() override;

    TimeSeriesForm* timeSeriesForm() override { return form_.get(); }
    // The strip's controls whole, and every chart the height shares with a readable plot.
    QSize readableSize() override;
    ChartWidget* chartWidget(int i) const { return charts_[static_cast<std::size_t>(i)]; }

protected:
    void refresh() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void chartChanged() override;
    void formChanged();
    void onAxisClick(const AxisClickEvent& e) override;
    void onZoom(int index) override;
    void onUndoZoom(int index) override;
    void onScroll(int index) override;
    void userChanged();
    void placeCharts();
    void applyHeightRequest();
    void layoutStrip();
    void placeAgeOff();

    const FormDesign& design_;
    std::vector<ChartWidget*> charts_;
    std::unique_ptr<TimeSeriesForm> form_;
    QLabel* lblSystemColor_ = nullptr;
    QLabel* lblFilter_ = nullptr;
    QComboBox* cmbOption_ = nullptr;
    QComboBox* cmbInterval_ = nullptr;
    QComboBox* cmbFilter_ = nullptr;
    QCheckBox* chkDGPS_ = nullptr;
    QCheckBox* chkAgeOff_ = nullptr;
    unsigned long long shownGeneration_ = ~0ull;
    int stripRight_ = 0;  // where the strip's last control ends
};

}  // namespace tiderune
