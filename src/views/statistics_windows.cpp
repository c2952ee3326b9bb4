#include "views/statistics_windows.h"

#include <QGroupBox>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "frame/shell.h"
#include "platform/qt/qt_edge.h"
#include "platform/qt/fitting_label.h"
#include "platform/qt/grid_widget.h"
#include "views/scrolled_content.h"

namespace tiderune {

namespace {

using T = SentenceType;

constexpr double LabelHeight = 240;
constexpr double BandHeight = 1575;
constexpr double FirstGridTop = 1680;

QLabel* makeLabel(QWidget* parent, const char* text, double left, double top, double width,
                  Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new FittingLabel(toQt(text), parent);
    l->setAlignment(align | Qt::AlignVCenter);
    setTwipsGeometry(l, left, top, width, LabelHeight);
    return l;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const char* caption) {
    auto* f = new QGroupBox(toQt(caption), parent);
    f->setObjectName(toQt(name));
    f->hide();
    return f;
}

// The grid layout shared by the statistics grids and the SNR grids: label column a little
// narrower, first data column a little wider, a taller heading row; placeholders in every
// data cell; the frame sized around the grid.
void setupGrid(QGroupBox* frame, GridWidget* g, int columns, bool greaterThan) {
    g->setColWidth(0, g->colWidth(0) - 200);
    g->setColWidth(1, g->colWidth(1) + 200);
    g->setRowHeight(0, g->rowHeight(0) + 100);
    const auto labels = statisticsRowLabels(greaterThan);
    for (int r = 1; r <= StatisticsRows; ++r) g->setText(r, 0, labels[static_cast<std::size_t>(r - 1)]);
    double h = g->rowHeight(0) + 100;
    double w = g->colWidth(0) + 100;
    for (int c = 1; c <= columns; ++c) {
        w += g->colWidth(c);
        for (int r = 1; r <= StatisticsRows; ++r) {
            if (c == 1) h += g->rowHeight(r);
            g->setText(r, c, StatisticsPlaceholder);
        }
    }
    g->setTop(240);
    g->setLeft(120);
    g->setHeight(h);
    g->setWidth(w);
    setTwipsGeometry(frame, 0, 0, w + 240, h + 360);
}

// The statistics windows pack many small labels and columns into the widths of their design:
// a smaller type than the program's own keeps the texts inside them.
void useSmallType(QWidget* w) {
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() > 8 ? 8 : f.pointSizeF());
    w->setFont(f);
}

// The SNR grids' columns as designed: 32 satellites fit the 21150-twip grid after the
// layout narrows them to 0.65.
constexpr int SNRDesignColumnWidth = 960;

}  // namespace

// ---- Statistics window ----

StatisticsWindow::StatisticsWindow(Shell& shell, QWidget* parent) : ChildWindow(shell, WindowKind::Statistics, parent) {
    useSmallType(this);
    content_ = addScrolledContent(this);
    buildTopBand();
    for (const StatisticsGrid& sg : statisticsGrids()) {
        const std::string type(sentenceTypeName(sg.type));
        QGroupBox* f = makeFrame(content_, ("frame" + type).c_str(), sg.caption);
        auto* g = new GridWidget(StatisticsRows + 1, static_cast<int>(sg.heads.size()) + 1, f);
        g->setObjectName(toQt("fg" + type));
        frames_[static_cast<std::size_t>(sg.type)] = f;
        grids_[static_cast<std::size_t>(sg.type)] = g;
    }
}

