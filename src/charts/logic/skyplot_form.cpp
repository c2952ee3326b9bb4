#include "charts/logic/skyplot_form.h"

#include <cmath>

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

std::string withTrend(std::string text, char t) {
    if (t != 0) text += t;
    return text;
}

}  // namespace

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
    ++plot_;
}

bool SkyplotForm::txtElMask_LostFocus(const std::string& text) {
    const auto v = static_cast<float>(ValDecimal(text));
    if (!(v >= 0 && v <= 89)) return false;
    core_.config.ElevationMask = static_cast<std::int16_t>(std::floor(v));
    txtElMask = FormatNumber(core_.config.ElevationMask, "00");
    ++texts_;
    drawBackground(true);
    return true;
}

void SkyplotForm::UpdateSkyplotGSA() {
    const GSARecord& r = core_.NMEAMessages[system_].GSA;
    if (r.FixType == 1) {
        lblCurrentMode = {"Fix Not Available", colours::Red};
    } else {
        lblCurrentMode = {StrNumber(r.FixType) + "D" + (r.SelectionMode == 'A' ? " Auto" : " Manual"), colours::Black};
    }
    lblPdop = FormatOrNA(r.PDOP, "0.0");
    lblHdop = FormatOrNA(r.HDOP, "0.0");
    lblVdop = FormatOrNA(r.VDOP, "0.0");

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
    IndexedArray<std::int16_t, 1, 12> list{};
    int count = 0;
    for (int i = 1; i <= 12; ++i) {
        const std::int16_t prn = r.PRN[i];
        if (!isTablePRN(prn)) continue;  // empty, 0, or no satellite number the table knows
        list[++count] = prn;
        table[prn].UsedInFix = true;
    }
    SortIntArray(list, 12);
    std::string used = StrNumber(count) + " - ";
    for (int i = 1; i <= count; ++i) used += StrNumber(list[i]);
    lblUsedSvs[static_cast<std::size_t>(k)] = used;
    ++texts_;
}

void SkyplotForm::blankRow(int row) {
    rows[row] = SkyplotRow{};
}

void SkyplotForm::DrawSkyplotGSV() {
    const GSVRecord& r = core_.NMEAMessages[system_].GSV;
    gsvSinceGsa_ = true;
    lblSvsInView = ValueOrNA(r.SatellitesInView);
    ++texts_;
    // Without a sentence number within a known count the sentence has no rows to fill.
    if (!isGroupSentence(r)) return;

    SatelliteRecords& table = satellites();
    const int s = r.SentenceNumber;
    if (s == 1) {
        for (int prn = 1; prn < MaxPRN; ++prn) {
            if (!gsvGroupCovers(r.Talker, prn)) continue;  // another constellation's group
            table[prn].Elevation = 0;
            table[prn].Azimuth = 0;
            table[prn].SNR = 0;
        }
    }

    const double now = core_.analysis.clock->now();
    const int mask = core_.config.ElevationMask;
    for (int i = 1; i <= 4; ++i) {
        const int row = (s - 1) * 4 + i;
        if (row > SkyplotRows) break;
        blankRow(row);
        const int prn = r.PRN[i];
        if (!isTablePRN(prn)) continue;  // no satellite, or a number the table does not know
        SatelliteRecord& sat = table[prn];
        const std::int16_t elevation = r.Elevation[i];
        const std::int16_t azimuth = r.Azimuth[i];
        const std::int16_t snr = r.SNR[i];
        SkyplotRow& line = rows[row];
        line.sv.colour = sat.UsedInFix ? colours::Black : colours::Red;
        line.elevation.colour = elevation >= mask ? colours::Black : colours::Red;
        line.snr.colour = snr != 0 ? colours::Black : colours::Red;
        if (elevation > 0) {
            line.sv.text = ValueOrNA(static_cast<std::int16_t>(prn));
            line.elevation.text = withTrend(FormatOrNA(elevation, "00  "), sat.ElevationTrend);
            line.azimuth.text = withTrend(FormatOrNA(azimuth, "000  "), sat.AzimuthTrend);
            line.snr.text = ValueOrNA(snr);
            line.swatch = sat.ChartColour;
        }
        sat.TableRow = static_cast<std::int16_t>(row);
        sat.Elevation = elevation;
        sat.Azimuth = azimuth;
        sat.SNR = snr;
        if (sat.Elevation != sat.PreviousElevation) {
            sat.ElevationTrend = trend(sat, now, sat.Elevation > sat.PreviousElevation, 'u', 'd');
            sat.PreviousElevation = sat.Elevation;
        }
        if (sat.Azimuth != sat.PreviousAzimuth) {
            sat.AzimuthTrend = trend(sat, now, sat.Azimuth > sat.PreviousAzimuth, '>', '<');
            sat.PreviousAzimuth = sat.Azimuth;
        }
    }

    if (s != r.SentenceCount) return;
    // The group is complete: the plot shows it, drawn here and only here.
    DrawingSurface& p = surface_;
    p.clear();
    for (int prn = 1; prn <= MaxPRN; ++prn) {
        SatelliteRecord& sat = table[prn];
        if (sat.Elevation <= 0) continue;
        const PlotPoint at = skyplotPoint(sat.Elevation, sat.Azimuth);
        p.setForeColour(sat.UsedInFix ? colours::Black : colours::Red);
        p.point(at.x, at.y);
        p.print(StrNumber(prn) + " ");
        sat.LastDrawn = now;
    }
    ++plot_;
    for (int row = 4 * r.SentenceCount + 1; row <= SkyplotRows; ++row) blankRow(row);
    for (int prn = 1; prn < MaxPRN; ++prn)
        if (gsvGroupCovers(r.Talker, prn)) engine_.UpdateTimeSeriesSNR(system_, prn);
}

}  // namespace tiderune
