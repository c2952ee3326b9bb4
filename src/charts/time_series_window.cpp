#include "charts/time_series_window.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QLabel>
#include <QResizeEvent>

#include "frame/shell.h"
#include "charts/chart_windows.h"
#include "charts/dialogs/axis_range_dialogs.h"
#include "charts/skyplot_window.h"
#include "frame/window_registry.h"
#include "platform/qt/chart_widget.h"
#include "platform/qt/qt_edge.h"
#include "platform/twips.h"
#include "timeseries/time_series_engine.h"

namespace tiderune {

namespace {

constexpr int Twips = TwipsPerPixel;

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(left / Twips, top / Twips, width / Twips, height / Twips);
}

void fillList(QComboBox* box, const ListBox& list) {
    const QSignalBlocker block(box);
    box->clear();
    for (const std::string& item : list.items) box->addItem(toQt(item));
}

}  // namespace

TimeSeriesWindow::TimeSeriesWindow(Shell& shell, WindowKind kind, const FormDesign& design)
    : ChildWindow(shell, kind), design_(design) {
    setObjectName(design.formName);
    auto label = [this](const char* name, const char* text, int l, int t, int w, int h) {
        auto* lbl = new QLabel(toQt(text), this);
        lbl->setObjectName(name);
        placeTwips(lbl, l, t, w, h);
        return lbl;
    };
    auto list = [this](const char* name, int l, int t, int w, int h) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        placeTwips(box, l, t, w, h);
        return box;
    };
    lblSystemColor_ = label("lblSystemColor", "PRIMARY SYSTEM (blue)", 0, 120, 2205, 195);
    label("Label1", "Time Axis", 2760, 120, 675, 195);
    cmbOption_ = list("cmbOption", 3600, 120, 1215, 315);
    cmbInterval_ = list("cmbInterval", 4800, 120, 1095, 315);
    label("Label2", "Filter", 6000, 0, 330, 195);
    lblFilter_ = label("lblFilter", "0", 6120, 240, 300, 195);
    cmbFilter_ = list("cmbFilter", 6480, 120, 1095, 315);

    if (design.dgpsChart) {
        chkDGPS_ = new QCheckBox(QStringLiteral("Plot DGPS data(chart4)"), this);
        chkDGPS_->setObjectName("chkDGPS");
        chkDGPS_->setChecked(true);
        placeTwips(chkDGPS_, 7680, 120, 2400, 435);
        connect(chkDGPS_, &QCheckBox::clicked, this, [this](bool on) {
            const bool maximised = frame() && frame()->isMaximized();
            if (!form_->chkDGPS_Click(on ? 1 : 0, maximised))
                shell_.ask(MaximizedMessage, MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::Information);
            applyHeightRequest();
            userChanged();
        });
    }
    if (design.ageOffBox) {
        chkAgeOff_ = new QCheckBox(QStringLiteral("Age off"), this);
        chkAgeOff_->setObjectName("chkAgeOff");
        placeTwips(chkAgeOff_, 9840, 120, 1200, 315);
        connect(chkAgeOff_, &QCheckBox::clicked, this, [this](bool on) {
            form_->chkAgeOff_Click(on ? 1 : 0);
            userChanged();
        });
    }


    std::vector<Chart*> charts;
    for (int i = 0; i < design.chartCount(); ++i) {
        auto* w = new ChartWidget(this);
        w->setObjectName(QStringLiteral("TChart%1").arg(i));
        const std::string& hint = design.charts[static_cast<std::size_t>(i)].hint;
        if (!hint.empty()) w->setToolTip(toQt(hint));
        charts_.push_back(w);
        charts.push_back(&w->chart());
    }
    form_ = std::make_unique<TimeSeriesForm>(design, shell.timeSeries.settings, shell.config, charts);
    // The strip shows the values in force whether or not a chart gets repainted: a covered
    // window repaints none, yet its filter label must not go stale.
    form_->onChange = [this] { formChanged(); };
    for (ChartWidget* w : charts_) {
        // Points reach the screen on the shared tick, never one repaint per point.
        w->chart().setObserver(this);
        w->chart().addListener(this);
    }
    connect(cmbOption_, &QComboBox::activated, this, [this](int i) {
        form_->cmbOption_Click(i);
        userChanged();
    });
    connect(cmbInterval_, &QComboBox::activated, this, [this](int i) {
        form_->cmbInterval_Click(i);
        userChanged();
    });
    connect(cmbFilter_, &QComboBox::activated, this, [this](int i) {
        form_->cmbFilter_Click(i);
        userChanged();
    });
    resize(design.innerWidth / Twips, design.innerHeight / Twips);
}

