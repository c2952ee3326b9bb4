#include "core/setup_file_format.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <unistd.h>
#include <fstream>
#include <sstream>
#include <vector>

using namespace tiderune;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> allItems(const std::string& content) {
    SetupFileReader r(content);
    std::vector<std::string> out;
    while (!r.atEnd()) out.push_back(r.next().text);
    return out;
}

int errorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(SetupFileReader, SplitsItems) {
    using V = std::vector<std::string>;
    const struct {
        const char* what;
        std::string content;
        V items;
    } cases[] = {
        {"header and value", "\"REM Mode\"\r\n\"ONLINE\"\r\n", V{"REM Mode", "ONLINE"}},
        {"comma inside quotes", "\"a,b\",12,#TRUE#\r\n", V{"a,b", "12", "#TRUE#"}},
        {"line break inside quotes", "\"line1\r\nline2\",5\r\n", V{"line1\r\nline2", "5"}},
        {"item split over lines", "1,\r\n2\r\n3", V{"1", "2", "3"}},
        {"empty lines skipped", "1\r\n\r\n\r\n2\r\n", V{"1", "2"}},
        {"bare line feeds and carriage returns", "1\n2\r3", V{"1", "2", "3"}},
        {"blanks around unquoted items", "  7 ,\t\"x\"  ,8  \r\n", V{"7", "x", "8"}},
        {"empty item between commas", "1,,2", V{"1", "", "2"}},
        {"text after a closing quote is dropped", "\"ab\"c\",5\r\n", V{"ab", "5"}},
        {"unclosed quote runs to the end", "1,\"abc\r\n", V{"1", "abc\r\n"}},
        {"Latin-1 bytes kept", "\"\xF8\xB0\xE6\"", V{"\xF8\xB0\xE6"}},
    };
    for (const auto& c : cases) EXPECT_EQ(allItems(c.content), c.items) << c.what;
}

TEST(SetupFileReader, ReadingPastTheEndIsAnError) {
    SetupFileReader r("1,2\r\n\r\n");
    r.next();
    r.next();
    EXPECT_EQ(errorNumberOf([&] { r.next(); }), err::InputPastEndOfFile);
}

TEST(SetupFileReader, Numbers) {
    const struct {
        const char* item;
        double value;
        int error;
    } cases[] = {
        {".5", 0.5, 0},       {"-.5", -0.5, 0},       {"1E-05", 1e-5, 0},
        {"1e+3", 1000, 0},    {"2D2", 200, 0},        {" 12 ", 12, 0},
        {"+3.", 3, 0},        {"", 0, 0},             {"&H1F", 31, 0},
        {"&o17", 15, 0},      {"- 5", -5, 0},         {"abc", 0, err::TypeMismatch},
        {"1.2.3", 0, err::TypeMismatch},              {"-", 0, err::TypeMismatch},
        {"1E", 0, err::TypeMismatch},                 {"12x", 0, err::TypeMismatch},
        {".", 0, err::TypeMismatch},                  {"&H1G", 0, err::TypeMismatch},
        {"#TRUE#", 0, err::TypeMismatch},             {"1E999", 0, err::Overflow},
        {"&H", 0, err::TypeMismatch},
    };
    for (const auto& c : cases) {
        double got = 0;
        EXPECT_EQ(errorNumberOf([&] { got = setupItemNumber(c.item); }), c.error) << c.item;
        if (!c.error) {
            EXPECT_DOUBLE_EQ(got, c.value) << c.item;
        }
    }
}

