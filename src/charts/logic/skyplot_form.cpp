#include "charts/logic/skyplot_form.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/epoch_time.h"
#include "core/number_text.h"

namespace tiderune {

namespace {

constexpr double DegreesToRadians = 0.017453292519944444;
const std::string Degree = "\xB0";

// Clock-hour boundaries passed going from `from` to `to` (negative when `to` is earlier).
// The small allowance keeps a time on the hour from reading as just before it.
long long hourBoundaries(double from, double to) {
    constexpr double Allowance = 1e-7;
    return static_cast<long long>(std::floor(to * 24 + Allowance)) -
           static_cast<long long>(std::floor(from * 24 + Allowance));
}

// The direction a value moved, shown only for a satellite drawn before (and not in a later
// clock hour than now, which a clock set back would give).
char trend(const SatelliteRecord& sat, double now, bool rose, char up, char down) {
    if (sat.LastDrawn && hourBoundaries(now, *sat.LastDrawn) < 1) return rose ? up : down;
    return ' ';
}

// What ValueOrNA (zeros 0) or FormatOrNA(v, "00  ") and (v, "000  ") write for a whole
// number, by std::to_chars: " 7", "-3", "07  ", "n/a"; then the trend, if any.
void setNumberText(std::string& out, std::int16_t v, int zeros, char trend) {
    out.clear();
    if (v == MissingValue) {
        out = "n/a";
    } else {
        char digits[8];
        const int magnitude = v < 0 ? -static_cast<int>(v) : v;
        const int n = static_cast<int>(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
        if (v < 0) out += '-';
        else if (zeros == 0) out += ' ';
        for (int k = n; k < zeros; ++k) out += '0';
        out.append(digits, static_cast<std::size_t>(n));
        if (zeros != 0) out += "  ";
    }
    if (trend != 0) out += trend;
}

}  // namespace

const SkyplotRow& SkyplotTable::operator[](int row) const {
    SkyplotRow& line = texts_[row];
    if (!stale_[static_cast<std::size_t>(row)]) return line;
    stale_[static_cast<std::size_t>(row)] = false;
    const SkyplotRowValues& v = values_[row];
    line.sv.colour = v.svColour;
    line.elevation.colour = v.elevationColour;
    line.azimuth.colour = colours::Black;
    line.snr.colour = v.snrColour;
    if (v.shown) {
        setNumberText(line.sv.text, v.prn, 0, 0);
        setNumberText(line.elevation.text, v.elevation, 2, v.elevationTrend);
        setNumberText(line.azimuth.text, v.azimuth, 3, v.azimuthTrend);
        setNumberText(line.snr.text, v.snr, 0, 0);
        line.swatch = v.swatch;
    } else {
        line.sv.text = line.elevation.text = line.azimuth.text = line.snr.text = "*";
        line.swatch = colours::White;
    }
    return line;
}

void SkyplotTable::set(int row, const SkyplotRowValues& values) {
    values_[row] = values;
    stale_[static_cast<std::size_t>(row)] = true;
    blank_[static_cast<std::size_t>(row)] = false;
}

void SkyplotForm::DopText::set(float v) {
    // Formatting takes longer than the sentence's other work: only a new value is formatted,
    // and only when the window reads it.
    if (set_ && v == value_) return;
    set_ = true;
    value_ = v;
    stale_ = true;
}

const std::string& SkyplotForm::DopText::text() const {
    if (stale_) {
        text_ = FormatOrNA(value_, "0.0");
        stale_ = false;
    }
    return text_;
}

void SkyplotForm::ModeText::set(std::int16_t fixType, char selectionMode) {
    if (set_ && fixType == fixType_ && selectionMode == selectionMode_) return;
    set_ = true;
    fixType_ = fixType;
    selectionMode_ = selectionMode;
    stale_ = true;
}

const ColouredText& SkyplotForm::ModeText::text() const {
    if (stale_) {
        stale_ = false;
        if (fixType_ == 1) text_ = {"Fix Not Available", colours::Red};
        else text_ = {StrNumber(fixType_) + "D" + (selectionMode_ == 'A' ? " Auto" : " Manual"), colours::Black};
    }
    return text_;
}

void SkyplotForm::UsedSvsText::set(const std::array<std::int16_t, 12>& sorted, int count) {
    if (count == count_ && std::equal(sorted.begin(), sorted.begin() + count, prns_.begin())) return;
    prns_ = sorted;
    count_ = count;
    stale_ = true;
}

const std::string& SkyplotForm::UsedSvsText::text() const {
    if (stale_) {
        stale_ = false;
        text_ = StrNumber(count_) + " - ";
        for (int i = 0; i < count_; ++i) text_ += StrNumber(prns_[static_cast<std::size_t>(i)]);
    }
    return text_;
}

PlotPoint skyplotPoint(double elevation, double azimuth) {
    const double r = 90 - elevation;
    const double a = azimuth * DegreesToRadians;
    return {OffsetBySin(0, r, a), OffsetByCos(0, r, a)};
}

SkyplotForm::SkyplotForm(CoreState& core, TimeSeriesEngine& engine, DrawingSurface& surface)
    : core_(core), engine_(engine), surface_(surface) {}

void SkyplotForm::load(int system) {
    system_ = isValidSystem(system) ? system : 1;
    txtElMask = FormatNumber(core_.config.ElevationMask, "00");
    ++texts_;
    drawBackground(false);
}

void SkyplotForm::drawBackground(bool clearFirst) {
    DrawingSurface& p = surface_;
    p.setKeepAsBackground(true);
    if (clearFirst) p.clear();
    p.setDrawWidth(1);
    p.setForeColour(colours::Blue);
    p.setScale(-90, 90, 90, -90);
    p.line(-90, 0, 90, 0);
    p.line(0, -90, 0, 90);
    // Each ring's label is printed from its centre, one ring lower each time.
    p.circle(0, 0, 30);
    p.print(" 90" + Degree);
    p.setCurrentY(-30);
    p.print(" 60" + Degree);
    p.circle(0, 0, 60);
    p.setCurrentY(-60);
    p.print(" 30" + Degree);
    p.circle(0, 0, 90);

    const int mask = core_.config.ElevationMask;
    p.setForeColour(colours::Red);
    p.setDrawStyle(PenStyle::Dash);
    p.circle(0, 0, 90 - mask);
    // A low mask's label would sit on the horizon ring's own.
    p.setCurrentY(mask - 90 + (mask < 10 ? 10 : 0));
    p.print(FormatNumber(mask, "00") + Degree);

    p.setKeepAsBackground(false);
    p.setDrawWidth(5);
    p.setForeColour(colours::Black);
    p.setDrawStyle(PenStyle::Solid);
    // Redrawn after a new mask, the plot is empty until the next group's end.
    if (clearFirst) plotPending_ = false;
    ++plot_;
}

void SkyplotForm::drawPlot() {
    if (!plotPending_) return;
    plotPending_ = false;
    DrawingSurface& p = surface_;
    p.clear();
    for (const PlottedSatellite& d : plotted_) {
        const PlotPoint at = skyplotPoint(d.elevation, d.azimuth);
        // Printed as a number: a blank, the digits, a blank.
        char number[8] = {' '};
        char* end = std::to_chars(number + 1, number + sizeof number - 2, d.prn).ptr;
        *end++ = ' ';
        *end = 0;
        p.setForeColour(d.colour);
        p.point(at.x, at.y);
        p.print(number);
    }
}

bool SkyplotForm::txtElMask_LostFocus(const std::string& text) {
    const auto v = static_cast<float>(ValDecimal(text));
    if (!(v >= 0 && v <= 89)) return false;
    const auto mask = static_cast<std::int16_t>(std::floor(v));
    const bool changed = mask != core_.config.ElevationMask;
    core_.config.ElevationMask = mask;
    txtElMask = FormatNumber(core_.config.ElevationMask, "00");
    ++texts_;
    // Only a new mask clears the plot. The focus leaves the box for many reasons (a click
    // elsewhere, the window maximized or restored): the satellites drawn stay.
    if (changed) drawBackground(true);
    return true;
}

void SkyplotForm::UpdateSkyplotGSA() {
    const GSARecord& r = core_.NMEAMessages[system_].GSA;
    mode_.set(r.FixType, r.SelectionMode);
    dops_[0].set(r.PDOP);
    dops_[1].set(r.HDOP);
    dops_[2].set(r.VDOP);

    SatelliteRecords& table = satellites();
    // Right after the first sentence of a GSV group the used flags start afresh; within
    // longer groups they accumulate. Only the first GSA after it does so: a receiver that
    // sends one GSA per constellation would otherwise clear what the GSA before it marked.
    const bool afresh = gsvSinceGsa_ && core_.NMEAMessages[system_].GSV.SentenceNumber == 1;
    gsvSinceGsa_ = false;
    if (afresh) {
        for (SatelliteRecord& sat : table) {
            sat.UsedInFix = false;
            sat.TableRow = 0;
            sat.Elevation = 0;
            sat.Azimuth = 0;
            sat.SNR = 0;
        }
    }

    // The first slot alone decides the constellation line; an empty one counts as GPS.
    const std::int16_t first = r.PRN[1];
    const int k = first < 33 ? 0 : first < 65 ? 1 : first < 100 ? 2 : first < 150 ? 3 : 4;
    std::array<std::int16_t, 12> list{};
    int count = 0;
    for (int i = 1; i <= 12; ++i) {
        const std::int16_t prn = r.PRN[i];
        if (!isTablePRN(prn)) continue;  // empty, 0, or no satellite number the table knows
        list[static_cast<std::size_t>(count++)] = prn;
        table[prn].UsedInFix = true;
    }
    std::sort(list.begin(), list.begin() + count);
    used_[static_cast<std::size_t>(k)].set(list, count);
    ++texts_;
}

void SkyplotForm::DrawSkyplotGSV() {
    const GSVRecord& r = core_.NMEAMessages[system_].GSV;
    gsvSinceGsa_ = true;
    if (r.SatellitesInView != svsInView_) {
        svsInView_ = r.SatellitesInView;
        lblSvsInView = ValueOrNA(svsInView_);
    }
    ++texts_;
    // Without a sentence number within a known count the sentence has no rows to fill.
    if (!isGroupSentence(r)) return;

    SatelliteRecords& table = satellites();
    const int s = r.SentenceNumber;
    const GsvCoverage group(r.Talker);
    if (s == 1) {
        // Not another constellation's satellites (their group clears them).
        group.forEachCovered(MaxPRN - 1, [&](int prn) {
            table[prn].Elevation = 0;
            table[prn].Azimuth = 0;
            table[prn].SNR = 0;
        });
    }

    // The clock is read only when a trend or the plot needs it.
    std::optional<double> clockNow;
    auto now = [&] {
        if (!clockNow) clockNow = core_.analysis.clock->now();
        return *clockNow;
    };
    const int mask = core_.config.ElevationMask;
    for (int i = 1; i <= 4; ++i) {
        const int row = (s - 1) * 4 + i;
        if (row > SkyplotRows) break;
        const int prn = r.PRN[i];
        if (!isTablePRN(prn)) {  // no satellite, or a number the table does not know
            rows.blank(row);
            continue;
        }
        SatelliteRecord& sat = table[prn];
        const std::int16_t elevation = r.Elevation[i];
        const std::int16_t azimuth = r.Azimuth[i];
        const std::int16_t snr = r.SNR[i];
        SkyplotRowValues line;
        line.svColour = sat.UsedInFix ? colours::Black : colours::Red;
        line.elevationColour = elevation >= mask ? colours::Black : colours::Red;
        line.snrColour = snr != 0 ? colours::Black : colours::Red;
        if (elevation > 0) {
            line.shown = true;
            line.prn = static_cast<std::int16_t>(prn);
            line.elevation = elevation;
            line.azimuth = azimuth;
            line.snr = snr;
            line.elevationTrend = sat.ElevationTrend;
            line.azimuthTrend = sat.AzimuthTrend;
            line.swatch = sat.ChartColour;
        }
        rows.set(row, line);
        sat.TableRow = static_cast<std::int16_t>(row);
        sat.Elevation = elevation;
        sat.Azimuth = azimuth;
        sat.SNR = snr;
        if (sat.Elevation != sat.PreviousElevation) {
            sat.ElevationTrend = trend(sat, now(), sat.Elevation > sat.PreviousElevation, 'u', 'd');
            sat.PreviousElevation = sat.Elevation;
        }
        if (sat.Azimuth != sat.PreviousAzimuth) {
            sat.AzimuthTrend = trend(sat, now(), sat.Azimuth > sat.PreviousAzimuth, '>', '<');
            sat.PreviousAzimuth = sat.Azimuth;
        }
    }

    if (s != r.SentenceCount) return;
    // The group is complete: the plot shows it, drawn from here and only here.
    plotted_.clear();
    for (int prn = 1; prn <= MaxPRN; ++prn) {
        SatelliteRecord& sat = table[prn];
        if (sat.Elevation <= 0) continue;
        plotted_.push_back({static_cast<std::int16_t>(prn), sat.Elevation, sat.Azimuth,
                            sat.UsedInFix ? colours::Black : colours::Red});
        sat.LastDrawn = now();
    }
    plotPending_ = true;
    ++plot_;
    for (int row = 4 * r.SentenceCount + 1; row <= SkyplotRows; ++row) rows.blank(row);
    engine_.UpdateTimeSeriesSNRGroup(system_, group);
}

}  // namespace tiderune