void StatisticsWindow::buildTopBand() {
    auto value = [this](QWidget* parent, StatLabel l, double left, double top, double width,
                        Qt::Alignment align = Qt::AlignLeft) {
        QLabel* v = makeLabel(parent, "n/a", left, top, width, align);
        v->setObjectName(toQt(statLabelName(l)));
        labels_[static_cast<std::size_t>(l)] = v;
        return v;
    };
    using L = StatLabel;
    // Every label ends a blank before the next one on its line: a caption and its value, or a
    // value and the "sd" after it, then read as separate words however long the value grows.
    // The room is that of the widest texts in the window's small type, which no label goes
    // below: latitudes and longitudes to four decimals of a second, deviations and heights
    // of tens of kilometres, a start time with its date, counts of seven figures.
    constexpr double Blank = 60;
    // A caption's room on the left of the position frames; its value starts a blank later.
    constexpr double CaptionWidth = 900;
    constexpr double ValueLeft = 120 + CaptionWidth + Blank;
    // A latitude or longitude ends here, a blank before its "sd".
    constexpr double PositionRight = 2880;
    constexpr double RefWidth = PositionRight + 180;

    frameRefPos = makeFrame(content_, "frameRefPos", "Reference position");
    setTwipsGeometry(frameRefPos, 0, 0, RefWidth, BandHeight);
    const double refRight = RefWidth - 120;
    makeLabel(frameRefPos, "Ref Lat :", 120, 360, CaptionWidth);
    makeLabel(frameRefPos, "Ref Lon :", 120, 600, CaptionWidth);
    // Latitudes and longitudes are right-aligned up to the frame's edge, so that their
    // degrees line up.
    value(frameRefPos, L::RefLat, ValueLeft, 360, refRight - ValueLeft, Qt::AlignRight);
    value(frameRefPos, L::RefLon, ValueLeft, 600, refRight - ValueLeft, Qt::AlignRight);
    QLabel* refHgtHeader = makeLabel(frameRefPos, "Ref Hgt :", 120, 840, CaptionWidth);
    refHgtHeader->setObjectName(QStringLiteral("lblRefHgtHeader"));
    QLabel* refHgt = value(frameRefPos, L::RefHgt, ValueLeft, 840, refRight - ValueLeft, Qt::AlignRight);
    value(frameRefPos, L::RefPosOption, 120, 1080, refRight - 120);
    makeLabel(frameRefPos, "Start time", 120, 1320, CaptionWidth);
    value(frameRefPos, L::StartTime, ValueLeft, 1320, RefWidth - ValueLeft - 60);

    const double avgLeft = RefWidth - 15;
    // The deviation columns: "sd", the value right-aligned up to its unit, the unit.
    constexpr double SdLeft = PositionRight + Blank;
    constexpr double SdValueLeft = SdLeft + 240 + Blank;
    constexpr double UnitLeft = SdValueLeft + 960;
    constexpr double AvgWidth = UnitLeft + 200 + 60;
    frameAvgPos = makeFrame(content_, "frameAvgPos", "Average position");
    setTwipsGeometry(frameAvgPos, avgLeft, 0, AvgWidth, BandHeight);
    makeLabel(frameAvgPos, "Avg Lat :", 120, 360, CaptionWidth);
    makeLabel(frameAvgPos, "Avg Lon :", 120, 600, CaptionWidth);
    value(frameAvgPos, L::AvgLat, ValueLeft, 360, PositionRight - ValueLeft, Qt::AlignRight);
    value(frameAvgPos, L::AvgLon, ValueLeft, 600, PositionRight - ValueLeft, Qt::AlignRight);
    for (double top : {360.0, 600.0}) {
        makeLabel(frameAvgPos, "sd", SdLeft, top, 240);
        makeLabel(frameAvgPos, "m", UnitLeft, top, 200);
    }
    value(frameAvgPos, L::SdLat, SdValueLeft, 360, UnitLeft - SdValueLeft, Qt::AlignRight);
    value(frameAvgPos, L::SdLon, SdValueLeft, 600, UnitLeft - SdValueLeft, Qt::AlignRight);
    QLabel* avgHgtHeader = makeLabel(frameAvgPos, "Avg Hgt :", 120, 840, CaptionWidth);
    avgHgtHeader->setObjectName(QStringLiteral("lblAvgHgtHeader"));
    QLabel* avgHgt = value(frameAvgPos, L::AvgHgt, ValueLeft, 840, PositionRight - ValueLeft, Qt::AlignRight);
    QLabel* sdHgtHeader = makeLabel(frameAvgPos, "sd", SdLeft, 840, 240);
    sdHgtHeader->setObjectName(QStringLiteral("lblSdHgtHeader"));
    QLabel* sdHgt = value(frameAvgPos, L::SdHgt, SdValueLeft, 840, UnitLeft - SdValueLeft, Qt::AlignRight);
    QLabel* sdHgtM = makeLabel(frameAvgPos, "m", UnitLeft, 840, 200);
    sdHgtM->setObjectName(QStringLiteral("lblSdHgtM"));
    heightRow_ = {refHgtHeader, refHgt, avgHgtHeader, avgHgt, sdHgtHeader, sdHgt, sdHgtM};
    for (QWidget* w : heightRow_) w->hide();
    // The longer captions of the frame's lower lines.
    constexpr double LongCaptionWidth = 1200;
    constexpr double LongValueLeft = 120 + LongCaptionWidth + Blank;
    makeLabel(frameAvgPos, "Count  :", 120, 1080, LongCaptionWidth);
    value(frameAvgPos, L::AvgPosCount, LongValueLeft, 1080, AvgWidth - LongValueLeft - 60);
    makeLabel(frameAvgPos, "Current time :", 120, 1320, LongCaptionWidth);
    value(frameAvgPos, L::CurrentTime, LongValueLeft, 1320, AvgWidth - LongValueLeft - 60);

    // A column of captions and three of values (heading, pitch, roll), each a blank narrower
    // than its step.
    constexpr double Column = 840;
    constexpr double HeadingWidth = 4 * Column + 60;
    frameHeading = makeFrame(content_, "frameHeading", "Ref.       HDG         PITCH      ROLL");
    setTwipsGeometry(frameHeading, avgLeft + AvgWidth - 15, 0, HeadingWidth, BandHeight);
    makeLabel(frameHeading, "Ref :", 120, 240, Column - 120 - Blank);
    value(frameHeading, L::RefHdgOption, 120, 480, HeadingWidth - 240);
    makeLabel(frameHeading, "Avg :", 120, 840, Column - 120 - Blank);
    makeLabel(frameHeading, "sd", 240, 1080, Column - 240 - Blank);
    makeLabel(frameHeading, "Count :", 120, 1320, Column - 120 - Blank);
    const L rows[4][3] = {{L::RefHdg, L::RefPitch, L::RefRoll},
                          {L::AvgHdg, L::AvgPitch, L::AvgRoll},
                          {L::SdHdg, L::SdPitch, L::SdRoll},
                          {L::AvgHdgCount, L::AvgPitchCount, L::AvgRollCount}};
    const double tops[4] = {240, 840, 1080, 1320};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) value(frameHeading, rows[r][c], Column * (c + 1), tops[r], Column - Blank);
}

