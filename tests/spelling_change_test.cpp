#include "platform/posix/spelling_change.h"

#include <cerrno>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tolvane::posix {
namespace {

using testing_files::Exists;
using testing_files::TempDir;
using testing_files::WriteFile;

// `path`'s entry as a name in its opened folder.
Location At(const std::string& path) {
    Location at;
    EXPECT_EQ(OpenFolderOf(Location(AT_FDCWD, path), at), 0) << path;
    return at;
}

TEST(IsAnotherSpelling, DistinctFilesAndListedLinksAreNot) {
    TempDir dir;
    WriteFile(dir / "a", "A");
    WriteFile(dir / "b", "B");
    ::link((dir / "a").c_str(), (dir / "A").c_str());
    EXPECT_FALSE(IsAnotherSpelling(At(dir / "a"), At(dir / "b")));
    EXPECT_FALSE(IsAnotherSpelling(At(dir / "a"), At(dir / "A")));
    EXPECT_FALSE(IsAnotherSpelling(At(dir / "a"), At(dir / "a")));
    EXPECT_TRUE(Exists(dir / "A"));
}

// Only these go through a temporary name on a filesystem that ignores
// letter case; any other pair is refused there as a name taken.
TEST(IsLetterCaseChange, FoldsLatinGreekAndCyrillicOnly) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"report.txt", "Report.txt", true},
        {"a.txt", "B.txt", false},
        {"same", "same", false},
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", true},  // été, ÉTÉ
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "\xC5\x82\xC3\x93"
         "D\xC5\xB9",
         true},                                                          // Łódź, łÓDŹ
        {"\xCE\xA3\xCE\xB1", "\xCF\x83\xCE\x91", true},                  // Σα, σΑ
        {"\xD0\x94\xD0\xBE\xD0\xBC", "\xD0\xB4\xD0\x9E\xD0\x9C", true},  // Дом, дОМ
        {"\xC3\x97", "\xC3\xB7", false},                                 // × is not ÷
        {"stra\xC3\x9F"
         "e",
         "STRA\xE1\xBA\x9E"
         "E",
         false},  // ß, ẞ: unknown here
        {"a\xFF", "A\xFF", true},
        {"a\xFF", "A\xFE", false},
        {"ab", "A", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsLetterCaseChange(row.a, row.b), row.same) << row.a << " / " << row.b;
    }
}

}  // namespace
}  // namespace tolvane::posix
