#include "charts/snr_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "frame/shell.h"
#include "core/number_text.h"
#include "platform/qt/qt_edge.h"
#include "platform/twips.h"
#include "platform/qt/chart_widget.h"
#include "platform/qt/fitting_label.h"

namespace tiderune {

namespace {

std::string placementKey(const char* what, int system) { return std::string("TimeSeriesSNR") + what + StrNumber(system); }

}  // namespace

SnrTimeSeriesWindow::SnrTimeSeriesWindow(Shell& shell) : ChildWindow(shell, WindowKind::TimeSeriesSNR) {
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    auto* menu = new QMenuBar(this);
    QAction* select = menu->addAction("Select visible timeseries");
    select->setObjectName("mnuWindow");
    connect(select, &QAction::triggered, this, &SnrTimeSeriesWindow::mnuWindow_Click);
    rows->setMenuBar(menu);
    client_ = new QWidget(this);
    rows->addWidget(client_);

    label2_ = new FittingLabel("Filter control by GSV TimeSeries", client_);
    label2_->setObjectName("Label2");
    label2_->move(4, 8);
    lblFilter_ = new QLabel("0", client_);
    lblFilter_->setObjectName("lblFilter");
    for (int i = 0; i <= SNRCharts; ++i) {
        auto* w = new ChartWidget(client_);
        w->setObjectName(QStringLiteral("TChart%1").arg(i));
        buildSnrChart(w->chart());
        w->chart().setIndex(i);
        w->chart().setObserver(this);
        w->hide();
        charts_[static_cast<std::size_t>(i)] = w;
    }
}

SnrTimeSeriesWindow::~SnrTimeSeriesWindow() {
    for (ChartWidget* w : charts_) w->chart().setObserver(nullptr);
}

Chart& SnrTimeSeriesWindow::snrChart(int i) { return charts_.at(static_cast<std::size_t>(i))->chart(); }

void SnrTimeSeriesWindow::load() {
    ChildWindow::load();
    for (int i = 1; i <= SNRCharts; ++i) {
        Chart& c = snrChart(i);
        c.subTitle().clear();
        c.subFoot().clear();
        c.subTitle().addLine(snrChartHeading(constellation(), i));
        places_[i].visible = false;
        charts_[static_cast<std::size_t>(i)]->hide();
    }
    Arrange_TimeSeries();
    showFilter();
}

void SnrTimeSeriesWindow::showFilter() {
    // The system's GSV window chooses the decimation of these charts too; the label shows the
    // length in force, hidden while the filter is off, as the GSV window's own.
    const std::int16_t n = shell_.timeSeries.settings.FilterLength[chart_kind::GSV][system()];
    lblFilter_->setText(QString::number(n));
    lblFilter_->adjustSize();
    lblFilter_->setVisible(n >= 0);
    placeFilterLabels();
}

void SnrTimeSeriesWindow::placeFilterLabels() {
    // The caption takes the room the window leaves it beside the length, in a smaller type
    // when the window is narrower than the caption (down to a readable one, then shortened).
    constexpr int Margin = 4, Space = 8;
    const int length = lblFilter_->isHidden() ? 0 : Space + lblFilter_->width();
    label2_->resize(std::clamp(client_->width() - 2 * Margin - length, 0, label2_->sizeHint().width()),
                    label2_->sizeHint().height());
    lblFilter_->move(label2_->x() + label2_->width() + Space, label2_->y());
}

void SnrTimeSeriesWindow::Arrange_TimeSeries() {
    ArrangeTimeSeries(shell_.config, constellation(), toTwips(client_->width()), toTwips(client_->height()), places_);
    for (int i = 1; i <= SNRCharts; ++i) {
        const SnrChartPlace& p = places_[i];
        ChartWidget* w = charts_[static_cast<std::size_t>(i)];
        w->setGeometry(fromTwips(p.left), fromTwips(p.top), fromTwips(p.width), fromTwips(p.height));
        w->setVisible(p.visible);
    }
}

void SnrTimeSeriesWindow::resizeEvent(QResizeEvent* e) {
    ChildWindow::resizeEvent(e);
    Arrange_TimeSeries();
    placeFilterLabels();
}

QSize SnrTimeSeriesWindow::readableSize() {
    constexpr int Margin = 4, Space = 8;
    // The charts share one design: the first one's needs are every one's.
    const QSize chart = readableChartSize(*charts_[1]);
    const SnrClientSize client = snrClientForCharts(shell_.config, constellation(), toTwips(chart.width()), toTwips(chart.height()));
    const int caption = 2 * Margin + label2_->sizeHint().width() + Space + lblFilter_->sizeHint().width();
    const QSize menu = layout()->menuBar()->sizeHint();
    return {std::max({caption, menu.width(), fromTwipsUp(client.width)}), menu.height() + fromTwipsUp(client.height)};
}

bool SnrTimeSeriesWindow::confirmClose() {
    // Asked at every close, the program's exit included: a No keeps the window and its data.
    return shell_.ask(SNRCloseQuestion, MessageButtons::YesNo, MessageAnswer::No, MessageIcon::Question) ==
           MessageAnswer::Yes;
}

void SnrTimeSeriesWindow::unload() {
    ChildWindow::unload();
    // The five windows of a system share one placement; the load staggers them again.
    const QRect g = normalGeometry();
    shell_.setSettingNumber(placementKey("Left", system()), toTwips(g.x()));
    shell_.setSettingNumber(placementKey("Top", system()), toTwips(g.y()));
    shell_.setSettingNumber(placementKey("Width", system()), toTwips(g.width()));
    shell_.setSettingNumber(placementKey("Height", system()), toTwips(g.height()));
}

void SnrTimeSeriesWindow::mnuWindow_Click() {
    QWidget* main = window();
    // One chooser at a time; one that was closed is on its way out and is not reused.
    SnrChooserDialog* chooser = nullptr;
    for (auto* d : main->findChildren<SnrChooserDialog*>("frmVisibleSNRTimeSeries"))
        if (d->isVisible()) chooser = d;
    if (chooser) {
        chooser->setConstellation(constellation());
    } else {
        chooser = new SnrChooserDialog(shell_, constellation(), main);
        chooser->setAttribute(Qt::WA_DeleteOnClose);
    }
    chooser->show();
    chooser->raise();
}

void SnrTimeSeriesWindow::refresh() {
    showFilter();
    for (ChartWidget* w : charts_)
        if (w->isVisible() && w->chart().dirty()) w->update();
}

void SnrTimeSeriesWindow::chartChanged() { markChanged(); }

SnrChooserDialog::SnrChooserDialog(Shell& shell, int constellation, QWidget* parent)
    : QDialog(parent), shell_(shell), constellation_(constellation) {
    setObjectName("frmVisibleSNRTimeSeries");
    setWindowTitle("Visible SNR TimeSeries");
    setModal(false);
    auto* grid = new QGridLayout(this);
    for (int i = 0; i <= SNRCharts + 1; ++i) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("chkPRN%1").arg(i));
        boxes_[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) {
            form_.chkPRN_Click(i, on);
            display(form_);
        });
    }
    boxes_[0]->setText("All visible");
    boxes_[SNRCharts + 1]->setText("Uncheck all");
    grid->addWidget(boxes_[0], 0, 0, 1, 2);
    grid->addWidget(boxes_[SNRCharts + 1], 0, 2, 1, 2);
    for (int i = 1; i <= SNRCharts; ++i) grid->addWidget(boxes_[static_cast<std::size_t>(i)], 1 + (i - 1) % 8, (i - 1) / 8);
    cmbColumns_ = new QComboBox(this);
    cmbColumns_->setObjectName("cmbColumns");
    cmbColumns_->addItems({"1", "2", "3"});
    lblNoOfSeries_ = new QLabel("0", this);
    lblNoOfSeries_->setObjectName("lblNoOfSeries");
    grid->addWidget(new QLabel("No of columns", this), 9, 0);
    grid->addWidget(cmbColumns_, 9, 1);
    grid->addWidget(new QLabel("No of visible series ", this), 9, 2);
    grid->addWidget(lblNoOfSeries_, 9, 3);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOk");
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdCancel");
    grid->addWidget(ok, 10, 2);
    grid->addWidget(cancel, 10, 3);
    connect(cmbColumns_, &QComboBox::activated, this, [this](int i) { form_.cmbColumns = i; });
    connect(ok, &QPushButton::clicked, this, &SnrChooserDialog::ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);

    form_.load(shell.config, constellation);
    display(form_);
}

void SnrChooserDialog::display(const SnrChooserForm& f) {
    for (int i = 0; i <= SNRCharts + 1; ++i) {
        QCheckBox* box = boxes_[static_cast<std::size_t>(i)];
        if (i >= 1 && i <= SNRCharts) box->setText(toQt(f.captions[static_cast<std::size_t>(i)]));
        box->setChecked(f.chkPRN[static_cast<std::size_t>(i)]);
    }
    cmbColumns_->setCurrentIndex(f.cmbColumns);
    lblNoOfSeries_->setText(toQt(f.lblNoOfSeries));
}

void SnrChooserDialog::ok() {
    form_.cmbColumns = cmbColumns_->currentIndex();
    form_.cmdOk_Click(shell_.config, constellation_);
    // The system-1 window of the constellation takes the choice now, if it is loaded; the
    // others at their next resize or load.
    WindowSlot& slot = shell_.windows.slot(WindowKind::TimeSeriesSNR, 1, constellation_);
    if (auto* w = dynamic_cast<SnrTimeSeriesWindow*>(slot.window())) w->Arrange_TimeSeries();
    close();
}

}  // namespace tiderune
