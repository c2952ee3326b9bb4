// The axis range dialogs and the date and time picker driven with the mouse and the keyboard:
// typed values with a decimal comma, the refusal messages, the window looked up again when OK
// is pressed, the picker's lists, and the time range given to every chart of the window.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "charts/dialogs/axis_range_dialogs.h"
#include "charts/dialogs/set_time_date_dialog.h"
#include "platform/chart_scale.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
// On the box itself: a check box stretched by its layout is wider than what it hits.
void click(QCheckBox* c) { QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2)); }

void open(QDialog& d) {
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
}

void clickItem(QListWidget* list, const char* text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text;
    list->scrollToItem(found[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
}

// Types into a text box as a user would: a click into it (which selects what it holds),
// then the keys.
void typeInto(QLineEdit* box, const char* text) {
    click(box);
    QApplication::processEvents();
    QTest::keyClicks(box, text);
}

// Runs `step` on the picker once it is open (it runs modal).
void onPicker(std::function<void(SetTimeDateDialog&)> step) {
    QTimer::singleShot(0, [step] {
        auto* p = qobject_cast<SetTimeDateDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(p, nullptr);
        step(*p);
        if (p->isVisible()) p->reject();
    });
}

class AxisDialogsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        start();
        boxes.shown.clear();
    }
    AxisDialogRequest request(int chart, int count, const char* axis) {
        AxisDialogRequest r;
        r.form = [this] { return current; };
        r.chartIndex = chart;
        r.chartCount = count;
        r.axis = axis;
        return r;
    }
    static void fix(Axis& a, double min, double max) { a.restore({false, false, min, max}); }

    ChartSettings settings;
    Config config;
    TimeSeriesForm* current = nullptr;
};

TEST_F(AxisDialogsTest, ValueDialogTypedRefusedAndTheWindowLookedUpOnOk) {
    TimeSeriesForm vtg(*formDesign(chart_kind::VTG), settings, config);
    current = &vtg;
    Axis& right = vtg.TChart(0).rightAxis();
    fix(right, 50, 100);

    YAxisDialog d(*shell, request(0, 1, "right"));
    open(d);
    EXPECT_EQ(d.windowTitle(), " Y-Axis");
    EXPECT_EQ(d.txtMax->text(), "100.0");
    EXPECT_EQ(d.txtMin->text(), "50.0");
    click(d.chkAutomatic);
    EXPECT_FALSE(d.txtMax->isEnabled() || d.chkAutMax->isEnabled() || d.txtMin->isEnabled());
    click(d.chkAutomatic);
    click(d.chkAutMin);
    EXPECT_TRUE(d.txtMax->isEnabled());
    EXPECT_FALSE(d.txtMin->isEnabled());
    click(d.chkAutMin);

    typeInto(d.txtMax, "12,5");  // replaces the selected "100.0"
    typeInto(d.txtMin, "12,5");
    click(d.cmdOk);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{MinAboveMaxMessage});
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(right.maximum(), 100);

    // A range wholly below the old one, with Enter for OK.
    typeInto(d.txtMin, "-3");
    QTest::keyClick(d.txtMin, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(right.minimum(), -3);
    EXPECT_EQ(right.maximum(), 12.5);

    // The window made anew while the dialog was open gets the range; the old one is not
    // written. With no window left, OK only closes.
    TimeSeriesForm anew(*formDesign(chart_kind::VTG), settings, config);
    YAxisDialog again(*shell, request(0, 1, "left"));
    open(again);
    current = &anew;
    for (QCheckBox* c : {again.chkAutomatic, again.chkAutMax, again.chkAutMin}) click(c);  // all automatic so far
    typeInto(again.txtMax, "7");
    typeInto(again.txtMin, "1");
    click(again.cmdOk);
    EXPECT_EQ(anew.TChart(0).leftAxis().maximum(), 7);
    EXPECT_TRUE(vtg.TChart(0).leftAxis().automatic());
    YAxisDialog gone(*shell, request(0, 1, "left"));
    open(gone);
    current = nullptr;
    click(gone.chkAutomatic);
    click(gone.cmdOk);
    EXPECT_FALSE(gone.isVisible());
    EXPECT_FALSE(anew.TChart(0).leftAxis().automatic());
}

TEST_F(AxisDialogsTest, TimeDialogPicksTimesAndSetsEveryChart) {
    TimeSeriesForm gst(*formDesign(chart_kind::GST), settings, config);
    current = &gst;
    for (int i = 0; i < 3; ++i)
        fix(gst.TChart(i).bottomAxis(), dateValue(2020, 1, 31, 23, 0, 0), dateValue(2020, 1, 31, 23, 59, 59));

    XAxisDialog x(*shell, request(1, 3, "bottom"));
    open(x);
    EXPECT_EQ(x.cmdStart->text(), "31.01.2020 23:00:00");
    EXPECT_EQ(x.cmdEnd->text(), "31.01.2020 23:59:59");

    onPicker([](SetTimeDateDialog& p) {
        EXPECT_EQ(p.windowTitle(), "Set X-Axis End Date & Time");
        EXPECT_EQ(p.lstYear->count(), 3);
        EXPECT_EQ(p.lstYear->currentItem()->text(), "2020");
        EXPECT_EQ(p.lstDay->currentItem()->text(), "31");
        clickItem(p.lstYear, "2021");
        clickItem(p.lstMonth, "Feb");
        EXPECT_EQ(p.lstDay->count(), 28);  // 2021: no 29th
        EXPECT_EQ(p.lstDay->currentItem()->text(), "28");
        clickItem(p.lstMonth, "Mar");
        EXPECT_EQ(p.lstDay->count(), 31);
        clickItem(p.lstMin, "05");
        EXPECT_EQ(p.lblDate->text(), "28.03.2021");
        EXPECT_EQ(p.lblTime->text(), "23:05:59");
        click(p.cmdOk);
    });
    click(x.cmdEnd);
    EXPECT_EQ(x.TimeBound, "End");
    EXPECT_EQ(x.cmdEnd->text(), "28.03.2021 23:05:59");
    onPicker([](SetTimeDateDialog& p) {
        EXPECT_EQ(p.windowTitle(), "Set X-Axis Start Date & Time");
        clickItem(p.lstHour, "01");
        click(p.cmdCancel);
    });
    click(x.cmdStart);
    EXPECT_EQ(x.cmdStart->text(), "31.01.2020 23:00:00");

    click(x.cmdOk);
    EXPECT_FALSE(x.isVisible());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(axisTimeCaption(gst.TChart(i).bottomAxis().minimum()), "31.01.2020 23:00:00") << i;
        EXPECT_EQ(axisTimeCaption(gst.TChart(i).bottomAxis().maximum()), "28.03.2021 23:05:59") << i;
    }

    // An end before the start is refused; the whole axis automatic then goes to every chart.
    XAxisDialog y(*shell, request(2, 3, "bottom"));
    open(y);
    onPicker([](SetTimeDateDialog& p) {
        clickItem(p.lstYear, "2020");
        click(p.cmdOk);
    });
    click(y.cmdEnd);
    onPicker([](SetTimeDateDialog& p) {
        clickItem(p.lstYear, "2021");
        QTest::keyClick(p.lstYear, Qt::Key_Return);
    });
    click(y.cmdStart);
    click(y.cmdOk);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{StartAfterEndMessage});
    EXPECT_TRUE(y.isVisible());
    click(y.chkAutomatic);
    EXPECT_FALSE(y.cmdEnd->isEnabled());
    click(y.cmdOk);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(gst.TChart(i).bottomAxis().automatic()) << i;
}

}  // namespace
}  // namespace tiderune::test