TimeSeriesWindow::~TimeSeriesWindow() {
    for (ChartWidget* w : charts_) {
        w->chart().removeListener(this);
        w->chart().setObserver(nullptr);
    }
}

void TimeSeriesWindow::load() {
    ChildWindow::load();
    // The family keeps no placement: every load opens at the design's inner size.
    if (QWidget* outer = frame(); outer != this) {
        resize(design_.innerWidth / Twips, design_.innerHeight / Twips);
        outer->adjustSize();
        outer->resize(outer->sizeHint().expandedTo(size()));
    }
    form_->load(static_cast<std::int16_t>(system()), shell_.config.Systems[system()].Name);
    // The GSA and GSV windows give the sky plot their satellites' colours.
    shell_.timeSeries.TakeChartColours(*form_);
    setWindowTitle(toQt(form_->caption));
    fillList(cmbOption_, form_->cmbOption);
    fillList(cmbInterval_, form_->cmbInterval);
    fillList(cmbFilter_, form_->cmbFilter);
    layoutStrip();
    applyHeightRequest();
    markChanged();
    refreshIfChanged();
}

void TimeSeriesWindow::layoutStrip() {
    // The strip keeps the design's order and places, but a control whose text needs more room
    // than the design gave it (fonts differ from the original's) grows and pushes the next.
    auto* label1 = findChild<QLabel*>("Label1");
    auto* label2 = findChild<QLabel*>("Label2");
    int right = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{lblSystemColor_, label1, cmbOption_, cmbInterval_, label2, cmbFilter_,
                                                    chkDGPS_, chkAgeOff_}) {
        if (!w) continue;
        w->resize(std::max(w->width(), w->sizeHint().width()), std::max(w->height(), w->sizeHint().height()));
        w->move(std::max(w->x(), right), w->y());
        right = w->x() + w->width() + 4;
        if (w == label2) {
            lblFilter_->move(label2->x() + 8, label2->y() + label2->height());
            right = std::max(right, lblFilter_->x() + lblFilter_->width() + 4);
        }
    }
    stripRight_ = right;
    // Pushed past the design's width, the strip widens the window so that all of it shows.
    if (const int more = right - width(); more > 0) {
        resize(width() + more, height());
        if (QWidget* outer = frame(); outer != this) outer->resize(outer->width() + more, outer->height());
    }
    placeAgeOff();
}

QSize TimeSeriesWindow::readableSize() {
    QSize chart;
    for (ChartWidget* w : charts_) chart = chart.expandedTo(readableChartSize(*w));
    const int across = form_->widthForCharts(chart.width() * Twips);
    const int down = form_->heightForCharts(chart.height() * Twips);
    return {std::max(stripRight_, fromTwipsUp(across)), fromTwipsUp(down)};
}

void TimeSeriesWindow::unload() {
    form_->unload();
    ChildWindow::unload();
}

void TimeSeriesWindow::refresh() {
    const TimeSeriesForm& f = *form_;
    if (shownGeneration_ != f.stateGeneration()) {
        shownGeneration_ = f.stateGeneration();
        auto select = [](QComboBox* box, const ListBox& list) {
            const QSignalBlocker block(box);
            box->setCurrentIndex(list.listIndex);
            box->setVisible(list.visible);
        };
        select(cmbOption_, f.cmbOption);
        select(cmbInterval_, f.cmbInterval);
        select(cmbFilter_, f.cmbFilter);
        lblFilter_->setText(toQt(f.lblFilter.caption));
        lblFilter_->setVisible(f.lblFilter.visible);
        lblSystemColor_->setText(toQt(f.lblSystemColor.caption));
        QPalette p = lblSystemColor_->palette();
        p.setColor(QPalette::WindowText, toQColor(f.lblSystemColor.foreColour));
        lblSystemColor_->setPalette(p);
        if (chkDGPS_) {
            const QSignalBlocker block(chkDGPS_);
            chkDGPS_->setChecked(f.chkDGPS.value != 0);
        }
        if (chkAgeOff_) {
            const QSignalBlocker block(chkAgeOff_);
            chkAgeOff_->setChecked(f.chkAgeOff.value != 0);
        }
        placeCharts();
    }
    for (ChartWidget* w : charts_)
        if (w->chart().dirty()) w->update();
}

