// Windows stay where the user puts them: the resets close and reopen the windows, Cascade and
// Tile arrange them, and a restart reads their stored placements; each gives every window
// back in its state (minimised, maximised), at its normal place and in the same pile, none a
// title-bar strip and none out of sight.
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <map>

#include "app/new_window_dialog.h"
#include "app/offline_status_window.h"
#include "app/program_core.h"
#include "app/reset_family.h"
#include "core/parsers.h"
#include "platform/qt/chart_widget.h"
#include "shell_fixture.h"

// Rectangles in failure messages as places, not bytes.
inline void PrintTo(const QRect& r, std::ostream* o) {
    *o << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace tiderune::test {
namespace {

using K = WindowKind;

struct Placed {
    Qt::WindowStates state;
    QRect normal;
    bool operator==(const Placed&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Placed& p) {
    const QRect& r = p.normal;
    return o << "state " << int(p.state) << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

void seedDemo(const std::string& home, MemorySettingsStore& settings);

class WindowPlacementTest : public ShellTest {
protected:
    // The demo's way: OFFLINE on a short recording, the windows of system 1 open.
    void startOffline(const char* mainHeight = "16000") {
        const std::string recording = dir.path().toStdString() + "/run.nmea";
        std::ofstream(recording) << sentence("$GPGGA,080000.00,5925.12420,N,01029.52887,E,2,12,0.8,35.2,M,39.1,M,1.0,0100")
                                 << sentence("$GPGGA,080001.00,5925.12520,N,01029.52887,E,2,12,0.8,35.2,M,39.1,M,1.0,0100");
        settings.setValue("Tiderune", "Settings", "MainWidth", "24000");
        settings.setValue("Tiderune", "Settings", "MainHeight", mainHeight);
        startOnRealCore(first);
        Config& c = shell->config;
        useSystem(c, 1, "Bridge", {SentenceType::GGA, SentenceType::GSA, SentenceType::ATT});
        c.Systems[1].OfflineFile = recording;
        boxes.answers.push_back(MessageAnswer::Yes);  // the mode question
        action("mnuModeOffline")->trigger();
        for (auto show : {ShowNumericsWindow, ShowStatisticsWindow, ShowSkyplotWindow, ShowNMEAWindow,
                          ShowARPATargetsWindow, ShowAISTargetsWindow, ShowTimeSeriesWindows, ShowScatterWindow})
            show(*shell, 1);
        // Arranged by hand, each window somewhere else, the status window on top.
        int i = 0;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
            if (sub->isVisible() && sub != status()) sub->setGeometry(40 * i, 30 * i, 330 + 10 * i, 260 + 5 * i), ++i;
        status()->raise();
    }
    static std::string sentence(const std::string& body) { return body + "*" + CalcChecksum(body + "*") + "\r\n"; }
    QMdiSubWindow* status() const { return qobject_cast<QMdiSubWindow*>(window->offlineStatusWindow()->parentWidget()); }
    QMdiSubWindow* frameOf(K kind) const {
        return qobject_cast<QMdiSubWindow*>(shell->windows.slot(kind, 1).window()->parentWidget());
    }
    // Every visible window of a system, by its caption.
    std::map<std::string, Placed> placed() const {
        std::map<std::string, Placed> m;
        for (const auto& slot : shell->windows.all())
            if (slot->isVisible())
                m[slot->window()->windowTitle().toStdString()] = {
                    slot->window()->parentWidget()->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
                    slot->window()->normalGeometry()};
        return m;
    }
    // The visible windows from the bottom of the pile to its top.
    std::vector<std::string> pile() const {
        std::vector<std::string> p;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList(QMdiArea::StackingOrder))
            if (sub->isVisible()) p.push_back(sub->windowTitle().toStdString());
        return p;
    }
    // The work area with what its scroll bars reach.
    QRect reach() const {
        QMdiArea* mdi = window->mdiArea();
        const QScrollBar* h = mdi->horizontalScrollBar();
        const QScrollBar* v = mdi->verticalScrollBar();
        return QRect(QPoint(h->minimum() - h->value(), v->minimum() - v->value()),
                     mdi->viewport()->size() + QSize(h->maximum() - h->minimum(), v->maximum() - v->minimum()));
    }
    // No window smaller than usable, none out of reach (a minimised one's normal place is
    // reached once it is restored: the area then scrolls to it).
    void expectUsable() const {
        const QRect area = reach();
        for (const auto& [caption, p] : placed()) {
            SCOPED_TRACE(caption);
            EXPECT_GE(p.normal.width(), fromTwips(UsableWidthTwips));
            EXPECT_GE(p.normal.height(), fromTwips(UsableHeightTwips));
            if (p.state != Qt::WindowMinimized) {
                EXPECT_TRUE(p.normal.intersects(area));
            }
        }
    }
    // The outer size at which a window's content reads, its frame included.
    QSize readableFrame(const std::string& caption) const {
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
            if (sub->windowTitle().toStdString() == caption)
                if (auto* child = qobject_cast<ChildWindow*>(sub->widget()))
                    return child->readableSize() + (sub->size() - child->size());
        return {};
    }
    // No window's title bar under a window above it in the pile.
    void expectTitleBarsInSight() const {
        std::vector<QMdiSubWindow*> shown;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList(QMdiArea::StackingOrder))
            if (sub->isVisible() && !sub->isMinimized()) shown.push_back(sub);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const QRect bar(shown[i]->pos(), QSize(shown[i]->width(), shown[i]->widget()->y()));
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(bar.intersects(shown[j]->geometry()))
                    << shown[j]->windowTitle().toStdString() << " covers the title bar of " << shown[i]->windowTitle().toStdString();
        }
    }
    // The demo's first start (scripts/demo.sh) on the real core, its main window maximised.
    void startSeededDemo() {
        seedDemo(home, settings);
        realCore = &first;
        start();
        QCoreApplication::processEvents();  // the screen's answer to the maximised window
    }
    ProgramCore first;
};

TEST_F(WindowPlacementTest, ResetsGiveEveryWindowBackItsStatePlaceAndPile) {
    startOffline();
    struct Case {
        const char* name;
        K touched;
        Qt::WindowState state;
        std::function<void()> reset;
    };
    auto play = [this] { MainWindow::button(window->offlineToolBar(), "PLAY")->trigger(); };
    auto resetAll = [this] { window->tbOnlineButtonClick("RESET ALL"); };
    auto resetGraphics = [this] { window->tbOnlineButtonClick("Reset Graphics"); };
    ASSERT_EQ(pile().back(), "Tiderune-  OFFLINE STATUS");  // and no reset may bury it
    for (const Case& c : {Case{"GGA chart maximised, PLAY", K::TimeSeriesGGA, Qt::WindowMaximized, play},
                          Case{"numerics maximised, RESET ALL", K::Numerics, Qt::WindowMaximized, resetAll},
                          Case{"AIS list minimised, PLAY", K::AISTargets, Qt::WindowMinimized, play},
                          Case{"scatter minimised, Reset Graphics", K::Scatter, Qt::WindowMinimized, resetGraphics},
                          Case{"monitor maximised, PLAY", K::NMEA, Qt::WindowMaximized, play}}) {
        SCOPED_TRACE(c.name);
        QMdiSubWindow* touched = frameOf(c.touched);
        touched->setWindowState(c.state);
        const auto before = placed();
        const auto pileBefore = pile();
        c.reset();
        EXPECT_EQ(placed(), before);
        EXPECT_EQ(pile(), pileBefore);
        expectUsable();
        frameOf(c.touched)->showNormal();
        status()->raise();
    }
}

TEST_F(WindowPlacementTest, CascadeKeepsSizesTileAndArrangeIconsStillWork) {
    startOffline("11400");  // low enough for the stagger to start again beside the first
    frameOf(K::Skyplot)->showMinimized();
    frameOf(K::TimeSeriesGGA)->showMaximized();
    const QRect area = window->mdiArea()->viewport()->rect();
    const std::string monitor = "NMEA Monitor 1 - Bridge";  // larger than the area
    frameOf(K::NMEA)->resize(area.size() + QSize(40, 40));
    const auto before = placed();
    const auto pileBefore = pile();
    const QList<QMdiSubWindow*> bottomUp = window->mdiArea()->subWindowList(QMdiArea::StackingOrder);
    action("mnuWindowCascade")->trigger();
    const auto after = placed();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [caption, p] : after) {
        SCOPED_TRACE(caption);
        const Placed& was = before.at(caption);
        if (was.state == Qt::WindowMinimized) {
            EXPECT_EQ(p, was);  // the icons stay as they are
            continue;
        }
        EXPECT_EQ(p.state, Qt::WindowNoState);
        // Its size where that reads and the room right of and below its corner holds it; the
        // monitor, larger than the area, cut to that room, across to what its run of the
        // stagger leaves the next.
        const QSize readable = readableFrame(caption);
        const QRect room = QRect(p.normal.topLeft(), area.bottomRight());
        if (was.normal.width() >= readable.width() && was.normal.height() >= readable.height() &&
            was.normal.width() <= room.width() && was.normal.height() <= room.height()) {
            EXPECT_EQ(p.normal.size(), was.normal.size());
        }
        if (caption == monitor) {
            EXPECT_EQ(p.normal.height(), room.height());
            EXPECT_LT(p.normal.width(), room.width());
            EXPECT_GE(p.normal.width(), readable.width());
        }
    }
    // The status window keeps the top left corner where it opens; below it the others, from
    // the bottom of the pile up, one title bar further down and right each: none on another's
    // corner, no title bar under a window above it, and the stagger started again beside the
    // first column.
    EXPECT_EQ(status()->pos(), QPoint(0, 0));
    expectTitleBarsInSight();
    std::vector<QPoint> corners;
    int again = 0;
    for (QMdiSubWindow* sub : bottomUp) {
        if (!sub->isVisible() || sub->isMinimized()) continue;
        EXPECT_EQ(std::count(corners.begin(), corners.end(), sub->pos()), 0) << sub->windowTitle().toStdString();
        corners.push_back(sub->pos());
        if (sub != status() && sub->y() == status()->height() && sub->x() > 0) ++again;
    }
    EXPECT_GE(again, 1);
    EXPECT_EQ(pile(), pileBefore);
    expectUsable();
    const int step = status()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, status());

    for (const char* tile : {"mnuWindowTileHorizontal", "mnuWindowTileVertical"}) {
        SCOPED_TRACE(tile);
        action(tile)->trigger();
        for (const auto& [caption, p] : placed()) {
            if (p.state != Qt::WindowMinimized) {
                EXPECT_TRUE(reach().contains(p.normal)) << caption;
            }
        }
    }
    // The icons, the fixed-size status window's among them, title bars of one size in a row
    // along the bottom edge from its left end, side by side.
    frameOf(K::Statistics)->showMinimized();
    status()->showMinimized();
    action("mnuWindowArrangeIcons")->trigger();
    std::vector<QRect> icons, row;
    for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
        if (sub->isVisible() && sub->isMinimized()) icons.push_back(sub->geometry());
    std::sort(icons.begin(), icons.end(), [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
    ASSERT_EQ(icons.size(), 3u);
    const QSize icon = frameOf(K::Statistics)->size();
    EXPECT_LT(icon.height(), 2 * step) << "a title bar";
    for (std::size_t i = 0; i < icons.size(); ++i)
        row.push_back(QRect(QPoint(row.empty() ? 0 : row.back().right() + 1, area.bottom() - icon.height() + 1), icon));
    EXPECT_EQ(icons, row);
    status()->showNormal();
    EXPECT_EQ(status()->size(), QSize(fromTwips(10000), fromTwips(3000))) << "restored, its fixed size again";
    status()->resize(800, 300);
    EXPECT_EQ(status()->size(), QSize(fromTwips(10000), fromTwips(3000))) << "and it cannot be resized";
    // Brought forward while another window is maximized (Window > 1 ...), it is maximized too,
    // and its texts keep the places they have in the normal window.
    OfflineStatusWindow* texts = window->offlineStatusWindow();
    auto places = [&] {
        std::vector<QRect> v;
        for (QLabel* l : texts->findChildren<QLabel*>())
            v.push_back(QRect(l->mapTo(status(), QPoint()) - status()->contentsRect().topLeft(), l->size()));
        return v;
    };
    const std::vector<QRect> normal = places();
    frameOf(K::Numerics)->showMaximized();
    window->mdiArea()->setActiveSubWindow(status());
    QCoreApplication::processEvents();
    ASSERT_TRUE(status()->isMaximized());
    EXPECT_GT(status()->width(), 2 * fromTwips(10000)) << "it fills the work area";
    EXPECT_EQ(places(), normal);
    status()->showNormal();
    QCoreApplication::processEvents();
    ASSERT_FALSE(status()->isMaximized());
    EXPECT_EQ(places(), normal) << "restored";
}

TEST_F(WindowPlacementTest, TileGivesEveryWindowAPlaceOfItsOwnAtLeastItsSmallestSize) {
    startOffline();
    // The offline status window has a fixed size; the monitor and the numerics are given
    // large minimums: the three of them are too wide for one row.
    frameOf(K::NMEA)->setMinimumSize(700, 320);
    frameOf(K::Numerics)->setMinimumSize(450, 200);
    const QRect area = window->mdiArea()->viewport()->rect();
    enum Line { Grid, SideBySide, OneAboveTheOther };
    struct Case {
        const char* name;
        const char* tile;
        std::vector<K> minimised;
        Line line = Grid;
    };
    const std::vector<K> allButThree{K::Numerics, K::Statistics, K::Skyplot, K::ARPATargets, K::AISTargets,
                                     K::TimeSeriesGGA, K::TimeSeriesGSA, K::TimeSeriesATT};
    const std::vector<K> allButTheWide{K::Scatter, K::Statistics, K::Skyplot, K::ARPATargets, K::AISTargets,
                                       K::TimeSeriesGGA, K::TimeSeriesGSA, K::TimeSeriesATT};
    for (const Case& c : {Case{"every window side by side", "mnuWindowTileVertical", {K::Skyplot}},
                          Case{"every window one above the other", "mnuWindowTileHorizontal", {K::Skyplot}},
                          Case{"three side by side", "mnuWindowTileVertical", allButThree, SideBySide},
                          Case{"three one above the other", "mnuWindowTileHorizontal", allButThree, OneAboveTheOther},
                          Case{"three too wide for one row", "mnuWindowTileVertical", allButTheWide}}) {
        SCOPED_TRACE(c.name);
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList()) sub->showNormal();
        for (K k : c.minimised) frameOf(k)->showMinimized();
        if (!frameOf(K::TimeSeriesGGA)->isMinimized()) frameOf(K::TimeSeriesGGA)->showMaximized();  // tiled too
        action(c.tile)->trigger();
        std::vector<std::pair<std::string, QRect>> shown;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
            if (sub->isVisible()) shown.push_back({sub->windowTitle().toStdString(), sub->geometry()});
        // Each window where it reads, reached in the area or by scrolling it. The icons keep
        // to the bottom edge of what the area shows, over what scrolls below them.
        const bool scrolls = reach() != QRect(QPoint(0, 0), area.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const auto& [caption, r] = shown[i];
            EXPECT_TRUE(reach().contains(r)) << caption << " at " << ::testing::PrintToString(r);
            const bool icon = r.height() <= 2 * status()->widget()->y();
            if (!icon) {
                const QSize readable = readableFrame(caption);
                EXPECT_GE(r.width(), readable.width()) << caption;
                EXPECT_GE(r.height(), readable.height()) << caption;
            }
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                const bool icons = icon || shown[j].second.height() <= 2 * status()->widget()->y();
                if (!scrolls || !icons) {
                    EXPECT_FALSE(r.intersects(shown[j].second)) << caption << " covers " << shown[j].first;
                }
            }
        }
        if (c.line != Grid) {
            // Each window a column from the area's top, or a row from its left edge.
            std::vector<QRect> open;
            for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
                if (sub->isVisible() && !sub->isMinimized()) open.push_back(sub->geometry());
            const bool across = c.line == SideBySide;
            std::sort(open.begin(), open.end(), [&](const QRect& a, const QRect& b) {
                return across ? a.x() < b.x() : a.y() < b.y();
            });
            ASSERT_EQ(open.size(), 3u);
            for (std::size_t i = 0; i < open.size(); ++i) {
                EXPECT_EQ(across ? open[i].y() : open[i].x(), 0) << i;
                if (i > 0) {
                    EXPECT_GT(across ? open[i].x() : open[i].y(), across ? open[i - 1].right() : open[i - 1].bottom()) << i;
                }
            }
        }
        EXPECT_EQ(status()->size(), QSize(fromTwips(10000), fromTwips(3000)));
        EXPECT_GE(frameOf(K::NMEA)->width(), 700);
        EXPECT_GE(frameOf(K::NMEA)->height(), 320);
        if (!frameOf(K::Numerics)->isMinimized()) {
            EXPECT_GE(frameOf(K::Numerics)->width(), 450);
        }
        expectUsable();
    }
}

