// The AIS list with its detail window, and the ARPA list, opened as a person opens them
// inside a whole main window on the real core, fed real sentences and drawn on the tick.
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QStyle>

#include "ais/windows/ais_target_windows.h"
#include "ais/windows/arpa_targets_window.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "frame/redraw_tick.h"
#include "core/parsers.h"
#include "platform/qt/grid_widget.h"
#include "platform/qt/qt_edge.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

class TargetWindowsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        realCore = &program;
        start();
        SystemSetup& s = shell->config.Systems[1];
        s.InUse = true;
        s.Name = "Bridge";
        s.VDMAnalysed = s.TTMAnalysed = s.GLLAnalysed = true;
    }
    void feed(const std::string& line) {
        shell->processSentence(1, line);
        window->redrawTick().drawNow();
    }
    void nmea(const std::string& body) { feed(body + "*" + CalcChecksum(body)); }
    template <class W>
    W* opened(WindowKind kind) {
        return qobject_cast<W*>(shell->windows.slot(kind, 1).window());
    }
    // A left (or other) press on row r of a grid; row 0 is the heading row.
    static void press(GridWidget* g, int r, Qt::MouseButton b = Qt::LeftButton) {
        if (r == 0) return QTest::mouseClick(g->horizontalHeader()->viewport(), b, {}, QPoint(5, 5));
        QTest::mouseClick(g->viewport(), b, {}, QPoint(5, g->rowViewportPosition(r - 1) + 3));
    }

    ProgramCore program;
};

TEST_F(TargetWindowsTest, AisListFillsFollowsAndOpensTheDetailOfThePressedRow) {
    nmea("$GPGLL,5200.00,N,00400.00,E,080000,A");
    feed("!AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0*5C");  // MMSI 477553000
    ShowAISTargetsWindow(*shell, 1);
    auto* list = opened<AISTargetsWindow>(WindowKind::AISTargets);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle().toStdString(), "AIS Targets 1 - Bridge");
    GridWidget* g = list->fgAISTargets;
    ASSERT_EQ(g->rows(), 2);  // the load wrote the stored target
    EXPECT_EQ(g->text(1, 0), "477553000");
    EXPECT_EQ(g->text(1, 8), "08 Dec 08:00:00");

    feed("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A");  // MMSI 371798000, while open
    ASSERT_EQ(g->rows(), 3);
    EXPECT_EQ(g->text(2, 0), "371798000");
    EXPECT_EQ(g->text(2, 9), " 2");
    // Every text the rows show, and the widest position and time texts (a latitude and a
    // longitude of the most figures, the time in every month), fit their cells whole.
    const int margin = g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1;
    auto fits = [&](int c, const std::string& text) {
        const int room = g->visualRect(g->model()->index(0, c - 1)).width() - 2 * margin;
        EXPECT_LE(g->fontMetrics().horizontalAdvance(toQt(text)), room) << "column " << c << ": " << text;
    };
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c < 10; ++c) fits(c, g->text(r, c));
    EXPECT_EQ(g->text(2, 3).substr(0, 3), "123") << "a three-figure longitude";
    for (int c = 1; c < 10; ++c)
        for (const std::string& text : aisListWidestTexts(c)) fits(c, text);
    EXPECT_EQ(aisListWidestTexts(8).size(), 12u);
    EXPECT_EQ(aisListWidestTexts(3)[0].size(), g->text(2, 3).size());

    // The heading row, the right button and the space below the rows open nothing.
    press(g, 0);
    press(g, 2, Qt::RightButton);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(5, g->viewport()->height() - 2));
    EXPECT_EQ(window->mdiArea()->findChild<AISExtraInfoWindow*>(), nullptr);

    press(g, 2);
    auto* detail = window->mdiArea()->findChild<AISExtraInfoWindow*>();
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->windowTitle().toStdString(), "AIS Extended Info - MMSI : 371798000");
    EXPECT_EQ(detail->fgAISExtraInfo[0]->text(0, 1), "371798000");
    EXPECT_EQ(detail->fgAISExtraInfo[1]->text(0, 1), "Static data");
    // Beside the list, at the height of the press.
    EXPECT_EQ(detail->parentWidget()->x(), list->parentWidget()->x() + 267);

    // The shown target follows its messages; another target's leave it.
    nmea("$GPGLL,5200.00,N,00400.00,E,080007,A");
    feed("!AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0*5C");
    EXPECT_EQ(detail->fgAISExtraInfo[3]->text(2, 1), "08 Dec 08:00:00");
    feed("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A");
    EXPECT_EQ(detail->fgAISExtraInfo[3]->text(2, 1), "08 Dec 08:00:07");
    EXPECT_EQ(detail->fgAISExtraInfo[3]->text(4, 1), " 2");

    // A press on another row closes the detail window and opens the one of that row.
    press(g, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto details = window->mdiArea()->findChildren<AISExtraInfoWindow*>();
    ASSERT_EQ(details.size(), 1);
    EXPECT_EQ(details[0]->fgAISExtraInfo[0]->text(0, 1), "477553000");
}

TEST_F(TargetWindowsTest, ArpaListGrowsByTargetNumberAndStartsEmptyWhenReopened) {
    nmea("$GPGLL,5200.00,N,00400.00,E,080000,A");
    ShowARPATargetsWindow(*shell, 1);
    auto* arpa = opened<ARPATargetsWindow>(WindowKind::ARPATargets);
    ASSERT_NE(arpa, nullptr);
    EXPECT_EQ(arpa->windowTitle().toStdString(), "ARPA Targets 1 - Bridge");
    EXPECT_TRUE(shell->config.WindowVisible[1][VisibleForms::ARPATargets]);
    nmea("$RATTM,05,1.25,45.0,T,12.5,270.0,T,0.8,12.0,N,PILOT,T,,080000,A");
    nmea("$RATTM,500,1.25,45.0,T,12.5,270.0,T,0.8,12.0,N,X,T,,080000,A");
    GridWidget* g = arpa->fgARPATargets;
    ASSERT_EQ(g->rows(), 7);
    EXPECT_EQ(g->text(6, 1), "PILOT");
    EXPECT_EQ(g->text(6, 14), "08:00:00");

    ASSERT_TRUE(shell->windows.slot(WindowKind::ARPATargets, 1).unload());
    EXPECT_FALSE(shell->config.WindowVisible[1][VisibleForms::ARPATargets]);
    ShowARPATargetsWindow(*shell, 1);
    arpa = opened<ARPATargetsWindow>(WindowKind::ARPATargets);
    EXPECT_EQ(arpa->fgARPATargets->rows(), 2);
    EXPECT_EQ(arpa->fgARPATargets->text(1, 1), "");
}

}  // namespace
}  // namespace tiderune::test
