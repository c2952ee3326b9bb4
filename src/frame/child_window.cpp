#include "frame/child_window.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

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

void ChildWindow::restorePlacement() {
    const WindowKindInfo& info = windowKindInfo(kind_);
    if (*info.placementKey == 0) return;
    double left = shell_.settingNumber(placementKey(info.placementKey, "Left", system_), system_ * 100);
    double top = shell_.settingNumber(placementKey(info.placementKey, "Top", system_), system_ * 100);
    double width = shell_.settingNumber(placementKey(info.placementKey, "Width", system_), info.defaultWidth);
    double height = shell_.settingNumber(placementKey(info.placementKey, "Height", system_), info.defaultHeight);
    if (kind_ == WindowKind::TimeSeriesSNR) {  // the five windows of a system are staggered
        left += constellation_ * 400;
        top += constellation_ * 400;
    }
    setTwipsGeometry(frame(), left, top, width, height);
    if (info.fitsInMain && shell_.hasHost()) shell_.host().fitChildWindow(frame());
}

void ChildWindow::savePlacement() {
    const WindowKindInfo& info = windowKindInfo(kind_);
    if (*info.placementKey == 0 || kind_ == WindowKind::TimeSeriesSNR) return;
    QRect g = frame()->geometry();
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

void ChildWindow::closeEvent(QCloseEvent* e) {
    if (!queryUnload(fromCode_)) {
        e->ignore();
        return;
    }
    if (loaded_) unload();
    loaded_ = false;
    e->accept();
    emit unloaded();
}

}  // namespace tiderune
