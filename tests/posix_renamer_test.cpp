#include "platform/posix/posix_renamer.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/error.h"
#include "platform/posix/native_path.h"
#include "temp_dir.h"

namespace tolvane {
namespace {

using testing_files::Exists;
using testing_files::ReadFile;
using testing_files::TempDir;
using testing_files::WriteFile;

// Every test runs against the real system call and, separately, against the
// fallback used where a filesystem lacks RENAME_NOREPLACE.
class PosixRenamerTest : public testing::TestWithParam<bool> {
  protected:
    void Rename(const std::string& from, const std::string& to) {
        renamer.Rename(FromNativePath(from), FromNativePath(to));
    }
    // The errno value of a refused rename, 0 when it succeeded.
    int RenameError(const std::string& from, const std::string& to) {
        try {
            Rename(from, to);
            return 0;
        } catch (const tolvane::RenameError& error) {
            EXPECT_EQ(error.oldPath(), FromNativePath(from));
            EXPECT_EQ(error.newPath(), FromNativePath(to));
            return error.number();
        }
    }

    TempDir dir;
    PosixRenamer renamer{PosixRenamer::Options{.noReplaceUnsupported = GetParam()}};
};

INSTANTIATE_TEST_SUITE_P(Calls, PosixRenamerTest, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Fallback" : "NoReplace"; });

TEST_P(PosixRenamerTest, RenamesFilesAndFolders) {
    WriteFile(dir / "a.txt", "A");
    Rename(dir / "a.txt", dir / "b.txt");
    EXPECT_FALSE(Exists(dir / "a.txt"));
    EXPECT_EQ(ReadFile(dir / "b.txt"), "A");

    ::mkdir((dir / "Album").c_str(), 0755);
    WriteFile(dir / "Album/song", "S");
    Rename(dir / "Album", dir / "Old Album");
    EXPECT_EQ(ReadFile(dir / "Old Album/song"), "S");
}

TEST_P(PosixRenamerTest, CollisionKeepsBothEntries) {
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    ::mkdir((dir / "empty").c_str(), 0755);
    ::mkdir((dir / "folder").c_str(), 0755);
    ::symlink("nowhere", (dir / "dangling").c_str());

    EXPECT_EQ(RenameError(dir / "a", dir / "b"), EEXIST);
    EXPECT_EQ(RenameError(dir / "a", dir / "empty"), EEXIST);
    EXPECT_EQ(RenameError(dir / "folder", dir / "empty"), EEXIST);
    EXPECT_EQ(RenameError(dir / "a", dir / "dangling"), EEXIST);
    EXPECT_EQ(ReadFile(dir / "a"), "A");
    EXPECT_EQ(ReadFile(dir / "b"), "B");
    EXPECT_TRUE(Exists(dir / "folder"));
    EXPECT_TRUE(Exists(dir / "empty"));
}

TEST_P(PosixRenamerTest, CollisionDescriptionNamesBothPaths) {
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    try {
        Rename(dir / "a", dir / "b");
        FAIL() << "collision not refused";
    } catch (const Error& error) {
        const Text description = error.description();
        EXPECT_NE(description.find(FromNativePath(dir / "a")), Text::npos);
        EXPECT_NE(description.find(FromNativePath(dir / "b")), Text::npos);
    }
}

TEST_P(PosixRenamerTest, RenameOntoItselfSucceedsUnlessTheEntryIsGone) {
    WriteFile(dir / "abc.txt", "A");
    Rename(dir / "abc.txt", dir / "abc.txt");
    EXPECT_EQ(ReadFile(dir / "abc.txt"), "A");
    EXPECT_EQ(RenameError(dir / "gone.txt", dir / "gone.txt"), ENOENT);
    // Another text for the same bytes: "é" written out, and as the two bytes
    // of a name that is not UTF-8; in the name, then in the folder part.
    ::mkdir((dir / "\xC3\xA9").c_str(), 0700);
    WriteFile(dir / "\xC3\xA9/x", "X");
    const Text asBytes = FromNativePath(dir.path()) + u"/\xDCC3\xDCA9";
    const RenameBatchScope batch(renamer);
    renamer.Rename(FromNativePath(dir / "\xC3\xA9"), asBytes);
    renamer.Rename(FromNativePath(dir / "\xC3\xA9/x"), asBytes + u"/x");
    EXPECT_EQ(ReadFile(dir / "\xC3\xA9/x"), "X");
}

TEST_P(PosixRenamerTest, HardLinksAreNotMergedIntoOne) {
    WriteFile(dir / "a", "A");
    ::link((dir / "a").c_str(), (dir / "b").c_str());
    EXPECT_EQ(RenameError(dir / "a", dir / "b"), EEXIST);
    EXPECT_TRUE(Exists(dir / "a"));
    EXPECT_TRUE(Exists(dir / "b"));
}

TEST_P(PosixRenamerTest, CaseOnlyChangeOnCaseSensitiveFilesystem) {
    WriteFile(dir / "a.txt", "a");
    Rename(dir / "a.txt", dir / "A.txt");
    EXPECT_EQ(ReadFile(dir / "A.txt"), "a");
    WriteFile(dir / "b.txt", "b");
    WriteFile(dir / "B.txt", "B");
    EXPECT_EQ(RenameError(dir / "b.txt", dir / "B.txt"), EEXIST);
    EXPECT_EQ(ReadFile(dir / "b.txt"), "b");
}

TEST_P(PosixRenamerTest, SymbolicLinkIsRenamedAsTheLink) {
    WriteFile(dir / "target", "T");
    ::symlink("target", (dir / "link").c_str());
    Rename(dir / "link", dir / "renamed link");
    char buffer[16] = {};
    ASSERT_EQ(::readlink((dir / "renamed link").c_str(), buffer, sizeof buffer - 1), 6);
    EXPECT_STREQ(buffer, "target");
    EXPECT_EQ(ReadFile(dir / "target"), "T");
}

TEST_P(PosixRenamerTest, NamesThatAreNotUtf8KeepTheirBytes) {
    WriteFile(dir / "caf\xe9.txt", "L1");
    const Text old = FromNativePath(dir / "caf\xe9.txt");
    renamer.Rename(old, FromNativePath(dir.path() + "/") + u"Neu " + FromNativePath("caf\xe9.txt"));
    EXPECT_EQ(ReadFile(dir / "Neu caf\xe9.txt"), "L1");
}

TEST_P(PosixRenamerTest, MovesIntoAnExistingSubfolderOnly) {
    WriteFile(dir / "a.txt", "A");
    EXPECT_EQ(RenameError(dir / "a.txt", dir / "Sub/a.txt"), ENOENT);
    ::mkdir((dir / "Sub").c_str(), 0755);
    Rename(dir / "a.txt", dir / "Sub/a.txt");
    EXPECT_EQ(ReadFile(dir / "Sub/a.txt"), "A");
}

TEST_P(PosixRenamerTest, FolderCannotMoveIntoItself) {
    ::mkdir((dir / "d").c_str(), 0755);
    ::mkdir((dir / "d/sub").c_str(), 0755);
    EXPECT_EQ(RenameError(dir / "d", dir / "d/x"), EINVAL);
    EXPECT_EQ(RenameError(dir / "d", dir / "d/sub/x"), EINVAL);
    EXPECT_FALSE(Exists(dir / "d/x"));
    EXPECT_TRUE(Exists(dir / "d/sub"));
}

TEST_P(PosixRenamerTest, RefusedNamesChangeNothing) {
    WriteFile(dir / "a", "A");
    EXPECT_EQ(RenameError(dir / "a", dir / std::string(256, 'n')), ENAMETOOLONG);
    EXPECT_NE(RenameError(dir / "a", dir / "a/"), 0);
    EXPECT_NE(RenameError(dir / "a", dir / ".."), 0);
    EXPECT_NE(RenameError(dir / "missing", dir / "b"), 0);
    EXPECT_EQ(ReadFile(dir / "a"), "A");
    Rename(dir / "a", dir / std::string(255, 'n'));
}

// A NUL would cut the path short, in a name or in a folder part alike.
TEST_P(PosixRenamerTest, NulInEitherPathIsRefused) {
    WriteFile(dir / "a", "A");
    const Text a = FromNativePath(dir / "a");
    const Text nulFolder = FromNativePath(dir.path()) + u'\0' + u"/";
    // In one batch: the folder held for the first is not reused for the last.
    const RenameBatchScope batch(renamer);
    for (const auto& [from, to] : {std::pair{a, a + u'\0' + u"x"}, std::pair{a, nulFolder + u"b"},
                                   std::pair{nulFolder + u"a", FromNativePath(dir / "b")}}) {
        try {
            renamer.Rename(from, to);
            ADD_FAILURE() << "renamed";
        } catch (const tolvane::RenameError& error) {
            EXPECT_EQ(error.number(), EILSEQ);
        }
    }
    EXPECT_EQ(ReadFile(dir / "a"), "A");
}

// Root ignores permission bits, so the refusal is checked as user nobody.
int RenameAsNobody(const std::function<void()>& rename) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(255);
        try {
            rename();
            ::_exit(0);
        } catch (const Error& error) {
            ::_exit(error.number() & 0xFF);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_P(PosixRenamerTest, ReadOnlyFolderRefusesTheRename) {
    ::chmod(dir.path().c_str(), 0755);
    ::mkdir((dir / "ro").c_str(), 0555);
    WriteFile(dir / "ro/a", "A");
    ::chmod((dir / "ro").c_str(), 0555);
    // The fallback's hard link may be refused first (EPERM), which is as safe.
    EXPECT_THAT(RenameAsNobody([&] { Rename(dir / "ro/a", dir / "ro/b"); }),
                testing::AnyOf(EACCES, EPERM));
    EXPECT_EQ(ReadFile(dir / "ro/a"), "A");
    EXPECT_FALSE(Exists(dir / "ro/b"));
}

TEST_P(PosixRenamerTest, MoveToAnotherMountIsRefusedNotCopied) {
    if (::access("/dev/shm", W_OK) != 0) GTEST_SKIP() << "no writable /dev/shm";
    TempDir other("/dev/shm");
    struct stat here {};
    struct stat there {};
    ::stat(dir.path().c_str(), &here);
    ::stat(other.path().c_str(), &there);
    if (here.st_dev == there.st_dev) GTEST_SKIP() << "/dev/shm is on the same filesystem";
    WriteFile(dir / "a", "A");
    EXPECT_EQ(RenameError(dir / "a", other / "a"), EXDEV);
    EXPECT_EQ(ReadFile(dir / "a"), "A");
    EXPECT_FALSE(Exists(other / "a"));
}

}  // namespace
}  // namespace tolvane
