#include "platform/posix/rename_steps.h"
#include "platform/posix/spelling_change.h"

#include <dirent.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "engine/error.h"
#include "temp_dir.h"

namespace tolvane::posix {
namespace {

using testing_files::Exists;
using testing_files::ReadFile;
using testing_files::TempDir;
using testing_files::WriteFile;

const Text kOld = u"old";
const Text kNew = u"new";
const RenameRequest request(kOld, kNew);

int EntryCount(const std::string& folder) {
    int count = 0;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(dir)) count += entry->d_name[0] != '.' ? 1 : 0;
    ::closedir(dir);
    return count;
}

// A change of spelling is made only where the new spelling is shown to find
// the entry itself; on this case-sensitive filesystem it never is. The real
// change is tested on case-insensitive filesystems (tests/fs).
class ChangeSpellingTest : public testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(Calls, ChangeSpellingTest, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "NoReplace" : "Fallback"; });

TEST_P(ChangeSpellingTest, AnotherEntryUnderTheNewNameIsNeverReplaced) {
    TempDir dir;
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    try {
        ChangeSpelling(request, OpenLocation(request, dir / "a"), OpenLocation(request, dir / "b"),
                       GetParam());
        FAIL() << "existing target replaced";
    } catch (const RenameError& error) {
        EXPECT_EQ(error.number(), EEXIST);
    }
    EXPECT_EQ(ReadFile(dir / "a"), "A");
    EXPECT_EQ(ReadFile(dir / "b"), "B");
    EXPECT_EQ(EntryCount(dir.path()), 2);
}

TEST(IsAnotherSpelling, DistinctFilesAndListedLinksAreNot) {
    TempDir dir;
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    ::link((dir / "a").c_str(), (dir / "A").c_str());
    EXPECT_FALSE(
        IsAnotherSpelling(OpenLocation(request, dir / "a"), OpenLocation(request, dir / "b")));
    EXPECT_FALSE(
        IsAnotherSpelling(OpenLocation(request, dir / "a"), OpenLocation(request, dir / "A")));
    EXPECT_FALSE(
        IsAnotherSpelling(OpenLocation(request, dir / "a"), OpenLocation(request, dir / "a")));
    EXPECT_TRUE(Exists(dir / "A"));
}

}  // namespace
}  // namespace tolvane::posix
