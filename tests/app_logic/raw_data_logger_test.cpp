#include "app/logic/raw_data_logger.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <vector>

#include "app/logic/error_log.h"
#include "app/logic/session_files.h"
#include "temp_folder.h"

namespace tiderune {
namespace {

struct RecordingNotices : NoticeSink {
    void notice(const Notice& n) override { notices.push_back(n); }
    std::vector<Notice> notices;
};

TEST(SessionFileName, PrimaryAndSecondaryNames) {
    const ClockTime t{2019, 10, 26, 14, 32, 59, 0};
    struct Case {
        int system;
        std::string name;
        const char* expected;
    };
    const Case cases[] = {
        {1, "GPS1", "20191026-1432-Prim-GPS1.log"},
        {3, "Gyro", "20191026-1432-Sec2-Gyro.log"},
        // A name cannot lead out of the folder.
        {2, "../../etc/x", "20191026-1432-Sec1-.._.._etc_x.log"},
        // The program's 8-bit text ("Øst ±", "€ Ÿ") is named in the file system's UTF-8.
        {1, "\xD8st \xB1", "20191026-1432-Prim-\xC3\x98st \xC2\xB1.log"},
        {1, "\x80 \x9F", "20191026-1432-Prim-\xE2\x82\xAC \xC5\xB8.log"},
        // Control characters, the code page's undefined bytes among them, go the way of "/".
        {1, "A\tB\x1B" "C\x7F", "20191026-1432-Prim-A_B_C_.log"},
        {1, std::string("N\0\r\nL", 5), "20191026-1432-Prim-N___L.log"},
        {1, "\x81\x8D\x8F\x90\x9D|", "20191026-1432-Prim-_____|.log"},
    };
    for (const Case& c : cases) EXPECT_EQ(sessionFileName(t, c.system, c.name, ".log"), c.expected) << c.name;
    EXPECT_EQ(sessionFileName(ClockTime{2020, 1, 2, 3, 4, 5, 0}, 4, "", ".txt"), "20200102-0304-Sec3-.txt");
}

class RawDataLoggerTest : public testing::Test {
protected:
    RawDataLoggerTest() {
        systems[1] = {true, "GPS1"};
        systems[3] = {true, "Gyro"};
    }
    std::string logged(int system) { return test::readFile(folder.logFolder() / logger.fileName(system)); }

    test::TempFolder temp;
    AppFolder folder{temp.path()};
    FixedClock clock{ClockTime{2019, 10, 26, 14, 32, 0, 0}};
    ScriptedMessageBoxes boxes;
    RecordingNotices notices;
    RawDataLogger logger{folder, clock, boxes, notices};
    PerSystem<LoggedSystem> systems;
};

TEST_F(RawDataLoggerTest, OneFilePerSystemInUseWithStartAndStopMessages) {
    logger.toggle(systems);
    EXPECT_TRUE(logger.isOn());
    EXPECT_TRUE(logger.isOpen(1));
    EXPECT_FALSE(logger.isOpen(2));
    EXPECT_TRUE(logger.isOpen(3));
    EXPECT_EQ(logger.fileName(1), "20191026-1432-Prim-GPS1.log");
    EXPECT_EQ(logger.fileName(3), "20191026-1432-Sec2-Gyro.log");
    const std::string where = folder.text() + "log/\r\n";
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Logging started. Data will be stored in file " + where +
                                       "20191026-1432-Prim-GPS1.log\r\n20191026-1432-Sec2-Gyro.log");
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);

    logger.toggle(systems);
    EXPECT_FALSE(logger.isOn());
    EXPECT_FALSE(logger.isOpen(1));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Logging stopped. Data stored in file " + where +
                                       "20191026-1432-Prim-GPS1.log\r\n20191026-1432-Sec2-Gyro.log");
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "log" / "20191026-1432-Sec2-Gyro.log"));
}

TEST_F(RawDataLoggerTest, LineEnds) {
    logger.toggle(systems);
    struct Case {
        std::string_view in, out;
    };
    const Case cases[] = {
        {"$GPZDA,1*00\r\n", "$GPZDA,1*00\r\n"},  // received: one CR LF
        {"$GPZDA,2*00", "$GPZDA,2*00\r\n"},      // replayed: CR LF added
        {"$GPZDA,3*00\n", "$GPZDA,3*00\r\n"},    // a bare line feed is a line end too
        {"ab\r\n", "ab\r\n\r\n"},                // 5 characters or fewer stay as they are
        {"abc\r\n", "abc\r\n\r\n"},
        {"abcd\r\n", "abcd\r\n"},
    };
    std::string expected;
    for (const Case& c : cases) {
        logger.writeLine(1, c.in);
        expected += c.out;
        // Flushed line by line: the file holds the line before logging stops.
        EXPECT_EQ(logged(1), expected) << c.in;
    }
    logger.writeLine(2, "$GPZDA*00\r\n");  // no file for system 2: nothing, no failure
    EXPECT_EQ(logged(3), "");
}

