// Reading a recorded file back line by line: every kind of line end, lines across the read
// blocks, a last line without an end, lines too long to keep, and the errors of opening.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/logic/replay_file.h"
#include "core/errors.h"

namespace tiderune::test {
namespace {

class ReplayFileTest : public ::testing::Test {
protected:
    std::string write(const std::string& bytes) {
        const std::string path = dir.path().toStdString() + "/f" + std::to_string(++n_) + ".nmea";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::vector<std::string> readAll(const std::string& bytes) {
        ReplayFile f;
        f.open(write(bytes));
        std::vector<std::string> lines;
        std::string line;
        while (!f.atEnd()) {
            EXPECT_TRUE(f.readLine(line));
            lines.push_back(line);
        }
        EXPECT_FALSE(f.readLine(line));
        return lines;
    }
    QTemporaryDir dir;
    int n_ = 0;
};

using Lines = std::vector<std::string>;

TEST_F(ReplayFileTest, LinesEndAtLineFeedsCarriageReturnsOrBoth) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"CR LF", "$A*00\r\n$B*01\r\n", {"$A*00", "$B*01"}},
        {"LF", "$A\n$B\n", {"$A", "$B"}},
        {"lone CR", "$A\r$B\r", {"$A", "$B"}},
        {"mixed", "$A\r\n$B\n$C\r$D", {"$A", "$B", "$C", "$D"}},
        {"no end on the last line", "$A\r\n$B", {"$A", "$B"}},
        {"empty lines stay", "\r\n\n$A\r\n\r\n", {"", "", "$A", ""}},
        {"LF CR is two ends", "$A\n\r$B", {"$A", "", "$B"}},
        {"bytes as they stand", std::string("$A\0\xB0\xFF\r\n", 7), {std::string("$A\0\xB0\xFF", 5)}},
    };
    for (const Case& c : cases) EXPECT_EQ(readAll(c.bytes), c.lines) << c.name;
}

