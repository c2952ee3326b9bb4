#include "setup/logic/setup_form.h"

#include <gtest/gtest.h>

namespace tiderune {
namespace {

TEST(SetupForm, CaptionsNamesAndFixedLists) {
    Config c;
    EXPECT_EQ(setupCaption(1), "Setup Primary System");
    EXPECT_EQ(setupCaption(3), "Setup Secondary SYSTEM 2");
    EXPECT_EQ(setupNameText(c, 1), "Primary System");
    EXPECT_EQ(setupNameText(c, 3), "Secondary System 2");
    c.Systems[2].Name = "Gyro 2";
    EXPECT_EQ(setupNameText(c, 2), "Gyro 2");
    EXPECT_EQ(hdopItems(','), (std::vector<std::string>{"1,5", "2", "2,5", "3", "3,5", "4", "4,5", "5", "5,5", "6"}));
    EXPECT_EQ(outlierItems().size(), 19u);
    EXPECT_EQ(outlierItems()[10], "20");
    EXPECT_EQ(timeZoneItems().front(), "-12");
    EXPECT_EQ(timeZoneItems()[TimeZoneDefaultItem], "00");
    EXPECT_EQ(timeZoneItems().back(), "12");
    EXPECT_EQ(kindOption("ARPA Radar"), 5);
    EXPECT_EQ(kindOption("GNSS"), std::nullopt);  // the caption is not the stored kind
}

TEST(SetupForm, StoredValuesAsTheBoxesShowThem) {
    EXPECT_EQ(baudRateItems()[baudItemFor(38400)], "38400");
    EXPECT_EQ(baudRateItems()[baudItemFor(31250)], "4800");  // not in the list
    EXPECT_EQ(outlierLimitText(15), "15.0");
    EXPECT_EQ(hdopLimitText(0), "0.0");
    EXPECT_EQ(satelliteLimitText(0), " 0");
    EXPECT_EQ(headingText(5.5), "005.50");
    EXPECT_EQ(headingText(-1.5), "-001.50");
    EXPECT_EQ(attitudeText(-1.5), "-1.50");
    EXPECT_EQ(heightText(12.5), "12.500");
}

TEST(SetupForm, LatLonBoxesReadTheDisplayFormat) {
    Config c;
    c.LatLonDecimals = 4;
    const double lat = (59 + 25.5 / 60) * DegreesToRadians;
    std::string t = loadLatLonText(c, LatLonAxis::Lat, lat);
    NullNoticeSink quiet;
    EXPECT_NEAR(parseLatLonBox(c, LatLonAxis::Lat, t, quiet), lat, 1e-12);
    c.LatLonFormatDMS = true;
    c.LatLonDecimals = 2;
    std::string lon = boxLatLonText(c, LatLonAxis::Lon, -179.5 * DegreesToRadians);
    EXPECT_NEAR(parseLatLonBox(c, LatLonAxis::Lon, lon, quiet) * RadiansToDegrees, -179.5, 1e-9);
    EXPECT_EQ(lon, boxLatLonText(c, LatLonAxis::Lon, -179.5 * DegreesToRadians));

    LatLonBox box;
    box.set("59 N", 1.0370524758536123);
    EXPECT_EQ(box.exact("59 N"), 1.0370524758536123);
    EXPECT_EQ(box.exact("59 S"), std::nullopt);
    EXPECT_EQ(LatLonBox().exact(""), std::nullopt);
}

}  // namespace
}  // namespace tiderune
