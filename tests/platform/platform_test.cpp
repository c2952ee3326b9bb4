#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/app_folder.h"
#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"

namespace tiderune {
namespace {

TEST(SerialSettings, ParsesAndWritesSettingsTexts) {
    struct Case {
        const char* text;
        bool valid;
        const char* written;  // as the port reports it back
    };
    const Case cases[] = {
        {"4800,n,8,1", true, "4800,n,8,1"},   {"115200,E,7,2", true, "115200,e,7,2"},
        {"9600,o,5,1.5", true, "9600,o,5,1.5"}, {"9600,m,8,1", true, "9600,m,8,1"},
        {"", false, ""},                      {"4800,n,8", false, ""},
        {"4800,n,8,1,", false, ""},           {",n,8,1", false, ""},
        {"0,n,8,1", false, ""},               {"-4800,n,8,1", false, ""},
        {"4800,,8,1", false, ""},             {"4800,no,8,1", false, ""},
        {"4800,x,8,1", false, ""},            {"4800,n,4,1", false, ""},
        {"4800,n,9,1", false, ""},            {"4800,n,8,3", false, ""},
        {"4800 ,n,8,1", false, ""},           {"99999999999,n,8,1", false, ""},
    };
    for (const Case& c : cases) {
        auto s = SerialSettings::parse(c.text);
        EXPECT_EQ(s.has_value(), c.valid) << c.text;
        if (s) {
            EXPECT_EQ(s->text(), c.written) << c.text;
        }
    }
}

TEST(SerialSettings, TextFromAPortsConfiguration) {
    EXPECT_EQ(serialSettingsText(4800, "none", 8, 1), "4800,n,8,1");
    EXPECT_EQ(serialSettingsText(38400, "even", 7, 2), "38400,e,7,2");
    EXPECT_EQ(serialSettingsText(9600, "odd", 8, 1), "9600,o,8,1");
    // An empty parity gives a text the port refuses, as it always did.
    EXPECT_EQ(serialSettingsText(4800, "", 8, 1), "4800,,8,1");
    EXPECT_FALSE(SerialSettings::parse(serialSettingsText(4800, "", 8, 1)));
}

TEST(SerialDeviceMap, DefaultIsTheMatchingTtyS) {
    MemorySettingsStore store;
    SerialDeviceMap map(store);
    EXPECT_EQ(map.devicePath(1), "/dev/ttyS0");
    EXPECT_EQ(map.devicePath(12), "/dev/ttyS11");
    map.setDevicePath(12, "/dev/ttyUSB0");
    EXPECT_EQ(map.devicePath(12), "/dev/ttyUSB0");
    EXPECT_EQ(store.value("Tiderune", "SerialDevices", "COM12", ""), "/dev/ttyUSB0");
}

class EnvironmentGuard {
public:
    explicit EnvironmentGuard(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) saved_ = v, had_ = true;
    }
    ~EnvironmentGuard() {
        if (had_)
            setenv(name_, saved_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

TEST(AppFolder, FromEnvironmentAndSubPaths) {
    EnvironmentGuard home("HOME"), tiderune("TIDERUNE_HOME");
    setenv("HOME", "/home/someone", 1);
    unsetenv("TIDERUNE_HOME");
    EXPECT_EQ(AppFolder::fromEnvironment().root(), "/home/someone/Kestrelle/Tiderune");
    setenv("TIDERUNE_HOME", "", 1);
    EXPECT_EQ(AppFolder::fromEnvironment().root(), "/home/someone/Kestrelle/Tiderune");
    setenv("TIDERUNE_HOME", "/data/tr", 1);
    const AppFolder f = AppFolder::fromEnvironment();
    EXPECT_EQ(f.root(), "/data/tr");
    EXPECT_EQ(f.text(), "/data/tr/");
    EXPECT_EQ(AppFolder("/data/tr/").text(), "/data/tr/");
    EXPECT_EQ(f.setupFile(), "/data/tr/Tiderune.ini");
    EXPECT_EQ(f.logFolder(), "/data/tr/log");
    EXPECT_EQ(f.reportsFolder(), "/data/tr/Reports");
    EXPECT_EQ(f.errorLogFile(), "/data/tr/ErrorLog/ErrorLog.txt");
    EXPECT_EQ(f.referencePositionsFile(), "/data/tr/Reference Positions.txt");
}

TEST(AppFolder, CreatedWhenMissing) {
    const auto base = std::filesystem::temp_directory_path() / ("tiderune-folder-" + std::to_string(getpid()));
    std::filesystem::remove_all(base);
    AppFolder f(base / "Kestrelle" / "Tiderune");
    EXPECT_TRUE(f.ensureExists());
    EXPECT_TRUE(std::filesystem::is_directory(f.root()));
    EXPECT_TRUE(f.ensureExists());  // again: nothing to do
    std::string error;
    AppFolder blocked(f.setupFile() / "x");
    std::ofstream(f.setupFile()) << "";
    EXPECT_FALSE(blocked.ensureExists(&error));
    EXPECT_FALSE(error.empty());
    std::filesystem::remove_all(base);
}

TEST(ClockTime, DayCountOfTheDateType) {
    EXPECT_DOUBLE_EQ((ClockTime{1899, 12, 30, 0, 0, 0, 0}.dayCount()), 0.0);
    EXPECT_DOUBLE_EQ((ClockTime{1900, 1, 1, 0, 0, 0, 0}.dayCount()), 2.0);
    EXPECT_DOUBLE_EQ((ClockTime{2019, 10, 26, 12, 0, 0, 0}.dayCount()), 43764.5);
    EXPECT_DOUBLE_EQ((ClockTime{2000, 3, 1, 6, 0, 0, 0}.dayCount()), 36586.25);
    EXPECT_STREQ(monthAbbreviation(1), "Jan");
    EXPECT_STREQ(monthAbbreviation(12), "Dec");
    EXPECT_STREQ(monthAbbreviation(13), "");
}

TEST(FileFilter, PairsOfDescriptionAndPattern) {
    auto f = parseFileFilter("Setup files (*.ini)|*.ini|All files (*.*)|*.*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].description, "Setup files (*.ini)");
    EXPECT_EQ(f[1].pattern, "*.*");
    EXPECT_EQ(parseFileFilter("Lonely").size(), 0u);
    EXPECT_EQ(parseFileFilter("").size(), 0u);
}

TEST(ScriptedMessageBoxes, AnswersFromTheScriptThenTheDefault) {
    ScriptedMessageBoxes boxes;
    boxes.answers = {MessageAnswer::No};
    EXPECT_FALSE(boxes.askYesNo("first", MessageAnswer::Yes));
    EXPECT_TRUE(boxes.askYesNo("second", MessageAnswer::Yes));
    EXPECT_FALSE(boxes.askYesNo("third", MessageAnswer::No));
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text, "third");
    // A default that is not one of the buttons: the first button.
    EXPECT_EQ(boxes.show({"q", "", MessageButtons::YesNo, MessageIcon::None, MessageAnswer::Ok}), MessageAnswer::Yes);
    EXPECT_EQ(boxes.show({"q", "", MessageButtons::YesNo, MessageIcon::None, MessageAnswer::Cancel}), MessageAnswer::Yes);
    EXPECT_EQ(boxes.show({"q", "", MessageButtons::Ok, MessageIcon::None, MessageAnswer::No}), MessageAnswer::Ok);
    EXPECT_EQ(boxes.show({"q", "", MessageButtons::OkCancel, MessageIcon::None, MessageAnswer::Cancel}),
              MessageAnswer::Cancel);
}

}  // namespace
}  // namespace tiderune
