// GSA and GSV sentences through the whole chain: the sky plot's satellite table, trends and
// panel, the GSA and GSV windows' satellite series, and the SNR windows' charts.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "charts/logic/skyplot_form.h"
#include "core/number_text.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
#include "satellite_doubles.h"
#include "timeseries/satellite_series.h"
#include "timeseries/time_series_form.h"

using namespace tiderune;

namespace {

struct TestClock final : PcClock {
    double now() const override { return t; }
    double t = dateFromYmd(2026, 12, 9) + 0.5;
};

// Keeps what a drawing surface is asked to draw: the background, and what came since the
// last clear.
struct RecordingSurface final : DrawingSurface {
    struct Op {
        char kind;  // 'l' line, 'c' circle, 'p' point, 't' text
        double x, y, r;
        std::string text;
        Colour colour;
        PenStyle style;
    };
    void setScale(double, double, double, double) override {}
    void setKeepAsBackground(bool on) override { keep = on; }
    bool keepAsBackground() const override { return keep; }
    void clear() override {
        overlay.clear();
        if (keep) background.clear();
    }
    void setForeColour(Colour c) override { colour = c; }
    Colour foreColour() const override { return colour; }
    void setDrawWidth(int) override {}
    int drawWidth() const override { return 1; }
    void setDrawStyle(PenStyle s) override { style = s; }
    PenStyle drawStyle() const override { return style; }
    void setCurrentX(double v) override { x = v; }
    void setCurrentY(double v) override { y = v; }
    double currentX() const override { return x; }
    double currentY() const override { return y; }
    void line(double, double, double x2, double y2) override { x = x2, y = y2; }
    void circle(double cx, double cy, double r) override {
        add({'c', cx, cy, r, {}, colour, style});
        x = cx, y = cy;
    }
    void point(double px, double py) override {
        add({'p', px, py, 0, {}, colour, style});
        x = px, y = py;
    }
    void print(const std::string& t) override { add({'t', x, y, 0, t, colour, style}); }
    void add(Op op) { (keep ? background : overlay).push_back(std::move(op)); }

    std::vector<Op> background, overlay;
    bool keep = false;
    Colour colour = 0;
    PenStyle style = PenStyle::Solid;
    double x = 0, y = 0;
};

using test::SatelliteSink;
using test::Windows;

class Satellites : public testing::Test {
protected:
    Satellites() {
        core->analysis.clock = &clock;
        core->config.Mode = "OFFLINE";
        core->config.MessagesToAnalyse[1][1] = "GSA";
        core->config.MessagesToAnalyse[1][2] = "GSV";
        SetAnalysedMessageTypes(core->config, 1);
        windows.engine = engine.get();
        windows.settings = &engine->settings;
        sink.engine = engine.get();
        sink.skyplot = &skyplot;
        setSkyplotOpen(true);
        skyplot.load(1);
    }
    void setSkyplotOpen(bool open) { core->config.WindowVisible[1][VisibleForms::Skyplot] = open; }
    // Each sentence, then the plot as the window's next redraw draws it.
    void feed(const std::string& body) {
        ProcessSentence(*core, sink, ais, 1, body + "*" + CalcChecksum(body));
        skyplot.drawPlot();
    }
    SatelliteRecord& sat(int prn) { return engine->SatelliteTable[1][prn]; }
    TimeSeriesForm& gsa() { return *windows.timeSeriesForm(chart_kind::GSA, 1); }
    TimeSeriesForm& gsv() { return *windows.timeSeriesForm(chart_kind::GSV, 1); }
    const Series& gsvSeries(int chart, int series) { return gsv().TChart(chart).series(series); }
    // The SNR window chart's SNR series; null when nothing was fed to it.
    const Series* snrSeries(int constellation, int chart) {
        auto it = windows.snr.find({1, constellation, chart});
        return it == windows.snr.end() ? nullptr : &it->second->series(0);
    }