TEST_F(WindowPlacementTest, AWindowBeyondTheAreasEdgesIsReachedByScrolling) {
    startOffline();
    QMdiArea* mdi = window->mdiArea();
    struct Case {
        const char* name;
        K kind;
        QPoint beyond;  // from the area's bottom right corner
        QScrollBar* bar;
    };
    for (const Case& c : {Case{"past the right edge", K::ARPATargets, {-100, -400}, mdi->horizontalScrollBar()},
                          Case{"past the bottom edge", K::AISTargets, {-500, -60}, mdi->verticalScrollBar()},
                          Case{"wholly below it", K::AISTargets, {-500, 40}, mdi->verticalScrollBar()}}) {
        SCOPED_TRACE(c.name);
        for (QMdiSubWindow* sub : mdi->subWindowList()) sub->move(0, 0);
        QCoreApplication::processEvents();
        ASSERT_FALSE(mdi->horizontalScrollBar()->isVisible() || mdi->verticalScrollBar()->isVisible());
        QMdiSubWindow* sub = frameOf(c.kind);
        sub->move(mdi->viewport()->rect().bottomRight() + c.beyond);
        QCoreApplication::processEvents();
        ASSERT_TRUE(c.bar->isVisible());
        // Chosen from the Window menu, it comes into view.
        QMenu* menu = window->menuBar()->findChild<QMenu*>("mnuWindow");
        emit menu->aboutToShow();
        for (QAction* a : menu->actions())
            if (a->text().endsWith(sub->windowTitle())) a->trigger();
        EXPECT_TRUE(mdi->viewport()->rect().contains(sub->geometry().topLeft())) << ::testing::PrintToString(sub->geometry());
        c.bar->setValue(c.bar->maximum());
        EXPECT_TRUE(mdi->viewport()->rect().contains(sub->geometry())) << ::testing::PrintToString(sub->geometry());
        c.bar->setValue(c.bar->minimum());
    }
}