void TimeSeriesWindow::resizeEvent(QResizeEvent* e) {
    ChildWindow::resizeEvent(e);
    form_->resize(e->size().width() * Twips, e->size().height() * Twips);
    placeCharts();
    placeAgeOff();
}

void TimeSeriesWindow::placeAgeOff() {
    if (!chkAgeOff_) return;
    // Its right edge at the charts' right edge, as the design's box, but never over the DGPS
    // box when the fonts make that one wider than the design gave it.
    const int chartsRight = (form_->chkAgeOff.left + 972) / Twips;
    const int afterDGPS = chkDGPS_ ? chkDGPS_->x() + chkDGPS_->width() + 4 : 0;
    chkAgeOff_->move(std::max(chartsRight - chkAgeOff_->width(), afterDGPS), chkAgeOff_->y());
}

void TimeSeriesWindow::placeCharts() {
    for (std::size_t i = 0; i < charts_.size(); ++i) {
        const ChartPlace& p = form_->chartPlaces[i];
        charts_[i]->setGeometryTwips(p.left, p.top, p.width, p.height);
    }
}

void TimeSeriesWindow::applyHeightRequest() {
    const int delta = form_->heightRequest / Twips;
    form_->heightRequest = 0;
    if (delta == 0) return;
    QWidget* outer = frame() ? frame() : this;
    outer->resize(outer->width(), std::max(1, outer->height() + delta));
}

void TimeSeriesWindow::chartChanged() { markChanged(); }

void TimeSeriesWindow::formChanged() {
    markChanged();
    // The GSV window's filter also decimates the system's SNR windows, which show it.
    if (kind() != WindowKind::TimeSeriesGSV) return;
    for (int c = 1; c <= SNRConstellations; ++c)
        if (ChildWindow* snr = shell_.windows.slot(WindowKind::TimeSeriesSNR, system(), c).window()) snr->markChanged();
}

void TimeSeriesWindow::userChanged() {
    markChanged();
    refreshIfChanged();
}

void TimeSeriesWindow::onAxisClick(const AxisClickEvent& e) {
    const AxisClickAction a = form_->axisClick(e.index, e.axis, e.button, shell_.timeSeries.axisDialog);
    if (a == AxisClickAction::RefuseBottom) shell_.ask(ManualTimeAxisMessage);
    // Nothing of this window is touched once the dialog has closed.
    else openAxisDialog(shell_, *this, a, shell_.timeSeries.axisDialog, charts_[static_cast<std::size_t>(e.index)]);
}

void TimeSeriesWindow::onZoom(int index) { form_->viewChange(index); }
void TimeSeriesWindow::onUndoZoom(int index) { form_->viewChange(index); }
void TimeSeriesWindow::onScroll(int index) { form_->viewChange(index); }

void installChartWindows(WindowRegistry& r) {
    installScatterAndSNRWindows(r);
    for (SentenceType t : {SentenceType::VTG, SentenceType::GLL, SentenceType::RMC, SentenceType::HDT, SentenceType::ATT,
                           SentenceType::ROT, SentenceType::VHW, SentenceType::DBT, SentenceType::GST, SentenceType::GGA,
                           SentenceType::GNS, SentenceType::GSA, SentenceType::GSV}) {
        const FormDesign* d = formDesignOf(t);
        const std::optional<WindowKind> kind = timeSeriesKindOf(t);
        if (d && kind) r.add(*kind, [d](Shell& s, WindowKind k) { return new TimeSeriesWindow(s, k, *d); });
    }
    r.add(WindowKind::Skyplot, [](Shell& s, WindowKind) { return new SkyplotWindow(s); });
}

}  // namespace tiderune
