#include "charts/dialogs/set_time_date_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "charts/dialogs/axis_range_dialogs.h"
#include "charts/logic/axis_dialogs.h"
#include "platform/chart_scale.h"

namespace tiderune {

namespace {

bool editsStart(const XAxisDialog& x) { return x.TimeBound == "Start"; }

double shownTime(const XAxisDialog& x) {
    const QPushButton* b = editsStart(x) ? x.cmdStart : x.cmdEnd;
    // The captions are always written by the dialogs themselves; should one not read, the
    // picker opens at the first date a caption can show.
    return parseAxisTimeCaption(fromQt(b->text())).value_or(dateValue(1, 1, 1));
}

QListWidget* list(const char* name) {
    auto* l = new QListWidget;
    l->setObjectName(name);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

}  // namespace

SetTimeDateDialog::SetTimeDateDialog(XAxisDialog& axisDialog)
    : QDialog(&axisDialog), axisDialog_(axisDialog), picker_(editsStart(axisDialog), shownTime(axisDialog)) {
    setObjectName("frmSetTimeDate");
    setWindowTitle(toQt(picker_.caption));
    lstYear = list("lstYear");
    lstMonth = list("lstMonth");
    lstDay = list("lstDay");
    lstHour = list("lstHour");
    lstMin = list("lstMin");
    lstSec = list("lstSec");
    lblDate = makeLabel(this, "lblDate", "dd Mmm YYYY");
    lblTime = makeLabel(this, "lblTime", "hh:mm:ss");
    cmdOk = makeButton(this, "cmdOk", "OK");
    cmdOk->setDefault(true);
    cmdCancel = makeButton(this, "cmdCancel", "&Cancel");

    auto* g = new QGridLayout(this);
    g->addWidget(makeLabel(this, "", "Date"), 0, 0, 1, 3);
    g->addWidget(makeLabel(this, "", "Time"), 0, 3, 1, 3);
    g->addWidget(lblDate, 1, 0, 1, 3);
    g->addWidget(lblTime, 1, 3, 1, 3);
    int column = 0;
    for (QListWidget* l : {lstDay, lstMonth, lstYear, lstHour, lstMin, lstSec}) {
        // As wide as the longest entry and the scroll bar, not the list's default width.
        const char* widest = l == lstYear ? "00000" : l == lstMonth ? "MMm" : "000";
        l->setFixedWidth(l->fontMetrics().horizontalAdvance(widest) + l->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                         2 * l->frameWidth() + 8);
        l->setMinimumHeight(160);
        g->addWidget(l, 2, column++);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    g->addLayout(buttons, 3, 0, 1, 6);

    showAll();
    const std::pair<QListWidget*, void (TimeDatePicker::*)(int)> handlers[] = {
        {lstYear, &TimeDatePicker::lstYear_Click}, {lstMonth, &TimeDatePicker::lstMonth_Click},
        {lstDay, &TimeDatePicker::lstDay_Click},   {lstHour, &TimeDatePicker::lstHour_Click},
        {lstMin, &TimeDatePicker::lstMin_Click},   {lstSec, &TimeDatePicker::lstSec_Click}};
    for (const auto& [w, click] : handlers) {
        connect(w, &QListWidget::currentRowChanged, this, [this, click = click](int row) {
            if (row < 0) return;
            (picker_.*click)(row);
            showAll();
        });
    }
    connect(cmdOk, &QPushButton::clicked, this, &SetTimeDateDialog::cmdOkClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    const QRect x = axisDialog_.frameGeometry();
    const int left = editsStart(axisDialog_) ? x.left() - x.width() * 2 / 5 : x.left() + x.width() * 3 / 5;
    placeOnScreen(*this, QPoint(left, x.top() + x.height() * 9 / 10));
}

void SetTimeDateDialog::mirror(QListWidget* w, const ListBox& l) {
    const QSignalBlocker block(w);
    // The day list is the only one whose entries change.
    bool same = w->count() == static_cast<int>(l.items.size());
    for (int i = 0; same && i < w->count(); ++i) same = w->item(i)->text() == toQt(l.items[static_cast<std::size_t>(i)]);
    if (!same) {
        w->clear();
        for (const std::string& item : l.items) w->addItem(toQt(item));
    }
    w->setCurrentRow(l.listIndex);
    if (l.listIndex >= 0) w->scrollToItem(w->currentItem());
}

void SetTimeDateDialog::showAll() {
    mirror(lstYear, picker_.lstYear);
    mirror(lstMonth, picker_.lstMonth);
    mirror(lstDay, picker_.lstDay);
    mirror(lstHour, picker_.lstHour);
    mirror(lstMin, picker_.lstMin);
    mirror(lstSec, picker_.lstSec);
    lblDate->setText(toQt(picker_.lblDate));
    lblTime->setText(toQt(picker_.lblTime));
}

void SetTimeDateDialog::cmdOkClick() {
    QPushButton* target = editsStart(axisDialog_) ? axisDialog_.cmdStart : axisDialog_.cmdEnd;
    target->setText(toQt(picker_.okCaption()));
    accept();
}

}  // namespace tiderune
