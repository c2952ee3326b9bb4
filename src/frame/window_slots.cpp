#include "frame/window_slots.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "frame/child_window.h"
#include "frame/shell.h"
#include "core/errors.h"

namespace tiderune {

WindowSlot::WindowSlot(Shell& shell, WindowKind kind, int system, int constellation)
    : shell_(shell), kind_(kind), system_(system), constellation_(constellation) {}

bool WindowSlot::isVisible() const { return frame_ && frame_->isVisible(); }

void WindowSlot::load() {
    if (window_) return;
    if (kind_ == WindowKind::TimeSeriesSNR) {
        // An SNR window is the window of its slot's system and constellation, however it
        // comes to load: fed by the sky plot, re-arranged by the chooser or shown.
        shell_.handOverWord(HandOver::SNRTimeSeries) = static_cast<std::int16_t>(system_);
        shell_.state.SNRWindowConstellation = static_cast<std::int16_t>(constellation_);
    }
    ChildWindow* w = shell_.registry.make(shell_, kind_);
    QMdiSubWindow* frame = shell_.host().childArea().addSubWindow(w);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // The window first, then its sub-window explicitly hidden: a sub-window shows itself when
    // its window is shown, and one not explicitly hidden shows with the main window.
    w->show();
    frame->hide();
    window_ = w;
    frame_ = frame;
    connect(w, &ChildWindow::unloaded, this, &WindowSlot::forget);
    w->load();
    // A chart window keeps no stored placement, but a reset must not move it.
    const bool keepsNoPlacement = *windowKindInfo(kind_).placementKey == 0;
    if (unloadedByCode_ && lastNormal_.isValid() && keepsNoPlacement)
        frame->setGeometry(lastNormal_);
    else
        placedByArea_ = keepsNoPlacement;
}

namespace {

// The child area places a window against its size at that moment: one placed while the main
// window still had its normal size (before it came up maximised), or one that grew at its
// load, can stand partly left of or beyond the area. Shown, it lies wholly inside, or at the
// area's left and top edges when larger.
void keepInArea(QMdiSubWindow& frame, const QRect& area) {
    QRect g = frame.geometry();
    g.moveLeft(std::max(area.left(), std::min(g.left(), area.right() + 1 - g.width())));
    g.moveTop(std::max(area.top(), std::min(g.top(), area.bottom() + 1 - g.height())));
    if (g != frame.geometry()) frame.setGeometry(g);
}

}  // namespace

void WindowSlot::showInItsState() {
    frame_->show();
    QMdiArea& area = shell_.host().childArea();
    if (placedByArea_ && area.isVisible()) {
        placedByArea_ = false;
        keepInArea(*frame_, area.viewport()->rect());
    }
    if (!unloadedByCode_) return;
    unloadedByCode_ = false;
    if (lastState_ & Qt::WindowMaximized)
        frame_->showMaximized();
    else if (lastState_ & Qt::WindowMinimized)
        frame_->showMinimized();
}

void WindowSlot::setVisible(bool visible) {
    load();
    if (!frame_) return;
    if (visible)
        showInItsState();
    else
        frame_->hide();
}

void WindowSlot::show() {
    load();
    if (!frame_) return;
    showInItsState();
    frame_->raise();
    shell_.host().childArea().setActiveSubWindow(frame_);
}

bool WindowSlot::unload() {
    if (!window_) return true;
    if (!window_->closeFromCode()) return false;
    unloadedByCode_ = true;
    return true;
}

void WindowSlot::forget() {
    unloadedByCode_ = false;  // a close by the user: the next opening shows the window plainly
    if (window_) {
        lastNormal_ = window_->normalGeometry();
        lastState_ = frame_ ? frame_->windowState() : Qt::WindowNoState;
        disconnect(window_, nullptr, this, nullptr);
    }
    window_ = nullptr;
    frame_ = nullptr;
}

void WindowSlots::create() {
    if (created()) return;
    shell_.registry.checkComplete();
    for (int s = 1; s <= MaxSystems; ++s) {
        for (int k = 0; k < WindowKindCount; ++k) {
            auto kind = static_cast<WindowKind>(k);
            if (kind == WindowKind::TimeSeriesSNR) continue;
            slots_.push_back(std::make_unique<WindowSlot>(shell_, kind, s, 1));
        }
        for (int c = 1; c <= SNRConstellations; ++c)
            slots_.push_back(std::make_unique<WindowSlot>(shell_, WindowKind::TimeSeriesSNR, s, c));
    }
}

WindowSlot& WindowSlots::slot(WindowKind kind, int system, int constellation) {
    if (!isValidSystem(system)) throwSubscriptOutOfRange();
    const int perSystem = WindowKindCount - 1 + SNRConstellations;
    std::size_t i = static_cast<std::size_t>((system - 1) * perSystem);
    if (kind == WindowKind::TimeSeriesSNR) {
        if (constellation < 1 || constellation > SNRConstellations) throwSubscriptOutOfRange();
        i += static_cast<std::size_t>(WindowKindCount - 1 + constellation - 1);
    } else {
        i += static_cast<std::size_t>(kind);
    }
    if (i >= slots_.size()) throwSubscriptOutOfRange();
    return *slots_[i];
}

KeepStacking::KeepStacking(Shell& shell) : shell_(shell) {
    outermost_ = shell_.windows.keepers_++ == 0 && shell_.hasHost() && shell_.windows.created();
    if (!outermost_) return;
    QMdiArea& area = shell_.host().childArea();
    auto entryOf = [this](QMdiSubWindow* sub) {
        Entry e;
        if (auto* w = qobject_cast<ChildWindow*>(sub->widget())) {
            for (const auto& slot : shell_.windows.all())
                if (slot->window() == w) e.slot = slot.get();
        }
        if (!e.slot) e.frame = sub;
        return e;
    };
    for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::StackingOrder))
        if (sub->isVisible()) bottomToTop_.push_back(entryOf(sub));
    if (QMdiSubWindow* active = area.activeSubWindow()) active_ = entryOf(active);
    // A window shown while another is maximised would be maximised too, and give back a
    // title-bar strip when restored: every window gets its own state back instead.
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
}

QMdiSubWindow* KeepStacking::frameOf(const Entry& e) const {
    if (!e.slot) return e.frame;
    auto* w = e.slot->window();
    return w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
}

KeepStacking::~KeepStacking() {
    --shell_.windows.keepers_;
    if (!outermost_ || !shell_.hasHost()) return;
    QMdiArea& area = shell_.host().childArea();
    // Activating raises other windows too: first the active window, then the pile.
    if (QMdiSubWindow* sub = frameOf(active_); sub && sub->isVisible()) area.setActiveSubWindow(sub);
    for (const Entry& e : bottomToTop_)
        if (QMdiSubWindow* sub = frameOf(e); sub && sub->isVisible()) sub->raise();
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, false);
}

}  // namespace tiderune
