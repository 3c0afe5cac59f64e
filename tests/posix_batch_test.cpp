#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "engine/rename_batch.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "platform/text_file_list.h"
#include "recording_fakes.h"
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
        return RenameBatch(TextFileList(std::move(paths)), renamer, watch, mode, find, replace);
    }

    TempDir dir;
    PosixRenamer renamer;
    testing_fakes::StoppingWatch watch;
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

struct PathCase {
    const char* label;
    std::vector<std::string> files;  // made with their folders, each holding its name
    std::vector<std::pair<std::string, std::string>> links;  // link, target
    Text insert;
    std::vector<std::string> drop;
    int error;  // errno of the failure that stops the batch; 0 when none does
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

// Entries are named by path, however the renamer gets to them: once an earlier
// entry of the drop has moved a folder that a later entry's path passes
// through, that entry is not found.
const PathCase kPathCases[] = {
    {"folder, then a file inside it",
     {"Album/a"},
     {},
     u"x",
     {"Album", "Album/a"},
     ENOENT,
     {"xAlbum/a"},
     {"xAlbum/xa"}},
    {"file, its folder, another file in it",
     {"Album/a", "Album/b"},
     {},
     u"x",
     {"Album/a", "Album", "Album/b"},
     ENOENT,
     {"xAlbum/xa", "xAlbum/b"},
     {}},
    {"two folders in turn",
     {"one/a", "two/b", "one/c", "two/d"},
     {},
     u"x",
     {"one/a", "two/b", "one/c", "two/d"},
     0,
     {"one/xa", "two/xb", "one/xc", "two/xd"},
     {}},
    {"into a subfolder", {"a", "b", "sub/c"}, {}, u"sub/", {"a", "b"}, 0, {"sub/a", "sub/b"}, {}},
    {"through a link to its own folder, renamed on the way",
     {"a", "b"},
     {{"up", "."}},
     u"x",
     {"up/a", "up/up", "up/b"},
     ENOENT,
     {"xa", "xup", "b"},
     {"up", "xb"}},
    {"back up through a folder renamed on the way",
     {"a", "b", "sub/c"},
     {},
     u"x",
     {"sub/../a", "sub/../sub", "sub/../b"},
     ENOENT,
     {"xa", "xsub/c", "b"},
     {"xb"}},
};

int DropError(PosixRenamer& renamer, const TempDir& dir, const Text& insert,
              const std::vector<std::string>& names) {
    std::vector<Text> paths;
    for (const auto& name : names) paths.push_back(FromNativePath(dir / name));
    testing_fakes::StoppingWatch watch;
    try {
        RenameBatch(TextFileList(std::move(paths)), renamer, watch, u"I", insert, u"");
        return 0;
    } catch (const RenameError& error) {
        return error.number();
    }
}

void MakeFiles(const TempDir& dir, const std::vector<std::string>& files,
               const std::vector<std::pair<std::string, std::string>>& links = {}) {
    for (const auto& file : files) {
        std::filesystem::create_directories(std::filesystem::path(dir / file).parent_path());
        WriteFile(dir / file, file);
    }
    for (const auto& [link, target] : links) ::symlink(target.c_str(), (dir / link).c_str());
}

TEST(PosixBatchPaths, LaterEntriesAreFoundByTheirPaths) {
    for (const bool noReplaceUnsupported : {false, true}) {
        for (const PathCase& c : kPathCases) {
            SCOPED_TRACE(std::string(c.label) + (noReplaceUnsupported ? ", fallback" : ""));
            const TempDir dir;
            MakeFiles(dir, c.files, c.links);
            PosixRenamer renamer{
                PosixRenamer::Options{.noReplaceUnsupported = noReplaceUnsupported}};
            EXPECT_EQ(DropError(renamer, dir, c.insert, c.drop), c.error);
            for (const auto& name : c.present) EXPECT_TRUE(Exists(dir / name)) << name;
            for (const auto& name : c.absent) EXPECT_FALSE(Exists(dir / name)) << name;
        }
    }
}

std::size_t OpenDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(PosixBatchPaths, NoDescriptorOutlivesABatch) {
    struct DescriptorCase {
        const char* label;
        Text insert;
        std::vector<std::string> drop;
        int error;
    };
    const DescriptorCase cases[] = {
        {"done", u"x", {"one/a", "two/b"}, 0},
        {"name taken", u"x", {"one/a", "two/b", "two/c"}, EEXIST},
        {"folder missing", u"x", {"one/a", "gone/b"}, ENOENT},
        {"entry missing", u"x", {"one/a", "one/gone"}, ENOENT},
        {"subfolder missing", u"gone/", {"one/a"}, ENOENT},
    };
    for (const bool noReplaceUnsupported : {false, true}) {
        PosixRenamer renamer{PosixRenamer::Options{.noReplaceUnsupported = noReplaceUnsupported}};
        for (const DescriptorCase& c : cases) {
            SCOPED_TRACE(std::string(c.label) + (noReplaceUnsupported ? ", fallback" : ""));
            const TempDir dir;
            MakeFiles(dir, {"one/a", "two/b", "two/c", "two/xc"});
            const std::size_t before = OpenDescriptors();
            EXPECT_EQ(DropError(renamer, dir, c.insert, c.drop), c.error);
            EXPECT_EQ(OpenDescriptors(), before);
        }
    }
}

}  // namespace
}  // namespace tolvane
