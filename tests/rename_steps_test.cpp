#include "platform/posix/rename_steps.h"
#include "platform/posix/spelling_change.h"

#include <cerrno>

#include <gtest/gtest.h>

#include "engine/error.h"
#include "temp_dir.h"

namespace tolvane::posix {
namespace {

using testing_files::Exists;
using testing_files::TempDir;
using testing_files::WriteFile;

const Text kOld = u"old";
const Text kNew = u"new";
const RenameRequest request(kOld, kNew);

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
