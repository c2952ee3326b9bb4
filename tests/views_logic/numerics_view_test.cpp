// The numerics texts of every type, from real sentences through the intake and the core's
// fan-out, as an open window would show them after its next refresh.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/intake.h"
#include "core/parsers.h"
#include "core/epoch_time.h"
#include "core/processing.h"
#include "views/logic/numerics_view.h"

namespace tiderune {
namespace {

using Column = std::vector<std::string>;

// The core's fan-out as the window takes it: the numerics call while the window is open.
struct FakeClock final : PcClock {
    double now() const override { return dateFromYmd(2026, 12, 9) + 0.5; }
};

struct NumericsSink final : CoreSink {
    explicit NumericsSink(const Config& c) : config(c) {}
    void updateNumericsWindow(int system, SentenceType type) override { pending.sentence(type, config, system); }
    const Config& config;
    NumericsPending pending;
};

class Numerics : public testing::Test {
protected:
    Numerics() {
        state->analysis.clock = &clock;
        state->SentenceDate[1] = dateFromYmd(2026, 12, 9);
        state->config.Mode = "OFFLINE";
        state->config.LatLonDecimals = 4;
        analyse({"GGA", "GNS", "GLL", "RMC", "ZDA", "VTG", "HDT", "ATT", "ROT", "VHW"});
        state->config.WindowVisible[1][VisibleForms::Numerics] = true;
    }
    void analyse(std::vector<const char*> types) {
        auto& slots = state->config.MessagesToAnalyse[1];
        for (int i = 1; i <= MessageSlots; ++i) slots[i] = i <= int(types.size()) ? types[i - 1] : "";
        SetAnalysedMessageTypes(state->config, 1);
    }
    void feed(const std::string& body) { ProcessSentence(*state, sink, ais, 1, body + "*" + CalcChecksum(body)); }
    // The window's refresh: the value columns that changed since the last one.
    std::map<std::string, Column> refresh() {
        std::map<std::string, Column> shown;
        sink.pending.flush(state->NMEAMessages[1], [&](const NumericsTable& t, int row, const std::string& text) {
            Column& c = shown[std::string(sentenceTypeName(t.type))];
            c.resize(t.labels.size());
            c.at(static_cast<std::size_t>(row - 1)) = text;
        });
        return shown;
    }
    Column after(const std::string& body) {
        feed(body);
        auto shown = refresh();
        return shown.size() == 1 ? shown.begin()->second : Column{};
    }

