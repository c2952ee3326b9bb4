// The axis dialogs opened from a real time-series window inside the whole main window: a
// click on an axis opens the dialog for that chart, the time range reaches both charts of
// the RMC window, and a dialog open across a reset writes to the window made anew.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/program_core.h"
#include "app/reset_family.h"
#include "charts/dialogs/axis_range_dialogs.h"
#include "charts/dialogs/set_time_date_dialog.h"
#include "charts/time_series_window.h"
#include "platform/chart_scale.h"
#include "platform/qt/chart_widget.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

void clickBox(QCheckBox* c) { QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2)); }

// Runs `step` on the modal dialog of type D once it is open.
template <typename D>
void whenOpen(std::function<void(D&)> step) {
    QTimer::singleShot(0, [step] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        step(*d);
        if (d->isVisible()) d->reject();
    });
}

class TimeSeriesAxisTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startOnRealCore(real);
        useSystem(shell->config, 1, "Bridge", {});
        shell->config.Systems[1].analysed(SentenceType::RMC) = true;
        shell->state.StartupDone = true;
        window->resets().ResetAll();
        slot().show();
        boxes.shown.clear();
    }
    WindowSlot& slot() { return shell->windows.slot(WindowKind::TimeSeriesRMC, 1); }
    TimeSeriesWindow* rmc() { return qobject_cast<TimeSeriesWindow*>(slot().window()); }
    // A press on an axis of a chart of the window, as the user makes it.
    void pressAxis(int chart, Axis& (Chart::*axis)(), Qt::MouseButton button) {
        ChartWidget* w = rmc()->chartWidget(chart);
        w->renderImage();
        const AxisPlacement* at = w->layout().find(&(w->chart().*axis)());
        ASSERT_NE(at, nullptr);
        // The press repaints the chart and so replaces its layout: keep the point.
        const QPoint centre = at->hitArea.center();
        QTest::mousePress(w, button, {}, centre);
        QTest::mouseRelease(w, button, {}, centre);
    }
    ProgramCore real;
};

TEST_F(TimeSeriesAxisTest, AxisClicksOpenTheDialogsOnTheClickedChart) {
    // The lower chart takes any button on its left axis.
    whenOpen<YAxisDialog>([](YAxisDialog& d) {
        for (QCheckBox* c : {d.chkAutomatic, d.chkAutMax, d.chkAutMin}) clickBox(c);
        d.txtMax->selectAll();
        QTest::keyClicks(d.txtMax, "12,5");
        d.txtMin->selectAll();
        QTest::keyClicks(d.txtMin, "2");
        QTest::keyClick(d.txtMin, Qt::Key_Return);
    });
    pressAxis(1, &Chart::leftAxis, Qt::LeftButton);
    const Axis& left = rmc()->timeSeriesForm()->TChart(1).leftAxis();
    EXPECT_EQ(left.maximum(), 12.5);
    EXPECT_EQ(left.minimum(), 2);
    EXPECT_TRUE(rmc()->timeSeriesForm()->TChart(0).leftAxis().automatic());

    // The bottom axis in "Manual" mode: the end picked a year on goes to both charts.
    auto* option = rmc()->findChild<QComboBox*>("cmbOption");
    option->setCurrentIndex(3);
    emit option->activated(3);
    TimeSeriesForm& form = *rmc()->timeSeriesForm();
    for (int i = 0; i < 2; ++i)
        form.TChart(i).bottomAxis().restore({false, false, dateValue(2026, 12, 8, 14, 0, 0), dateValue(2026, 12, 8, 15, 0, 0)});
    whenOpen<XAxisDialog>([](XAxisDialog& x) {
        EXPECT_EQ(x.cmdEnd->text(), "08.12.2026 15:00:00");
        whenOpen<SetTimeDateDialog>([](SetTimeDateDialog& p) {
            p.lstYear->setCurrentRow(2);
            QTest::mouseClick(p.cmdOk, Qt::LeftButton);
        });
        QTest::mouseClick(x.cmdEnd, Qt::LeftButton);
        QTest::mouseClick(x.cmdOk, Qt::LeftButton);
    });
    pressAxis(0, &Chart::bottomAxis, Qt::RightButton);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(axisTimeCaption(form.TChart(i).bottomAxis().minimum()), "08.12.2026 14:00:00") << i;
        EXPECT_EQ(axisTimeCaption(form.TChart(i).bottomAxis().maximum()), "08.12.2027 15:00:00") << i;
    }
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(TimeSeriesAxisTest, ADialogOpenAcrossAResetWritesToTheWindowMadeAnew) {
    AxisDialogTarget target;
    ASSERT_EQ(rmc()->timeSeriesForm()->axisClick(0, AxisCode::Left, mouse::Right, target), AxisClickAction::YAxisDialog);
    YAxisDialog d(*shell, axisDialogRequest(slotFormLookup(*shell, WindowKind::TimeSeriesRMC, 1), target, {}, {}));
    d.show();
    const QPointer<TimeSeriesWindow> before = rmc();
    window->resets().ResetGraphics();
    ASSERT_NE(rmc(), nullptr);
    ASSERT_NE(rmc(), before.data());
    for (QCheckBox* c : {d.chkAutomatic, d.chkAutMax, d.chkAutMin}) clickBox(c);
    d.txtMax->setText("9");
    d.txtMin->setText("-9");
    QTest::mouseClick(d.cmdOk, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(rmc()->timeSeriesForm()->TChart(0).leftAxis().maximum(), 9);
}

}  // namespace
}  // namespace tiderune::test
