#pragma once
// frmARPATargets, the radar targets a system reports in TTM sentences: one row per target
// number. The rows live only in the window (ArpaListView); a re-opened window starts empty.
#include "ais/logic/arpa_list_view.h"
#include "frame/child_window.h"

namespace tiderune {

class GridWidget;

class ARPATargetsWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit ARPATargetsWindow(Shell& shell, QWidget* parent = nullptr);

    void load() override;
    // TTM sentences of the system, with the epoch time they set.
    void feed(SentenceType type) override;

    GridWidget* fgARPATargets = nullptr;
    QSize readableSize() override { return readableListSize(*fgARPATargets); }

protected:
    void refresh() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ArpaListView list_;
};

}  // namespace tiderune