    TestClock clock;
    std::unique_ptr<CoreState> core = std::make_unique<CoreState>();
    Windows windows{core->config, "Sys"};
    std::unique_ptr<TimeSeriesEngine> engine = std::make_unique<TimeSeriesEngine>(*core, windows);
    RecordingSurface surface;
    SkyplotForm skyplot{*core, *engine, surface};
    SatelliteSink sink;
    NullAisServices ais;
};

// A GSA sentence body: talker and header, the used satellites padded to twelve slots, DOPs.
std::string gsaLine(const std::string& head, std::vector<std::string> slots, const std::string& dops) {
    slots.resize(12);
    std::string s = head;
    for (const std::string& slot : slots) s += "," + slot;
    return s + "," + dops;
}

std::vector<double> ys(const Series& s) {
    std::vector<double> v;
    for (int i = 0; i < s.count(); ++i) v.push_back(s.isNull(i) ? -1 : s.y(i));
    return v;
}

}  // namespace

TEST_F(Satellites, SeriesPerSatelliteTakeThePaletteAndGiveTheSkyPlotItsColours) {
    EXPECT_EQ(gsa().TChart(0).seriesCount(), 4);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(gsv().TChart(c).seriesCount(), 152);
    const Chart& used = gsa().TChart(1);
    ASSERT_EQ(used.seriesCount(), 152);
    EXPECT_EQ(used.series(1).title(), "01");
    EXPECT_EQ(used.series(151).title(), "151");
    EXPECT_EQ(used.series(20).colour(), used.series(1).colour());
    EXPECT_EQ(used.series(38).colour(), colours::Silver) << "a multiple of 19 takes the design series' colour";
    EXPECT_EQ(used.series(151).colour(), used.series(18).colour());
    EXPECT_NE(used.series(18).colour(), used.series(17).colour());
    EXPECT_TRUE(used.series(7).outlinePen().visible);
    EXPECT_EQ(used.series(7).outlinePen().colour, used.series(7).colour());

    // One colour per satellite in all three GSV charts, and in the sky plot's table.
    EXPECT_EQ(gsvSeries(1, 38).colour(), colours::Silver) << "the azimuth chart follows the elevation chart";
    for (int c = 1; c < 3; ++c) EXPECT_EQ(gsvSeries(c, 7).colour(), gsvSeries(0, 7).colour());
    EXPECT_EQ(sat(7).ChartColour, gsvSeries(0, 7).colour());
    feed("$GPGSV,1,1,01,07,40,083,46");
    EXPECT_EQ(skyplot.rows[1].swatch, sat(7).ChartColour);
}

TEST_F(Satellites, GsaFeedsDopsFixTypeAndUsedLinesThatBreakWhenASatelliteLeaves) {
    feed(gsaLine("$GPGSA,M,3", {"04", "09", "00", "120", "200", "-5", "99"}, "2.5,1.3,2.1"));
    const Chart& dops = gsa().TChart(0);
    const Chart& used = gsa().TChart(1);
    EXPECT_EQ(ys(dops.series(0)), std::vector<double>{2.5});
    EXPECT_EQ(ys(dops.series(3)), std::vector<double>{3});
    EXPECT_EQ(dops.series(3).outlinePen().colour, colours::Yellow) << "manual selection";
    EXPECT_EQ(ys(used.series(4)), std::vector<double>{4});
    EXPECT_EQ(ys(used.series(120)), std::vector<double>{120});
    EXPECT_EQ(used.series(0).count(), 0) << "satellite number 0 is an empty slot, not the placeholder's";

    feed(gsaLine("$GPGSA,A,3", {"04"}, "2.0,1.0,1.7"));
    EXPECT_EQ(dops.series(3).outlinePen().colour, colours::Black);
    EXPECT_EQ(ys(used.series(4)), (std::vector<double>{4, 4}));
    EXPECT_EQ(ys(used.series(9)), (std::vector<double>{9, -1})) << "PRN 9 left the fix: its line stops";
    EXPECT_EQ(ys(used.series(99)), (std::vector<double>{99, -1}));
    EXPECT_EQ(ys(used.series(120)), std::vector<double>{120}) << "lines above 99 are never broken";

    feed(gsaLine("$GPGSA,A,1", {}, ",,"));
    EXPECT_EQ(dops.series(0).count(), 2) << "a missing DOP gives no point";
    EXPECT_EQ(ys(dops.series(3)), (std::vector<double>{3, 3, 1}));
    EXPECT_EQ(ys(used.series(4)), (std::vector<double>{4, 4, -1}));
}