// Its reference band and the first table below it.
QSize StatisticsWindow::readableSize() { return readableFrames(content_, 2); }

void StatisticsWindow::load() {
    ChildWindow::load();
    const Config& cfg = shell_.config;
    const SystemSetup& sys = cfg.Systems[system()];
    view_.load(cfg, system());
    for (int i = 0; i < StatLabelCount; ++i) labels_[static_cast<std::size_t>(i)]->setText(toQt(view_.label(StatLabel(i))));

    for (const StatisticsGrid& sg : statisticsGrids()) {
        GridWidget* g = grid(sg.type);
        setupStatGrid(frameOf(sg.type), g, static_cast<int>(sg.heads.size()), sg.greaterThan);
        for (std::size_t c = 0; c < sg.heads.size(); ++c) g->setText(0, static_cast<int>(c) + 1, sg.heads[c]);
    }

    const StatisticsTopBand& band = view_.topBand();
    frameRefPos->setVisible(band.positions);
    frameAvgPos->setVisible(band.positions);
    if (!band.positions) frameHeading->move(0, frameHeading->y());
    for (QWidget* w : heightRow_) w->setVisible(band.heights);
    frameHeading->setVisible(band.heading);

    // In OFFLINE each frame is filled, right after it is placed, from what the replay
    // gathered so far.
    const bool offline = cfg.Mode == "OFFLINE";
    const SystemStatistics& stats = shell_.coreState.analysis.statistics(system());
    double nextTop = FirstGridTop;
    for (const StatisticsPlacement& p : statisticsStack(sys)) {
        QGroupBox* f = frameOf(p.type);
        if (p.beside) {
            QGroupBox* partner = frameOf(p.partner);
            f->move(partner->width(), partner->y());
        } else {
            f->move(0, fromTwips(nextTop));
            nextTop += std::round(toTwips(f->height()));
        }
        f->show();
        if (offline) view_.sentence(p.type, cfg, stats);
    }
    fitToShownFrames(content_);
    if (view_.any()) {
        markChanged();
        refreshIfChanged();
    }
}

