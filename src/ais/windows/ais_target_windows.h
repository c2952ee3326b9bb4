#pragma once
// frmAISTargets, the AIS target list of a system, and frmAISExtraInfo, the one detail window
// of the program that a press on a list row opens. The list keeps in memory which cells its
// sentences changed (AisListView) and writes them from the target table on the redraw tick;
// the detail window follows its target through the list of that target's system.
#include <QPointer>
#include <array>
#include <memory>

#include "ais/logic/ais_detail_view.h"
#include "ais/logic/ais_list_view.h"
#include "frame/child_window.h"

namespace tiderune {

class AisEngine;
class AISExtraInfoWindow;
class GridWidget;

// What the lists of all systems and the detail window share: the target it shows
// (SelectedAISTarget), where it opens, and the window while it is open.
struct AisDetailLink {
    AisDetailView view;
    DetailPlacement placement;
    QPointer<AISExtraInfoWindow> window;
};

class AISTargetsWindow : public ChildWindow {
    Q_OBJECT
public:
    AISTargetsWindow(Shell& shell, std::shared_ptr<AisDetailLink> link, QWidget* parent = nullptr);

    void load() override;
    // VDM and VDO sentences of the system, after the target store took them.
    void feed(SentenceType type) override;

    // A press on the grid: the left button on a target's row opens its detail window.
    void gridMouseDown(int button, double y);
    // Closes the detail window when it is open and opens it for target `target` (1 to the
    // number of targets) of this system.
    void openDetail(int target);

    GridWidget* fgAISTargets = nullptr;
    QSize readableSize() override { return readableListSize(*fgAISTargets); }

protected:
    void refresh() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::shared_ptr<AisDetailLink> link_;
    AisListView list_;
};

class AISExtraInfoWindow : public ChildWindow {
    Q_OBJECT
public:
    AISExtraInfoWindow(Shell& shell, std::shared_ptr<AisDetailLink> link, QWidget* parent = nullptr);

    // Takes the target, caption and placement from the link, lays out and fills the grids.
    // It is no window of a system: it neither sets an open word nor keeps a placement, and
    // its close only clears the selected target.
    void load() override;

    std::array<GridWidget*, AisDetailGrids> fgAISExtraInfo{};

protected:
    void refresh() override;
    QString caption() const override;

private:
    const AISTarget* target() const;
    std::array<Grid*, AisDetailGrids> grids() const;

    std::shared_ptr<AisDetailLink> link_;
};

// The target tables of the running program, or none before the AIS tables are built.
const AisEngine* aisEngineOf(const Shell& shell);

}  // namespace tiderune
