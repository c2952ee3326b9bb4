#include "core/setup_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <cfloat>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "core/setup_file_format.h"

using namespace tiderune;
using tiderune::test_support::NoticeLog;
using tiderune::test_support::slurp;
namespace fs = std::filesystem;

namespace {

class SetupFileReview : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tiderune_setup_review_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / SetupFileName).string();
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
    std::string path;
    NoticeLog notices;
};

// The demo setup that the README's run command installs must load without a message.
TEST_F(SetupFileReview, DemoSetupLoadsCleanly) {
    std::string text = slurp(fs::path(TIDERUNE_SOURCE_DIR) / "examples/Tiderune.ini.in");
    ASSERT_FALSE(text.empty());
    const std::string marker = "@EXAMPLES@";
    for (std::size_t at; (at = text.find(marker)) != std::string::npos;)
        text.replace(at, marker.size(), "/opt/demo");
    std::ofstream(path, std::ios::binary) << text;

    Config c;
    EXPECT_TRUE(LoadSetupFile(c, path, notices));
    EXPECT_TRUE(notices.seen.empty());
    EXPECT_EQ(c.Mode, "OFFLINE");
    EXPECT_TRUE(c.Systems[1].InUse);
    EXPECT_EQ(c.Systems[1].OfflineFile, "/opt/demo/demo.nmea");
    EXPECT_FALSE(c.Systems[2].InUse);
    EXPECT_EQ(c.MessagesToAnalyse[1][1].empty(), false);
    EXPECT_GE(c.LatLonDecimals, 0);
    EXPECT_LE(c.LatLonDecimals, 5);
}

// A value the file once held must survive being saved again: the largest Doubles rounded to
// 15 digits would land beyond the Double range and make the next load fail.
TEST_F(SetupFileReview, ExtremeValuesSaveInAFormTheLoaderTakesBack) {
    Config c;
    LoadDefaultSetup(c);
    c.ReferenceLat[1] = DBL_MAX;
    c.ReferenceLon[1] = -DBL_MAX;
    c.ReferenceLat[2] = DBL_MIN;
    c.ReferenceLon[2] = 1e-310;  // subnormal
    c.ReferenceHeight[1] = FLT_MAX;
    c.ReferenceHeading[1] = -FLT_MAX;
    c.ReferencePitch[1] = FLT_MIN;
    SaveSetupFile(c, path);

    Config back;
    EXPECT_TRUE(LoadSetupFile(back, path, notices));
    EXPECT_TRUE(notices.seen.empty());
    EXPECT_EQ(back.ReferenceLat[1], DBL_MAX);
    EXPECT_EQ(back.ReferenceLon[1], -DBL_MAX);
    EXPECT_NEAR(back.ReferenceLat[2], DBL_MIN, DBL_MIN * 1e-14);
    EXPECT_GT(back.ReferenceLon[2], 0.0);
    EXPECT_NEAR(back.ReferenceHeight[1], FLT_MAX, FLT_MAX * 1e-6);
    EXPECT_NEAR(back.ReferenceHeading[1], -FLT_MAX, FLT_MAX * 1e-6);
    EXPECT_GT(back.ReferencePitch[1], 0.0f);
}

// File Open on something that is not a file (a named pipe with no writer) must report a
// damaged file at once instead of waiting for data that never comes.
TEST_F(SetupFileReview, PipeIsRefusedWithoutWaiting) {
    const std::string fifo = (dir / "pipe.ini").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Config c;
    EXPECT_FALSE(LoadSetupFile(c, fifo, notices));
    ASSERT_EQ(notices.seen.size(), 1u);
    EXPECT_EQ(notices.seen[0].text,
              "Path/File access error - Error in Setup file. Default data loaded");
    EXPECT_EQ(notices.seen[0].icon, NoticeIcon::Exclamation);
}

// A damaged setup file is saved over with the defaults when the program ends, so what the
// user had is kept beside it first, never over an earlier copy; a file of gigabytes is
// refused without being read, and kept the same way.
TEST_F(SetupFileReview, DamagedFileIsKeptBesideItAndAHugeOneIsNotRead) {
    std::ofstream(path + ".bak", std::ios::binary) << "older copy";
    std::ofstream(path, std::ios::binary) << "\"REM Mode\"\r\n";
    Config c;
    EXPECT_FALSE(LoadSetupFile(c, path, notices));
    SaveSetupFile(c, path);
    EXPECT_EQ(slurp(path + ".bak"), "older copy");
    EXPECT_EQ(slurp(path + ".bak.2"), "\"REM Mode\"\r\n");

    const auto huge = std::uintmax_t{2} << 30;  // sparse: NUL bytes that take no disk
    fs::resize_file(path, huge);
    notices.seen.clear();
    EXPECT_FALSE(LoadSetupFile(c, path, notices));
    ASSERT_EQ(notices.seen.size(), 1u);
    EXPECT_EQ(notices.seen[0].text,
              "File larger than 4 MB - Error in Setup file. Default data loaded\n\n"
              "The file as it was is kept as " + path + ".bak.3");
    SaveSetupFile(c, path);
    EXPECT_EQ(fs::file_size(path + ".bak.3"), huge);
    EXPECT_EQ(slurp(path), SetupFileText(c));
}

