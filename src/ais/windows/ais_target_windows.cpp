#include "ais/windows/ais_target_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "ais/ais_engine.h"
#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "platform/qt/grid_widget.h"

namespace tiderune {

const AisEngine* aisEngineOf(const Shell& shell) { return shell.core.aisEngine(); }

// ---- frmAISTargets ----

AISTargetsWindow::AISTargetsWindow(Shell& shell, std::shared_ptr<AisDetailLink> link, QWidget* parent)
    : ChildWindow(shell, WindowKind::AISTargets, parent), link_(std::move(link)) {
    fgAISTargets = new GridWidget(2, 10, this);
    fgAISTargets->setObjectName("fgAISTargets");
    fgAISTargets->onMouseDown = [this](int button, int, double, double y) { gridMouseDown(button, y); };
    // Only the rows in view are written; the others when they are scrolled into view.
    auto drawInView = [this] {
        markChanged();
        refreshIfChanged();
    };
    connect(fgAISTargets->verticalScrollBar(), &QScrollBar::valueChanged, this, drawInView);
}

void AISTargetsWindow::load() {
    ChildWindow::load();
    setUpAisListGrid(*fgAISTargets);
    // A design width too narrow in this type for the widest position or time widens its
    // column: no text of the list loses its last figures.
    for (int c = 0; c < AisListColumns; ++c)
        for (const std::string& text : aisListWidestTexts(c))
            fgAISTargets->setColWidth(c, std::max(fgAISTargets->colWidth(c), fgAISTargets->columnWidthFor(toQt(text))));
    const AisEngine* ais = aisEngineOf(shell_);
    list_.load(ais ? ais->targets().TargetCount[system()] : 0);
    // The stored targets are written now, not a tick later: the window opens filled.
    markChanged();
    refreshIfChanged();
}

void AISTargetsWindow::feed(SentenceType type) {
    if (type != SentenceType::VDM) return;
    const AisEngine* ais = aisEngineOf(shell_);
    if (!ais) return;
    const int s = system();
    const int row = list_.sentence(ais->targets(), s, ais->LastAISMessageID(s));
    if (row == 0) return;
    markChanged();
    link_->view.targetUpdated(s, row);
    if (link_->view.due() && link_->window) link_->window->markChanged();
}

void AISTargetsWindow::refresh() {
    const AisEngine* ais = aisEngineOf(shell_);
    if (!ais) return;
    // Rows of the grid's body count from 0; the grid's rows from the heading row.
    const int top = fgAISTargets->rowAt(0);
    const int bottom = fgAISTargets->rowAt(fgAISTargets->viewport()->height() - 1);
    const int first = top < 0 ? 1 : top + 1;
    const int last = bottom < 0 ? MaxAISTargets : bottom + 1;
    list_.flush(*fgAISTargets, ais->targets().AISTargetTable[system()], first, last);
}

void AISTargetsWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    // The grid fills the window; rows that come into view are written.
    fgAISTargets->setLeft(0);
    fgAISTargets->setTop(0);
    fgAISTargets->setWidth(toTwips(width()));
    fgAISTargets->setHeight(toTwips(height()));
    markChanged();
}

void AISTargetsWindow::gridMouseDown(int button, double y) {
    if (button != 1) return;
    const AisEngine* ais = aisEngineOf(shell_);
    const int target = aisListPressedTarget(fgAISTargets->pressedRow(), ais ? ais->targets().TargetCount[system()] : 0);
    // The heading row and the space below the last target open nothing.
    if (target == 0) return;
    const QPoint at = frame()->pos();
    link_->placement = aisDetailPlacement(at.x(), at.y(), fromTwips(y));
    openDetail(target);
}

void AISTargetsWindow::openDetail(int target) {
    if (link_->window) link_->window->closeFromCode();
    link_->view.select(system(), target);
    if (!shell_.hasHost()) return;
    auto* w = new AISExtraInfoWindow(shell_, link_);
    QMdiSubWindow* sub = shell_.host().childArea().addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    link_->window = w;
    w->load();
    sub->show();
    sub->raise();
}

// ---- frmAISExtraInfo ----

AISExtraInfoWindow::AISExtraInfoWindow(Shell& shell, std::shared_ptr<AisDetailLink> link, QWidget* parent)
    : ChildWindow(shell, WindowKind::AISTargets, parent), link_(std::move(link)) {
    setObjectName("frmAISExtraInfo");
    for (int i = 0; i < AisDetailGrids; ++i) {
        auto* g = new GridWidget(2, 2, this);
        g->setObjectName(QString("fgAISExtraInfo%1").arg(i));
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        fgAISExtraInfo[static_cast<std::size_t>(i)] = g;
    }
    // The design: identity and statistics on the left, static, voyage and special data on
    // the right, a small margin around them.
    fgAISExtraInfo[0]->setLeft(100);
    fgAISExtraInfo[0]->setTop(100);
    fgAISExtraInfo[1]->setTop(100);
    fgAISExtraInfo[3]->setLeft(100);
    connect(this, &ChildWindow::unloaded, this, [l = link_] { l->view.select(0, 0); });
}

const AISTarget* AISExtraInfoWindow::target() const {
    const AisEngine* ais = aisEngineOf(shell_);
    const int s = link_->view.system();
    if (!ais || !isValidSystem(s)) return nullptr;
    const int t = link_->view.index();
    return t >= 1 && t <= MaxAISTargets ? &ais->targets().AISTargetTable[s][t] : nullptr;
}

std::array<Grid*, AisDetailGrids> AISExtraInfoWindow::grids() const {
    std::array<Grid*, AisDetailGrids> g{};
    for (std::size_t i = 0; i < g.size(); ++i) g[i] = fgAISExtraInfo[i];
    return g;
}

QString AISExtraInfoWindow::caption() const {
    const AISTarget* t = target();
    return t ? toQt(aisDetailCaption(*t)) : QString("AIS Extended Info - ");
}

void AISExtraInfoWindow::load() {
    setWindowTitle(caption());
    showSystemIcon(IconPicture::AISDetail, link_->view.system());
    const AisDetailSize size = layOutAisDetailGrids(grids());
    if (const AISTarget* t = target()) writeAisDetailLabels(grids(), *t);
    frame()->setGeometry(link_->placement.left, link_->placement.top, fromTwips(size.width), fromTwips(size.height));
    markChanged();
    refreshIfChanged();
}

void AISExtraInfoWindow::refresh() {
    link_->view.clearDue();
    if (const AISTarget* t = target()) writeAisDetailValues(grids(), *t);
}

}  // namespace tiderune