TEST_F(Satellites, GsvWindowAtGroupEndReadsTheTableBeforeTheLastSentence) {
    // A GN group speaks for every constellation: BeiDou's 100 among GPS satellites.
    feed("$GNGSV,2,1,05,01,40,083,46,02,17,308,41,12,00,344,39,14,22,228,45");
    EXPECT_EQ(gsvSeries(2, 0).count(), 0) << "no group end yet";
    feed("$GNGSV,2,2,05,100,50,100,33");
    EXPECT_EQ(ys(gsvSeries(2, 0)), std::vector<double>{5});
    EXPECT_EQ(ys(gsvSeries(0, 1)), std::vector<double>{40});
    EXPECT_EQ(ys(gsvSeries(1, 14)), std::vector<double>{228});
    EXPECT_EQ(gsvSeries(0, 100).count(), 0) << "the group's last sentence is taken in after the window";
    EXPECT_EQ(gsvSeries(2, 12).count(), 0) << "on the horizon counts as out of view";

    // The SNR windows: one point per satellite per group end, zeros when out of view.
    ASSERT_NE(snrSeries(1, 1), nullptr);
    EXPECT_EQ(ys(*snrSeries(1, 1)), std::vector<double>{46});
    EXPECT_EQ(ys(*snrSeries(1, 3)), std::vector<double>{0});
    EXPECT_EQ(ys(*snrSeries(1, 12)), std::vector<double>{0}) << "its SNR of 39 is not shown";
    EXPECT_EQ(ys(*snrSeries(4, 0)), std::vector<double>{33}) << "PRN 100 is BeiDou chart 0";
    EXPECT_EQ(ys(*snrSeries(2, 32)), std::vector<double>{0});
    EXPECT_EQ(ys(*snrSeries(3, 32)), std::vector<double>{0});
    EXPECT_EQ(ys(*snrSeries(4, 32)), std::vector<double>{0}) << "PRN 132, the last with a chart";
    for (int c = 0; c <= 32; ++c) EXPECT_EQ(snrSeries(5, c), nullptr) << "no satellite reaches Galileo";
    EXPECT_EQ(windows.snr.size(), 32u * 3 + 33) << "97-99 and 133-150 have no chart";

    // Sky plot closed: the table stands still, the SNR windows get nothing, the GSV window
    // adds the last stored values again.
    setSkyplotOpen(false);
    feed("$GNGSV,1,1,01,05,60,010,30");
    EXPECT_EQ(sat(5).Elevation, 0);
    EXPECT_EQ(ys(*snrSeries(1, 1)), std::vector<double>{46});
    EXPECT_EQ(ys(gsvSeries(0, 100)), std::vector<double>{50});
    EXPECT_EQ(ys(gsvSeries(0, 1)), (std::vector<double>{40, 40}));
}

TEST_F(Satellites, SnrWindowsDecimateApartFromTheGsvWindow) {
    gsv().cmbFilter_Click(2);  // "2 fix"
    for (const char* snr : {"46", "50", "40", "44"}) feed(std::string("$GPGSV,1,1,01,07,40,083,") + snr);
    EXPECT_EQ(gsvSeries(0, 7).count(), 1) << "the first group had no elevation yet; then one point per two groups";
    // Each pair of groups gives the SNR window one point: the larger SNR of the two.
    const Series* snr = snrSeries(1, 7);
    ASSERT_NE(snr, nullptr);
    ASSERT_EQ(snr->count(), 2);
    EXPECT_EQ(snr->y(0), 50);
    EXPECT_EQ(snr->y(1), 44);
    // Its elevation and azimuth at the same pace.
    const Chart& chart = *windows.snr[{1, 1, 7}];
    EXPECT_EQ(ys(chart.series(1)), (std::vector<double>{40, 40}));
    EXPECT_EQ(ys(chart.series(2)), (std::vector<double>{83, 83}));
}