    FakeClock clock;
    std::unique_ptr<CoreState> state = std::make_unique<CoreState>();
    NumericsSink sink{state->config};
    NullAisServices ais;
};

TEST_F(Numerics, EveryRowOfEveryType) {
    struct Case {
        const char* sentence;
        Column rows;
    };
    const Case cases[] = {
        {"$GPGGA,120000,5230.5000,N,00412.2500,E,4,08,0.9,545.4,M,46.9,M,3.0,0120",
         {"52\xB0 30.5000' N", "004\xB0 12.2500' E", "592.3", " 46.9 M", " 545.4 M", " 4 - RTK, fixed integers",
          " 8", " 0.9", " 3", " 120", "12:00:00"}},
        {"$GNGNS,120001,5230.5000,S,00412.2500,W,AN,12,0.8,-3.5,-10.0,,",
         {"52\xB0 30.5000' S", "004\xB0 12.2500' W", "-13.5", "-10 m", "-3.5 m", "AN", " 12", " 0.8", "n/a",
          "n/a", "12:00:01"}},
        {"$GPGLL,5230.5000,N,00412.2500,E,120002,A,A",
         {"52\xB0 30.5000' N", "004\xB0 12.2500' E", "A - Valid", "12:00:02"}},
        {"$GPRMC,120003,V,5230.5000,N,00412.2500,E,5.5,90.0,091226,1.5,W,A",
         {"52\xB0 30.5000' N", "004\xB0 12.2500' E", " 5.5", " 90", " 1.5 W", "V - Invalid", "12:00:03", "091226"}},
        {"$GPZDA,120004.00,09,12,2026,-05,30", {"09-12-2026", "120004.00", "-05:30"}},
        {"$GPVTG,90.0,T,88.5,M,5.5,N,10.2,K,A", {" 90", " 88.5", " 5.5", " 10.2"}},
        {"$HEHDT,359.5,T", {" 359.5"}},
        {"$PADHRS,att,181.25,-1.5,0.75,120006.00", {" 181.25", "-1.5", " 0.75"}},
        {"$HEROT,-3.5,A", {"-3.5", "A - Valid"}},
        {"$HEROT,2.0,", {" 2", "  - Invalid"}},
        {"$VWVHW,45.0,T,43.0,M,6.5,N,12.0,K", {" 6.5", " 12", " 45", " 43"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(after(c.sentence), c.rows) << c.sentence;
    }
}

TEST_F(Numerics, QualityAndStatusSuffixesAndMissingFields) {
    struct Case {
        const char* sentence;
        std::size_t row;  // 1-based
        const char* text;
    };
    const Case cases[] = {
        {"$GPGGA,120000,5230.5,N,00412.25,E,0,00,,,M,,M,,", 6, " 0 - Invalid"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,2,08,0.9,5.0,M,46.9,M,,", 6, " 2 - dGPS"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,8,08,0.9,5.0,M,46.9,M,,", 6, " 8 - Simulator mode"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,9,08,0.9,5.0,M,46.9,M,,", 6, " 9"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,,08,0.9,5.0,M,46.9,M,,", 6, "n/a"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,1,08,0.9,,M,46.9,M,,", 3, "n/a"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,1,08,0.9,,M,46.9,M,,", 5, "n/a M"},
        {"$GPGGA,120000,5230.5,N,00412.25,E,1,08,0.9,5.0,M,,,,", 4, "n/a  "},
        {"$GPGLL,5230.5,N,00412.25,E,120002,V,A", 3, "V - Invalid"},
        {"$GPGLL,5230.5,N,00412.25,E,120002,,", 3, " "},
        {"$GPGLL,5230.5,N,00412.25,E,120002,X,", 3, "X"},
        {"$GPRMC,120003,A,5230.5,N,00412.25,E,,,091226,,,A", 6, "A - Valid"},
        {"$GPRMC,120003,A,5230.5,N,00412.25,E,,,091226,,,A", 3, "n/a"},
        {"$GPRMC,120003,A,5230.5,N,00412.25,E,,,091226,,,A", 5, "n/a  "},
        {"$HEROT,2.0,V", 2, "V - Invalid"},
    };
    for (const Case& c : cases) {
        const Column shown = after(c.sentence);
        ASSERT_GE(shown.size(), c.row) << c.sentence;
        EXPECT_EQ(shown[c.row - 1], c.text) << c.sentence;
    }
    // The ZDA rows format the stored numbers without the "n/a" rule.
    NMEAMessageSet m;
    m.ZDA.Day = MissingValue;
    m.ZDA.Month = 12;
    m.ZDA.Year = 2026;
    EXPECT_EQ(numericsValues(SentenceType::ZDA, m, {})[0], "-9999-12-2026");
}

TEST_F(Numerics, TypesWithoutATableAndTheLastTwoTables) {
    analyse({"GSA", "GSV", "TTM", "DBT", "GST"});
    feed("$GPGSA,A,3,01,02,12,14,,,,,,,,,1.8,1.0,1.5");
    feed("$GPGSV,1,1,01,01,40,083,46");
    feed("$RATTM,01,0.85,68.3,T,12.4,72.1,T,0.06,-4.1,N,,Q,,080001.00,A");
    EXPECT_FALSE(sink.pending.any()) << "GSA, GSV and TTM have no table";
    EXPECT_EQ(after("$SDDBT,32.8,f,10.0,M,5.4,F"), (Column{" 32.8", " 10", " 5.4"}));
    EXPECT_EQ(after("$GPGST,120007,1.2,0.9,0.5,45,0.8,,1.5"), (Column{" 1.2", " 0.9", " 0.5", " 45", " 0.8", "n/a", " 1.5"}));
}

TEST_F(Numerics, UnanalysedTypesAndAClosedWindowAreUntouched) {
    analyse({"GGA"});
    feed("$HEHDT,359.5,T");
    EXPECT_TRUE(refresh().empty()) << "HDT is not analysed: its table keeps its texts";
    state->config.WindowVisible[1][VisibleForms::Numerics] = false;
    feed("$GPGGA,120000,5230.5,N,00412.25,E,1,08,0.9,5.0,M,46.9,M,,");
    EXPECT_TRUE(refresh().empty()) << "the core feeds only an open window";
}

TEST_F(Numerics, AFormatSwitchShowsFromTheNextSentence) {
    const std::string gga = "$GPGGA,120000,5230.5000,N,00412.2500,E,1,08,0.9,5.0,M,46.9,M,,";
    feed(gga);
    state->config.LatLonFormatDMS = true;  // switched between the sentence and the refresh
    state->config.LatLonDecimals = 2;
    Column shown = refresh()["GGA"];
    EXPECT_EQ(shown[0], "52\xB0 30.5000' N") << "the sentence came in the old format";
    shown = after(gga);
    EXPECT_EQ(shown[0], "52\xB0 30' 30.00\" N");
    EXPECT_EQ(shown[1], "004\xB0 12' 15.00\" E");
}

TEST_F(Numerics, LayoutOfTheShownFrames) {
    struct Case {
        std::vector<const char*> analysed;
        std::vector<SentenceType> stack;
    };
    using T = SentenceType;
    const Case cases[] = {
        {{}, {}},
        {{"GSV"}, {T::GSV}},
        {{"RMC", "GGA"}, {T::GGA, T::RMC}},
        {{"DBT", "GSA", "RMC", "GGA", "HDT", "GST", "GSV", "ZDA"},
         {T::GGA, T::RMC, T::ZDA, T::GSA, T::GSV, T::GST, T::HDT, T::DBT}},
    };
    for (const Case& c : cases) {
        analyse(c.analysed);
        EXPECT_EQ(numericsStack(state->config.Systems[1]), c.stack) << c.analysed.size();
    }
    ASSERT_EQ(numericsTables().size(), 12u);
    std::size_t rows = 0;
    for (const NumericsTable& t : numericsTables()) rows += t.labels.size();
    EXPECT_EQ(rows, 11u + 11 + 4 + 8 + 4 + 3 + 1 + 3 + 2 + 4 + 3 + 7);
    EXPECT_STREQ(numericsTable(T::VHW)->labels[0], "Water Speed (knots)");
    EXPECT_EQ(numericsTable(T::GSA), nullptr);
}

}  // namespace
}  // namespace tiderune