TEST_F(RawDataLoggerTest, SwitchingOnTwiceInOneMinuteAppends) {
    logger.toggle(systems);
    logger.writeLine(1, "$FIRST*00\r\n");
    logger.toggle(systems);
    logger.toggle(systems);
    logger.writeLine(1, "$SECOND*00\r\n");
    logger.toggle(systems);
    EXPECT_EQ(logged(1), "$FIRST*00\r\n$SECOND*00\r\n");
    clock.time.minute = 33;
    logger.toggle(systems);
    EXPECT_EQ(logger.fileName(1), "20191026-1433-Prim-GPS1.log");
}

TEST_F(RawDataLoggerTest, NoSystemInUseIsOnWithoutFiles) {
    logger.toggle(PerSystem<LoggedSystem>{});
    EXPECT_TRUE(logger.isOn());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Logging started. Data will be stored in file " + folder.text() + "log/\r\n");
}

TEST_F(RawDataLoggerTest, AFolderThatCannotBeMadeLeavesLoggingOff) {
    std::ofstream(temp.path() / "log") << "a file where the folder should be";
    logger.toggle(systems);
    EXPECT_FALSE(logger.isOn());
    EXPECT_FALSE(logger.isOpen(1));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Critical);
    EXPECT_NE(boxes.shown[0].text.find("20191026-1432-Prim-GPS1.log"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("20191026-1432-Sec2-Gyro.log"), std::string::npos);
    logger.writeLine(1, "$GPZDA*00\r\n");  // harmless
}

TEST_F(RawDataLoggerTest, OneFileThatCannotBeOpenedIsReportedOthersLog) {
    std::filesystem::create_directories(temp.path() / "log" / "20191026-1432-Sec2-Gyro.log");  // a folder
    logger.toggle(systems);
    EXPECT_TRUE(logger.isOn());
    EXPECT_TRUE(logger.isOpen(1));
    EXPECT_FALSE(logger.isOpen(3));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text,
              "Logging started. Data will be stored in file " + folder.text() + "log/\r\n20191026-1432-Prim-GPS1.log");
    EXPECT_EQ(boxes.shown[1].icon, MessageIcon::Critical);
    EXPECT_NE(boxes.shown[1].text.find("Sec2-Gyro.log"), std::string::npos);
}

TEST_F(RawDataLoggerTest, AWriteFailureClosesTheFileAndIsReportedOnce) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    std::filesystem::create_directories(temp.path() / "log");
    std::filesystem::create_symlink("/dev/full", temp.path() / "log" / "20191026-1432-Prim-GPS1.log");
    logger.toggle(systems);
    ASSERT_TRUE(logger.isOpen(1));
    logger.writeLine(1, "$GPZDA,1*00\r\n");
    logger.writeLine(1, "$GPZDA,2*00\r\n");
    EXPECT_FALSE(logger.isOpen(1));
    EXPECT_TRUE(logger.isOn());
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_EQ(notices.notices[0].icon, NoticeIcon::Critical);
    logger.writeLine(3, "$HEHDT*00\r\n");
    EXPECT_EQ(logged(3), "$HEHDT*00\r\n");
    logger.toggle(systems);
    EXPECT_EQ(boxes.shown.back().text,
              "Logging stopped. Data stored in file " + folder.text() + "log/\r\n20191026-1432-Sec2-Gyro.log");
}

