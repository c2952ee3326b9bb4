#include "app/logic/error_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "app/logic/raw_data_logger.h"
#include "core/errors.h"
#include "temp_folder.h"

namespace tiderune {
namespace {

struct RecordingNotices : NoticeSink {
    void notice(const Notice& n) override { notices.push_back(n); }
    std::vector<Notice> notices;
};

class ErrorLogTest : public testing::Test {
protected:
    test::TempFolder temp;
    AppFolder folder{temp.path()};
    FixedClock clock{ClockTime{2019, 10, 26, 14, 32, 5, 0}};
    ScriptedMessageBoxes boxes;
    RecordingNotices notices;
    int ended = 0;
    ErrorLog log{folder, clock, boxes, notices, [this] { ++ended; }};
};

TEST_F(ErrorLogTest, EntryLineFormat) {
    EXPECT_EQ(ErrorLog::entryLine(ClockTime{2019, 1, 5, 3, 4, 9, 0}, "Subscript out of range"),
              "2019 Jan 05 03:04:09 - Error description : Subscript out of range\r\n");
    EXPECT_EQ(ErrorLog::entryLine(ClockTime{2020, 12, 31, 23, 59, 59, 999}, ""),
              "2020 Dec 31 23:59:59 - Error description : \r\n");
}

TEST_F(ErrorLogTest, AppendsOneLinePerErrorCreatingTheFolder) {
    log.write(RuntimeError(9, "Subscript out of range"));
    clock.time.second = 6;
    log.write(std::string_view("Type mismatch"));
    EXPECT_EQ(test::readFile(temp.path() / "ErrorLog" / "ErrorLog.txt"),
              "2019 Oct 26 14:32:05 - Error description : Subscript out of range\r\n"
              "2019 Oct 26 14:32:06 - Error description : Type mismatch\r\n");
    EXPECT_EQ(log.count(), 2);
}

TEST_F(ErrorLogTest, TheEleventhErrorAsksAndYesGoesOn) {
    for (int i = 1; i <= 10; ++i) log.write(std::string_view("Overflow"));
    EXPECT_FALSE(log.questionDue());
    EXPECT_TRUE(log.askIfDue());
    EXPECT_TRUE(boxes.shown.empty());

    log.write(std::string_view("Overflow"));
    EXPECT_EQ(log.count(), 0);
    ASSERT_TRUE(log.questionDue());
    boxes.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(log.askIfDue());
    ASSERT_EQ(boxes.shown.size(), 1u);
    const MessageRequest& q = boxes.shown[0];
    EXPECT_EQ(q.text, " 14:32:05 Oct 26 - Error description : Overflow   More than 10 errors has occurred. Do you "
                      "wan't to continue anyway? (All Error messages are stored in file " +
                          (temp.path() / "ErrorLog" / "ErrorLog.txt").string());
    EXPECT_EQ(q.buttons, MessageButtons::YesNo);
    EXPECT_EQ(q.icon, MessageIcon::Critical);
    EXPECT_EQ(q.effectiveTitle(), "Tiderune");
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(log.questionDue());

    // The count starts again: the 22nd error asks again.
    for (int i = 1; i <= 10; ++i) log.write(std::string_view("Overflow"));
    EXPECT_FALSE(log.questionDue());
    log.write(std::string_view("Overflow"));
    EXPECT_TRUE(log.questionDue());
    std::ifstream in(temp.path() / "ErrorLog" / "ErrorLog.txt");
    int lines = 0;
    for (std::string l; std::getline(in, l);) ++lines;
    EXPECT_EQ(lines, 22);

    // A flood of errors before the question is answered still asks once.
    for (int i = 1; i <= 2200; ++i) log.write(std::string_view("Overflow"));
    boxes.shown.clear();
    EXPECT_TRUE(log.askIfDue());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(log.questionDue());
}

TEST_F(ErrorLogTest, NoClosesTheRawLogsAndEndsTheProgram) {
    ScriptedMessageBoxes loggerBoxes;
    RawDataLogger logger(folder, clock, loggerBoxes, notices);
    PerSystem<LoggedSystem> systems;
    systems[1] = {true, "GPS"};
    logger.toggle(systems);
    logger.writeLine(1, "$GPZDA,1*00\r\n");
    log.setRawDataLogger(&logger);

    for (int i = 1; i <= 11; ++i) log.write(std::string_view("Overflow"));
    boxes.answers = {MessageAnswer::No};
    EXPECT_FALSE(log.askIfDue());
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(logger.isOn());
    EXPECT_FALSE(logger.isOpen(1));
    EXPECT_EQ(loggerBoxes.shown.size(), 1u);  // the start message only: the end says nothing
    EXPECT_EQ(test::readFile(folder.logFolder() / logger.fileName(1)), "$GPZDA,1*00\r\n");
}

TEST_F(ErrorLogTest, AnUnwritableLogIsReportedOnceAndNeverThrows) {
    std::ofstream(temp.path() / "ErrorLog") << "a file where the folder should be";
    for (int i = 1; i <= 11; ++i) EXPECT_NO_THROW(log.write(std::string_view("Overflow")));
    ASSERT_EQ(notices.notices.size(), 1u);
    EXPECT_NE(notices.notices[0].text.find("ErrorLog.txt could not be written"), std::string::npos);
    EXPECT_TRUE(log.questionDue());  // the count and the question still work
}

}  // namespace
}  // namespace tiderune
