#pragma once
// The numerics window of one system: the latest decoded values of every analysed sentence
// type, one small two-column table per type, stacked top to bottom. The window has no
// buttons; one smaller than its tables scrolls to them.
#include <array>

#include "frame/child_window.h"
#include "views/logic/numerics_view.h"
#include "views/scrolled_content.h"

class QGroupBox;

namespace tiderune {

class GridWidget;

class NumericsWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit NumericsWindow(Shell& shell, QWidget* parent = nullptr);

    void load() override;
    // A parsed sentence of the system: remembered, drawn on the next refresh.
    void feed(SentenceType type) override;
    QSize readableSize() override { return readableFrames(content_); }

    // The table of a type (nullptr for a type without one) and the frame of a type (GSA and
    // GSV included).
    GridWidget* grid(SentenceType type) const { return grids_[static_cast<std::size_t>(type)]; }
    QGroupBox* frameOf(SentenceType type) const { return frames_[static_cast<std::size_t>(type)]; }

protected:
    void refresh() override;

private:
    void setupGrid(QGroupBox* frame, GridWidget* grid, int rows, int extraWidth);

    NumericsPending pending_;
    QWidget* content_ = nullptr;  // the frames, at their places, in a scroll area
    std::array<QGroupBox*, SentenceTypeCount> frames_{};
    std::array<GridWidget*, SentenceTypeCount> grids_{};
};

}  // namespace tiderune
