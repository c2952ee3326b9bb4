#pragma once
// The scatter plot of a system (frmScatter) and its scale dialog (frmXYAxis). The points come
// from the scatter update (Shell::scatter) for every position sentence, shown or hidden; the
// chart keeps every point of the run and draws only the new ones onto its kept image.
#include <QDialog>

#include "frame/child_window.h"
#include "platform/chart_model.h"
#include "timeseries/scatter.h"

class QCheckBox;
class QLineEdit;

namespace tiderune {

class ChartWidget;

class ScatterWindow : public ChildWindow, public ScatterChartHolder, private ChartObserver, private ChartListener {
    Q_OBJECT
public:
    explicit ScatterWindow(Shell& shell);
    ~ScatterWindow() override;

    void load() override;
    Chart& scatterChart() override;
    // The chart's height gives its width: the height at which the chart reads both ways.
    QSize readableSize() override;
    ChartWidget* chartWidget() const { return chart_; }

protected:
    void refresh() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void chartChanged() override;
    void onAxisClick(const AxisClickEvent& e) override;
    void keepSquare();

    ChartWidget* chart_ = nullptr;
    bool resizing_ = false;
};

// "Scale": automatic scaling or a fixed half-range for the scatter plot of
// ScatterUpdate::ScatterAxisSystem. Modal: no other window takes input while it is open, but
// sentences keep arriving.
class XYAxisDialog : public QDialog {
    Q_OBJECT
public:
    XYAxisDialog(Shell& shell, ScatterWindow& window);

private:
    void ok();

    Shell& shell_;
    XYAxisForm form_;
    QCheckBox* chkAutomatic_ = nullptr;
    QLineEdit* txtMax_ = nullptr;
};

}  // namespace tiderune
