#include "frame/child_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>

#include "frame/logic/child_area.h"
#include "frame/logic/readable_size.h"
#include "platform/qt/chart_widget.h"
#include "platform/qt/grid_widget.h"
#include "frame/redraw_tick.h"
#include "frame/shell.h"
#include "core/number_text.h"
#include "platform/qt/qt_edge.h"

namespace tiderune {

ChildWindow::ChildWindow(Shell& shell, WindowKind kind, QWidget* parent)
    : QWidget(parent), shell_(shell), kind_(kind) {
    setObjectName(windowKindInfo(kind).formName);
}

QWidget* ChildWindow::frame() const {
    QWidget* p = parentWidget();
    return p ? p : const_cast<ChildWindow*>(this);
}

QString ChildWindow::caption() const {
    const WindowKindInfo& info = windowKindInfo(kind_);
    QString name = toQt(shell_.config.Systems[system_].Name);
    QString prefix = info.captionPrefix;
    if (kind_ == WindowKind::TimeSeriesSNR) prefix = QString(snrConstellationName(constellation_)) + prefix;
    return prefix + QString::number(system_) + " - " + name + info.captionSuffix;
}

void ChildWindow::load() {
    const WindowKindInfo& info = windowKindInfo(kind_);
    system_ = shell_.takeSystem(info.handOver);
    if (kind_ == WindowKind::TimeSeriesSNR) {
        int k = shell_.state.SNRWindowConstellation;
        constellation_ = (k >= 1 && k <= SNRConstellations) ? k : 1;
    }
    setWindowTitle(caption());
    showSystemIcon(iconPictureOf(kind_), system_);
    shell_.config.WindowVisible[system_][info.visibleWord] = true;
    // Follows the sub-window's normal place from here on, whatever the user does with it.
    if (frame() != this) frame()->installEventFilter(this);
    restorePlacement();
    loaded_ = true;
}

bool ChildWindow::queryUnload(bool fromCode) {
    const WindowKindInfo& info = windowKindInfo(kind_);
    // The position charts and the scatter plot give up their open word at any close.
    if (kind_ == WindowKind::Scatter || kind_ == WindowKind::TimeSeriesGGA || kind_ == WindowKind::TimeSeriesGNS)
        shell_.config.WindowVisible[system_][info.visibleWord] = false;
    if (!fromCode && !shell_.state.AppClosing && info.hidesOnUserClose) {
        // A chart window closed by the user is only hidden and keeps being fed.
        frame()->hide();
        return false;
    }
    return true;
}

void ChildWindow::unload() {
    shell_.config.WindowVisible[system_][windowKindInfo(kind_).visibleWord] = false;
    savePlacement();
}

void ChildWindow::showSystemIcon(IconPicture picture, int system) {
    if (system == 1) return;
    // The sub-window carries the icon on its title bar and when minimised.
    const QIcon icon = shell_.icons.icon(picture, system);
    if (!icon.isNull()) frame()->setWindowIcon(icon);
}

static std::string placementKey(const char* prefix, const char* what, int system) {
    return std::string(prefix) + what + StrNumber(system);
}

QRect shownFrame(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    if (window.isVisible() || !(window.windowState() & Qt::WindowMaximized)) return frame;
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : frame;
}

QRect workArea(QMdiArea& area) {
    if (area.isVisible()) return area.viewport()->rect();
    // Hidden: the main window's layout gives the area its size; its viewport follows at show.
    QWidget& main = *area.window();
    if (QLayout* l = main.layout()) l->activate();
    const QSize contents = area.contentsRect().size(), now = main.frameGeometry().size(), shown = shownFrame(main).size();
    const AreaSize size = childAreaOnceShown({contents.width(), contents.height()}, {now.width(), now.height()},
                                             {shown.width(), shown.height()},
                                             main.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    return QRect(0, 0, size.width, size.height);
}

namespace {

bool isNormal(const QWidget* frame) { return !(frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)); }

}  // namespace

QSize ChildWindow::readableSize() {
    const QSize usable(fromTwips(UsableWidthTwips), fromTwips(UsableHeightTwips));
    return (layout() ? layout()->minimumSize() : minimumSizeHint()).expandedTo(usable);
}

QSize readableChartSize(ChartWidget& chart) {
    const ChartWidget::Needs n = chart.needs();
    const Extent e = readableChart({n.outsidePlot.width(), n.outsidePlot.height()}, {n.label.width(), n.label.height()},
                                   chart.chart().squarePlot());
    return {e.width, e.height};
}

QSize readableListSize(GridWidget& list) {
    std::vector<int> columns;
    for (int c = 0; c < list.cols(); ++c) columns.push_back(fromTwipsUp(list.colWidth(c)));
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const Extent e = readableList(columns, fromTwipsUp(list.rowHeight(0)), fromTwipsUp(list.rowHeight(list.rows() > 1 ? 1 : 0)), bar);
    return {e.width, e.height};
}

QSize readableScrolledSize(const QRect& first, const QRect& whole) {
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const Extent e = readableScrolled({first.right() + 1, first.bottom() + 1}, {whole.right() + 1, whole.bottom() + 1}, bar);
    return {e.width, e.height};
}

QRect ChildWindow::normalGeometry() const {
    const QWidget* f = frame();
    return isNormal(f) || !normal_.isValid() ? f->geometry() : normal_;
}

bool ChildWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == frame() && (e->type() == QEvent::Move || e->type() == QEvent::Resize) && isNormal(frame()))
        normal_ = frame()->geometry();
    return QWidget::eventFilter(watched, e);
}

