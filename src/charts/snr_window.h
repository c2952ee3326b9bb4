#pragma once
// The SNR time series of one system and constellation (frmTimeSeriesSNR): one small chart per
// satellite with its SNR as bars and its elevation and azimuth as lines, fed by the sky
// plot's GSV groups; and the chooser of the charts shown (frmVisibleSNRTimeSeries). The five
// windows of a system live for the whole run: no reset closes them, and every close asks.
#include <QDialog>
#include <array>

#include "frame/child_window.h"
#include "frame/time_series_slots.h"
#include "charts/logic/snr_form.h"
#include "platform/chart_model.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace tiderune {

class ChartWidget;

inline constexpr const char* SNRCloseQuestion = "Are you sure ? All timeseries data will be lost.";

class SnrTimeSeriesWindow : public ChildWindow, public SNRChartsHolder, private ChartObserver {
    Q_OBJECT
public:
    explicit SnrTimeSeriesWindow(Shell& shell);
    ~SnrTimeSeriesWindow() override;

    void load() override;
    bool confirmClose() override;
    void unload() override;

    // Chart i (0-32); 1-32 are the satellite charts.
    Chart& snrChart(int i) override;
    ChartWidget* chartWidget(int i) const { return charts_[static_cast<std::size_t>(i)]; }
    // Lays out the charts chosen for the window's constellation.
    void Arrange_TimeSeries();
    // "Select visible timeseries".
    void mnuWindow_Click();
    // The menu and the filter caption whole, and every chosen chart with a readable plot.
    QSize readableSize() override;

protected:
    void refresh() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void chartChanged() override;
    void showFilter();
    void placeFilterLabels();

    QWidget* client_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* lblFilter_ = nullptr;
    std::array<ChartWidget*, SNRCharts + 1> charts_{};
    SnrChartPlaces places_;
};

// The chooser: one for the program, modeless, editing the constellation of the window it
// was last opened from.
class SnrChooserDialog : public QDialog {
    Q_OBJECT
public:
    SnrChooserDialog(Shell& shell, int constellation, QWidget* parent);
    void setConstellation(int k) { constellation_ = k; }
    int constellation() const { return constellation_; }

private:
    void display(const SnrChooserForm& f);
    void ok();

    Shell& shell_;
    int constellation_;
    SnrChooserForm form_;
    std::array<QCheckBox*, SNRCharts + 2> boxes_{};
    QComboBox* cmbColumns_ = nullptr;
    QLabel* lblNoOfSeries_ = nullptr;
};

}  // namespace tiderune