void StatisticsWindow::setupStatGrid(QGroupBox* frame, GridWidget* g, int columns, bool greaterThan) {
    setupGrid(frame, g, columns, greaterThan);
}

void StatisticsWindow::feed(SentenceType type) {
    view_.sentence(type, shell_.config, shell_.coreState.analysis.statistics(system()));
    markChanged();
}

void StatisticsWindow::refresh() {
    view_.flush(shell_.coreState.analysis.statistics(system()), [this](T type, int c, const StatColumnTexts& texts) {
        GridWidget* g = grid(type);
        for (int r = 1; r <= StatisticsRows; ++r) g->setText(r, c, texts[static_cast<std::size_t>(r - 1)]);
    });
    // Only a text that differs reaches the screen.
    for (int i = 0; i < StatLabelCount; ++i) {
        QLabel* l = labels_[static_cast<std::size_t>(i)];
        const QString text = toQt(view_.label(StatLabel(i)));
        if (l->text() != text) l->setText(text);
    }
}

// ---- SNR statistics window ----

StatisticsSNRWindow::StatisticsSNRWindow(Shell& shell, QWidget* parent)
    : ChildWindow(shell, WindowKind::StatisticsSNR, parent) {
    useSmallType(this);
    tablesArea = new QWidget(this);
    tablesArea->setObjectName(QStringLiteral("tablesArea"));
    frameMain = new QWidget(tablesArea);
    frameMain->setObjectName(QStringLiteral("frameMain"));
    for (int i = 0; i < SNRGridCount; ++i) {
        const SNRGrid& sg = snrGrids()[static_cast<std::size_t>(i)];
        QGroupBox* f = makeFrame(frameMain, sg.frame, sg.caption);
        auto* g = new GridWidget(StatisticsRows + 1, SNRGridColumns + 1, f);
        g->setObjectName(toQt(sg.grid));
        frames_[static_cast<std::size_t>(i)] = f;
        grids_[static_cast<std::size_t>(i)] = g;
    }
    HScroll = new QScrollBar(Qt::Horizontal, this);
    HScroll->setObjectName(QStringLiteral("HScroll"));
    VScroll = new QScrollBar(Qt::Vertical, this);
    VScroll->setObjectName(QStringLiteral("VScroll"));
    for (QScrollBar* b : {HScroll, VScroll}) {
        b->setRange(0, 100);
        b->hide();
    }
    // Dragging moves the frame live, as the bars' change does.
    connect(HScroll, &QScrollBar::valueChanged, this, [this] { hScrollChange(); });
    connect(VScroll, &QScrollBar::valueChanged, this, [this] { vScrollChange(); });
}