void ChildWindow::restorePlacement() {
    const WindowKindInfo& info = windowKindInfo(kind_);
    if (*info.placementKey == 0) return;
    const TwipsPlacement byDefault{system_ * 100.0, system_ * 100.0, double(info.defaultWidth), double(info.defaultHeight)};
    TwipsPlacement p{shell_.settingNumber(placementKey(info.placementKey, "Left", system_), byDefault.left),
                     shell_.settingNumber(placementKey(info.placementKey, "Top", system_), byDefault.top),
                     shell_.settingNumber(placementKey(info.placementKey, "Width", system_), byDefault.width),
                     shell_.settingNumber(placementKey(info.placementKey, "Height", system_), byDefault.height)};
    // A placement too small to use (a title-bar strip) or no placement at all gives way to the default.
    if (!placementUsable(p)) p = byDefault;
    auto place = [&](TwipsPlacement at) {
        if (kind_ == WindowKind::TimeSeriesSNR) {  // the five windows of a system are staggered
            at.left += constellation_ * 400;
            at.top += constellation_ * 400;
        }
        setTwipsGeometry(frame(), at.left, at.top, at.width, at.height);
        if (info.fitsInMain && shell_.hasHost()) shell_.host().fitChildWindow(frame());
    };
    place(p);
    // So does one out of sight, even once pulled back towards the main window.
    const QRect area = shell_.hasHost() ? workArea(shell_.host().childArea()) : QRect();
    if (!area.isEmpty() && !area.intersects(frame()->geometry())) place(byDefault);
    normal_ = frame()->geometry();
}

void ChildWindow::savePlacement() {
    const WindowKindInfo& info = windowKindInfo(kind_);
    if (*info.placementKey == 0 || kind_ == WindowKind::TimeSeriesSNR) return;
    const QRect g = normalGeometry();
    shell_.setSettingNumber(placementKey(info.placementKey, "Left", system_), toTwips(g.x()));
    shell_.setSettingNumber(placementKey(info.placementKey, "Top", system_), toTwips(g.y()));
    shell_.setSettingNumber(placementKey(info.placementKey, "Width", system_), toTwips(g.width()));
    shell_.setSettingNumber(placementKey(info.placementKey, "Height", system_), toTwips(g.height()));
}

void ChildWindow::markChanged() {
    if (changed_) return;
    changed_ = true;
    if (shell_.hasHost()) shell_.host().redrawTick().schedule(this);
}

bool ChildWindow::refreshIfChanged() {
    if (!changed_) return false;
    changed_ = false;
    ++refreshes_;
    refresh();
    return true;
}

void ChildWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // What arrived while the window was hidden is drawn as it comes into view.
    refreshIfChanged();
}

bool ChildWindow::closeFromCode() {
    fromCode_ = true;
    bool closed = frame()->close();
    fromCode_ = false;
    return closed;
}

bool ChildWindow::closeConfirmed() {
    confirmed_ = true;
    bool closed = frame()->close();
    confirmed_ = false;
    return closed;
}

void ChildWindow::closeEvent(QCloseEvent* e) {
    if ((!confirmed_ && !confirmClose()) || !queryUnload(fromCode_)) {
        e->ignore();
        return;
    }
    if (loaded_) unload();
    loaded_ = false;
    e->accept();
    emit unloaded();
}

}  // namespace tiderune
