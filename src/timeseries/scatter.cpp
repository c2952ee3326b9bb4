#include "timeseries/scatter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/number_text.h"
#include "platform/chart_model.h"

namespace tiderune {

void buildScatterChart(Chart& c) {
    c.title().clear();
    c.title().addLine("Primary system");
    c.title().setCustomPosition(true, 6, 4);
    c.legend().setVisible(false);
    c.setMargins(6, 2, 2, 6);
    c.setClipPoints(false);
    // North and east share one scale whatever the window's shape: a round spread stays round.
    c.setSquarePlot(true);

    // The two axes cross in the middle of the plot; their own titles stay hidden, the
    // extra axes at the edges carry the visible ones.
    auto crossing = [](Axis& a, const char* title, int separation) {
        a.setAutomatic(false);
        a.setMaximum(1);
        a.setMinimum(-1);
        a.setIncrement(0.2);
        a.setLabelsSeparation(separation);
        a.setPositionPercent(50);
        a.setTitle(title);
        a.setTitleVisible(false);
    };
    crossing(c.leftAxis(), "Northing", 20);
    crossing(c.bottomAxis(), "Easting", 50);
    c.rightAxis().setPositionPercent(100);
    c.rightAxis().setLabelsVisible(false);
    c.rightAxis().setTicksVisible(false);

    Axis& northing = c.addCustomAxis(false);
    northing.setTitle("Northing");
    northing.setTitleAngle(90);
    Axis& easting = c.addCustomAxis(true);
    easting.setTitle("Easting");
    for (Axis* a : {&northing, &easting}) {
        a->setLabelsVisible(false);
        a->setTicksVisible(false);
    }

    Series& points = c.addSeries(SeriesKind::Point);
    points.setColour(colours::Red);
    points.setPointer(PointerStyle::Circle, 2);
    Series& dummy = c.addSeries(SeriesKind::Point);
    dummy.setTitle("Dummy for extra axis");
    dummy.setColour(colours::Green);
    dummy.setPointer(PointerStyle::SmallDot, 1);
    dummy.setShowInLegend(false);
    dummy.setVerticalAxis(VerticalAxis::Custom, 0);
    dummy.setHorizontalAxis(HorizontalAxis::Custom, 1);

    // Tool 0 follows the east offset (a vertical line), tool 1 the north offset.
    for (Axis* a : {&c.bottomAxis(), &c.leftAxis()}) {
        Tool& t = c.addColorLine(*a);
        t.setPen(colours::Navy, PenStyle::Dash);
        t.setAllowDrag(false);
        t.setValue(0);
    }
}

std::string scatterAxisTitle(const char* name, float r) {
    if (r == std::floor(r)) return std::string(name) + " +/-" + StrNumber(r) + " m";
    return std::string(name) + " +/- " + FormatNumber(r, "0.0") + " m";
}

float scatterHalfRange(const Series& points, bool autoScale, float fixed) {
    if (!autoScale && fixed > 0 && std::isfinite(fixed)) return fixed;
    // The series keeps its extremes as points arrive: no point is looked at again here.
    double m = 0;
    if (const auto x = points.xRange()) m = std::max({m, std::fabs(x->min), std::fabs(x->max)});
    if (const auto y = points.yRange()) m = std::max({m, std::fabs(y->min), std::fabs(y->max)});
    return static_cast<float>(std::floor(m) + 1);
}

std::uint64_t HeldPositions::key(float east, float north) {
    std::uint32_t e = 0, n = 0;
    std::memcpy(&e, &east, sizeof e);
    std::memcpy(&n, &north, sizeof n);
    return static_cast<std::uint64_t>(e) << 32 | n;
}

bool HeldPositions::insertKey(std::uint64_t k) {
    if ((size_ + 1) * 2 > slots_.size()) {
        if (slots_.size() >= MaxSlots) {
            // At its bound: forgotten at once, and taken again from the positions that come.
            std::fill(slots_.begin(), slots_.end(), Empty);
            size_ = 0;
        } else {
            std::vector<std::uint64_t> old(std::max<std::size_t>(64, slots_.size() * 2), Empty);
            old.swap(slots_);
            size_ = 0;
            for (std::uint64_t o : old)
                if (o != Empty) insertKey(o);
        }
    }
    const std::size_t mask = slots_.size() - 1;
    // The low bits of a float's pattern barely change between near positions: mixed first.
    std::uint64_t h = k * 0x9E3779B97F4A7C15ULL;
    for (std::size_t i = static_cast<std::size_t>(h >> 32) & mask;; i = (i + 1) & mask) {
        if (slots_[i] == k) return false;
        if (slots_[i] == Empty) {
            slots_[i] = k;
            ++size_;
            return true;
        }
    }
}

void HeldPositions::rebuild(const Series& points) {
    slots_.clear();
    size_ = 0;
    // The newest points are those a receiver repeats, as many as the table takes.
    const int n = points.count();
    for (int i = std::max(0, n - static_cast<int>(MaxSlots / 2)); i < n; ++i)
        insertKey(key(static_cast<float>(points.x(i)), static_cast<float>(points.y(i))));
    series_ = &points;
}

bool HeldPositions::insert(const Series& points, float east, float north) {
    // Only this update adds points: a series that holds another count than was left here
    // has been cut or cleared, or is a new one.
    if (series_ != &points || count_ != points.count()) rebuild(points);
    const bool added = insertKey(key(east, north));
    count_ = points.count() + (added ? 1 : 0);
    return added;
}

void ScatterUpdate::DispatchPositionToScatter(int system, SentenceType type) {
    if (!isValidSystem(system)) return;
    const SystemStatistics& st = core_.analysis.statistics(system);
    const StatBlock* north = nullptr;
    switch (type) {
    case SentenceType::GGA: north = &st.GGAStats[1]; break;
    case SentenceType::GNS: north = &st.GNSStats[1]; break;
    case SentenceType::GLL: north = &st.GLLStats[1]; break;
    case SentenceType::RMC: north = &st.RMCStats[1]; break;
    default: return;  // GST and the rest carry no position
    }
    if (north->record.noData) return;
    const EpochValueSet& e = core_.analysis.EpochValues[system];
    UpdateScatter(system, e.EpochNorth, e.EpochEast);
}

void ScatterUpdate::UpdateScatter(int system, float north, float east) {
    if (!isValidSystem(system)) return;
    if (north == MissingValue || east == MissingValue) return;
    // A point that is not a number has no place on the plot and would spoil the range.
    if (!std::isfinite(north) || !std::isfinite(east)) return;
    Chart* chart = windows_.scatterChart(system);
    if (!chart || chart->seriesCount() < 1) return;
    Series& points = chart->series(0);

    const float r = scatterHalfRange(points, ScatterAutoScale[system], ScatterScale[system]);
    if (r != LastScatterScale[system]) {
        for (Axis* a : {&chart->leftAxis(), &chart->bottomAxis()}) {
            a->setMaximum(r);
            a->setMinimum(-r);
        }
        if (chart->customAxisCount() >= 2) {
            chart->customAxis(0).setTitle(scatterAxisTitle("Northing", r));
            chart->customAxis(1).setTitle(scatterAxisTitle("Easting", r));
        }
        LastScatterScale[system] = r;
    }

    // Every position of the run stays on the plot, each once: the points a receiver standing
    // still repeats would otherwise fill the memory over the weeks a live source runs.
    if (held_[system].insert(points, east, north)) points.addXY(east, north, {}, systemColour_[system]);
    if (chart->toolCount() >= 2) {
        chart->tool(0).setValue(east);
        chart->tool(1).setValue(north);
    }
}

void ScatterUpdate::LoadScatter(Chart& chart, int system) {
    static const char* const Titles[] = {"PRIMARY SYSTEM (blue)", "Secondary system 1 (Green)",
                                         "Secondary system 2 (red)", "Secondary system 3 (yellow)"};
    if (!isValidSystem(system)) system = 1;
    const Colour colour = systemColour_[system];
    chart.title().setFontColour(colour);
    for (int i = 0; i < std::min(2, chart.toolCount()); ++i) chart.tool(i).pen().colour = colour;
    chart.title().clear();
    chart.title().addLine(Titles[system - 1]);
    ScatterAutoScale[system] = true;
    if (chart.customAxisCount() >= 2) {
        chart.customAxis(0).setTitle("Northing +/- 1.0 m");
        chart.customAxis(1).setTitle("Easting +/- 1.0 m");
    }
    chart.changed();
}

void XYAxisForm::load(const ScatterUpdate& scatter, const Chart& chart, int s) {
    if (!isValidSystem(s)) s = 1;
    const bool automatic = scatter.ScatterAutoScale[s];
    txtMax = FormatNumber(automatic ? chart.leftAxis().maximum() : scatter.ScatterScale[s], "0.0");
    chkAutomatic = automatic;
}

void XYAxisForm::ok(ScatterUpdate& scatter, int s) const {
    if (!isValidSystem(s)) return;
    if (chkAutomatic) {
        scatter.ScatterAutoScale[s] = true;
        return;
    }
    scatter.ScatterAutoScale[s] = false;
    // A number beyond single precision can make no axis: it counts as no range at all, so
    // the automatic one is used.
    const auto v = static_cast<float>(ValDecimal(txtMax));
    scatter.ScatterScale[s] = std::isfinite(v) ? v : 0;
}

}  // namespace tiderune
