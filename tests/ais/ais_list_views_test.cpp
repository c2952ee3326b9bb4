// The AIS target list, the AIS detail window and the ARPA target list as the windows fill
// them: sentences go through the whole intake, the lists' memory is flushed into plain grids.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ais/logic/ais_detail_view.h"
#include "ais/logic/ais_list_view.h"
#include "ais/logic/arpa_list_view.h"
#include "ais_test_support.h"
#include "core/epoch_time.h"
#include "core/intake.h"
#include "core/parsers.h"
#include "core/processing.h"
#include "platform/grid.h"

namespace tiderune::test {
namespace {

// A grid without a screen: sizes are remembered as set; a new column is 1000 twips wide.
class PlainGrid : public Grid {
public:
    PlainGrid(int rows = 2, int cols = 2) { setCols(cols), setRows(rows); }
    int colWidth(int c) const override { return widths.count(c) ? widths.at(c) : 1000; }
    void setColWidth(int c, int w) override { widths[c] = w; }
    int rowHeight(int) const override { return 240; }
    void setRowHeight(int, int) override {}
    double left() const override { return box[0]; }
    double top() const override { return box[1]; }
    double width() const override { return box[2]; }
    double height() const override { return box[3]; }
    void setLeft(double v) override { box[0] = v; }
    void setTop(double v) override { box[1] = v; }
    void setWidth(double v) override { box[2] = v; }
    void setHeight(double v) override { box[3] = v; }

    // Marks every cell below the heading row, so a test sees which ones a flush rewrote.
    void mark() {
        for (int r = 1; r < rows(); ++r)
            for (int c = 0; c < cols(); ++c) setText(r, c, "#");
    }
    // "0123..." of the columns of row r written since: no longer marked, or not empty in a
    // row added since.
    std::string written(int r) const {
        std::string s;
        for (int c = 0; c < cols(); ++c)
            if (text(r, c) != "#" && !text(r, c).empty()) s += static_cast<char>('0' + c);
        return s;
    }

    std::map<int, int> widths;
    double box[4] = {0, 0, 0, 0};

protected:
    void cellChanged(int, int) override {}
    void shapeChanged() override {}
};

struct FixedClock final : PcClock {
    double t = 0;
    double now() const override { return t; }
};

std::string nmea(const std::string& body) { return body + "*" + CalcChecksum(body); }

AisBitWriter classA(int id, std::uint32_t mmsi, std::int64_t lat = 34620000) {
    AisBitWriter w;
    w.header(id, 0, mmsi).u(0, 4).s(0, 8).u(105, 10).u(1, 1).s(7140000, 28).s(lat, 27).u(1234, 12).u(120, 9);
    w.u(42, 6).u(0, 5).u(0, 1).u(0, 19);
    return w;
}
AisBitWriter staticVoyage(std::uint32_t mmsi) {
    AisBitWriter w;
    w.header(5, 0, mmsi).u(0, 2).u(9074729, 30).text("PD4321", 7).text("NORDIC STAR", 20).u(80, 8);
    w.u(80, 9).u(20, 9).u(5, 6).u(7, 6).u(3, 4).u(3, 4).u(15, 5).u(14, 5).u(30, 6);
    w.u(52, 8).text("ROTTERDAM", 20).u(0, 2);
    return w;
}
AisBitWriter baseStation(std::uint32_t mmsi) {
    AisBitWriter w;
    w.header(4, 0, mmsi).u(2026, 14).u(12, 4).u(8, 5).u(8, 5).u(0, 6).u(17, 6).u(1, 1);
    w.s(7140000, 28).s(34620000, 27).u(7, 4).u(0, 10).u(0, 1).u(0, 19);
    return w;
}
AisBitWriter classB(int id, std::uint32_t mmsi, const std::string& name = "") {
    AisBitWriter w;
    w.header(id, 0, mmsi).u(0, 8).u(55, 10).u(0, 1).s(-42150000, 28).s(-20100000, 27).u(900, 12).u(91, 9);
    if (id == 18) return w.u(12, 6).u(0, 2).u(0, 8).u(0, 20);
    return w.u(12, 6).u(0, 4).text(name, 20).u(37, 8).u(10, 9).u(2, 9).u(2, 6).u(1, 6).u(1, 4).u(0, 7);
}
AisBitWriter aidToNavigation(std::uint32_t mmsi, const std::string& name) {
    AisBitWriter w;
    w.header(21, 0, mmsi).u(20, 5).text(name, 20).u(1, 1).s(7140000, 28).s(34620000, 27);
    return w.u(0, 9).u(0, 9).u(0, 6).u(0, 6).u(7, 4).u(61, 6).u(0, 1).u(0, 3).u(0, 8).u(0, 4);
}

// The core with its AIS engine, system 1 analysing GLL (the clock), TTM and VDM, and the
// three windows' memory fed as the program's sink feeds them.
class TargetWindows : public ::testing::Test, public CoreSink {
protected:
    TargetWindows() {
        state->analysis.clock = &clock;
        state->config.Mode = "OFFLINE";
        state->SentenceDate[1] = dateFromYmd(2026, 12, 8);
        state->config.MessagesToAnalyse[1][1] = "GLL";
        state->config.MessagesToAnalyse[1][2] = "TTM";
        state->config.MessagesToAnalyse[1][3] = "VDM";
        SetAnalysedMessageTypes(state->config, 1);
        state->config.WindowVisible[1][VisibleForms::AISTargets] = true;
        state->config.WindowVisible[1][VisibleForms::ARPATargets] = true;
        list.load(0);
        setUpAisListGrid(listGrid);
        arpa.open(2);
        setUpArpaListGrid(arpaGrid);
    }