TEST_F(Satellites, SkyPlotTableTrendsAndColours) {
    core->config.ElevationMask = 10;
    feed(gsaLine("$GPGSA,A,3", {"01", "03"}, "2.0,1.0,1.7"));
    // An earlier group of 16 leaves rows 13-16 to be blanked by a group of 12.
    feed("$GPGSV,4,1,16,01,40,083,46,02,17,308,0,03,07,344,39,04,22,228,45");
    feed("$GPGSV,4,2,16,05,40,083,46,06,17,308,41,07,07,344,39,08,22,228,45");
    feed("$GPGSV,4,3,16,09,40,083,46,10,17,308,41,11,07,344,39,12,22,228,45");
    feed("$GPGSV,4,4,16,13,40,083,46,14,17,308,41,15,07,344,39,151,22,228,45");
    EXPECT_EQ(skyplot.rows[16].sv.text, " 151");
    ASSERT_EQ(surface.overlay.size(), 32u) << "16 satellites drawn, each a point and its number";
    // In rising number order: where each goes (radius 90 - elevation, azimuth clockwise from
    // north), its colour (black when used in the fix) and its number printed there.
    const struct {
        std::size_t satellite;  // in drawing order
        double x, y;
        Colour colour;
        const char* number;
    } drawn[] = {
        {0, 50 * std::sin(83 * 0.017453292519944444), 50 * std::cos(83 * 0.017453292519944444), colours::Black, " 1 "},
        {1, 73 * std::sin(308 * 0.017453292519944444), 73 * std::cos(308 * 0.017453292519944444), colours::Red, " 2 "},
        {15, 68 * std::sin(228 * 0.017453292519944444), 68 * std::cos(228 * 0.017453292519944444), colours::Red,
         " 151 "},
    };
    for (const auto& d : drawn) {
        const auto& point = surface.overlay[2 * d.satellite];
        const auto& number = surface.overlay[2 * d.satellite + 1];
        EXPECT_EQ(point.kind, 'p');
        EXPECT_NEAR(point.x, d.x, 1e-9) << d.number;
        EXPECT_NEAR(point.y, d.y, 1e-9) << d.number;
        EXPECT_EQ(point.colour, d.colour) << d.number;
        EXPECT_EQ(number.kind, 't');
        EXPECT_EQ(number.text, d.number);
        EXPECT_NEAR(number.x, d.x, 1e-9) << d.number;
        EXPECT_EQ(number.colour, d.colour) << d.number;
    }

    feed("$GPGSV,3,1,12,01,41,080,46,02,17,308,0,03,07,344,39,04,10,228,45");
    EXPECT_EQ(sat(151).Elevation, 22) << "the first sentence clears 1-150 only";
    EXPECT_EQ(sat(5).Elevation, 0);
    EXPECT_EQ(surface.overlay.size(), 32u) << "drawn at group end only";
    const SkyplotRow& first = skyplot.rows[1];
    EXPECT_EQ(first.sv.text, " 1");
    EXPECT_EQ(first.sv.colour, colours::Black) << "used in the fix";
    EXPECT_EQ(first.elevation.text, "41   ") << "first seen: a blank trend, shown until the next sentence";
    EXPECT_EQ(first.azimuth.text, "080   ");
    EXPECT_EQ(skyplot.rows[2].sv.colour, colours::Red) << "not used";
    EXPECT_EQ(skyplot.rows[2].snr.colour, colours::Red) << "no signal";
    EXPECT_EQ(skyplot.rows[3].elevation.colour, colours::Red) << "below the mask";
    EXPECT_EQ(skyplot.rows[4].elevation.colour, colours::Black) << "at the mask";
    EXPECT_EQ(sat(1).ElevationTrend, 'u');
    EXPECT_EQ(sat(1).AzimuthTrend, '<');

    feed("$GPGSV,3,2,12,05,40,083,46,06,17,308,41,07,07,344,39,08,22,228,45");
    feed("$GPGSV,3,3,12,09,40,083,46,10,17,308,41,11,07,344,39,12,22,228,45");
    EXPECT_EQ(skyplot.rows[12].sv.text, " 12");
    EXPECT_EQ(skyplot.rows[13].sv.text, "*");
    EXPECT_EQ(skyplot.rows[13].swatch, colours::White);

    // The next change after being drawn shows its direction; a clock set back to an earlier
    // hour than the last drawing shows none, one set back within the hour still does.
    feed("$GPGSV,1,1,01,01,39,085,46");
    EXPECT_EQ(skyplot.rows[1].elevation.text, "39  u");
    EXPECT_EQ(sat(1).ElevationTrend, 'd');
    clock.t -= 1.0 / 24;
    feed("$GPGSV,1,1,01,01,42,085,46");
    EXPECT_EQ(sat(1).ElevationTrend, ' ');
    clock.t += 0.5 / 24;
    feed("$GPGSV,1,1,01,01,43,085,46");
    clock.t -= 0.25 / 24;
    feed("$GPGSV,1,1,01,01,41,085,46");
    EXPECT_EQ(sat(1).ElevationTrend, 'd');
    EXPECT_EQ(sat(1).AzimuthTrend, '>') << "an unchanged azimuth keeps its sign";
}

