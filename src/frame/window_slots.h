#pragma once
// One slot per (window kind, system): the window object of the original program. A slot is
// made at start-up and kept for the whole run; its window may be unloaded, loaded hidden or
// loaded and visible. Touching the visibility of an unloaded window loads it first.
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "frame/child_window.h"
#include "frame/window_kinds.h"

class QMdiArea;
class QMdiSubWindow;

namespace tiderune {

class ChildWindow;
class Shell;

class WindowSlot : public QObject {
    Q_OBJECT
public:
    WindowSlot(Shell& shell, WindowKind kind, int system, int constellation);

    WindowKind kind() const { return kind_; }
    int system() const { return system_; }
    int constellation() const { return constellation_; }

    bool isLoaded() const { return window_ != nullptr; }
    bool isVisible() const;
    ChildWindow* window() const { return window_; }

    // Loads the window hidden when it is not loaded.
    void load();
    // The window's visibility; an unloaded window is loaded first (hidden).
    void setVisible(bool visible);
    // Shows the window modeless and brings it into view; loads it first when needed.
    void show();
    // Closes (unloads) the window from code; false when the window refused. The window the
    // next load makes comes back where this one was, in its state (minimised, maximised)
    // once it is shown.
    bool unload();

private:
    void forget();
    void showInItsState();

    Shell& shell_;
    WindowKind kind_;
    int system_;
    int constellation_;
    QPointer<ChildWindow> window_;
    QPointer<QMdiSubWindow> frame_;
    // What the last unload left: the window's normal place and its state, given back to the
    // window of the next load (the place only to kinds that keep no stored placement).
    QRect lastNormal_;
    Qt::WindowStates lastState_;
    bool unloadedByCode_ = false;
    // Set while a window the child area placed itself has not been shown yet.
    bool placedByArea_ = false;
};

// Keeps the order in which the visible child windows lie over each other, and which one is
// active, across the closing and reopening of windows (the resets): a reopened window takes
// its former window's place in the pile. Nested keepers leave the work to the outermost.
class KeepStacking {
public:
    explicit KeepStacking(Shell& shell);
    ~KeepStacking();
    KeepStacking(const KeepStacking&) = delete;
    KeepStacking& operator=(const KeepStacking&) = delete;

private:
    struct Entry {
        WindowSlot* slot = nullptr;        // a window of a slot: whatever window it has then
        QPointer<QMdiSubWindow> frame;    // any other sub-window (the offline status)
    };
    QMdiSubWindow* frameOf(const Entry& e) const;

    Shell& shell_;
    bool outermost_ = false;
    std::vector<Entry> bottomToTop_;
    Entry active_;
};

class WindowSlots {
public:
    explicit WindowSlots(Shell& shell) : shell_(shell) {}

    // Creates the 104 slots in the order of the start-up: per system the kinds in order,
    // the five SNR time series last. Every kind must have its window registered by then
    // (std::logic_error otherwise).
    void create();
    bool created() const { return !slots_.empty(); }
    int count() const { return static_cast<int>(slots_.size()); }

    WindowSlot& slot(WindowKind kind, int system, int constellation = 1);

    // Every slot, in creation order.
    const std::vector<std::unique_ptr<WindowSlot>>& all() const { return slots_; }

private:
    friend class KeepStacking;
    Shell& shell_;
    std::vector<std::unique_ptr<WindowSlot>> slots_;
    int keepers_ = 0;  // how deep the stacking keepers are nested; the outermost restores
};

}  // namespace tiderune