TEST_F(WindowPlacementTest, StoredPlacementsAreNormalGeometriesAndUnusableOnesGiveWayToTheDefault) {
    startOffline();
    // Each window changed one way by the user, then minimised or maximised: its normal place
    // as the change left it is what is kept.
    struct Change {
        K kind;
        const char* key;
        QRect normal;  // set by a resize alone, a move alone, or both
        Qt::WindowState then;
    };
    const QRect numerics = frameOf(K::Numerics)->geometry(), statistics = frameOf(K::Statistics)->geometry();
    const QRect arpa = frameOf(K::ARPATargets)->geometry(), monitor = frameOf(K::NMEA)->geometry();
    const std::vector<Change> changes{
        {K::Numerics, "Numerics", QRect(numerics.topLeft(), QSize(512, 384)), Qt::WindowMaximized},
        {K::Statistics, "Statistics", QRect(QPoint(90, 70), statistics.size()), Qt::WindowMinimized},
        {K::ARPATargets, "ARPATargets", QRect(arpa.topLeft(), QSize(420, 330)), Qt::WindowMinimized},
        {K::NMEA, "Monitor", QRect(QPoint(200, 150), QSize(600, 350)), Qt::WindowNoState},
    };
    for (const Change& c : changes) {
        QWidget* f = frameOf(c.kind);
        if (f->pos() != c.normal.topLeft()) f->move(c.normal.topLeft());
        if (f->size() != c.normal.size()) f->resize(c.normal.size());
    }
    ASSERT_NE(monitor, changes.back().normal);
    for (const Change& c : changes) frameOf(c.kind)->setWindowState(c.then);
    const auto before = placed();
    ASSERT_TRUE(exitProgram());
    for (const Change& c : changes) {
        SCOPED_TRACE(c.key);
        std::vector<std::string> saved, expected;
        const QRect& r = c.normal;
        for (auto [what, pixels] : {std::pair{"Left", r.x()}, {"Top", r.y()}, {"Width", r.width()}, {"Height", r.height()}}) {
            saved.push_back(settings.value("Tiderune", "Settings", std::string(c.key) + what + " 1", ""));
            expected.push_back(std::to_string(pixels * 15));
        }
        EXPECT_EQ(saved, expected);
    }
    EXPECT_EQ(settings.value("Tiderune", "Settings", "NumericsWidth 1", ""),
              std::to_string(before.at("Numerics 1 - Bridge").normal.width() * 15));
    EXPECT_EQ(settings.value("Tiderune", "Settings", "StatisticsTop 1", ""),
              std::to_string(before.at("Statistics 1 - Bridge").normal.y() * 15));

    // A title-bar strip written by an older run, a window far out of sight, and nonsense.
    settings.setValue("Tiderune", "Settings", "AISTargetsHeight 1", "420");
    settings.setValue("Tiderune", "Settings", "MonitorLeft 1", "999999");
    settings.setValue("Tiderune", "Settings", "SkyplotWidth 1", "nan");
    program.reset();
    shell.reset();
    ProgramCore second;
    realCore = &second;
    start();
    ShowNMEAWindow(*shell, 1);
    const auto after = placed();
    // The windows whose title bars the status window, opening in front of them at the top
    // left, would cover come down together, the highest to just below it.
    const int below = status()->height() - fromTwips(100);
    EXPECT_EQ(after.at("Numerics 1 - Bridge").normal, changes[0].normal.translated(0, below));
    EXPECT_EQ(after.at("Numerics 1 - Bridge").state, Qt::WindowNoState);
    const QRect byDefault(fromTwips(100), fromTwips(100), fromTwips(3000), fromTwips(6000));
    // The monitor opened later, in front of the status window, at its default place.
    EXPECT_EQ(after.at("NMEA Monitor 1 - Bridge").normal, QRect(byDefault.topLeft(), QSize(fromTwips(8000), fromTwips(4000))));
    EXPECT_EQ(after.at("AIS Targets 1 - Bridge").normal, byDefault.translated(0, below));
    EXPECT_EQ(after.at("Skyplot 1 - Bridge - GSA/GSV Numerics").normal, byDefault.translated(0, below));
    expectUsable();
}

