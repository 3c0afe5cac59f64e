#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include "engine/error.h"
#include "mounted_filesystems.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "temp_dir.h"

namespace tolvane::testing_files {
namespace {

enum class Outcome { kRenamed, kRefused, kEither };

// Makes the case's entries in a fresh folder; false where the filesystem
// cannot hold them (no links on FAT, two spellings on a case-insensitive one).
using Setup = std::function<bool(const std::string& dir)>;

struct Case {
    std::string name;
    Setup setup;
    std::string from;
    std::string to;
    std::function<Outcome(const Filesystem&)> expect;
    int refusal = 0;        // the errno value of a refusal, where it is certain
    std::string says = {};  // words a refusal's description holds
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

bool File(const std::string& path, const std::string& content = "") {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    const bool written =
        ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    return ::close(fd) == 0 && written;
}
bool Folder(const std::string& path) { return ::mkdir(path.c_str(), 0755) == 0; }

Setup Files(std::vector<std::string> names) {
    return [names](const std::string& dir) {
        for (const auto& name : names) {
            if (!File(dir + "/" + name, name)) return false;
        }
        return true;
    };
}
Setup Folders(std::vector<std::string> names) {
    return [names](const std::string& dir) {
        for (const auto& name : names) {
            if (!Folder(dir + "/" + name)) return false;
        }
        return true;
    };
}
Setup Then(Setup first, std::function<bool(const std::string&)> second) {
    return [=](const std::string& dir) { return first(dir) && second(dir); };
}

auto Always(Outcome outcome) {
    return [outcome](const Filesystem&) { return outcome; };
}
auto RenamedUnless(bool Filesystem::*lack) {
    return
        [lack](const Filesystem& fs) { return fs.*lack ? Outcome::kRefused : Outcome::kRenamed; };
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"PlainFile", Files({"a.txt"}), "a.txt", "b.txt", Always(Outcome::kRenamed)},
        {"Folder", Then(Folders({"Album"}), [](auto& d) { return File(d + "/Album/song", "S"); }),
         "Album", "Old Album", RenamedUnless(&Filesystem::refusesFolderRename)},
        {"SymbolicLink",
         Then(Files({"target"}),
              [](auto& d) { return ::symlink("target", (d + "/link").c_str()) == 0; }),
         "link", "renamed link", Always(Outcome::kRenamed)},
        {"OntoFile", Files({"a", "b"}), "a", "b", Always(Outcome::kRefused), EEXIST},
        {"OntoFolder", Then(Files({"a"}), [](auto& d) { return Folder(d + "/empty"); }), "a",
         "empty", Always(Outcome::kRefused), EEXIST},
        {"FolderOntoFolder",
         [](auto& d) { return Folder(d + "/full") && File(d + "/full/x") && Folder(d + "/empty"); },
         "full", "empty", Always(Outcome::kRefused), EEXIST},
        {"OntoDanglingLink",
         Then(Files({"a"}), [](auto& d) { return ::symlink("nowhere", (d + "/b").c_str()) == 0; }),
         "a", "b", Always(Outcome::kRefused), EEXIST},
        {"LetterCase", Files({"report.txt"}), "report.txt", "Report.txt",
         Always(Outcome::kRenamed)},
        {"LetterCaseOfFolder", [](auto& d) { return Folder(d + "/album") && File(d + "/album/x"); },
         "album", "ALBUM", RenamedUnless(&Filesystem::refusesFolderRename)},
        {"LetterCaseOntoAnotherFile", Files({"b.txt", "B.txt"}), "b.txt", "B.txt",
         Always(Outcome::kRefused), EEXIST},
        {"TrailingDot", Files({"d.txt"}), "d.txt", "d.txt.", Always(Outcome::kRenamed)},
        {"TrailingSpace", Files({"e.txt"}), "e.txt", "e.txt ", Always(Outcome::kRenamed)},
        // Reported as the name, not as a missing no-replace call.
        {"RefusedCharacter", Files({"f.txt"}), "f.txt", "f?.txt",
         RenamedUnless(&Filesystem::refusesQuestionMark), 0, "the name \u201Cf?.txt\u201D"},
        {"LongestName", Files({"g"}), "g", std::string(255, 'n'), Always(Outcome::kRenamed)},
        {"IntoSubfolder", Then(Files({"a.txt"}), [](auto& d) { return Folder(d + "/Sub"); }),
         "a.txt", "Sub/a.txt", Always(Outcome::kRenamed)},
        {"HardLinkTwin",
         Then(Files({"a"}),
              [](auto& d) { return ::link((d + "/a").c_str(), (d + "/b").c_str()) == 0; }),
         "a", "b", Always(Outcome::kRefused), EEXIST},
        {"OntoItself", Files({"same.txt"}), "same.txt", "same.txt", Always(Outcome::kRenamed)},
    };
    return cases;
}

class RenameOnFilesystem : public testing::TestWithParam<std::tuple<Case, Filesystem>> {};

// Each case holds to one rule: either the entry is under exactly the new
// name and nothing else changed, or the rename was refused and nothing
// changed at all. Nothing is ever replaced or lost.
TEST_P(RenameOnFilesystem, RenamesExactlyOrChangesNothing) {
    const auto& [c, fs] = GetParam();
    TOLVANE_REQUIRE_MOUNT(mount, fs);
    const TempDir dir(mount);
    if (!c.setup(dir.path())) {
        // Only a filesystem known to lack links or to fold case may refuse.
        if (!fs.lacksLinks && !fs.caseInsensitive) FAIL() << "could not make the entries";
        GTEST_SKIP() << fs.name << " cannot hold this case's entries";
    }
    const std::string stored = StoredPath(fs, mount, dir.path());
    const Snapshot before = TakeSnapshot(stored);

    int refusal = 0;
    std::string description;
    try {
        PosixRenamer().Rename(FromNativePath(dir / c.from), FromNativePath(dir / c.to));
    } catch (const RenameError& error) {
        refusal = error.number();
        description = ToDisplayUtf8(error.description());
    }
    const Snapshot after = TakeSnapshot(stored);
    const Outcome expected = c.expect(fs);
    if (refusal == 0) {
        EXPECT_NE(expected, Outcome::kRefused) << "renamed where a refusal was due";
        EXPECT_EQ(after, Moved(before, c.from, c.to));
        return;
    }
    EXPECT_NE(expected, Outcome::kRenamed) << "refused: " << description;
    if (c.refusal != 0) {
        EXPECT_EQ(refusal, c.refusal) << description;
    }
    EXPECT_NE(description.find(c.says), std::string::npos) << description;
    EXPECT_EQ(after, before) << "a refused rename changed something: " << description;
}

INSTANTIATE_TEST_SUITE_P(Table, RenameOnFilesystem,
                         testing::Combine(testing::ValuesIn(Cases()),
                                          testing::ValuesIn(AllFilesystems())),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_" +
                                    ParamName(std::get<1>(info.param).name);
                         });