TEST_F(ReplayFileTest, LinesAcrossReadBlocksComeWholeAndOverlongLinesAreDropped) {
    // A CR LF split over two blocks of 64 KiB: 655 lines of 100 bytes, then one whose CR is
    // the block's last byte.
    Lines filler(655, std::string(99, 'a'));
    std::string bytes;
    for (const auto& l : filler) bytes += l + "\n";
    const std::string split(35, 'c');
    filler.push_back(split);
    filler.push_back("$C");
    EXPECT_EQ(readAll(bytes + split + "\r\n$C"), filler);

    // Lines no sentence can be are dropped whole and counted, however long: the buffer does
    // not grow for them. The longest kept line is as long as live sources keep.
    const std::string longest(ReplayFile::MaxLineLength, 'k');
    const std::string endless(8 << 20, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
        std::int64_t dropped;
    } cases[] = {
        {"longest kept, one more dropped", longest + "\r\n" + longest + "k\r\n$A", {longest, "$A"}, 1},
        {"over a block", std::string(65535, 'a') + "\r\n" + std::string(200000, 'b') + "\r\n$C\r", {"$C"}, 2},
        {"ended by a lone CR", std::string(70000, 'a') + "\r$D", {"$D"}, 1},
        {"8 MB without a line end", "$A\r\n" + endless + "\n$B", {"$A", "$B"}, 1},
        {"the last line", "$A\r\n" + endless, {"$A"}, 1},
        // The file ends just as a call has passed its few megabytes over (the first block of
        // 64 KiB and SkipStep more): the next call counts the line.
        {"the last line, ended at a pause", "$A\r\n" + std::string(ReplayFile::SkipStep + 65536 - 4, 'x'), {"$A"}, 1},
    };
    for (const Case& c : cases) {
        ReplayFile f;
        f.open(write(c.bytes));
        Lines lines;
        for (std::string line; f.readLine(line);) lines.push_back(line);
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(f.droppedLines(), c.dropped) << c.name;
        EXPECT_TRUE(f.atEnd()) << c.name;
    }

    // Many short lines: every one, in order.
    std::string many;
    Lines expected;
    for (int i = 0; i < 20000; ++i) {
        expected.push_back("$GPZDA," + std::to_string(i));
        many += expected.back() + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    EXPECT_EQ(readAll(many), expected);
}

// A line that starts before a read block ends and finishes in the next one is kept whole as long
// as a sentence may be, wherever the block boundary falls in it; one character more and it is
// dropped.
TEST_F(ReplayFileTest, ALineAcrossTheBlockBoundaryIsKeptUpToTheLongestSentence) {
    constexpr std::size_t Block = 1 << 16;
    const std::size_t lengths[] = {2049, 3000, ReplayFile::MaxLineLength, ReplayFile::MaxLineLength + 1};
    for (const std::size_t length : lengths) {
        // How much of the line lies in the first block: its first character only, just over
        // half the longest sentence, all but its last character, all of it (the CR LF after
        // the boundary), all and its CR.
        for (const std::size_t before : {std::size_t{1}, std::size_t{2049}, length - 1, length, length + 1}) {
            SCOPED_TRACE("length " + std::to_string(length) + ", " + std::to_string(before) + " before the boundary");
            Lines expected;
            std::string bytes;
            std::size_t need = Block - before;
            while (need >= 102) {
                expected.push_back(std::string(98, 'f'));
                need -= 100;
            }
            expected.push_back(std::string(need - 2, 'g'));
            for (const std::string& l : expected) bytes += l + "\r\n";
            ASSERT_EQ(bytes.size(), Block - before);
            const std::string line = "$" + std::string(length - 1, 'L');
            bytes += line + "\r\n$END\r\n";
            const bool kept = length <= ReplayFile::MaxLineLength;
            if (kept) expected.push_back(line);
            expected.push_back("$END");

            ReplayFile f;
            f.open(write(bytes));
            Lines lines;
            for (std::string l; f.readLine(l);) lines.push_back(l);
            EXPECT_EQ(lines, expected);
            EXPECT_EQ(f.droppedLines(), kept ? 0 : 1);
        }
    }
}

// A line without an end, gigabytes of zeros in a damaged recording, is passed over a few
// megabytes at a time: the reader returns between them, so that the replay stays steerable.
TEST_F(ReplayFileTest, ALineWithoutAnEndIsPassedOverAFewMegabytesPerCall) {
    constexpr std::size_t Gap = std::size_t{64} << 20;
    struct Case {
        const char* name;
        std::string after;  // what follows the gap
        Lines lines;
    } cases[] = {
        {"ended by CR LF", "\r\n$B\r\n", {"$A", "$B"}},
        {"the last line of the file", "", {"$A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A sparse file: the gap costs no disk space.
        const std::string path = dir.path().toStdString() + "/gap.nmea";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "$A\r\n", 4), 4);
        ASSERT_EQ(::ftruncate(fd, 4 + static_cast<off_t>(Gap)), 0);
        ASSERT_EQ(::lseek(fd, 0, SEEK_END), static_cast<off_t>(4 + Gap));
        ASSERT_EQ(::write(fd, c.after.data(), c.after.size()), static_cast<ssize_t>(c.after.size()));
        ::close(fd);

        ReplayFile f;
        f.open(path);
        Lines lines;
        std::size_t turns = 0;
        std::string line;
        for (ReplayFile::Read r; (r = f.read(line)) != ReplayFile::Read::End;) {
            if (r == ReplayFile::Read::Line)
                lines.push_back(line);
            else
                ++turns;
            ASSERT_LT(turns, Gap) << "no end";
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(f.droppedLines(), 1);
        // Each call passes over at least one step and at most a step and one read block.
        EXPECT_GE(turns, Gap / (ReplayFile::SkipStep + (1 << 16)));
        EXPECT_LE(turns, Gap / ReplayFile::SkipStep);
    }
}

// Long runs of one line end over many read blocks: lone CRs whose next line feed lies
// blocks ahead or nowhere, and line feeds that follow such a run.
TEST_F(ReplayFileTest, LongRunsOfOneLineEndAcrossBlocks) {
    struct Case {
        const char* name;
        const char* before;  // line ends of the first 30,000 lines
        const char* after;   // and of the 30,000 after them
    } cases[] = {
        {"lone CR only", "\r", "\r"},
        {"lone CR, then LF", "\r", "\n"},
        {"LF, then lone CR", "\n", "\r"},
        {"lone CR, then CR LF", "\r", "\r\n"},
    };
    for (const Case& c : cases) {
        std::string bytes;
        Lines expected;
        for (int i = 0; i < 60000; ++i) {
            expected.push_back("$GPGGA," + std::to_string(i * 7919 % 100003));
            bytes += expected.back() + (i < 30000 ? c.before : c.after);
        }
        EXPECT_EQ(readAll(bytes), expected) << c.name;
    }
}

TEST_F(ReplayFileTest, OpenErrorsCarryTheNumbersTheUsersKnow) {
    struct Case {
        const char* name;
        std::string path;
        int number;
        const char* description;
    };
    const std::string folder = dir.path().toStdString();
    const std::string fifo = folder + "/pipe.nmea";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const Case cases[] = {
        {"no name", "", 52, "Bad file name or number"},
        {"missing file", folder + "/missing.nmea", err::FileNotFound, "File not found"},
        {"missing folder", folder + "/no/such/run.nmea", err::PathNotFound, "Path not found"},
        {"a folder", folder, err::PathFileAccessError, "Path/File access error"},
        // Neither has an end: they are refused at once, never waited on.
        {"a named pipe", fifo, err::PathFileAccessError, "Path/File access error"},
        {"a device", "/dev/zero", err::PathFileAccessError, "Path/File access error"},
    };
    for (const Case& c : cases) {
        ReplayFile f;
        try {
            f.open(c.path);
            ADD_FAILURE() << c.name << ": opened";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), c.number) << c.name;
            EXPECT_EQ(e.description(), c.description) << c.name;
        }
        EXPECT_FALSE(f.isOpen());
        EXPECT_TRUE(f.atEnd()) << c.name;
    }
}

TEST_F(ReplayFileTest, ReopeningStartsFromTheTopAndClosingEndsTheFile) {
    const std::string path = write("$A\r\n$B\r\n");
    ReplayFile f;
    std::string line;
    f.open(path);
    ASSERT_TRUE(f.readLine(line));
    f.open(path);
    ASSERT_TRUE(f.readLine(line));
    EXPECT_EQ(line, "$A");
    f.close();
    EXPECT_TRUE(f.atEnd());
    EXPECT_FALSE(f.readLine(line));
}

}  // namespace
}  // namespace tiderune::test
