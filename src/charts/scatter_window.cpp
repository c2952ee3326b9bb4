#include "charts/scatter_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "platform/twips.h"
#include "platform/qt/chart_widget.h"

namespace tiderune {

ScatterWindow::ScatterWindow(Shell& shell) : ChildWindow(shell, WindowKind::Scatter) {
    chart_ = new ChartWidget(this);
    chart_->setObjectName("TChart1");
    chart_->setIncrementalPoints(true);
    buildScatterChart(chart_->chart());
    // Points reach the screen on the shared redraw tick, never one repaint per point.
    chart_->chart().setObserver(this);
    chart_->chart().addListener(this);
    chart_->setGeometryTwips(0, 0, 5775, 5775);
    resize(fromTwips(5775 * 1.02), fromTwips(5775 + 500));
}

ScatterWindow::~ScatterWindow() {
    chart_->chart().removeListener(this);
    chart_->chart().setObserver(nullptr);
}

Chart& ScatterWindow::scatterChart() { return chart_->chart(); }

void ScatterWindow::load() {
    ChildWindow::load();
    shell_.scatter.LoadScatter(chart_->chart(), system());
    // The window keeps no placement: it opens at its design size, the chart 5775 twips high.
    if (QWidget* outer = frame(); outer != this) {
        resize(fromTwips(5775 * 0.9 * 1.02), fromTwips(5775 + 500));
        outer->adjustSize();
        outer->resize(outer->sizeHint().expandedTo(size()));
    }
    keepSquare();
    markChanged();
}

QSize ScatterWindow::readableSize() {
    const QSize chart = readableChartSize(*chart_);
    const double chartHeight = std::max(toTwips(chart.height()), toTwips(chart.width()) / 0.9);
    return {fromTwipsUp(chartHeight * 0.9 * 1.02), fromTwipsUp(chartHeight + 500)};
}

void ScatterWindow::resizeEvent(QResizeEvent* e) {
    ChildWindow::resizeEvent(e);
    keepSquare();
}

void ScatterWindow::keepSquare() {
    // The plot stays near square whatever height the window gets; its width follows.
    if (resizing_) return;
    resizing_ = true;
    QWidget* outer = frame();
    const double chartHeight = toTwips(height()) - 500;
    if (outer->isMaximized()) {
        // A maximized window cannot take the plot's width: the chart fills the work area and
        // its square plot stands in the middle of it.
        if (chartHeight > 0) chart_->setGeometryTwips(0, 0, static_cast<int>(toTwips(width())), static_cast<int>(chartHeight));
    } else if (chartHeight > 0) {
        const double chartWidth = chartHeight * 0.9;
        chart_->setGeometryTwips(0, 0, static_cast<int>(chartWidth), static_cast<int>(chartHeight));
        const int border = outer->width() - width();
        const int want = fromTwips(chartWidth * 1.02) + border;
        if (outer->width() != want) outer->resize(want, outer->height());
    }
    resizing_ = false;
}

void ScatterWindow::refresh() {
    if (chart_->chart().dirty()) chart_->update();
}

void ScatterWindow::chartChanged() { markChanged(); }

void ScatterWindow::onAxisClick(const AxisClickEvent& e) {
    if (e.button != mouse::Right) return;
    shell_.scatter.ScatterAxisSystem = static_cast<std::int16_t>(system());
    auto* dialog = new XYAxisDialog(shell_, *this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

XYAxisDialog::XYAxisDialog(Shell& shell, ScatterWindow& window)
    : QDialog(window.window()), shell_(shell) {
    setObjectName("frmXYAxis");
    setWindowTitle("Scale");
    setModal(true);
    chkAutomatic_ = new QCheckBox("Scale Automatic", this);
    chkAutomatic_->setObjectName("chkAutomatic");
    txtMax_ = new QLineEdit(this);
    txtMax_->setObjectName("txtMax");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOk");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdCancel");
    auto* rows = new QVBoxLayout(this);
    rows->addWidget(chkAutomatic_);
    auto* max = new QHBoxLayout;
    max->addWidget(new QLabel("Max value +/-", this));
    max->addWidget(txtMax_);
    rows->addLayout(max);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    rows->addLayout(buttons);

    int s = shell.scatter.ScatterAxisSystem;
    form_.load(shell.scatter, window.scatterChart(), s);
    txtMax_->setText(toQt(form_.txtMax));
    chkAutomatic_->setChecked(form_.chkAutomatic);
    txtMax_->setEnabled(form_.txtMaxEnabled());
    connect(chkAutomatic_, &QCheckBox::toggled, this, [this](bool on) { txtMax_->setEnabled(!on); });
    connect(ok, &QPushButton::clicked, this, &XYAxisDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    // The whole text is selected when the box takes the focus, ready to be typed over.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == txtMax_) QTimer::singleShot(0, txtMax_, &QLineEdit::selectAll);
    });

    // Over the middle of the chart.
    QWidget* chart = window.chartWidget();
    const QPoint centre = chart->mapToGlobal(QPoint(chart->width() / 2, chart->height() / 2));
    adjustSize();
    move(centre);
}

void XYAxisDialog::ok() {
    form_.chkAutomatic = chkAutomatic_->isChecked();
    form_.txtMax = fromQt(txtMax_->text());
    form_.ok(shell_.scatter, shell_.scatter.ScatterAxisSystem);
    close();
}

}  // namespace tiderune