// An overlay cannot rename a folder of its lower layer where it is: the
// refusal says so, not that the name is on another disk, and changes nothing.
TEST(Overlay, FolderOfTheLowerLayerIsRefusedWhereItIs) {
    TOLVANE_REQUIRE_MOUNT(mount, Filesystem{"overlay"});
    const std::string folder = mount + "/lower-album";
    try {
        PosixRenamer().Rename(FromNativePath(folder), FromNativePath(mount + "/Old album"));
        FAIL() << "renamed";
    } catch (const RenameError& error) {
        EXPECT_EQ(error.number(), EXDEV);
        EXPECT_NE(ToDisplayUtf8(error.description()).find("cannot rename this entry where it is"),
                  std::string::npos);
    }
    EXPECT_EQ(TakeSnapshot(folder), (Snapshot{{"song", "file:song\n"}}));
}

// A file that the document portal shares alone is renamed where it really
// is, where the portal tells that, or refused: the portal would hide it under
// a name of its own.
TEST(Portal, FileSharedAloneIsRenamedWhereItIsOrRefused) {
    TOLVANE_REQUIRE_MOUNT(mount, Filesystem{"portal"});
    const std::string root = std::getenv("TOLVANE_FS_ROOT");
    std::ifstream idFile(root + "/portal-single-id");
    std::string id;
    std::getline(idFile, id);
    // ROOT/run is a link to the session's runtime folder: the document is
    // known by where its folder is, not by the text of the path.
    const std::string document = root + "/run/doc/" + id;
    const std::string host = root + "/portal-single";
    try {
        PosixRenamer().Rename(FromNativePath(document + "/shared.txt"),
                              FromNativePath(document + "/x_shared.txt"));
        EXPECT_EQ(TakeSnapshot(host), (Snapshot{{"x_shared.txt", "file:S\n"}}));
        return;
    } catch (const RenameError& error) {
        EXPECT_EQ(error.number(), EPERM);
        EXPECT_NE(ToDisplayUtf8(error.description()).find("document portal"), std::string::npos);
    }
    EXPECT_EQ(TakeSnapshot(document), (Snapshot{{"shared.txt", "file:S\n"}}));
    EXPECT_EQ(TakeSnapshot(host), (Snapshot{{"shared.txt", "file:S\n"}}));
}

}  // namespace
}  // namespace tolvane::testing_files
