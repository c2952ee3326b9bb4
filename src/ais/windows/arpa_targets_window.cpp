#include "ais/windows/arpa_targets_window.h"

#include <QResizeEvent>
#include <algorithm>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "platform/qt/grid_widget.h"

namespace tiderune {

namespace {
// The heading row and one empty row, as the window is designed.
constexpr int DesignRows = 2;
// Narrow enough that the fifteen columns fit the grid's 17,000 twips; a column whose heading
// is wider in the grid's type ("Ref Target", "First msg") is as wide as its heading, so that no
// heading runs into the next.
constexpr int DesignColumnWidth = 900;
constexpr int HeadingMargin = 8;  // pixels around a heading inside its cell

int designColumnWidth(const QWidget& grid, int column) {
    const int text = grid.fontMetrics().horizontalAdvance(toQt(arpaListHeadings()[static_cast<std::size_t>(column)]));
    return std::max(DesignColumnWidth, static_cast<int>(toTwips(text + HeadingMargin)));
}
}  // namespace

ARPATargetsWindow::ARPATargetsWindow(Shell& shell, QWidget* parent)
    : ChildWindow(shell, WindowKind::ARPATargets, parent) {
    fgARPATargets = new GridWidget(DesignRows, ArpaListColumns, this);
    fgARPATargets->setObjectName("fgARPATargets");
    for (int c = 0; c < ArpaListColumns; ++c) fgARPATargets->setColWidth(c, designColumnWidth(*fgARPATargets, c));
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