TEST(SetupFileReader, TypedItemsKeepToTheirRanges) {
    SetupFileReader r(
        "32767,-32768,32768,2.5,3.5,-1.5,2147483647,2147483648,3.5E38,-3.5E38,1E-05,"
        "#TRUE#,#false#,-1,0,5,,yes,\"12\"");
    EXPECT_EQ(r.readInteger(), 32767);
    EXPECT_EQ(r.readInteger(), -32768);
    EXPECT_EQ(errorNumberOf([&] { r.readInteger(); }), err::Overflow);
    EXPECT_EQ(r.readInteger(), 2);   // halves go to the even neighbour
    EXPECT_EQ(r.readInteger(), 4);
    EXPECT_EQ(r.readInteger(), -2);
    EXPECT_EQ(r.readLong(), 2147483647);
    EXPECT_EQ(errorNumberOf([&] { r.readLong(); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([&] { r.readSingle(); }), err::Overflow);
    EXPECT_EQ(errorNumberOf([&] { r.readSingle(); }), err::Overflow);
    EXPECT_FLOAT_EQ(r.readSingle(), 1e-5f);
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());
    EXPECT_TRUE(r.readBoolean());
    EXPECT_FALSE(r.readBoolean());  // empty item
    EXPECT_EQ(errorNumberOf([&] { r.readBoolean(); }), err::TypeMismatch);
    EXPECT_EQ(r.readInteger(), 12);
}

TEST(SetupFileWriter, NumberForms) {
    const struct {
        double v;
        int digits;
        const char* text;
    } cases[] = {
        {0.5, 15, "0.5"},
        {-0.5, 15, "-0.5"},
        {1e-5, 15, "0.00001"},
        {1.5e-10, 15, "0.00000000015"},
        {100, 15, "100"},
        {-0.0, 15, "0"},
        {1.0 / 3, 15, "0.333333333333333"},
        {123456789012345678.0, 15, "123456789012346000"},
        {0.91629732862209, 15, "0.91629732862209"},
        {static_cast<float>(0.1), 7, "0.1"},
        {static_cast<float>(12.345678), 7, "12.34568"},
        {static_cast<float>(-3.25e-7), 7, "-0.000000325"},
        {std::nan(""), 15, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(setupFileNumber(c.v, c.digits), c.text) << c.v;
}

TEST(SetupFileWriter, LinesItemsAndQuotes) {
    SetupFileWriter w;
    w.text("REM Mode");
    w.endLine();
    w.text("a \"quoted\" name");
    w.boolean(true);
    w.boolean(false);
    w.integer(-32768);
    w.single(1.5f);
    w.dbl(-0.25);
    w.endLine();
    w.text("two\r\nlines");
    w.endLine();
    EXPECT_EQ(w.bytes(),
              "\"REM Mode\"\r\n"
              "\"a 'quoted' name\",#TRUE#,#FALSE#,-32768,1.5,-0.25\r\n"
              "\"two\r\nlines\"\r\n");
}

TEST(SetupFileWriter, NumbersReadBackWithinTheirWrittenPrecision) {
    for (double v : {0.9162978572970230, -0.0001234567890123456, 6378137.123456789, 1e-12,
                     -2.5e20, 3.14159265358979}) {
        const double back = setupItemNumber(setupFileNumber(v, 15));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
    for (float v : {0.1f, -12.345678f, 3.0e38f, 1.17e-38f, 59.99999f}) {
        const double back = setupItemNumber(setupFileNumber(v, 7));
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-6) << v;
    }
}

class SetupFileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tiderune_format_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    static std::string slurp(const fs::path& p) { return test_support::slurp(p); }
    fs::path dir;
};

TEST_F(SetupFileFiles, ReplaceWritesTheBytesAndLeavesNoTemporaryFile) {
    const std::string path = (dir / "Tiderune.ini").string();
    replaceFileAtomically(path, "old\r\n");
    replaceFileAtomically(path, std::string("new\r\n\0\xFF", 7));
    EXPECT_EQ(slurp(path), std::string("new\r\n\0\xFF", 7));
    EXPECT_EQ(readSetupFileBytes(path), std::string("new\r\n\0\xFF", 7));
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir)) (void)e, ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(SetupFileFiles, FailedReplaceKeepsWhatWasThere) {
    // The target is a folder that cannot be replaced by a file: the rename fails.
    const fs::path target = dir / "Tiderune.ini";
    fs::create_directories(target / "inside");
    EXPECT_NE(errorNumberOf([&] { replaceFileAtomically(target.string(), "x"); }), 0);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_FALSE(fs::exists(dir / "Tiderune.ini.saving"));

    EXPECT_EQ(errorNumberOf([&] { replaceFileAtomically((dir / "no/such/Tiderune.ini").string(), "x"); }),
              err::PathNotFound);
}

TEST_F(SetupFileFiles, ReadingMissingOrUnreadablePaths) {
    EXPECT_EQ(errorNumberOf([&] { readSetupFileBytes((dir / "missing.ini").string()); }),
              err::FileNotFound);
    EXPECT_EQ(errorNumberOf([&] { readSetupFileBytes(dir.string()); }), err::PathFileAccessError);

    // Files up to 4 MiB are read whole and kept beside by a copy of their bytes; a larger one
    // is refused unread and kept by a second link.
    struct Case {
        std::uintmax_t size;
        int error;
        std::uintmax_t links;  // of the kept file
    };
    constexpr std::uintmax_t FourMiB = 4 * 1024 * 1024;
    const Case cases[] = {
        {FourMiB - 1, 0, 1},
        {FourMiB, 0, 1},
        {FourMiB + 1, err::PathFileAccessError, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const fs::path path = dir / ("size" + std::to_string(c.size) + ".ini");
        std::ofstream(path, std::ios::binary) << "\"REM Mode\"";
        fs::resize_file(path, c.size);
        std::string bytes;
        std::string message;
        try {
            bytes = readSetupFileBytes(path.string());
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), c.error);
            message = e.what();
        }
        EXPECT_EQ(message, c.error != 0 ? "File larger than 4 MB" : "");
        std::string whole = "\"REM Mode\"";
        whole.resize(c.size, '\0');
        EXPECT_EQ(bytes.size(), c.error != 0 ? 0 : c.size);
        EXPECT_TRUE(bytes == (c.error != 0 ? "" : whole));  // not printed: megabytes
        const fs::path kept = keepCopyBeside(path.string());
        EXPECT_EQ(fs::file_size(kept), c.size);
        EXPECT_EQ(fs::hard_link_count(kept), c.links);
    }
}

}  // namespace