// The table's texts are the Str and "00  " / "000  " forms of the sentence's numbers, as the
// program's number formatting writes them; missing ones read "n/a".
TEST_F(Satellites, SkyPlotTableTextsAreTheNumberFormsOfTheSentence) {
    for (const char* line : {"$GPGSV,2,1,08,01,1,0,,02,9,5,0,03,89,359,9,04,123,1234,99",
                             "$GPGSV,2,2,08,05,45,,45,06,10,-7,12,07,90,360,-3,32,05,45,32767"}) {
        feed(line);
        const GSVRecord& r = core->NMEAMessages[1].GSV;
        for (int i = 1; i <= 4; ++i) {
            const SkyplotRow& row = skyplot.rows[(r.SentenceNumber - 1) * 4 + i];
            EXPECT_EQ(row.sv.text, ValueOrNA(r.PRN[i])) << line << " " << i;
            EXPECT_EQ(row.elevation.text, FormatOrNA(r.Elevation[i], "00  ")) << line << " " << i;
            EXPECT_EQ(row.azimuth.text, FormatOrNA(r.Azimuth[i], "000  ")) << line << " " << i;
            EXPECT_EQ(row.snr.text, ValueOrNA(r.SNR[i])) << line << " " << i;
        }
    }
    EXPECT_EQ(skyplot.rows[5].azimuth.text, "n/a");
}