TEST_F(WindowPlacementTest, MainWindowComesBackMaximisedAtItsNormalPlaceAndOffTheScreenAtTheDefault) {
    ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1920, 1200));
    auto main = [&](const char* key) { return settings.value("Tiderune", "Settings", key, ""); };
    auto place = [&](std::array<const char*, 4> twips) {
        int i = 0;
        for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            settings.setValue("Tiderune", "Settings", key, twips[i++]);
    };
    auto restart = [&] {
        program.reset();
        shell.reset();
        start();
    };
    auto normalPlace = [&] { return QRect(window->pos(), window->size()); };
    place({"1500", "1200", "15000", "9000"});
    start();
    EXPECT_EQ(normalPlace(), QRect(100, 80, 1000, 600));
    window->showMaximized();
    QCoreApplication::processEvents();  // the screen's answer: the window at its maximised size
    ASSERT_TRUE(window->isMaximized());
    ASSERT_GT(window->width(), 1800);
    ASSERT_TRUE(exitProgram());
    // The normal place, not the maximised one, and that it was maximised.
    EXPECT_EQ((std::vector{main("MainLeft"), main("MainTop"), main("MainWidth"), main("MainHeight"), main("MainWindowState")}),
              (std::vector<std::string>{"1500", "1200", "15000", "9000", "2"}));
    restart();
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    EXPECT_EQ(normalPlace(), QRect(100, 80, 1000, 600));
    ASSERT_TRUE(exitProgram());
    EXPECT_EQ(main("MainWindowState"), "0");
    restart();
    EXPECT_FALSE(window->isMaximized());
    ASSERT_TRUE(exitProgram());

    // A place that does not lie whole on the screen, its title bar added, gives the default.
    const QRect byDefault(67, 67, 867, 867);
    struct Case {
        const char* name;
        std::array<const char*, 4> twips;
        QRect expected;
    };
    for (const Case& c : {Case{"the maximised size an earlier version saved", {"0", "285", "28800", "17715"}, byDefault},
                          Case{"right of the screen", {"20000", "1500", "13000", "9000"}, byDefault},
                          Case{"above the screen", {"1500", "-600", "13000", "9000"}, byDefault},
                          Case{"taller than the screen", {"0", "0", "9000", "18000"}, byDefault},
                          Case{"a title-bar strip", {"1500", "1500", "9000", "300"}, byDefault},
                          Case{"at the screen's corner", {"0", "0", "9000", "6000"}, QRect(0, 0, 600, 400)},
                          Case{"almost the whole screen", {"1500", "1500", "27000", "15000"}, QRect(100, 100, 1800, 1000)}}) {
        SCOPED_TRACE(c.name);
        place(c.twips);
        restart();
        EXPECT_EQ(normalPlace(), c.expected);
        EXPECT_FALSE(window->isMaximized());
        ASSERT_TRUE(exitProgram());
    }
}