    void updateAISTargetGrid(int s, SentenceType type) override {
        if (type != SentenceType::VDM) return;
        if (const int r = list.sentence(ais.targets(), s, ais.LastAISMessageID(s))) detail.targetUpdated(s, r);
    }
    void updateARPATargetGrid(int s, SentenceType type) override {
        if (type == SentenceType::TTM) arpa.sentence(state->NMEAMessages[s].TTM, state->EpochTime[s]);
    }

    void feed(const std::string& line) { ProcessSentence(*state, *this, ais, 1, line); }
    void feed(const AisBitWriter& w) {
        for (const std::string& s : vdmMessage(w)) feed(s);
    }
    void at(const char* hhmmss) { feed(nmea(std::string("$GPGLL,5200.00,N,00400.00,E,") + hhmmss + ",A")); }
    void flush() {
        list.flush(listGrid, ais.targets().AISTargetTable[1]);
        arpa.flush(arpaGrid);
    }
    const AISTarget& target(int i) const { return ais.targets().AISTargetTable[1][i]; }

    FixedClock clock;
    std::unique_ptr<CoreState> state = std::make_unique<CoreState>();
    RecordingNotices notices;
    AisEngine ais{notices, [this](int s) { return state->EpochTime[s]; }, [] { return aisDateValue(2026, 12, 8, 19, 30); }};
    AisListView list;
    AisDetailView detail;
    ArpaListView arpa;
    PlainGrid listGrid{1, 2};
    PlainGrid arpaGrid{2, 2};
};

TEST_F(TargetWindows, ListRowsAreWrittenByTheColumnsOfEachMessageType) {
    at("080000");
    // A real class A report: MMSI 477553000, moored, 47.58283 N 122.34583 W, COG 51, heading 181.
    feed("!AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0*5C");
    flush();
    ASSERT_EQ(listGrid.rows(), 2);
    const std::vector<std::string> first = {"477553000", "", "47\xB0" "34'58.200\"N", "122\xB0" "20'45.000\"W", " 0", " 51",
                                            " 181", " 0", "08 Dec 08:00:00", " 1"};
    for (int c = 0; c < AisListColumns; ++c) EXPECT_EQ(listGrid.text(1, c), first[c]) << "column " << c;
    EXPECT_EQ(listGrid.text(0, 8), "Time last msg");

    struct Case {
        const char* what;
        AisBitWriter message;
        int row;
        std::string written;  // columns rewritten in that row
    };
    const Case cases[] = {
        {"type 1 of a known target", classA(1, 477553000), 1, "234567" "89"},
        {"type 3", classA(3, 477553000), 1, "234567" "89"},
        {"type 5 of a known target", staticVoyage(477553000), 1, "1" "89"},
        {"type 5 of a new target adds its row", staticVoyage(244670316), 2, "01" "89"},
        {"type 4, a new base station", baseStation(2442000), 3, "0123" "89"},
        {"type 18, a new class B vessel", classB(18, 244123456), 4, "0123456" "89"},
        {"type 19 of that vessel", classB(19, 244123456, "SEA BREEZE"), 4, "123456" "89"},
        {"type 21, a new aid to navigation", aidToNavigation(992446000, "NORTH PIER"), 5, "0123" "89"},
    };
    for (const Case& k : cases) {
        flush();
        listGrid.mark();
        feed(k.message);
        flush();
        EXPECT_EQ(listGrid.rows(), k.row + 1) << k.what;
        for (int r = 1; r < listGrid.rows(); ++r)
            EXPECT_EQ(listGrid.written(r), r == k.row ? k.written : "") << k.what << ", row " << r;
    }

    // Messages without a target, and fragments still waiting for the rest, write nothing.
    flush();
    listGrid.mark();
    feed(vdmMessage(staticVoyage(211000001))[0]);
    AisBitWriter safety;
    safety.header(14, 0, 244670316).u(0, 2).text("SECURITE", 8);
    feed(safety);
    flush();
    for (int r = 1; r < listGrid.rows(); ++r) EXPECT_EQ(listGrid.written(r), "") << r;

    // A re-opened window writes every column of every stored target; the columns none of a
    // target's message types carries it writes empty.
    list.load(ais.targets().TargetCount[1]);
    listGrid.mark();
    flush();
    const char* const reopened[] = {"0123456789", "0189", "012389", "012345689", "012389"};
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(listGrid.written(r), reopened[r - 1]) << r;
    for (int r = 1; r <= 5; ++r)
        for (int c = 0; c < AisListColumns; ++c) EXPECT_NE(listGrid.text(r, c), "#") << r << "," << c;
    EXPECT_EQ(listGrid.text(2, 1), "NORDIC STAR         ");
    EXPECT_EQ(listGrid.text(3, 1), "Base Station");
    EXPECT_EQ(listGrid.text(4, 1), "SEA BREEZE          ");
    EXPECT_EQ(listGrid.text(5, 9), " 5");

    // Rows out of view wait, and are written once they come into view.
    list.load(ais.targets().TargetCount[1]);
    listGrid.mark();
    list.flush(listGrid, ais.targets().AISTargetTable[1], 2, 3);
    EXPECT_EQ(listGrid.text(1, 0) + "|" + listGrid.text(2, 0) + "|" + listGrid.text(3, 0) + "|" + listGrid.text(4, 0),
              "#|244670316|2442000|#");
    EXPECT_EQ(listGrid.written(2) + "|" + listGrid.written(3), "0189|012389");
    list.flush(listGrid, ais.targets().AISTargetTable[1]);
    EXPECT_EQ(listGrid.written(1) + "|" + listGrid.written(4), "0123456789|012345689");
}

TEST_F(TargetWindows, ReopenedListShowsTheCellsTheOpenListShowed) {
    // A second PLAY re-opens the list over the same targets: each row must read as the open
    // list left it, a field no message of the target carries empty rather than its stored 0.
    at("080000");
    struct Case {
        const char* what;
        std::vector<AisBitWriter> messages;
        std::string empty;  // the columns the row leaves empty
    };
    const Case cases[] = {
        {"class A, position and static", {classA(1, 244670316), staticVoyage(244670316)}, ""},
        {"class A, position only", {classA(3, 211000002)}, "1"},
        {"class A, static only", {staticVoyage(211000003)}, "234567"},
        {"base station", {baseStation(2442000)}, "4567"},
        {"class B, type 18", {classB(18, 244123456)}, "7"},
        {"class B, type 19", {classB(19, 244123457, "SEA BREEZE")}, "7"},
        {"aid to navigation", {aidToNavigation(992446000, "NORTH PIER")}, "4567"},
    };
    for (const Case& k : cases) {
        for (const AisBitWriter& m : k.messages) feed(m);
        flush();
    }
    const int n = static_cast<int>(std::size(cases));
    ASSERT_EQ(listGrid.rows(), n + 1);
    std::vector<std::vector<std::string>> firstPass(static_cast<std::size_t>(n + 1));
    for (int r = 1; r <= n; ++r) {
        const Case& k = cases[r - 1];
        for (int c = 0; c < AisListColumns; ++c) {
            firstPass[r].push_back(listGrid.text(r, c));
            const bool empty = k.empty.find(static_cast<char>('0' + c)) != std::string::npos;
            EXPECT_EQ(firstPass[r][c].empty(), empty) << k.what << ", column " << c << " \"" << firstPass[r][c] << "\"";
        }
    }

    for (int pass = 2; pass <= 3; ++pass) {
        list.load(ais.targets().TargetCount[1]);
        listGrid.mark();
        flush();
        for (int r = 1; r <= n; ++r)
            for (int c = 0; c < AisListColumns; ++c)
                EXPECT_EQ(listGrid.text(r, c), firstPass[r][c]) << "pass " << pass << ", " << cases[r - 1].what << ", column " << c;
    }

    // A target heard again after the re-open keeps its empty cells.
    feed(baseStation(2442000));
    flush();
    for (int c = 0; c < AisListColumns; ++c) EXPECT_EQ(listGrid.text(4, c), firstPass[4][c]) << "column " << c;
}

TEST_F(TargetWindows, ListFollowsTheSentenceBeforeAndKeepsUpdatingWhilePaused) {
    // LastSeen is the epoch that the system's previous sentence left.
    at("080000");
    at("080005");
    feed(classA(1, 244670316));
    at("080010");
    feed(classA(1, 244670316, 91 * 600000));  // latitude not available
    flush();
    EXPECT_EQ(listGrid.text(1, 8), "08 Dec 08:00:10");
    EXPECT_EQ(listGrid.text(1, 2), "9999\xB0" "00'00.000\"S");

    // ONLINE and paused: no statistics, but the lists still follow.
    state->config.Mode = "ONLINE";
    state->run.OnlinePaused = true;
    feed(classA(1, 211000002));
    flush();
    EXPECT_EQ(listGrid.rows(), 3);

    // A system that does not analyse VDM feeds no list.
    state->config.MessagesToAnalyse[1][3] = "";
    SetAnalysedMessageTypes(state->config, 1);
    feed(classA(1, 211000003));
    flush();
    EXPECT_EQ(listGrid.rows(), 3);
}

TEST_F(TargetWindows, RowPressAndDetailPlacement) {
    feed(classA(1, 244670316));
    feed(classA(1, 211000002));
    const int n = ais.targets().TargetCount[1];
    struct Case {
        int row, target;
    };
    for (const Case k : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{3, 0}, Case{-1, 0}})
        EXPECT_EQ(aisListPressedTarget(k.row, n), k.target) << "row " << k.row;
    // A list low on a tall screen: 2,500 px are 37,500 twips, beyond a 16-bit twips value.
    const DetailPlacement p = aisDetailPlacement(1900, 2500, 40);
    EXPECT_EQ(p.left, 1900 + 267);
    EXPECT_EQ(p.top, 2540);
}

TEST_F(TargetWindows, DetailRowsOfEachKindOfTarget) {
    at("080000");
    feed(classA(1, 244670316));
    at("090205");
    feed(staticVoyage(244670316));
    feed(baseStation(2442000));
    feed(classB(18, 244123456));
    feed(aidToNavigation(992446000, "NORTH PIER"));

    struct Row {
        int grid, row;
        std::string text;
    };
    struct Case {
        int index;
        std::string caption;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {1, "AIS Extended Info - NORDIC STAR         ",
         {{0, 0, "244670316"}, {0, 1, "Class A Vessel"}, {0, 2, "57\xB0" "42'00.000\"N"}, {0, 3, "011\xB0" "54'00.000\"E"},
          {0, 4, " 10.5"}, {0, 5, " 123.4"}, {0, 6, " 120"}, {0, 7, " 0"}, {0, 8, "Under way using engines"},
          {0, 9, "High accuracy, <10 m"}, {1, 1, "NORDIC STAR         "}, {1, 2, "PD4321 "}, {1, 3, " 9074729"},
          {1, 4, "Tanker"}, {1, 5, " 100     (A= 80 B= 20)"}, {1, 6, " 12     (C= 5 D= 7)"},
          {1, 7, "GPS/Glonass"}, {1, 8, "Netherlands"}, {2, 1, "ROTTERDAM           "},
          {2, 2, "15 Mar 14:30"}, {2, 3, "Not specified"}, {2, 4, " 5.2"}, {3, 1, "08 Dec 08:00:00"},
          {3, 2, "08 Dec 09:02:05"}, {3, 3, "01:02:05"}, {3, 4, " 1"}, {3, 5, " 0"}, {3, 6, " 0"}, {3, 7, " 1"},
          {4, 1, ""}}},
        {2, "AIS Extended Info - Base Station",
         {{0, 0, "002442000"}, {0, 1, "Base Station"}, {1, 2, "n/a"}, {1, 5, "n/a"}, {1, 7, "Surveyed"},
          {1, 8, "Netherlands"}, {2, 1, "n/a"}, {2, 2, "n/a"}, {3, 3, "00:00:00"}}},
        {3, "AIS Extended Info - Class B vessel",
         {{0, 1, "Class B Vessel"}, {0, 4, " 5.5"}, {0, 6, " 91"}, {1, 4, ""}, {1, 5, "n/a"}, {1, 7, "n/a"},
          {3, 4, " 0"}}},
        {4, "AIS Extended Info - NORTH PIER          ",
         {{0, 1, "Aids to Navigation"}, {1, 1, "NORTH PIER          "}, {1, 6, "n/a"}, {1, 8, "unknown"}}},
    };
    for (const Case& k : cases) {
        const AISTarget& t = target(k.index);
        EXPECT_EQ(aisDetailCaption(t), k.caption);
        std::array<PlainGrid, AisDetailGrids> g;
        const std::array<Grid*, AisDetailGrids> grids = {&g[0], &g[1], &g[2], &g[3], &g[4]};
        layOutAisDetailGrids(grids);
        writeAisDetailLabels(grids, t);
        writeAisDetailValues(grids, t);
        for (const Row& r : k.rows) EXPECT_EQ(g[r.grid].text(r.row, 1), r.text) << k.caption << " " << r.grid << "," << r.row;
    }
    AISTarget unnamed;
    unnamed.MMSI = 2442000;
    EXPECT_EQ(aisDetailCaption(unnamed), "AIS Extended Info - MMSI : 2442000");
}

TEST_F(TargetWindows, DetailFollowsItsTargetAndLaysOutItsGrids) {
    feed(classA(1, 244670316));
    feed(classA(1, 211000002));
    detail.select(1, 2);
    detail.clearDue();
    feed(classA(1, 244670316));
    EXPECT_FALSE(detail.due());
    feed(classA(3, 211000002));
    EXPECT_TRUE(detail.due());
    detail.select(0, 0);
    feed(classA(3, 211000002));
    EXPECT_FALSE(detail.due());

    // Columns widened from 1000 twips, rows 240 twips high, grids 0 and 1 at the design tops.
    std::array<PlainGrid, AisDetailGrids> g;
    g[0].box[1] = 120;
    g[1].box[1] = 120;
    g[3].box[0] = 120;
    const AisDetailSize size = layOutAisDetailGrids({&g[0], &g[1], &g[2], &g[3], &g[4]});
    struct Box {
        double left, top, width, height;
    };
    const Box want[] = {{0, 120, 3900, 2500}, {4100, 120, 3900, 2260}, {4100, 2480, 3900, 1300},
                        {120, 2720, 2800, 2020}, {4100, 3880, 3900, 820}};
    for (int i = 0; i < AisDetailGrids; ++i) {
        EXPECT_EQ(g[i].rows(), aisDetailRows(i));
        EXPECT_DOUBLE_EQ(g[i].left(), want[i].left) << i;
        EXPECT_DOUBLE_EQ(g[i].top(), want[i].top) << i;
        EXPECT_DOUBLE_EQ(g[i].width(), want[i].width) << i;
        EXPECT_DOUBLE_EQ(g[i].height(), want[i].height) << i;
    }
    EXPECT_DOUBLE_EQ(size.width, 3900 + 3900 + 400);
    EXPECT_DOUBLE_EQ(size.height, 3880 + 820 + 500);
}

TEST_F(TargetWindows, ArpaRowsGrowKeepTheirTextsAndIgnoreImpossibleNumbers) {
    auto ttm = [&](int n, const char* name = "TGT") {
        feed(nmea("$RATTM," + std::to_string(n) + ",1.25,45.0,R,12.5,270.0,T,0.8,,N," + name + ",T,,080000,A"));
    };
    at("080000");
    ttm(5);
    flush();
    ASSERT_EQ(arpaGrid.rows(), 7);
    const std::vector<std::string> row = {"5",  " 1.25", " 45", "R", " 12.5", " 270", "T", " 0.8",
                                          "n/a", "N",     "T",   "",  "08:00:00", "08:00:00"};
    EXPECT_EQ(arpaGrid.text(6, 0), "5");
    EXPECT_EQ(arpaGrid.text(6, 1), "TGT");
    for (int c = 2; c < ArpaListColumns; ++c) EXPECT_EQ(arpaGrid.text(6, c), row[c - 1]) << "column " << c;
    for (int r = 1; r < 6; ++r) EXPECT_EQ(arpaGrid.text(r, 0), "") << r;
    EXPECT_EQ(arpaGrid.text(0, 13), "First msg");

    // Descending numbers grow the grid once; a second sentence keeps "First msg".
    at("080003");
    ttm(9);
    ttm(8);
    ttm(5, "FERRY");
    flush();
    EXPECT_EQ(arpaGrid.rows(), 11);
    EXPECT_EQ(arpaGrid.text(6, 1), "FERRY");
    EXPECT_EQ(arpaGrid.text(6, 13), "08:00:00");
    EXPECT_EQ(arpaGrid.text(6, 14), "08:00:03");

    // Numbers outside 00-99, and an empty one, name no row.
    for (const char* n : {"100", "-1", "32767", "-32768", ""})
        feed(nmea(std::string("$RATTM,") + n + ",1.25,45.0,T,12.5,270.0,T,0.8,,N,X,T,,080000,A"));
    flush();
    EXPECT_EQ(arpaGrid.rows(), 11);
    EXPECT_EQ(arpaGrid.text(0, 0), "No");
    ttm(99);
    flush();
    EXPECT_EQ(arpaGrid.rows(), 101);

    // A re-opened window starts empty; each target's first sentence sets "First msg" anew.
    arpa.open(2);
    flush();
    EXPECT_EQ(arpaGrid.rows(), 2);
    at("080100");
    ttm(5);
    flush();
    EXPECT_EQ(arpaGrid.text(6, 13), "08:01:00");
}

}  // namespace
}  // namespace tiderune::test
