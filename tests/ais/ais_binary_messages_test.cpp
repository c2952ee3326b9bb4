// Binary messages 6, 8, 25 and 26 made with the recording generator's encoder. Field widths
// are those of IMO SN/Circ.236 and ITU-R M.1371; expected values worked out by hand.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "ais_test_support.h"
#include "nmeagen/ais_encoder.h"

namespace tiderune::test {
namespace {

namespace gen = tiderune::nmeagen;
using BinaryMessages = AisEngineTest;

constexpr double NA = -9999;

// Application data from (value, width) fields, most significant bit first.
gen::AisBitWriter fields(std::initializer_list<std::pair<std::int64_t, int>> list) {
    gen::AisBitWriter w;
    for (const auto& [value, width] : list) w.putSigned(value, width);
    return w;
}

// A text telegram of messages 6 and 8: acknowledge flag and sequence number, then the text.
gen::AisBitWriter telegramData(const std::string& text) {
    gen::AisBitWriter w = fields({{0, 1}, {5, 11}});
    w.putText(text, static_cast<int>(text.size()));
    return w;
}

// Message `id` carrying `fi` (structured, for 25 and 26) around `data`.
gen::AisPayload binary(int id, int fi, const gen::AisBitWriter& data, int dac = 1) {
    if (id == 6) return gen::encodeAddressedBinary({0, 244670316, 1, 211000001, false, dac, fi}, data);
    if (id == 8) return gen::encodeBroadcastBinary({3, 244670316, dac, fi}, data);
    gen::SlotBinary m;
    m.messageId = id;
    m.mmsi = 244670316;
    m.structured = true;
    m.dac = dac;
    m.fi = fi;
    return gen::encodeSlotBinary(m, data);
}

std::string summaryOf(const AISMessageSet& m, int id) {
    return id == 6 ? m.Msg6.Summary : id == 8 ? m.Msg8.Summary : id == 25 ? m.Msg25.Summary : m.Msg26.Summary;
}

std::string notDecoded(const char* fi) {
    return std::string("Message with FI (Function Identifier)") + fi +
           " received. FI is not decoded by this application! Please make sure you are using correct Binary "
           "Message Standard (IMO236 or IALA Proposal)";
}

TEST_F(BinaryMessages, FunctionIdentifierChoosesThePayloadPerMessageType) {
    struct Case {
        int id, fi;
        gen::AisBitWriter data;
        std::string summary;
    } cases[] = {
        {6, 2, fields({{1, 10}, {11, 6}}), "FI 2 - FI Interogation, DAC 1 FI 11"},
        {8, 2, fields({{1, 10}, {11, 6}}), notDecoded(" 2")},
        {6, 21, fields({{1, 1}}), notDecoded(" 21")},
        {8, 21, fields({{0, 1}}), "FI 21 - Weather Observation Report from Ship"},
        {6, 11, {}, "FI 11 - Meteorological & Hydrological Data"},
        {8, 12, {}, "FI 12 - Dangerous Cargo Indication"},
        {26, 13, {}, "FI 13 - Fairway Closed"},
        {26, 14, {}, "FI 14 - Tidal Window"},
        {25, 11, {}, notDecoded(" 11")},
        {25, 14, {}, notDecoded(" 14")},
        {26, 0, telegramData("NO TEXT HERE"), notDecoded(" 0")},
        {6, 15, fields({{123, 11}}), "Height over keel : 12.3"},
        {26, 15, fields({{5, 11}}), "Height over keel : 0.5"},
        {8, 16, fields({{8191, 13}}), "Passengers onboard : 8191"},
        {25, 16, fields({{42, 13}}), "Passengers onboard : 42"},
        {8, 63, {}, notDecoded(" 63")},
    };
    for (const auto& c : cases) {
        feed(gen::encapsulate(binary(c.id, c.fi, c.data, 200), 'A', 1));
        EXPECT_EQ(engine.LastAISMessageID(1), c.id);
        EXPECT_EQ(summaryOf(slots(), c.id), c.summary) << c.id << " FI " << c.fi;
    }
    EXPECT_EQ(slots().Msg6.RequestedDAC, 1);
    EXPECT_EQ(slots().Msg6.RequestedFI, 11);
    EXPECT_EQ(slots().Msg8.RequestedFI, 0);  // FI 2 is not read from message 8
    EXPECT_FLOAT_EQ(slots().Msg6.HeightOverKeel, 12.3f);
    EXPECT_FLOAT_EQ(slots().Msg26.HeightOverKeel, 0.5f);
    EXPECT_EQ(slots().Msg8.PersonsOnBoard, 8191);
    EXPECT_EQ(slots().Msg25.PersonsOnBoard, 42);
    EXPECT_EQ(slots().Msg6.DestinationMMSI, 211000001);
    EXPECT_EQ(slots().Msg8.RepeatIndicator, 3);
    EXPECT_EQ(slots().Msg8.DAC, 200);
    EXPECT_EQ(slots().Msg8.FI, 63);
    EXPECT_DOUBLE_EQ(slots().Msg26.TimeOfReceipt, kNow);  // also for an FI it does not decode
    EXPECT_EQ(store().TargetCount[1], 0);                   // binary messages make no target
    EXPECT_TRUE(store().MMSIZero[1]);
}

#define FIELD(name) [](const BinaryMessageSlot& s) { return static_cast<double>(s.name); }

TEST_F(BinaryMessages, MeteorologicalAndHydrologicalData) {
    // Each field as sent, then every bit set (not available where it may be), then all clear.
    struct Row {
        int width;
        std::int64_t raw;
        double (*get)(const BinaryMessageSlot&);
        double value, allSet, allClear;
    } rows[] = {
        {24, -9999, FIELD(MetLatitude), -9999 / 60000.0, NA, 0},  // a reading, not "missing"
        {25, 714000, FIELD(MetLongitude), 11.9, NA, 0},
        {5, 8, FIELD(MetDay), 8, 31, 0},
        {5, 20, FIELD(MetHour), 20, 31, 0},
        {6, 15, FIELD(MetMinute), 15, 63, 0},
        {7, 12, FIELD(AverageWindSpeed), 12, NA, 0},
        {7, 18, FIELD(WindGust), 18, NA, 0},
        {9, 270, FIELD(WindDirection), 270, NA, 0},
        {9, 280, FIELD(WindGustDirection), 280, NA, 0},
        {11, 853, FIELD(AirTemperature), 25.3, NA, -60},
        {7, 80, FIELD(RelativeHumidity), 80, NA, 0},
        {10, 315, FIELD(DewPoint), 11.5, NA, -20},
        {9, 213, FIELD(AirPressure), 1013, NA, 800},
        {2, 1, FIELD(PressureTendency), 1, NA, 0},
        {8, 125, FIELD(HorizontalVisibility), 12.5, NA, 0},
        {9, 123, FIELD(WaterLevel), 2.3, NA, -10},
        {2, 2, FIELD(WaterLevelTrend), 2, NA, 0},
        {8, 15, FIELD(SurfaceCurrentSpeed), 1.5, NA, 0},
        {9, 90, FIELD(SurfaceCurrentDirection), 90, NA, 0},
        {8, 7, FIELD(CurrentSpeed2), 0.7, NA, 0},
        {9, 100, FIELD(CurrentDirection2), 100, NA, 0},
        {5, 10, FIELD(MeasuringLevel2), 10, NA, 0},
        {8, 3, FIELD(CurrentSpeed3), 0.3, NA, 0},
        {9, 110, FIELD(CurrentDirection3), 110, NA, 0},
        {5, 20, FIELD(MeasuringLevel3), 20, NA, 0},
        {8, 12, FIELD(WaveHeight), 1.2, NA, 0},
        {6, 7, FIELD(WavePeriod), 7, NA, 0},
        {9, 225, FIELD(WaveDirection), 225, NA, 0},
        {8, 20, FIELD(SwellHeight), 2.0, NA, 0},
        {6, 11, FIELD(SwellPeriod), 11, NA, 0},
        {9, 240, FIELD(SwellDirection), 240, NA, 0},
        {4, 3, FIELD(SeaState), 3, NA, 0},
        {10, 185, FIELD(WaterTemperature), 8.5, NA, -10},
        {3, 1, FIELD(PrecipitationType), 1, NA, 0},
        {9, 350, FIELD(Salinity), 35.0, NA, 0},
        {2, 1, FIELD(Ice), 1, NA, 0},
    };
    for (int pass = 0; pass < 3; ++pass) {
        gen::AisBitWriter data;
        for (const Row& r : rows) data.putSigned(pass == 0 ? r.raw : pass == 1 ? -1 : 0, r.width);
        EXPECT_EQ(data.size(), 290u);
        feed(gen::encapsulate(binary(8, 11, data), 'A', 1));
        for (const Row& r : rows) {
            const double expected = pass == 0 ? r.value : pass == 1 ? r.allSet : r.allClear;
            EXPECT_NEAR(r.get(slots().Msg8), expected, 1e-5) << "pass " << pass << ", field " << (&r - rows);
        }
    }
}

TEST_F(BinaryMessages, WeatherObservationFromShip) {
    feed(gen::encapsulate(binary(8, 21, fields({{1, 1}, {-9999, 16}, {-1, 15}, {12, 4}, {8, 6}, {20, 5}, {3, 3},
                                                {45, 7}, {31, 5}, {100, 7}, {1130, 11}, {512, 10}, {2, 4}})),
                          'A', 1));
    const BinaryMessageSlot& s = slots().Msg8;
    EXPECT_EQ(s.ReportType, 1);
    EXPECT_FLOAT_EQ(s.ObservationLongitude, static_cast<float>(-9999 / 6000.0));  // a reading
    EXPECT_FLOAT_EQ(s.ObservationLatitude, -9999);                               // all 15 bits set
    EXPECT_EQ(s.ObservationMonth, 12);
    EXPECT_EQ(s.ObservationDay, 8);
    EXPECT_EQ(s.ObservationHour, 20);
    EXPECT_EQ(s.ObservationMinute, 30);
    EXPECT_FLOAT_EQ(s.ShipCourse, 45);
    EXPECT_FLOAT_EQ(s.ShipSpeed, -9999);
    EXPECT_FLOAT_EQ(s.ShipHeading, 100);
    EXPECT_FLOAT_EQ(s.ObservationAirPressure, 1013);
    EXPECT_FLOAT_EQ(s.PressureChange, 1.2f);
    EXPECT_FLOAT_EQ(s.ObservationPressureTendency, 2);
    // A report of type 0 changes only the report type.
    feed(gen::encapsulate(binary(8, 21, fields({{0, 1}})), 'A', 1));
    EXPECT_EQ(s.ReportType, 0);
    EXPECT_EQ(s.ObservationMonth, 12);
    EXPECT_FLOAT_EQ(s.ObservationAirPressure, 1013);
}

TEST_F(BinaryMessages, TidalWindowAlwaysFillsThreePoints) {
    auto point = [](gen::AisBitWriter& w, std::int64_t lat, std::int64_t lon) {
        w.append(fields({{lat, 27}, {lon, 28}, {6, 5}, {30, 6}, {9, 5}, {45, 6}, {180, 9}, {25, 7}}));
    };
    gen::AisBitWriter full = fields({{3, 4}, {17, 5}});
    for (int k = 0; k < 3; ++k) point(full, 34620000, -7140000);  // 57.7 N, 11.9 W in 1/10000 minute
    feed(gen::encapsulate(binary(6, 14, full), 'A', 1));
    gen::AisBitWriter shortOne = fields({{4, 4}, {2, 5}});
    point(shortOne, -34620000, 7140000);  // only the first point reaches the payload
    feed(gen::encapsulate(binary(6, 14, shortOne), 'A', 1));
    const BinaryMessageSlot& s = slots().Msg6;
    EXPECT_EQ(s.TidalMonth, 4);
    EXPECT_EQ(s.TidalDay, 2);
    EXPECT_DOUBLE_EQ(s.TidalLatitude[1], -57.7);
    EXPECT_DOUBLE_EQ(s.TidalLongitude[1], 11.9);
    EXPECT_EQ(s.TidalFromHour[1], 6);
    EXPECT_EQ(s.TidalFromMinute[1], 30);
    EXPECT_EQ(s.TidalToHour[1], 9);
    EXPECT_EQ(s.TidalToMinute[1], 45);
    EXPECT_EQ(s.TidalCurrentDirection[1], 180);
    EXPECT_FLOAT_EQ(s.TidalCurrentSpeed[1], 2.5f);
    for (int k = 2; k <= 3; ++k) {
        EXPECT_EQ(s.TidalLatitude[k], 0) << k;
        EXPECT_EQ(s.TidalLongitude[k], 0) << k;
        EXPECT_EQ(s.TidalCurrentDirection[k], 0) << k;
        EXPECT_EQ(s.TidalCurrentSpeed[k], 0) << k;
    }
}

TEST_F(BinaryMessages, DangerousCargoAndFairwayClosed) {
    gen::AisBitWriter cargo;
    cargo.putText("NLRTM", 5);
    cargo.append(fields({{3, 4}, {15, 5}, {14, 5}, {30, 6}}));
    cargo.putText("SEGOT", 5);
    cargo.append(fields({{3, 4}, {17, 5}, {6, 5}, {0, 6}}));
    cargo.putText("AMMONIUM NITRATE", 20);
    cargo.putText("5.1", 4);
    cargo.append(fields({{1942, 13}, {500, 10}, {2, 2}}));
    feed(gen::encapsulate(binary(8, 12, cargo), 'A', 1));
    const BinaryMessageSlot& c = slots().Msg8;
    EXPECT_EQ(c.LastPortOfCall + "|" + c.NextPortOfCall + "|" + c.MainDangerousGood + "|" + c.IMDCategory,
              "NLRTM|SEGOT|AMMONIUM NITRATE    |5.1 ");
    EXPECT_EQ((std::vector<int>{c.ETDMonth, c.ETDDay, c.ETDHour, c.ETDMinute, c.ETAMonth, c.ETADay, c.ETAHour,
                                c.ETAMinute, c.UNNumber, c.AmountOfCargo, c.UnitOfAmount}),
              (std::vector<int>{3, 15, 14, 30, 3, 17, 6, 0, 1942, 500, 2}));

    gen::AisBitWriter fairway;
    fairway.putText("COLLISION", 20);
    fairway.putText("BUOY 12", 20);
    fairway.putText("BUOY 14", 20);
    fairway.append(fields({{150, 10}, {1, 2}, {8, 5}, {12, 4}, {6, 5}, {0, 6}, {9, 5}, {12, 4}, {18, 5}, {30, 6}}));
    feed(gen::encapsulate(binary(6, 13, fairway), 'A', 1));
    const BinaryMessageSlot& f = slots().Msg6;
    EXPECT_EQ(f.ReasonForClosing + "|" + f.ClosingFromLocation + "|" + f.ClosingToLocation,
              "COLLISION           |BUOY 12             |BUOY 14             ");
    EXPECT_EQ((std::vector<int>{f.ClosedAreaExtension, f.ClosedAreaExtensionUnit, f.ClosingFromDay,
                                f.ClosingFromMonth, f.ClosingFromHour, f.ClosingFromMinute, f.ClosingUntilDay,
                                f.ClosingUntilMonth, f.ClosingUntilHour, f.ClosingUntilMinute}),
              (std::vector<int>{150, 1, 8, 12, 6, 0, 9, 12, 18, 30}));
}

TEST_F(BinaryMessages, TextTelegramsEndAtTheLastWholeCharacter) {
    const std::string twenty = "TWENTY CHARACTERS OK";
    const std::string long200(200, 'X');
    gen::SlotBinary plain25, plain26;
    plain25.destination = 257000001;  // addressed, unstructured
    plain26.messageId = 26;
    plain26.itdma = true;
    gen::AisBitWriter text;
    text.putText(twenty, 20);
    gen::AisBitWriter partial = telegramData("ABC");
    partial.put(0b1011, 4);  // a part character that ends the payload
    struct Case {
        gen::AisPayload payload;
        int fill;  // as sent; -1 keeps the encoder's
        int id;
        std::string summary;
    } cases[] = {
        {binary(6, 0, telegramData(twenty)), -1, 6, twenty},
        {binary(8, 0, telegramData(twenty)), -1, 8, twenty},
        {binary(25, 0, text), -1, 25, twenty},
        {binary(25, 15, fields({{123, 11}})), -1, 25, "Height over keel : 12.3"},
        {gen::encodeSlotBinary(plain25, text), -1, 25, twenty},  // still text after FI 15
        {gen::encodeSlotBinary(plain26, text), -1, 26, twenty},
        {binary(8, 0, partial), -1, 8, "ABC"},
        {binary(8, 0, partial), 5, 8, "AB"},
        {binary(8, 0, partial), 6, 8, "ABC"},  // fill bits outside 0-5 count as 0
        {binary(8, 0, partial), 9, 8, "ABC"},
        {binary(8, 0, telegramData(long200)), -1, 8, long200.substr(0, 156)},  // 168 characters
    };
    for (auto& c : cases) {
        if (c.fill >= 0) c.payload.fillBits = c.fill;
        feed(gen::encapsulate(c.payload, 'A', 1));
        EXPECT_EQ(summaryOf(slots(), c.id), c.summary) << c.id << " " << c.payload.armoured;
    }
    EXPECT_EQ(slots().Msg25.DestinationMMSI, 257000001);
    EXPECT_EQ(slots().Msg25.StructuredFlag, 0);
    EXPECT_EQ(slots().Msg25.FI, 15);  // kept from the structured one before
    EXPECT_EQ(slots().Msg26.CommStateSelector, 1);
    // The decoder itself is handed the sentence's fill bits as they came.
    const gen::AisPayload p = binary(8, 0, partial);
    const AisTables tables = InitAISTables();
    BinaryMessageSlot direct;
    DecodeMsg8_BroadcastBinary(AisBits(p.armoured, 6), direct, {tables}, static_cast<int>(p.armoured.size()), 6);
    EXPECT_EQ(direct.Summary, "ABC");
}

}  // namespace
}  // namespace tiderune::test
