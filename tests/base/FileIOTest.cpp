#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/FileIO.h"
#include "base/GbkText.h"

using namespace quarrant;

namespace {

struct TempFolder {
    TempFolder() {
        char pattern[] = "/tmp/quarrant-fileio-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string path;
};

}  // namespace

TEST(FileIO, LinesEndAtLineFeedWithOneCarriageReturnRemoved) {
    auto lines = SplitLines("a\r\nb\n\nc\r\r\nlast");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "c\r");
    EXPECT_EQ(lines[4], "last");
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(FileIO, PathsSplitAtEitherSeparator) {
    EXPECT_EQ(LastPathComponent("/home/u/proj"), "proj");
    EXPECT_EQ(LastPathComponent("C:\\work\\proj"), "proj");
    EXPECT_EQ(LastPathComponent("/home/u/proj/"), "");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    // 乗 is 0x81 0x5C in GBK: its second byte is not a separator.
    EXPECT_EQ(LastPathComponent("/home/\x81\x5C"), "\x81\x5C");
    EXPECT_EQ(LastPathComponent("/home/a\x81\x5C\\b"), "b");
}

TEST(FileIO, GbkPathsAreUtf8NamesOnDisk) {
    TempFolder folder;
    std::string gbkName = Utf8ToGbk("钢结构.ini");
    Status written = WriteFileAtomically(JoinPath(folder.path, gbkName), "data");
    ASSERT_TRUE(written) << written.Message();
    EXPECT_TRUE(std::filesystem::exists(folder.path + "/钢结构.ini"));
    Result<std::string> read = ReadWholeFile(JoinPath(folder.path, gbkName));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Value(), "data");
}

TEST(FileIO, FailedAtomicWriteKeepsTheOldFileAndSaysWhy) {
    if (geteuid() == 0) {
        // root ignores folder permissions; use a folder that cannot exist instead.
        Status written = WriteFileAtomically("/proc/no-such-folder/file", "x");
        EXPECT_FALSE(written);
        EXPECT_NE(written.Message().find("/proc/no-such-folder/file"), std::string::npos);
        return;
    }
    TempFolder folder;
    std::string target = JoinPath(folder.path, "project");
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    chmod(folder.path.c_str(), 0500);
    Status written = WriteFileAtomically(target, "new");
    chmod(folder.path.c_str(), 0700);
    EXPECT_FALSE(written);
    EXPECT_FALSE(written.Message().empty());
    EXPECT_EQ(ReadWholeFile(target).Value(), "old");
}

TEST(FileIO, AtomicWriteLeavesNoTemporaryFiles) {
    TempFolder folder;
    std::string target = JoinPath(folder.path, "f");
    ASSERT_TRUE(WriteFileAtomically(target, "1"));
    ASSERT_TRUE(WriteFileAtomically(target, "22"));
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
    EXPECT_EQ(ReadWholeFile(target).Value(), "22");
}

TEST(FileIO, MissingFileGivesTheOpenMessage) {
    Result<std::string> read = ReadWholeFile("/nonexistent/quarrant/x");
    EXPECT_FALSE(read);
    EXPECT_NE(read.Message().find("/nonexistent/quarrant/x"), std::string::npos);
}

TEST(FileIO, AFolderIsReportedAsAFileThatCannotBeOpened) {
    TempFolder folder;
    Result<std::string> read = ReadWholeFile(folder.path);
    EXPECT_EQ(read.Message(), FileOpenErrorMessage(folder.path));
    const FileBytes bytes = ReadFileBytes(folder.path);
    EXPECT_TRUE(bytes.opened);
    EXPECT_FALSE(bytes.complete);
}