TEST_F(Satellites, GsaPanel) {
    struct Case {
        std::string gsa;
        const char* mode;
        Colour colour;
        const char* dops;  // PDOP, HDOP and VDOP as shown
        int line;
        const char* used;
        bool first = false;  // the first GSA of a sky plot just loaded
    };
    const Case cases[] = {
        // A first GSA of fix type 0 whose selection is a NUL byte still replaces the design's "n/a".
        {gsaLine(std::string("$GPGSA,\0,0", 10), {"17"}, ",,"), " 0D Manual", colours::Black, "n/a n/a n/a", 0, " 1 -  17", true},
        // A first value of 0 is a value too: not the design's "xx.xx".
        {gsaLine("$GPGSA,A,3", {"17", "04", "09"}, "0.0,0,0.00"), " 3D Auto", colours::Black, "0.0 0.0 0.0", 0, " 3 -  4 9 17", true},
        {gsaLine("$GPGSA,A,3", {"17", "04", "09"}, "2.54,1.3,2.1"), " 3D Auto", colours::Black, "2.5 1.3 2.1", 0, " 3 -  4 9 17"},
        // The same fix type and count, another selection and another satellite.
        {gsaLine("$GPGSA,M,3", {"17", "05", "09"}, "2.54,1.3,2.1"), " 3D Manual", colours::Black, "2.5 1.3 2.1", 0, " 3 -  5 9 17"},
        {gsaLine("$GPGSA,M,2", {"33"}, ",1.3,2.1"), " 2D Manual", colours::Black, "n/a 1.3 2.1", 1, " 1 -  33"},
        // Any selection other than "A", none included, reads Manual.
        {gsaLine("$GPGSA,,2", {"33"}, ",1.3,2.1"), " 2D Manual", colours::Black, "n/a 1.3 2.1", 1, " 1 -  33"},
        {gsaLine("$GNGSA,A,1", {"70", "03"}, "1,1,1"), "Fix Not Available", colours::Red, "1.0 1.0 1.0", 2, " 2 -  3 70"},
        {gsaLine("$GBGSA,A,3", {"140"}, "1,1,1"), " 3D Auto", colours::Black, "1.0 1.0 1.0", 3, " 1 -  140"},
        {gsaLine("$GAGSA,A,3", {"151", "0"}, "1,1,1"), " 3D Auto", colours::Black, "1.0 1.0 1.0", 4, " 1 -  151"},
        {gsaLine("$GPGSA,A,3", {}, "0,1,1"), " 3D Auto", colours::Black, "0.0 1.0 1.0", 0, " 0 - "},
    };
    std::vector<std::unique_ptr<SkyplotForm>> loaded;
    const SkyplotForm* plot = &skyplot;
    for (const Case& c : cases) {
        if (c.first) {
            loaded.push_back(std::make_unique<SkyplotForm>(*core, *engine, surface));
            loaded.back()->load(1);
            sink.skyplot = loaded.back().get();
            plot = sink.skyplot;
        }
        feed(c.gsa);
        EXPECT_EQ(plot->lblCurrentMode().text, c.mode) << c.gsa;
        EXPECT_EQ(plot->lblCurrentMode().colour, c.colour) << c.gsa;
        EXPECT_EQ(plot->lblPdop() + " " + plot->lblHdop() + " " + plot->lblVdop(), c.dops) << c.gsa;
        EXPECT_EQ(plot->lblUsedSvs(static_cast<std::size_t>(c.line)), c.used) << c.gsa;
    }

    // Used flags accumulate within longer GSV groups and start afresh after a first sentence.
    EXPECT_TRUE(sat(9).UsedInFix);
    feed("$GPGSV,1,1,01,07,40,083,46");
    feed(gsaLine("$GPGSA,A,3", {"05"}, "1,1,1"));
    EXPECT_FALSE(sat(9).UsedInFix);
    EXPECT_TRUE(sat(5).UsedInFix);
    // One GSA per constellation after a one-sentence group: the second keeps the first's marks.
    feed("$GLGSV,1,1,01,70,50,120,41");
    feed(gsaLine("$GNGSA,A,3", {"09"}, "1,1,1"));
    feed(gsaLine("$GNGSA,A,3", {"70"}, "1,1,1"));
    EXPECT_FALSE(sat(5).UsedInFix);
    EXPECT_TRUE(sat(9).UsedInFix);
    EXPECT_TRUE(sat(70).UsedInFix);
}

