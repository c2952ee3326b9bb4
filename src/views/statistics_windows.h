#pragma once
// The statistics window of one system (reference, average position and attitude in a top
// band, one statistics grid per analysed type below it) and its SNR statistics window (the
// per-satellite signal-to-noise statistics of five constellations in one scrolled frame).
#include <array>

#include "frame/child_window.h"
#include "views/logic/statistics_view.h"

class QGroupBox;
class QLabel;
class QScrollBar;

namespace tiderune {

class GridWidget;

class StatisticsWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit StatisticsWindow(Shell& shell, QWidget* parent = nullptr);

    void load() override;
    // The statistics of a sentence of the system were accumulated.
    void feed(SentenceType type) override;
    QSize readableSize() override;

    GridWidget* grid(SentenceType type) const { return grids_[static_cast<std::size_t>(type)]; }
    QGroupBox* frameOf(SentenceType type) const { return frames_[static_cast<std::size_t>(type)]; }
    QLabel* label(StatLabel l) const { return labels_[static_cast<std::size_t>(l)]; }
    QGroupBox* frameRefPos = nullptr;
    QGroupBox* frameAvgPos = nullptr;
    QGroupBox* frameHeading = nullptr;

protected:
    void refresh() override;

private:
    void buildTopBand();
    void setupStatGrid(QGroupBox* frame, GridWidget* grid, int columns, bool greaterThan);

    QWidget* content_ = nullptr;  // the frames, at their places, in a scroll area
    StatisticsView view_;
    std::array<QGroupBox*, SentenceTypeCount> frames_{};
    std::array<GridWidget*, SentenceTypeCount> grids_{};
    std::array<QLabel*, StatLabelCount> labels_{};
    std::vector<QWidget*> heightRow_;  // the height labels of the reference and average frames
};

class StatisticsSNRWindow : public ChildWindow {
    Q_OBJECT
public:
    explicit StatisticsSNRWindow(Shell& shell, QWidget* parent = nullptr);

    void load() override;
    void feed(SentenceType type) override;
    // The first table whole, the others scrolled to with the window's own bars.
    QSize readableSize() override;

    // Grid 0..4: GPS, SBAS, GLONASS, BeiDou, Galileo.
    GridWidget* grid(int g) const { return grids_[static_cast<std::size_t>(g)]; }
    QGroupBox* frameOf(int g) const { return frames_[static_cast<std::size_t>(g)]; }
    QWidget* frameMain = nullptr;  // the five tables, moved by the bars inside tablesArea
    QWidget* tablesArea = nullptr;  // the window's inside but for the bars shown
    QScrollBar* HScroll = nullptr;
    QScrollBar* VScroll = nullptr;
    void hScrollChange();
    void vScrollChange();

protected:
    void refresh() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void arrangeScrollBars();

    SNRStatisticsView view_;
    std::array<QGroupBox*, SNRGridCount> frames_{};
    std::array<GridWidget*, SNRGridCount> grids_{};
    double mainWidth_ = 0, mainHeight_ = 0;  // twips
};

}  // namespace tiderune