// What scripts/demo.sh gives a first start: the demo setup, and the window placements it
// seeds the settings file with when there is none.
void seedDemo(const std::string& home, MemorySettingsStore& settings) {
    const std::string examples = std::string(TIDERUNE_SOURCE_DIR) + "/examples";
    std::ifstream in(examples + "/Tiderune.ini.in", std::ios::binary);
    std::string setup((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at; (at = setup.find("@EXAMPLES@")) != std::string::npos;) setup.replace(at, 10, examples);
    std::filesystem::create_directories(home);
    std::ofstream(home + "Tiderune.ini", std::ios::binary) << setup;
    QSettings seed(QString::fromStdString(examples + "/demo-settings.ini"), QSettings::IniFormat);
    seed.beginGroup("Settings");
    ASSERT_FALSE(seed.childKeys().isEmpty());
    for (const QString& key : seed.childKeys())
        settings.setValue("Tiderune", "Settings", key.toStdString(), seed.value(key).toString().toStdString());
}

TEST_F(WindowPlacementTest, TheDemosFirstStartShowsEveryWindowReadableSideBySide) {
    startSeededDemo();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text;
    // The windows the setup opens, and the monitor the tour opens next.
    ShowNMEAWindow(*shell, 1);
    std::vector<std::string> captions;
    std::vector<std::pair<std::string, QRect>> shown;
    for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
        if (sub->isVisible()) shown.push_back({sub->windowTitle().toStdString(), sub->geometry()});
    for (const auto& [caption, r] : shown) captions.push_back(caption);
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::string>{"AIS Targets 1 - Demo GNSS", "ARPA Targets 1 - Demo GNSS",
                                                  "NMEA Monitor 1 - Demo GNSS", "Tiderune-  OFFLINE STATUS"}));
    const QRect area = window->mdiArea()->viewport()->rect();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto& [caption, r] = shown[i];
        EXPECT_TRUE(area.contains(r)) << caption << " at " << ::testing::PrintToString(r);
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(r.intersects(shown[j].second)) << caption << " covers " << shown[j].first;
    }
    // Readable: every column of a list in view, and at least eight of its rows.
    for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
        for (QTableView* list : sub->findChildren<QTableView*>()) {
            SCOPED_TRACE(sub->windowTitle().toStdString());
            EXPECT_LE(list->horizontalHeader()->length(), list->viewport()->width());
            EXPECT_GE(list->viewport()->height(), 8 * list->verticalHeader()->defaultSectionSize());
        }
    expectUsable();
}