TEST_F(Satellites, GsvSentencesOutsideAGroupOnlyTellTheCount) {
    feed("$GPGSV,1,1,02,07,40,083,46,08,30,100,40");
    ASSERT_EQ(surface.overlay.size(), 4u);
    const std::size_t snrPoints = snrSeries(1, 7)->count();
    const char* strays[] = {
        "$GPGSV,,,09,07,41,083,46",  "$GPGSV,1,,09,07,41,083,46",  "$GPGSV,,1,09,07,41,083,46",
        "$GPGSV,0,0,09,07,41,083,46", "$GPGSV,2,3,09,07,41,083,46", "$GPGSV,-1,-1,09,07,41,083,46",
    };
    for (const char* s : strays) {
        feed(s);
        EXPECT_EQ(skyplot.lblSvsInView, " 9") << s;
        EXPECT_EQ(sat(7).Elevation, 40) << s;
        EXPECT_EQ(skyplot.rows[2].sv.text, " 8") << s;
        EXPECT_EQ(surface.overlay.size(), 4u) << s;
        EXPECT_EQ(gsvSeries(2, 0).count(), 1) << s;
        EXPECT_EQ(snrSeries(1, 7)->count(), snrPoints) << s;
    }
    // Satellite numbers the table does not know give an empty row and touch nothing.
    feed("$GPGSV,1,1,02,152,40,083,46,-3,30,100,40");
    EXPECT_EQ(skyplot.rows[1].sv.text, "*");
    EXPECT_EQ(skyplot.lblSvsInView, " 2");
    feed("$GPGSV,14,14,56,09,40,083,46");
    EXPECT_EQ(sat(9).Elevation, 0) << "rows beyond 50 are not taken in";
}

