#include "setup/logic/reference_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "temp_folder.h"

namespace tiderune {
namespace {

using test::readFile;
using test::TempFolder;

class ReferenceFile : public ::testing::Test {
protected:
    std::string folder() const { return dir.path().string() + "/"; }
    std::string file() const { return folder() + ReferenceFileName; }
    void write(const std::string& text) { std::ofstream(file(), std::ios::binary) << text; }
    ReferenceUpdate store(const ReferenceRecord& r) {
        return UpdateReferenceFile(folder(), r, [this](const std::string& m) { told.push_back(m); });
    }
    TempFolder dir;
    std::vector<std::string> told;
};

TEST_F(ReferenceFile, LinesReadBackExactly) {
    const ReferenceRecord pier{"Pier 4", 1.03311, 0.18761, 12.5f};
    EXPECT_EQ(referenceLineText(pier), "\"Pier 4\",1.03311,0.18761,12.5");
    const ReferenceRecord precise{"P", 1.0370524758536123, -0.183122563113135, -0.1f};
    EXPECT_EQ(parseReferenceLine(referenceLineText(precise)), precise);
    const ReferenceRecord highest{"H", 0, 0, std::numeric_limits<float>::max()};
    EXPECT_EQ(parseReferenceLine(referenceLineText(highest)), highest);
    // Lines as another program or a hand edit wrote them.
    EXPECT_EQ(parseReferenceLine(" \"Q\" , .5 ,-1.2E-05, 3 \r"), (ReferenceRecord{"Q", 0.5, -1.2e-05, 3.0f}));
    for (const char* bad : {"", "Q,1,2,3", "\"Q\",1,2", "\"Q\",1,2,3,4", "\"Q\",a,2,3", "\"Q,1,2,3", "\"Q\",1,,3",
                            "\"Q\",1,2,1e39"})
        EXPECT_EQ(parseReferenceLine(bad), std::nullopt) << bad;
}

TEST_F(ReferenceFile, FirstStoreCreatesTheFile) {
    EXPECT_TRUE(readReferenceRecords(file()).empty());
    EXPECT_TRUE(store({"Pier 4", 1.03311, 0.18761, 12.5f}).written);
    EXPECT_EQ(readFile(file()), "\"Pier 4\",1.03311,0.18761,12.5\r\n");
    EXPECT_TRUE(told.empty());
}

TEST_F(ReferenceFile, NewNamesAppendAndKnownNamesReplaceInPlace) {
    write("\"A\",0.1,0.2,1\r\n\"B\",0.3,0.4,2\r\n\"C\",0.5,0.6,3\r\n");
    EXPECT_TRUE(store({"b", 0.7, 0.8, 4}).written);  // names differ by case: a new record
    EXPECT_TRUE(told.empty());
    EXPECT_TRUE(store({"B", 0.9, 1.0, 5}).written);
    EXPECT_EQ(told, std::vector<std::string>{"The reference target 'B' already exist. The position will be updated!"});
    EXPECT_EQ(readFile(file()), "\"A\",0.1,0.2,1\r\n\"B\",0.9,1,5\r\n\"C\",0.5,0.6,3\r\n\"b\",0.7,0.8,4\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder() + ReferenceBufferFileName));
}

TEST_F(ReferenceFile, UnreadableLinesStayAndEveryDuplicateIsReplaced) {
    write("garbage line\n\"D\",1,2,3\n\n\"D\",4,5,6\n");
    const auto records = readReferenceRecords(file());
    ASSERT_EQ(records.size(), 2u);  // the list shows the readable records only
    EXPECT_TRUE(store({"D", 7, 8, 9}).written);
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(readFile(file()), "garbage line\r\n\"D\",7,8,9\r\n\r\n\"D\",7,8,9\r\n");
}

TEST_F(ReferenceFile, EmptyFileTakesTheRecord) {
    write("");
    EXPECT_TRUE(store({"E", 1, 2, 3}).written);
    EXPECT_EQ(readFile(file()), "\"E\",1,2,3\r\n");
}

TEST_F(ReferenceFile, AFailedUpdateLeavesTheOldFileWhole) {
    write("\"A\",0.1,0.2,1\r\n");
    ::chmod(dir.path().c_str(), 0500);  // the buffer file cannot be made
    const ReferenceUpdate u = store({"F", 1, 2, 3});
    ::chmod(dir.path().c_str(), 0700);
    if (::geteuid() == 0) GTEST_SKIP() << "root writes anyway";
    EXPECT_FALSE(u.written);
    EXPECT_FALSE(u.error.empty());
    EXPECT_EQ(readFile(file()), "\"A\",0.1,0.2,1\r\n");
    EXPECT_FALSE(UpdateReferenceFile(folder() + "missing/", {"G", 1, 2, 3}, nullptr).written);
}

// Something other than a file at the file's name: never read (a pipe is not waited on),
// never replaced; the reader and the update both say the file could not be read.
TEST_F(ReferenceFile, AFolderOrPipeAtTheNameIsAFileThatCannotBeRead) {
    const std::string message = "The file " + file() + " could not be read.";
    for (const char* kind : {"folder", "named pipe"}) {
        ASSERT_EQ(kind[0] == 'f' ? ::mkdir(file().c_str(), 0700) : ::mkfifo(file().c_str(), 0600), 0);
        std::string error;
        EXPECT_TRUE(readReferenceRecords(file(), &error).empty()) << kind;
        EXPECT_EQ(error, message) << kind;
        const ReferenceUpdate u = store({"H", 1, 2, 3});
        EXPECT_FALSE(u.written) << kind;
        EXPECT_EQ(u.error, message) << kind;
        EXPECT_FALSE(std::filesystem::exists(folder() + ReferenceBufferFileName)) << kind;
        std::filesystem::remove(file());
    }
}

}  // namespace
}  // namespace tiderune
