#pragma once
// A per-system child window of the main window. The window's load takes its system from the
// hand-over word of its kind, sets its caption and its open word and restores its placement;
// its unload clears the word and saves the placement. Every window derives from it; a kind
// whose window is not built yet is registered as this empty window with its caption.
//
// Drawing: the feed calls (feed, rawMessage, inputBuffer) only update the window's memory and
// call markChanged(); refresh() copies that memory into the widgets on the shared redraw tick,
// only when something changed and only while the window can be seen.
#include <QRect>
#include <QWidget>

class QMdiArea;
#include <string_view>

#include "frame/window_icons.h"
#include "frame/window_kinds.h"

namespace tiderune {

class Shell;

// Where the child windows live: the main window's child area in their own coordinates, also
// while the main window is not shown yet (at start-up the windows open before it shows).
QRect workArea(QMdiArea& area);
class ChartWidget;
// The size at which a chart reads: a plot with room for its axes' labels beside what lies
// outside it.
QSize readableChartSize(ChartWidget& chart);
class GridWidget;
// A list's heading row and first rows, its heading column and the one naming a row.
QSize readableListSize(GridWidget& list);
// A view that scrolls (its first part whole, bars for the rest) as a size.
QSize readableScrolledSize(const QRect& first, const QRect& whole);

// The frame a main window has once shown. One still hidden but set to come up maximised has
// its normal size yet; shown, it fills the work area of its screen.
QRect shownFrame(const QWidget& window);

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(Shell& shell, WindowKind kind, QWidget* parent = nullptr);

    WindowKind kind() const { return kind_; }
    // The window's tag: its system 1-4, set by the load.
    int system() const { return system_; }
    // SNR time series only: the constellation 1-5 taken at load.
    int constellation() const { return constellation_; }

    // The load step. Called once, right after the window is placed into the main window.
    virtual void load();
    // The question a window asks before it closes, whatever the reason: false keeps it open.
    // The program's exit asks every window first and closes none unless all of them agree.
    virtual bool confirmClose() { return true; }
    // Asked before the window unloads; false refuses the close (the whole exit then stops).
    // A chart window closed by the user while the program runs is hidden here instead.
    virtual bool queryUnload(bool fromCode);
    // The unload step: clears the open word and saves the placement.
    virtual void unload();

    // An analysed sentence of the window's system for the window to show; the empty window
    // of a kind whose window is not built yet shows nothing.
    virtual void feed(SentenceType type) { (void)type; }
    // The monitor: one received line as it arrived (its format counters are already counted).
    virtual void rawMessage(std::string_view text) { (void)text; }
    // The monitor: the raw input buffer of the system's source.
    virtual void inputBuffer(std::string_view text) { (void)text; }
    // The system's source was changed by its setup (the monitor shows it in its status bar).
    virtual void sourceChanged() {}

    // Asks for a refresh on the next redraw tick.
    void markChanged();
    bool changed() const { return changed_; }
    // Refreshes now when marked changed; true when it did (the redraw tick).
    bool refreshIfChanged();
    // Refreshes so far (what a benchmark checks to know the window was drawn at all).
    long long refreshCount() const { return refreshes_; }

    // Closes the window from the program's own code: never only hidden.
    bool closeFromCode();
    // Closes the window once confirmClose() has agreed (the exit asks every window first):
    // it does not ask again.
    bool closeConfirmed();

    // The window's normal (restored) place in the main window, also while it is minimised or
    // maximised: what its placement keeps and what a reset gives back.
    QRect normalGeometry() const;

    // The smallest inside at which what the window shows can be read: what Tile gives it at
    // least, and what Cascade gives back to a window made smaller. By default what its layout
    // needs, and no less than a usable window; each kind that lays out its own parts says
    // what they need (frame/logic/readable_size.h).
    virtual QSize readableSize();

signals:
    void unloaded();

protected:
    // Copies what the window keeps in memory into its widgets.
    virtual void refresh() {}

    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // The caption of the window for its system.
    virtual QString caption() const;
    // Systems 2 to 4 show their system's icon of the picture set; system 1 keeps its own.
    void showSystemIcon(IconPicture picture, int system);
    void restorePlacement();
    void savePlacement();
    QWidget* frame() const;  // the sub-window that carries this window in the main window

    Shell& shell_;

private:
    WindowKind kind_;
    int system_ = 1;
    int constellation_ = 0;
    bool fromCode_ = false;
    bool confirmed_ = false;
    bool loaded_ = false;
    bool changed_ = false;
    QRect normal_;  // the sub-window's last geometry while neither minimised nor maximised
    long long refreshes_ = 0;
};

}  // namespace tiderune