// The disk fills up in the middle of a line: each file the program appends to keeps whole
// lines only, each with its CR LF, and what was in it before stays. A raw-data log is closed
// at the first failure, so that a replay of it meets no torn sentence; the error log, opened
// for each entry, goes on once there is room again, its next entry on a line of its own.
// A file size limit stands in for the full disk: the system writes what fits and refuses the
// rest, as a full disk does.
TEST_F(RawDataLoggerTest, AFullDiskLeavesWholeLinesOnly) {
    enum class To { RawLog, ErrorLog };
    const std::string first = "$GPGGA,1*00\r\n", second = "$GPGGA,22*00\r\n", earlier = "$GPZDA,0*00\r\n";
    const std::vector<std::string> lines = {first, second, "$GPGGA,333*00\r\n", "$GPGGA,4*00\r\n"};
    // The error log's entries, with the descriptions they are written for.
    const std::vector<std::string> errors = {"Type mismatch", "Overflow", "Subscript out of range", "Type mismatch"};
    auto entry = [&](const std::string& description) { return ErrorLog::entryLine(clock.time, description); };
    const std::string entry1 = entry(errors[0]), entry2 = entry(errors[1]), earlierEntry = entry("Earlier");
    struct Case {
        const char* name;
        std::size_t room;  // bytes the disk takes from the start of the file
        std::string kept;
        std::string before = "";  // in the file already
        To to = To::RawLog;
    };
    const Case cases[] = {
        {"full at the start", 0, ""},
        {"after the first byte", 1, ""},
        {"inside the first line", 5, ""},
        {"before the first line's CR LF", first.size() - 2, ""},
        {"between its CR and LF", first.size() - 1, ""},
        {"right after the first line", first.size(), first},
        {"inside the second line", first.size() + 3, first},
        {"between the second line's CR and LF", first.size() + second.size() - 1, first},
        {"room for two lines", first.size() + second.size() + 4, first + second},
        // from a logging switched off and on again in the same minute: the same file goes on
        {"a line from before, then the first torn", earlier.size() + 5, earlier, earlier},
        {"a line from before, then the second torn", earlier.size() + first.size() + 3, earlier + first, earlier},
        {"error log: full at the start", 0, "", "", To::ErrorLog},
        {"error log: an entry from before, then the next torn", earlierEntry.size() + 30, earlierEntry,
         earlierEntry, To::ErrorLog},
        // opened for each entry: a shorter one that fits goes in
        {"error log: between the first entry's CR and LF", entry1.size() - 1, entry2, "", To::ErrorLog},
        {"error log: inside the second entry", entry1.size() + 20, entry1, "", To::ErrorLog},
        {"error log: room for two entries", entry1.size() + entry2.size() + 4, entry1 + entry2, "", To::ErrorLog},
    };
    const std::filesystem::path errorLogFile = folder.errorLogFile();
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    // Beyond the limit a write fails instead of ending the process.
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool toErrorLog = c.to == To::ErrorLog;
        if (logger.isOn()) logger.toggle(systems);
        std::filesystem::remove_all(folder.logFolder());
        std::filesystem::remove_all(folder.errorLogFolder());
        notices.notices.clear();
        ErrorLog errorLog(folder, clock, boxes, notices, nullptr);
        logger.toggle(systems);
        if (!c.before.empty() && toErrorLog) {
            errorLog.writeEntry("Earlier");
        } else if (!c.before.empty()) {
            logger.writeLine(1, c.before);
            logger.toggle(systems);
            logger.toggle(systems);
        }
        struct rlimit limit = saved;
        limit.rlim_cur = c.room;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (toErrorLog)
                errorLog.writeEntry(errors[i]);
            else
                logger.writeLine(1, lines[i]);
        }
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
        // The third line never fits; the failure is told once.
        ASSERT_EQ(notices.notices.size(), 1u);
        if (toErrorLog) {
            EXPECT_EQ(test::readFile(errorLogFile), c.kept);
            EXPECT_EQ(notices.notices[0].text,
                      "The error log " + errorLogFile.string() + " could not be written : File too large");
            // The disk has room again: the next entry is whole, on a line of its own.
            errorLog.writeEntry("Type mismatch");
            EXPECT_EQ(test::readFile(errorLogFile), c.kept + entry("Type mismatch"));
        } else {
            // The file is closed at the first failure.
            EXPECT_EQ(logged(1), c.kept);
            EXPECT_FALSE(logger.isOpen(1));
            EXPECT_EQ(notices.notices[0].text, "Logging stopped for system 1. The file " +
                                                       (folder.logFolder() / logger.fileName(1)).string() +
                                                       " could not be written : File too large");
        }
    }
    std::signal(SIGXFSZ, savedSignal);
    // The other system's file goes on.
    logger.writeLine(3, "$HEHDT*00\r\n");
    EXPECT_EQ(logged(3), "$HEHDT*00\r\n");
}

}  // namespace
}  // namespace tiderune