// Saving replaces the file in one step; a setup file that is a link to a file kept
// elsewhere, or one the user has made private, must stay so.
TEST_F(SetupFileReview, SaveKeepsALinkAndThePermissions) {
    fs::create_directories(dir / "kept");
    const fs::path real = dir / "kept" / SetupFileName;
    std::ofstream(real, std::ios::binary) << "old";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, path);

    Config c;
    LoadDefaultSetup(c);
    c.SessionInfo = "linked";
    SaveSetupFile(c, path);

    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(slurp(real), SetupFileText(c));
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(dir / "kept" / (std::string(SetupFileName) + ".saving")));
}

// The program's own setup file is never replaced by a setup that did not come from it cleanly
// without a copy of it beside it: whatever the order of loads and saves, start-up, File Open,
// Save, Save As and exit alike. A file size limit stands in for a full disk.
TEST_F(SetupFileReview, TheOwnFileIsKeptBeforeASetupFromAFailedLoadReplacesIt) {
    Config mineConfig;
    LoadDefaultSetup(mineConfig);
    mineConfig.Systems[1].InUse = true;  // what the defaults take away
    const std::string mine = SetupFileText(mineConfig);
    const std::string damaged = mine.substr(0, mine.find("\"REM Comports\"") + 20);
    const std::string notSaved = "The setup was not saved as " + path + " : ";
    struct Case {
        const char* name;
        // load: o the own file, O the own file on a full disk, d a damaged file from
        // elsewhere, g a good one; save: S over the own file, A elsewhere (Save As), F over
        // the own file on a full disk
        std::string steps;
        std::vector<std::string> copies;  // .bak, .bak.2, ... in turn
        std::vector<std::string> failures = {};
        std::string ownAtStart = "";      // the user's good setup unless given
    };
    const Case cases[] = {
        {"a damaged file from elsewhere, then exit", "odS", {mine}},
        {"saved twice, one copy", "dSS", {mine}},
        {"Save As elsewhere keeps no copy", "dA", {}},
        {"the exit after it does", "dAS", {mine}},
        {"a good file opened after it: its setup replaces mine", "dgS", {}},
        {"the own file loaded cleanly", "oS", {}},
        {"the own file damaged: kept by the load, once", "oSS", {damaged}, {}, damaged},
        {"a full disk with a copy due: nothing saved, the copy made later", "dFS", {mine},
         {notSaved + "the file as it was could not be kept beside itself (Path/File access error)"}},
        {"a full disk at exit", "oF", {}, {notSaved + "Path/File access error"}},
        {"the own file damaged on a full disk: kept by the save instead", "OS", {damaged}, {}, damaged},
        {"... and not saved over while no copy can be made", "OF", {}, {notSaved + "the file as it was could not be kept beside itself (Path/File access error)"}, damaged},
    };
    struct rlimit unlimited {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    struct rlimit full = unlimited;
    full.rlim_cur = 0;
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string start = c.ownAtStart.empty() ? mine : c.ownAtStart;
        std::ofstream(path, std::ios::binary) << start;
        std::ofstream(dir / "d.ini", std::ios::binary) << damaged;
        std::ofstream(dir / "g.ini", std::ios::binary) << SetupFileText(Config{});
        OwnSetupFile own(path);
        Config config;
        std::vector<std::string> failures;
        std::string lastSaved = start;
        for (char step : c.steps) {
            const bool ownFile = step == 'o' || step == 'O' || step == 'S' || step == 'F';
            const std::string file = ownFile ? path : (dir / (step + std::string(".ini"))).string();
            if (step == 'o' || step == 'O' || step == 'd' || step == 'g') {
                ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, step == 'O' ? &full : &unlimited), 0);
                own.load(file, [&](SavedOver over) { return LoadSetupFile(config, file, notices, over); });
                ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
                continue;
            }
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, step == 'F' ? &full : &unlimited), 0);
            const std::string failure = own.save(file, [&] { SaveSetupFile(config, file); });
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
            if (!failure.empty()) failures.push_back(failure);
            if (failure.empty() && file == path) lastSaved = SetupFileText(config);
        }
        std::vector<std::string> copies;
        for (std::string bak = path + ".bak"; fs::exists(bak); bak = path + ".bak." + std::to_string(copies.size() + 1))
            copies.push_back(slurp(bak));
        EXPECT_EQ(copies, c.copies);
        EXPECT_EQ(slurp(path), lastSaved);
        EXPECT_EQ(failures, c.failures);
        EXPECT_EQ(slurp(dir / "d.ini"), damaged);
    }
    std::signal(SIGXFSZ, savedSignal);
}

}  // namespace