class TimeSeriesPlacementTest : public WindowPlacementTest, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(MainWindow, TimeSeriesPlacementTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Maximised" : "Small"; });

TEST_P(TimeSeriesPlacementTest, WindowsOpenedInTheDemoLieWhollyInView) {
    // The time-series windows keep no place: the child area places each as it comes into
    // view, and none may stand partly outside it; one larger than the area lies at its left
    // and top edges. In the demo's maximised main window, or in one smaller than the windows.
    const bool maximised = GetParam();
    startSeededDemo();
    ASSERT_TRUE(window->isMaximized());
    if (!maximised) {
        window->showNormal();
        window->resize(700, 600);
        QCoreApplication::processEvents();
    }
    action("mnuWindowNewWindow")->trigger();
    NewWindowDialog* d = window->newWindowDialog();
    ASSERT_TRUE(d);
    d->typeList()->setCurrentIndex(d->typeList()->findText("Time Serie Plot"));
    d->okButton()->click();
    QCoreApplication::processEvents();
    const QRect area = window->mdiArea()->viewport()->rect();
    std::vector<std::string> opened;
    for (const auto& slot : shell->windows.all()) {
        if (!slot->isVisible()) continue;
        const WindowKind kind = slot->window()->kind();
        if (kind != K::TimeSeriesSNR &&
            std::find(TimeSeriesKinds.begin(), TimeSeriesKinds.end(), kind) == TimeSeriesKinds.end())
            continue;
        const std::string caption = slot->window()->windowTitle().toStdString();
        opened.push_back(caption);
        const QRect r = slot->window()->parentWidget()->geometry();
        // Only the charts are placed by the area: the SNR windows share one stored place.
        if (!maximised && kind == K::TimeSeriesSNR) continue;
        const QRect expected(std::max(0, std::min(r.x(), area.width() - r.width())),
                             std::max(0, std::min(r.y(), area.height() - r.height())), r.width(), r.height());
        EXPECT_EQ(r, expected) << caption << " in " << ::testing::PrintToString(area);
    }
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened, (std::vector<std::string>{
                          "ATT Time Series 1 - Demo GNSS", "BeiDou SNR Timeseries 1 - Demo GNSS",
                          "DBT Time Series 1 - Demo GNSS", "GGA Time Series 1 - Demo GNSS",
                          "GLONASS SNR Timeseries 1 - Demo GNSS", "GPS SNR Timeseries 1 - Demo GNSS",
                          "GSA Time Series 1 - Demo GNSS", "GST Time Series 1 - Demo GNSS",
                          "GSV Time Series 1 - Demo GNSS", "SBAS SNR Timeseries 1 - Demo GNSS",
                          "VHW Time Series 1 - Demo GNSS"}));
}