TEST_F(Satellites, ElevationMaskBoxAndRings) {
    struct Case {
        const char* typed;
        bool taken;
        int mask;
    };
    const Case cases[] = {{"45,7", true, 45}, {"90", false, 45}, {"-1", false, 45}, {"89", true, 89},
                          {"5", true, 5},       {"abc", true, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(skyplot.txtElMask_LostFocus(c.typed), c.taken) << c.typed;
        EXPECT_EQ(core->config.ElevationMask, c.mask) << c.typed;
    }
    skyplot.txtElMask_LostFocus("5");
    EXPECT_EQ(skyplot.txtElMask, "05");
    std::vector<double> radii;
    for (const auto& op : surface.background)
        if (op.kind == 'c') radii.push_back(op.r);
    EXPECT_EQ(radii, (std::vector<double>{30, 60, 90, 85})) << "background drawn once, cleared before";
    const auto& label = surface.background.back();
    EXPECT_EQ(label.text, "05\xB0");
    EXPECT_EQ(label.y, -75) << "a mask below 10 lifts its label by 10";
    EXPECT_EQ(label.style, PenStyle::Dash);

    // A group that ended before the mask changed is not drawn after it.
    const std::string group = "$GPGSV,1,1,01,07,40,083,46";
    ProcessSentence(*core, sink, ais, 1, group + "*" + CalcChecksum(group));
    skyplot.txtElMask_LostFocus("6");
    skyplot.drawPlot();
    EXPECT_EQ(surface.overlay.size(), 0u);
    feed(group);
    EXPECT_EQ(surface.overlay.size(), 2u);
}

TEST_F(Satellites, EachTalkersGroupClearsAndFeedsOnlyItsOwnSatellites) {
    // A GPS, an SBAS, a GLONASS and a BeiDou satellite, in the table and their SNR charts.
    const int prns[] = {7, 40, 70, 112};
    struct Case {
        const char* name;
        std::vector<std::string> groups;
        std::array<int, 4> elevation;  // in the table after the groups
        std::array<double, 4> snr;     // last point of the SNR chart
        std::array<int, 4> points;     // SNR points so far
        std::size_t drawn;             // satellites in the plot
        // The GSV window's SNR series so far: at a group end it reads the table as it stood
        // before the group's last sentence, for the talker's own satellites in view.
        std::array<std::vector<double>, 4> gsvSnr;
    };
    const Case cases[] = {
        {"one group per talker",
         {"$GPGSV,1,1,02,07,40,083,46,40,30,200,38", "$GLGSV,1,1,01,70,50,120,41", "$GAGSV,1,1,00",
          "$BDGSV,1,1,01,112,25,010,33"},
         {40, 30, 50, 25}, {46, 38, 41, 33}, {1, 1, 1, 1}, 4, {}},
        {"next epoch, GPS in two sentences, BeiDou as GB",
         {"$GPGSV,2,1,05,07,41,083,45,01,10,010,30,02,10,010,30,03,10,010,30", "$GPGSV,2,2,05,40,31,200,37",
          "$GLGSV,1,1,01,70,51,120,40", "$GBGSV,1,1,01,112,26,010,32"},
         {41, 31, 51, 26}, {45, 37, 40, 32}, {2, 2, 2, 2}, 7, {{{45}, {}, {41}, {33}}}},
        {"GN clears and feeds every satellite", {"$GNGSV,1,1,01,07,42,083,44"},
         {42, 0, 0, 0}, {44, 0, 0, 0}, {3, 3, 3, 3}, 1, {{{45, 45}, {37}, {41, 40}, {33, 32}}}},
        {"GLONASS alone leaves GPS be", {"$GLGSV,1,1,01,70,52,120,39"},
         {42, 0, 52, 0}, {44, 0, 39, 0}, {3, 3, 4, 3}, 2, {{{45, 45}, {37}, {41, 40}, {33, 32}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& g : c.groups) feed(g);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(sat(prns[i]).Elevation, c.elevation[i]) << prns[i];
            const SNRChartPlace place = snrChartOf(prns[i]);
            const Series* s = snrSeries(place.constellation, place.chart);
            ASSERT_NE(s, nullptr) << prns[i];
            EXPECT_EQ(s->count(), c.points[i]) << prns[i];
            EXPECT_EQ(s->y(s->count() - 1), c.snr[i]) << prns[i];
            EXPECT_EQ(ys(gsvSeries(2, prns[i])), c.gsvSnr[i]) << prns[i];
        }
        EXPECT_EQ(surface.overlay.size(), 2 * c.drawn) << "each drawn satellite is a point and its number";
    }
}

// The SNR windows outlive the resets. A new run that goes back over their times (the same
// recording replayed) replaces those points; a later run, and any time within a run, adds.
TEST_F(Satellites, ANewRunOverTheSameTimesReplacesTheSnrPointsFromItsStart) {
    const double t0 = dateFromYmd(2026, 6, 15) + 8.0 / 24;
    auto run = [&](bool newRun, std::vector<int> seconds, int snr) {
        if (newRun) engine->MarkSNRSeriesForNewRun();
        for (int s : seconds) {
            core->EpochTime[1] = t0 + s / 86400.0;
            feed("$GPGSV,1,1,01,07,40,083," + std::to_string(snr));
        }
    };
    auto points = [&] {
        std::vector<std::pair<int, double>> v;  // whole seconds after t0, SNR
        const Series& s = *snrSeries(1, 7);
        for (int i = 0; i < s.count(); ++i) v.emplace_back(std::lround((s.x(i) - t0) * 86400), s.y(i));
        return v;
    };
    using P = std::vector<std::pair<int, double>>;
    run(true, {0, 1, 2, 3}, 40);
    run(true, {0, 1, 2, 3}, 41);
    EXPECT_EQ(points(), (P{{0, 41}, {1, 41}, {2, 41}, {3, 41}})) << "replayed: the newest pass alone";
    run(true, {2, 3, 4}, 42);
    EXPECT_EQ(points(), (P{{0, 41}, {1, 41}, {2, 42}, {3, 42}, {4, 42}})) << "older points stay";
    run(true, {10, 11}, 43);
    run(false, {9}, 44);
    EXPECT_EQ(points(), (P{{0, 41}, {1, 41}, {2, 42}, {3, 42}, {4, 42}, {10, 43}, {11, 43}, {9, 44}}))
        << "a later run appends; a step back within a run is kept";
    const Chart& chart = *windows.snr[{1, 1, 7}];
    for (int i = 0; i < 3; ++i) EXPECT_EQ(chart.series(i).count(), 8) << "series " << i;
    // Under a filter the run's first value only opens a block; it still takes the last
    // pass's points back from its own time, not from the first point of the new run.
    run(true, {20, 21, 22, 23}, 45);
    gsv().cmbFilter_Click(2);  // "2 fix"
    run(true, {20, 21, 22, 23}, 46);
    EXPECT_EQ(points(), (P{{0, 41}, {1, 41}, {2, 42}, {3, 42}, {4, 42}, {10, 43}, {11, 43}, {9, 44}, {21, 46}, {23, 46}}));
}