void StatisticsSNRWindow::load() {
    ChildWindow::load();
    frameMain->move(0, 0);
    for (int i = 0; i < SNRGridCount; ++i) {
        GridWidget* g = grid(i);
        QGroupBox* f = frameOf(i);
        for (int c = 0; c <= SNRGridColumns; ++c) g->setColWidth(c, SNRDesignColumnWidth);
        setupGrid(f, g, SNRGridColumns, true);
        g->setText(0, 0, snrGrids()[static_cast<std::size_t>(i)].corner);
        for (int c = 1; c <= SNRGridColumns; ++c) {
            g->setColWidth(c, static_cast<int>(std::lround(g->colWidth(c) * 0.65)));
            g->setText(0, c, snrHead(i, c));
        }
        setTwipsGeometry(f, 0, 0, 21450, toTwips(f->height()));
        g->setWidth(21150);
    }
    const bool gsv = shell_.config.Systems[system()].GSVAnalysed;
    double top = 0;
    mainHeight_ = 0;
    for (QGroupBox* f : frames_) {
        const double h = toTwips(f->height());
        if (gsv) {
            f->move(0, fromTwips(top));
            f->show();
            top += h;
        }
        // The frame keeps the room of all five, shown or not.
        mainHeight_ += h;
    }
    mainWidth_ = toTwips(frames_[0]->width());
    frameMain->resize(fromTwips(mainWidth_), fromTwips(mainHeight_));
    arrangeScrollBars();
    if (gsv && shell_.config.Mode == "OFFLINE") {
        view_.markDue();
        markChanged();
        refreshIfChanged();
    }
}

QSize StatisticsSNRWindow::readableSize() {
    if (frames_[0]->isHidden()) return ChildWindow::readableSize();
    return readableScrolledSize(frames_[0]->geometry(), QRect(0, 0, fromTwips(mainWidth_), fromTwips(mainHeight_)));
}

void StatisticsSNRWindow::feed(SentenceType type) {
    view_.sentence(type, shell_.config.Systems[system()]);
    if (view_.any()) markChanged();
}

void StatisticsSNRWindow::refresh() {
    view_.flush(shell_.coreState.analysis.statistics(system()), [this](int g, int c, const StatColumnTexts& texts) {
        for (int r = 1; r <= StatisticsRows; ++r) grid(g)->setText(r, c, texts[static_cast<std::size_t>(r - 1)]);
    });
}

void StatisticsSNRWindow::arrangeScrollBars() {
    // The bars lie along the right and the bottom edge of the window's inside, whatever frame
    // the main window draws around it, and the tables show only in the room they leave. A bar
    // is shown when the tables do not fit that room; one bar may leave too little room for
    // the tables the other way.
    const QSize inside = size();
    const QSize tables(fromTwips(mainWidth_), fromTwips(mainHeight_));
    const int across = HScroll->sizeHint().height(), down = VScroll->sizeHint().width();
    bool h = inside.width() < tables.width(), v = inside.height() < tables.height();
    if (h && !v) v = inside.height() - across < tables.height();
    if (v && !h) h = inside.width() - down < tables.width();
    const QSize room(std::max(0, inside.width() - (v ? down : 0)), std::max(0, inside.height() - (h ? across : 0)));
    tablesArea->setGeometry(0, 0, room.width(), room.height());
    HScroll->setGeometry(0, room.height(), room.width(), across);
    VScroll->setGeometry(room.width(), 0, down, room.height());
    HScroll->setVisible(h);
    VScroll->setVisible(v);
    if (!h) HScroll->setValue(0);
    if (!v) VScroll->setValue(0);
    hScrollChange();
    vScrollChange();
}

void StatisticsSNRWindow::hScrollChange() {
    const double room = toTwips(tablesArea->width());
    frameMain->move(fromTwips(snrScrollOffset(HScroll->value(), mainWidth_, room)), frameMain->y());
}

void StatisticsSNRWindow::vScrollChange() {
    const double room = toTwips(tablesArea->height());
    frameMain->move(frameMain->x(), fromTwips(snrScrollOffset(VScroll->value(), mainHeight_, room)));
}

void StatisticsSNRWindow::resizeEvent(QResizeEvent* e) {
    ChildWindow::resizeEvent(e);
    if (mainWidth_ > 0) arrangeScrollBars();
}

}  // namespace tiderune
