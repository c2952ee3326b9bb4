#include "ais/windows/arpa_targets_window.h"

#include <QResizeEvent>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "platform/qt/grid_widget.h"

namespace tiderune {

namespace {
// The heading row and one empty row, as the window is designed.
constexpr int DesignRows = 2;
// Narrow enough that the fifteen columns fit the grid's 17,000 twips.
constexpr int DesignColumnWidth = 900;
}  // namespace

ARPATargetsWindow::ARPATargetsWindow(Shell& shell, QWidget* parent)
    : ChildWindow(shell, WindowKind::ARPATargets, parent) {
    fgARPATargets = new GridWidget(DesignRows, ArpaListColumns, this);
    fgARPATargets->setObjectName("fgARPATargets");
    for (int c = 0; c < ArpaListColumns; ++c) fgARPATargets->setColWidth(c, DesignColumnWidth);
}

void ARPATargetsWindow::load() {
    ChildWindow::load();
    setUpArpaListGrid(*fgARPATargets);
    list_.open(DesignRows);
}

void ARPATargetsWindow::feed(SentenceType type) {
    if (type != SentenceType::TTM) return;
    const int s = system();
    if (list_.sentence(shell_.coreState.NMEAMessages[s].TTM, shell_.coreState.EpochTime[s])) markChanged();
}

void ARPATargetsWindow::refresh() { list_.flush(*fgARPATargets); }

void ARPATargetsWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    // The grid takes the window's height and keeps its own width.
    fgARPATargets->setHeight(toTwips(height()));
}

}  // namespace tiderune
