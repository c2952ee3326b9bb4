#include "charts/dialogs/axis_range_dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "frame/child_window.h"
#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "charts/dialogs/set_time_date_dialog.h"
#include "platform/chart_model.h"

namespace tiderune {

namespace {

// The window the request names as its slot holds it now, when it still has the clicked
// chart; null when the window or the chart is gone.
TimeSeriesForm* currentForm(const AxisDialogRequest& r) {
    TimeSeriesForm* f = r.form ? r.form() : nullptr;
    if (!f || r.chartIndex < 0 || r.chartIndex >= f->ChartCount) return nullptr;
    return f;
}

Chart* currentChart(const AxisDialogRequest& r) {
    TimeSeriesForm* f = currentForm(r);
    return f ? &f->TChart(r.chartIndex) : nullptr;
}

QCheckBox* checkBox(const char* name, const char* text) {
    auto* c = new QCheckBox(text);
    c->setObjectName(name);
    return c;
}

// One end of the range: its frame with the automatic box above the value.
QGroupBox* endFrame(const char* name, const char* title, QCheckBox* automatic, QWidget* value) {
    auto* g = new QGroupBox(title);
    g->setObjectName(name);
    auto* v = new QVBoxLayout(g);
    v->addWidget(automatic);
    v->addWidget(value);
    return g;
}

QHBoxLayout* okCancel(QPushButton* ok, QPushButton* cancel) {
    auto* h = new QHBoxLayout;
    h->addStretch(1);
    h->addWidget(ok);
    h->addWidget(cancel);
    ok->setDefault(true);
    return h;
}

// The three automatic boxes and the two ends they govern, alike in both dialogs but for
// what an end is (a text box, a time button).
struct AxisBoxes {
    QCheckBox *automatic, *autoMax, *autoMin;
    QWidget *max, *min;

    AxisChecks checks() const { return {automatic->isChecked(), autoMax->isChecked(), autoMin->isChecked()}; }

    void show(const AxisChecks& c) const {
        autoMax->setChecked(c.autoMax);
        autoMin->setChecked(c.autoMin);
        automatic->setChecked(c.automatic);
    }

    void follow() const {
        const AxisEnables e = axisEnables(checks());
        autoMax->setEnabled(e.autoMax);
        autoMin->setEnabled(e.autoMin);
        max->setEnabled(e.max);
        min->setEnabled(e.min);
    }

    // Enables what the checks allow now and again whenever a box changes.
    void keepFollowing(QObject* context) const {
        follow();
        for (QCheckBox* c : {automatic, autoMax, autoMin})
            QObject::connect(c, &QCheckBox::toggled, context, [b = *this] { b.follow(); });
    }
};

AxisBoxes boxes(const YAxisDialog& d) { return {d.chkAutomatic, d.chkAutMax, d.chkAutMin, d.txtMax, d.txtMin}; }

AxisBoxes boxes(const XAxisDialog& d) { return {d.chkAutomatic, d.chkAutMax, d.chkAutMin, d.cmdEnd, d.cmdStart}; }

}  // namespace

void placeOnScreen(QWidget& w, QPoint at) {
    w.adjustSize();
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        // Kept whole on the screen: a chart low in a tall window would put it below the edge.
        const QRect a = screen->availableGeometry();
        at.setX(std::clamp(at.x(), a.left(), std::max(a.left(), a.right() - w.width())));
        at.setY(std::clamp(at.y(), a.top(), std::max(a.top(), a.bottom() - w.height())));
    }
    w.move(at);
}

AxisDialogRequest axisDialogRequest(AxisFormLookup form, const AxisDialogTarget& target, QRect windowRect,
                                    QRect chartRect) {
    AxisDialogRequest r;
    r.form = std::move(form);
    r.chartIndex = target.AxisDialogChart ? target.AxisDialogChart->index() : 0;
    r.chartCount = target.AxisDialogChartCount;
    r.axis = target.AxisDialogAxis;
    r.windowRect = windowRect;
    r.chartRect = chartRect;
    return r;
}

void showAxisDialog(Shell& shell, AxisClickAction action, const AxisDialogRequest& request, QWidget* parent) {
    if (action != AxisClickAction::YAxisDialog && action != AxisClickAction::XAxisDialog) return;
    if (!currentChart(request)) return;
    EventGate::ModalScope modal(shell.gate);
    if (action == AxisClickAction::YAxisDialog) {
        YAxisDialog d(shell, request, parent);
        d.exec();
    } else {
        XAxisDialog d(shell, request, parent);
        d.exec();
    }
}

AxisFormLookup slotFormLookup(Shell& shell, WindowKind kind, int system) {
    return [&shell, kind, system]() -> TimeSeriesForm* {
        if (!shell.windows.created()) return nullptr;
        WindowSlot& slot = shell.windows.slot(kind, system);
        auto* holder = slot.isLoaded() ? dynamic_cast<TimeSeriesFormHolder*>(slot.window()) : nullptr;
        return holder ? holder->timeSeriesForm() : nullptr;
    };
}

void openAxisDialog(Shell& shell, ChildWindow& window, AxisClickAction action, const AxisDialogTarget& target,
                    QWidget* chart) {
    const QRect inside(window.mapToGlobal(QPoint(0, 0)), window.size());
    const QRect chartRect = chart ? QRect(chart->mapToGlobal(QPoint(0, 0)), chart->size()) : inside;
    const AxisDialogRequest request =
        axisDialogRequest(slotFormLookup(shell, window.kind(), window.system()), target, inside, chartRect);
    showAxisDialog(shell, action, request, window.window());
}

void SelectAllLineEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // After the mouse press that brought the focus has placed the cursor.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

// ---------------------------------------------------------------- frmYAxis

YAxisDialog::YAxisDialog(Shell& shell, AxisDialogRequest request, QWidget* parent)
    : QDialog(parent), shell_(shell), request_(std::move(request)) {
    setObjectName("frmYAxis");
    setWindowTitle(" Y-Axis");
    chkAutomatic = checkBox("chkAutomatic", "Y-Axis Automatic");
    chkAutMax = checkBox("chkAutMax", "Max Automatic");
    chkAutMin = checkBox("chkAutMin", "Min Automatic");
    txtMax = new SelectAllLineEdit;
    txtMax->setObjectName("txtMax");
    txtMin = new SelectAllLineEdit;
    txtMin->setObjectName("txtMin");
    frameMax = endFrame("frameMax", "Max value", chkAutMax, txtMax);
    frameMin = endFrame("frameMin", "Min value", chkAutMin, txtMin);
    cmdOk = makeButton(this, "cmdOk", "OK");
    cmdCancel = makeButton(this, "cmdCancel", "Cancel");
    auto* v = new QVBoxLayout(this);
    v->addWidget(chkAutomatic);
    v->addWidget(frameMax);
    v->addWidget(frameMin);
    v->addLayout(okCancel(cmdOk, cmdCancel));

    if (Chart* chart = currentChart(request_)) {
        const Axis& axis = valueDialogAxis(*chart, request_.axis);
        txtMax->setText(toQt(axisValueText(axis.maximum())));
        txtMin->setText(toQt(axisValueText(axis.minimum())));
        boxes(*this).show(axisChecks(axis));
    }
    boxes(*this).keepFollowing(this);
    connect(cmdOk, &QPushButton::clicked, this, &YAxisDialog::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    const QRect& c = request_.chartRect;
    placeOnScreen(*this, QPoint(request_.windowRect.left() + c.width() / 10, c.bottom() + 1));
}

void YAxisDialog::cmdOkClick() {
    Chart* chart = currentChart(request_);
    if (!chart) {
        reject();  // the window is gone: nothing left to set
        return;
    }
    Axis& axis = valueDialogAxis(*chart, request_.axis);
    if (applyValueAxis(axis, boxes(*this).checks(), fromQt(txtMax->text()), fromQt(txtMin->text())) == AxisOk::Refused) {
        shell_.ask(MinAboveMaxMessage);
        return;
    }
    accept();
}

// ---------------------------------------------------------------- frmXAxis

XAxisDialog::XAxisDialog(Shell& shell, AxisDialogRequest request, QWidget* parent)
    : QDialog(parent), shell_(shell), request_(std::move(request)) {
    setObjectName("frmXAxis");
    setWindowTitle("X-Axis");
    chkAutomatic = checkBox("chkAutomatic", "X-Axis Automatic");
    chkAutMax = checkBox("chkAutMax", "Automatic");
    chkAutMin = checkBox("chkAutMin", "Automatic");
    cmdEnd = makeButton(this, "cmdEnd", "dd.mm.yyyy hh:mm:ss");
    cmdStart = makeButton(this, "cmdStart", "dd.mm.yyyy hh:mm:ss");
    frameMax = endFrame("frameMax", "End time", chkAutMax, cmdEnd);
    frameMin = endFrame("frameMin", "Start time", chkAutMin, cmdStart);
    cmdOk = makeButton(this, "cmdOk", "OK");
    cmdCancel = makeButton(this, "cmdCancel", "Cancel");
    auto* v = new QVBoxLayout(this);
    v->addWidget(chkAutomatic);
    auto* ends = new QHBoxLayout;
    ends->addWidget(frameMin);
    ends->addWidget(frameMax);
    v->addLayout(ends);
    v->addLayout(okCancel(cmdOk, cmdCancel));

    if (Chart* chart = currentChart(request_)) {
        const Axis& axis = chart->bottomAxis();
        cmdStart->setText(toQt(axisTimeCaption(axis.minimum())));
        cmdEnd->setText(toQt(axisTimeCaption(axis.maximum())));
        boxes(*this).show(axisChecks(axis));
    }
    boxes(*this).keepFollowing(this);
    connect(cmdStart, &QPushButton::clicked, this, &XAxisDialog::cmdStartClick);
    connect(cmdEnd, &QPushButton::clicked, this, &XAxisDialog::cmdEndClick);
    connect(cmdOk, &QPushButton::clicked, this, &XAxisDialog::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    const QRect& c = request_.chartRect;
    placeOnScreen(*this, QPoint(request_.windowRect.left() + c.width() * 2 / 5, c.bottom() + 1));
}

void XAxisDialog::cmdStartClick() {
    TimeBound = "Start";
    pickTime();
}

void XAxisDialog::cmdEndClick() {
    TimeBound = "End";
    pickTime();
}

void XAxisDialog::pickTime() {
    SetTimeDateDialog picker(*this);
    EventGate::ModalScope modal(shell_.gate);
    picker.exec();
}

void XAxisDialog::cmdOkClick() {
    TimeSeriesForm* form = currentForm(request_);
    if (!form) {
        reject();  // the window is gone: nothing left to set
        return;
    }
    if (applyTimeAxis(*form, request_.chartIndex, request_.chartCount, boxes(*this).checks(), fromQt(cmdEnd->text()),
                      fromQt(cmdStart->text())) == AxisOk::Refused) {
        shell_.ask(StartAfterEndMessage);
        return;
    }
    accept();
}

}  // namespace tiderune