TEST_F(WindowPlacementTest, TileGivesEveryChartAPlotAndEveryControlWhole) {
    // The demo with a window of every kind the New Window dialog opens, twenty in all.
    startSeededDemo();
    for (const char* type : {"Time Serie Plot", "Numerics", "Statistics", "ScatterPlot", "SkyPlot", "NMEA Monitor"}) {
        action("mnuWindowNewWindow")->trigger();
        NewWindowDialog* d = window->newWindowDialog();
        d->typeList()->setCurrentIndex(d->typeList()->findText(type));
        d->okButton()->click();
    }
    QCoreApplication::processEvents();
    const QFontMetrics fm{QFont()};
    for (const char* tile : {"mnuWindowTileHorizontal", "mnuWindowTileVertical"}) {
        SCOPED_TRACE(tile);
        action(tile)->trigger();
        QCoreApplication::processEvents();
        int shown = 0;
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList()) {
            if (!sub->isVisible()) continue;
            ++shown;
            SCOPED_TRACE(sub->windowTitle().toStdString());
            QWidget* inside = sub->widget();
            // Each chart a plot with room for three lines of labels up its side.
            for (ChartWidget* chart : inside->findChildren<ChartWidget*>()) {
                if (!chart->isVisibleTo(inside) || chart->y() >= inside->height()) continue;
                chart->renderImage();
                EXPECT_GE(chart->layout().plot.height(), 3 * fm.height()) << chart->objectName().toStdString();
                EXPECT_LE(chart->geometry().bottom(), inside->height()) << chart->objectName().toStdString();
            }
            // The lists, labels and boxes above the charts whole inside the window.
            if (!inside->findChild<ChartWidget*>()) continue;
            for (QWidget* control : inside->findChildren<QWidget*>()) {
                if (!qobject_cast<QComboBox*>(control) && !qobject_cast<QLabel*>(control) && !qobject_cast<QCheckBox*>(control))
                    continue;
                if (!control->isVisibleTo(inside) || qobject_cast<ChartWidget*>(control->parentWidget())) continue;
                const QRect at(control->mapTo(inside, QPoint(0, 0)), control->size());
                EXPECT_TRUE(inside->rect().contains(at)) << control->objectName().toStdString() << " at " << ::testing::PrintToString(at);
                if (auto* label = qobject_cast<QLabel*>(control)) {
                    EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
                }
            }
        }
        EXPECT_EQ(shown, 20);
        expectTitleBarsInSight();
    }
}

