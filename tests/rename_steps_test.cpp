#include "platform/posix/rename_steps.h"

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

// The two-step rename used for a change of letter case on a case-insensitive
// filesystem, exercised here on an ordinary one.
TEST(RenameThroughTemporary, ArrivesUnderTheNewNameLeavingNothingBehind) {
    TempDir dir;
    WriteFile(dir / "name.txt", "N");
    RenameThroughTemporary(request, OpenLocation(request, dir / "name.txt"),
                           OpenLocation(request, dir / "NAME.txt"));
    EXPECT_EQ(ReadFile(dir / "NAME.txt"), "N");
    EXPECT_EQ(EntryCount(dir.path()), 1);
}

TEST(RenameThroughTemporary, RefusedSecondStepPutsTheEntryBack) {
    TempDir dir;
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    try {
        RenameThroughTemporary(request, OpenLocation(request, dir / "a"),
                               OpenLocation(request, dir / "b"));
        FAIL() << "existing target replaced";
    } catch (const RenameError& error) {
        EXPECT_EQ(error.number(), EEXIST);
    }
    EXPECT_EQ(ReadFile(dir / "a"), "A");
    EXPECT_EQ(ReadFile(dir / "b"), "B");
    EXPECT_EQ(EntryCount(dir.path()), 2);
}

TEST(IsSameEntryOtherSpelling, DistinctFilesAndListedLinksAreNot) {
    TempDir dir;
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    ::link((dir / "a").c_str(), (dir / "A").c_str());
    EXPECT_FALSE(IsSameEntryOtherSpelling(request, OpenLocation(request, dir / "a"),
                                          OpenLocation(request, dir / "b")));
    EXPECT_FALSE(IsSameEntryOtherSpelling(request, OpenLocation(request, dir / "a"),
                                          OpenLocation(request, dir / "A")));
    EXPECT_FALSE(IsSameEntryOtherSpelling(request, OpenLocation(request, dir / "a"),
                                          OpenLocation(request, dir / "a")));
    EXPECT_TRUE(Exists(dir / "A"));
}

}  // namespace
}  // namespace tolvane::posix
