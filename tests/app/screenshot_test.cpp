// Renders the main window offscreen; with TIDERUNE_SCREENSHOT set to a path the image is
// written there (the picture of the main window in the docs).
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>

#include "app/reset_family.h"
#include "shell_fixture.h"

namespace tiderune::test {
namespace {

TEST_F(ShellTest, MainWindowRendersWithItsToolbarAndStatusBar) {
    haveSetupFile([](Config& c) {
        useSystem(c, 1, "GPS1", {SentenceType::GGA});
        c.Systems[1].UseTCP = true;
        c.Systems[1].TCPHost = "127.0.0.1";
        c.Systems[1].TCPPort = 8040;
        useSystem(c, 2, "Gyro", {SentenceType::HDT});
        c.ChecksumTest[1] = true;
        c.WindowVisible[1][VisibleForms::Numerics] = true;
        c.WindowVisible[2][VisibleForms::Statistics] = true;
    });
    settings.setValue("Tiderune", "Settings", "MainWidth", "15000");
    settings.setValue("Tiderune", "Settings", "MainHeight", "9000");
    for (auto [key, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"NumericsLeft 1", "8300"}, {"NumericsTop 1", "150"},
             {"StatisticsLeft 2", "11500"}, {"StatisticsTop 2", "150"},
             {"MonitorLeft 1", "150"}, {"MonitorTop 1", "150"}})
        settings.setValue("Tiderune", "Settings", key, value);
    start();
    ShowNMEAWindow(*shell, 1);
    QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), window->size());
    // The online toolbar's buttons and the status bar's panels are drawn: each strip of the
    // picture holds text and edges, not one flat colour.
    auto drawnColours = [&](QWidget* part) {
        EXPECT_TRUE(part->isVisible());
        const QImage strip = image.copy(QRect(part->mapTo(window, QPoint(0, 0)), part->size()));
        QSet<QRgb> colours;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x) colours.insert(strip.pixel(x, y));
        return colours.size();
    };
    EXPECT_GT(drawnColours(window->onlineToolBar()), 2);
    EXPECT_GT(drawnColours(window->statusBar()), 2);
    const QByteArray path = qgetenv("TIDERUNE_SCREENSHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(path)));
    }
}

}  // namespace
}  // namespace tiderune::test