TEST_F(WindowPlacementTest, ARestartMaximisedKeepsTheStartUpWindowsWhereTheyWereLeft) {
    // The demo opens its lists at start in a maximised main window; the user moves them right
    // of and below where the main window's normal 867 x 867 pixels end, and restarts twice.
    startSeededDemo();
    ASSERT_TRUE(window->isMaximized());
    const QRect area = window->mdiArea()->viewport()->rect();
    struct Case {
        K kind;
        const char* key;
        QRect normal;
    };
    const std::vector<Case> cases{
        {K::AISTargets, "AISTargets", QRect(981, 820, 640, 200)},  // right of and below it
        {K::ARPATargets, "ARPATargets", QRect(1207, 60, 690, 640)},  // right of it
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(area.contains(c.normal)) << c.key;
        frameOf(c.kind)->setGeometry(c.normal);
    }
    auto stored = [&] {
        std::vector<std::string> values;
        for (const Case& c : cases)
            for (const char* what : {"Left", "Top", "Width", "Height"})
                values.push_back(settings.value("Tiderune", "Settings", std::string(c.key) + what + " 1", ""));
        return values;
    };
    std::vector<std::string> expected;
    for (const Case& c : cases)
        for (int pixels : {c.normal.x(), c.normal.y(), c.normal.width(), c.normal.height()})
            expected.push_back(std::to_string(pixels * 15));
    ASSERT_TRUE(exitProgram());
    ASSERT_EQ(stored(), expected);
    for (int restart = 1; restart <= 2; ++restart) {
        SCOPED_TRACE("restart " + std::to_string(restart));
        program.reset();
        shell.reset();
        ProgramCore again;
        realCore = &again;
        start();
        QCoreApplication::processEvents();
        EXPECT_TRUE(window->isMaximized());
        for (const Case& c : cases) EXPECT_EQ(frameOf(c.kind)->geometry(), c.normal) << c.key;
        expectUsable();
        EXPECT_TRUE(exitProgram());
        EXPECT_EQ(stored(), expected);
        program.reset();  // before its core goes
        shell.reset();
    }
    // One left of the area, out of sight also once fitted, still gives way to the default,
    // with its title bar below the status window.
    settings.setValue("Tiderune", "Settings", "AISTargetsLeft 1", "-15000");
    ProgramCore last;
    realCore = &last;
    start();
    EXPECT_EQ(frameOf(K::AISTargets)->geometry(), QRect(fromTwips(100), status()->height(), fromTwips(3000), fromTwips(6000)));
    EXPECT_EQ(frameOf(K::ARPATargets)->geometry(), cases[1].normal);
    program.reset();
    shell.reset();
}

}  // namespace
}  // namespace tiderune::test
