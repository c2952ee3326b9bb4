#include "timeseries/chart_designs.h"

#include "platform/chart_model.h"
#include "timeseries/chart_settings.h"

namespace tiderune {

namespace {

using namespace colours;

SeriesDesign line(const char* title, Colour c, VerticalAxis axis = VerticalAxis::Left) {
    SeriesDesign s;
    s.title = title;
    s.colour = c;
    s.axis = axis;
    return s;
}

ChartDesign chart(int top, int height, std::vector<SeriesDesign> series) {
    ChartDesign d;
    d.top = top;
    d.height = height;
    d.series = std::move(series);
    return d;
}

ChartDesign minimumFixed(ChartDesign d) {
    d.left = AxisRange::MinimumFixed;
    return d;
}

ChartDesign withValues(ChartDesign d) {
    d.legendValues = true;
    return d;
}

std::vector<SeriesDesign> offsets() {
    return {line("dRad", Red), line("dLat", Blue), line("dLon", Green)};
}

std::vector<FormDesign> makeDesigns() {
    std::vector<FormDesign> all;
    auto add = [&](SentenceType t, int kind, const char* form, const char* caption, int word, int w, int h,
                   std::vector<ChartDesign> charts) -> FormDesign& {
        FormDesign f{t, kind, form, caption, word, w, h, 600, 0, false, false, 0, false, false, {}};
        f.charts = std::move(charts);
        all.push_back(std::move(f));
        return all.back();
    };

    FormDesign& vtg = add(SentenceType::VTG, chart_kind::VTG, "frmTimeSeriesVTG", "VTG Time Series ", 11, 12210, 4485,
                          {chart(600, 3135, {line("SOG (Knots)", Blue), line("COG (True)", rgb(255, 0, 128), VerticalAxis::Right)})});
    vtg.anyButtonCharts = 1;
    vtg.rightAxisDialog = true;

    add(SentenceType::GLL, chart_kind::GLL, "frmTimeSeriesGLL", "GLL Time Series ", 9, 12450, 4305,
        {chart(600, 3495, offsets())});

    FormDesign& rmc = add(SentenceType::RMC, chart_kind::RMC, "frmTimeSeriesRMC", "RMC Time Series ", 10, 12855, 7860,
                          {chart(600, 3495, offsets()),
                           chart(4080, 3135, {line("SOG (Knots)", rgb(0, 128, 255)),
                                              line("COG (True)", rgb(255, 128, 0), VerticalAxis::Right)})});
    rmc.anyButtonCharts = 2;
    rmc.rightAxisDialog = true;
    rmc.viewChangeCopies = true;

    ChartDesign hdt = withValues(chart(600, 3135, {line("deltaHeading ", Blue, VerticalAxis::Both), line("Ref Hdg", Black),
                                                    line("Avg Hdg", Red), line("Sdev", Yellow)}));
    hdt.rightFixed = true;
    hdt.rightMin = 17;
    hdt.rightMax = 236;
    hdt.tools = 3;
    add(SentenceType::HDT, chart_kind::HDT, "frmTimeSeriesHDT", "HDT Time Series ", 164, 11880, 3960, {hdt});

    FormDesign& att = add(SentenceType::ATT, chart_kind::ATT, "frmTimeSeriesATT", "ATT Time Series ", 165, 12270, 7620,
                          {chart(600, 3495, {line("deltaHeading", Blue)}),
                           chart(4080, 3135, {line("Pitch", Red), line("Roll", Green)})});
    att.viewChangeCopies = true;

    add(SentenceType::ROT, chart_kind::ROT, "frmTimeSeriesROT", "ROT Time Series ", 166, 11775, 3960,
        {withValues(chart(600, 3135, {line("Rate Of Turn", Blue)}))});

    FormDesign& vhw = add(SentenceType::VHW, chart_kind::VHW, "frmTimeSeriesVHW", "VHW Time Series ", 167, 12210, 4140,
                          {chart(600, 3135, {line("WaterSpeed (Knots)", Blue),
                                             line("Water Hdg (True)", rgb(255, 0, 128), VerticalAxis::Right),
                                             line("Hdg (Magnetic)", Green)})});
    vhw.rightAxisDialog = true;

    // Depth grows downwards.
    ChartDesign dbt = withValues(minimumFixed(chart(600, 3135, {line("Depth (below transducer)", Blue)})));
    dbt.leftInverted = true;
    add(SentenceType::DBT, chart_kind::DBT, "frmTimeSeriesDBT", "DBT Time Series ", 168, 11985, 3960, {dbt});

    ChartDesign ellipse = withValues(minimumFixed(chart(6840, 3135, {line("sd Semi-MajorAxis", Red, VerticalAxis::Both),
                                                                      line("sd Semi-MinorAxis", Blue),
                                                                      line("Dir Semi-MajorAxis (Right axis)", Black, VerticalAxis::Right)})));
    ellipse.rightFixed = true;
    ellipse.rightMax = 360;
    ellipse.tools = 3;
    FormDesign& gst = add(SentenceType::GST, chart_kind::GST, "frmTimeSeriesGST", "GST Time Series ", 172, 13605, 10125,
                          {minimumFixed(chart(720, 3135, {line("RMS Pseudo Range", Red), line(".", Green)})),
                           minimumFixed(chart(3720, 3135, {line("sd Lat", Red), line("sd Lon", Blue), line("sd Alt", Lime)})),
                           ellipse});
    gst.chart0Top = 720;
    gst.viewChangeCopies = true;
    gst.narrowCharts = 2;

    // The satellite windows: their series per satellite are added at load.
    SeriesDesign fixType = line("2D/3D (Yellow if manual)", Fuchsia);
    fixType.outline = true;
    ChartDesign dops = minimumFixed(chart(600, 3495, {line("pdop", Red), line("hdop", Blue), line("vdop", Green), fixType}));
    dops.rightFixed = true;
    dops.rightMax = 2.5;
    SeriesDesign firstUsed = line("01", Silver);
    firstUsed.outline = true;
    ChartDesign used = chart(4080, 4215, {firstUsed});
    used.title = "Satellites in use";
    used.left = AxisRange::Fixed;
    used.leftMax = 33;
    used.leftIncrement = 1;
    used.legendHidden = true;
    used.legendSeriesColours = true;
    used.satellites = SatelliteSeries::OutlinedPalette;
    FormDesign& gsa = add(SentenceType::GSA, chart_kind::GSA, "frmTimeSeriesGSA", "GSA Time Series ", 12, 13215, 8415,
                          {dops, used});
    gsa.viewChangeCopies = true;

    auto satellites = [](ChartDesign d, const char* title, SatelliteSeries kind) {
        d.title = title;
        d.legendHidden = true;
        d.legendSeriesColours = true;
        d.satellites = kind;
        return d;
    };
    ChartDesign elevation = satellites(chart(600, 3495, {line("xx", Silver)}), "Elevation", SatelliteSeries::Palette);
    elevation.left = AxisRange::Fixed;
    elevation.leftMax = 90;
    ChartDesign azimuth = satellites(chart(4080, 3495, {line("01", Red)}), "Azimuth", SatelliteSeries::AsFirstChart);
    azimuth.left = AxisRange::Fixed;
    azimuth.leftMax = 360;
    SeriesDesign inView;
    inView.kind = SeriesKind::Bar;
    inView.title = "Svs";
    inView.colour = rgb(128, 128, 255);
    inView.gradient = true;
    ChartDesign snr = satellites(minimumFixed(chart(7560, 2895, {inView})), "Snr - timeseries    Satellites in view - bars",
                                 SatelliteSeries::AsFirstChart);
    snr.tools = 0;
    FormDesign& gsv = add(SentenceType::GSV, chart_kind::GSV, "frmTimeSeriesGSV", "GSV Time Series ", 13, 13215, 10875,
                          {elevation, azimuth, snr});
    gsv.viewChangeCopies = true;

    // The position windows, identical but for the first series of the DGPS chart.
    auto position = [&](SentenceType t, int kind, const char* form, const char* caption, int word, const char* modeTitle,
                        const char* qualityHint) -> FormDesign& {
        SeriesDesign avg = line("Avg", Black);
        avg.kind = SeriesKind::FastLine;
        avg.style = PenStyle::Dash;
        avg.function = SeriesFunction::Average;
        SeriesDesign dev = line("sDev", Yellow);
        dev.kind = SeriesKind::FastLine;
        dev.function = SeriesFunction::StdDeviation;
        ChartDesign offset = minimumFixed(chart(600, 2775, {line("dRad", Red), avg, dev}));
        offset.tools = 2;
        offset.tool0Value = 50;
        offset.tool1End = 100;
        auto bar = [](const char* title, Colour c) {
            SeriesDesign b = line(title, c);
            b.kind = SeriesKind::Bar;
            b.gradient = true;
            return b;
        };
        ChartDesign svs = chart(6720, 2895, {bar("Svs (Color-coded)", rgb(255, 255, 128)), line("hdop", Green)});
        svs.left = AxisRange::Fixed;
        svs.leftMax = 14;
        svs.tools = 0;
        svs.hint = "Svs Bar Colors : Yellow>4, Violet =4, Red <4";
        SeriesDesign station = line("Stn ID", Black, VerticalAxis::Right);
        station.kind = SeriesKind::Gantt;
        ChartDesign dgps = minimumFixed(chart(9720, 2535, {bar(modeTitle, Blue), line("Age", rgb(255, 0, 128)), station}));
        dgps.marginRight = 1;
        dgps.customAxes = 1;
        dgps.tools = 0;
        dgps.ganttHeight = 1;
        // The station axis starts at 0..1 and only grows with the identifiers seen.
        dgps.rightFixed = true;
        dgps.rightMax = 1;
        dgps.hint = qualityHint;
        FormDesign& f = add(t, kind, form, caption, word, 12180, 12660,
                            {offset, chart(3480, 3135, {line("dLat", Blue), line("dLon", Green), line("dh", Yellow)}), svs,
                             dgps});
        f.anyButtonCharts = 8;
        f.rightAxisDialog = true;
        f.viewChangeCopies = true;
        f.dgpsChart = true;
        return f;
    };
    position(SentenceType::GGA, chart_kind::GGA, "frmTimeSeriesGGA", "GGA Time Series ", 7, "Quality (Color-coded)",
             "Quality Bar Color Code : 1-GPS (red) 2-dGPS (blue) 3-PPS (green) 4-RTK Fixed (magenta) 5-RTK Float "
             "(yellow) 6-Estimated (cyan) 7-Manual (white) 8-Simulated (yellow)")
        .ageOffBox = true;
    position(SentenceType::GNS, chart_kind::GNS, "frmTimeSeriesGNS", "GNS Time Series ", 8, "Mode (Color-coded)", "");
    return all;
}

const std::vector<FormDesign>& designs() {
    static const std::vector<FormDesign> all = makeDesigns();
    return all;
}

}  // namespace

const FormDesign* formDesign(int chartKind) {
    for (const FormDesign& f : designs())
        if (f.chartKind == chartKind) return &f;
    return nullptr;
}

const FormDesign* formDesignOf(SentenceType type) {
    for (const FormDesign& f : designs())
        if (f.type == type) return &f;
    return nullptr;
}

const std::vector<const FormDesign*>& allFormDesigns() {
    static const std::vector<const FormDesign*> all = [] {
        std::vector<const FormDesign*> v;
        for (const FormDesign& f : designs()) v.push_back(&f);
        return v;
    }();
    return all;
}

void buildChart(Chart& c, const ChartDesign& d) {
    if (d.title.empty()) {
        c.title().setVisible(false);
    } else {
        c.title().clear();
        c.title().addLine(d.title);
    }
    c.legend().setVisible(!d.legendHidden);
    c.legend().setSeriesColourText(d.legendSeriesColours);
    c.legend().setShowValues(d.legendValues);
    c.setMarginRight(d.marginRight);

    Axis& left = c.leftAxis();
    left.setIncrement(d.leftIncrement);
    left.setInverted(d.leftInverted);
    if (d.left == AxisRange::MinimumFixed) {
        left.setAutomaticMinimum(false);
        left.setMinimum(0);
    } else if (d.left == AxisRange::Fixed) {
        left.setAutomatic(false);
        left.setMaximum(d.leftMax);
        left.setMinimum(d.leftMin);
    }
    if (d.rightFixed) {
        Axis& right = c.rightAxis();
        right.setAutomatic(false);
        right.setMaximum(d.rightMax);
        right.setMinimum(d.rightMin);
    }
    c.bottomAxis().setDateTime(true);
    // An extra axis of the design that no series uses: kept, but not drawn, so that it does
    // not stand as a second, meaningless scale beside the left one.
    for (int i = 0; i < d.customAxes; ++i) c.addCustomAxis(false).setVisible(false);

    for (const SeriesDesign& sd : d.series) {
        Series& s = c.addSeries(sd.kind);
        s.setTitle(sd.title);
        s.setColour(sd.colour);
        s.setVerticalAxis(sd.axis);
        s.setOutline(sd.outline, sd.colour);
        s.setGradient(sd.gradient);
        s.linePen().style = sd.style;
        if (sd.function != SeriesFunction::None) s.setFunction(sd.function, &c.series(0));
        if (sd.kind == SeriesKind::Gantt && d.ganttHeight > 0) s.setGanttHeight(d.ganttHeight);
    }

    if (d.tools >= 1) {
        Tool& line0 = c.addColorLine(left);
        line0.setAllowDrag(false);
        line0.setValue(d.tool0Value);
    }
    if (d.tools >= 2) {
        Tool& band = c.addColorBand(left);
        band.setColour(rgb(255, 255, 128));
        band.setTransparency(60);
        band.setEndValue(d.tool1End);
        band.setStartValue(d.tool1Start);
    }
    if (d.tools >= 3) {
        Tool& line2 = c.addColorLine(left);
        line2.setAllowDrag(false);
        line2.setPen(Red, PenStyle::Dash);
    }
    c.markPainted();
    c.changed();
}

}  // namespace tiderune
