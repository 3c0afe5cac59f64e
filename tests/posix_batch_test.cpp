#include <gtest/gtest.h>

#include "engine/rename_batch.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "platform/text_file_list.h"
#include "temp_dir.h"

namespace tolvane {
namespace {

using testing_files::Exists;
using testing_files::ReadFile;
using testing_files::TempDir;
using testing_files::WriteFile;

// The whole engine on real files: what a drop does on disk.
class PosixBatchTest : public testing::Test {
  protected:
    Short Drop(const Text& mode, const Text& find, const Text& replace,
               const std::vector<std::string>& names) {
        std::vector<Text> paths;
        for (const auto& name : names) paths.push_back(FromNativePath(dir / name));
        return RenameBatch(TextFileList(std::move(paths)), renamer, mode, find, replace);
    }

    TempDir dir;
    PosixRenamer renamer;
};

TEST_F(PosixBatchTest, EveryModeRenamesRealFiles) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFile(dir / name, name);
    EXPECT_EQ(Drop(u"N", u"_", u"", {"a.txt", "b.txt", "c.txt"}), 3);
    EXPECT_EQ(Drop(u"S", u"_", u" - ", {"1_a.txt"}), 1);
    EXPECT_EQ(Drop(u"I", u"New ", u"", {"2_b.txt"}), 1);
    EXPECT_EQ(Drop(u"A", u".bak", u"", {"3_c.txt"}), 1);
    EXPECT_EQ(ReadFile(dir / "1 - a.txt"), "a.txt");
    EXPECT_EQ(ReadFile(dir / "New 2_b.txt"), "b.txt");
    EXPECT_EQ(ReadFile(dir / "3_c.txt.bak"), "c.txt");
}

TEST_F(PosixBatchTest, CollisionStopsTheBatchAndLosesNothing) {
    for (const char* name : {"a", "b", "c", "xb"}) WriteFile(dir / name, name);
    EXPECT_THROW(Drop(u"I", u"x", u"", {"a", "b", "c"}), RenameError);
    EXPECT_EQ(ReadFile(dir / "xa"), "a");
    EXPECT_EQ(ReadFile(dir / "b"), "b");
    EXPECT_EQ(ReadFile(dir / "xb"), "xb");
    EXPECT_EQ(ReadFile(dir / "c"), "c");
    EXPECT_FALSE(Exists(dir / "xc"));
}

TEST_F(PosixBatchTest, SearchWithoutMatchLeavesTheEntryAsItWas) {
    WriteFile(dir / "abc.txt", "A");
    EXPECT_EQ(Drop(u"S", u"q", u"y", {"abc.txt"}), 1);
    EXPECT_EQ(ReadFile(dir / "abc.txt"), "A");
}

TEST_F(PosixBatchTest, NonUtf8NameSurvivesInsert) {
    WriteFile(dir / "caf\xe9.txt", "L1");
    EXPECT_EQ(Drop(u"I", u"\u00c9t\u00e9 ", u"", {"caf\xe9.txt"}), 1);
    EXPECT_EQ(ReadFile(dir / "\xc3\x89t\xc3\xa9 caf\xe9.txt"), "L1");
}

}  // namespace
}  // namespace tolvane
