#include "frame/window_slots.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
}

void WindowSlot::setVisible(bool visible) {
    load();
    if (frame_) frame_->setVisible(visible);
}

void WindowSlot::show() {
    load();
    if (!frame_) return;
    frame_->show();
    frame_->raise();
    shell_.host().childArea().setActiveSubWindow(frame_);
}

bool WindowSlot::unload() {
    if (!window_) return true;
    return window_->closeFromCode();
}

void WindowSlot::forget() {
    if (window_) disconnect(window_, nullptr, this, nullptr);
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

}  // namespace tiderune
