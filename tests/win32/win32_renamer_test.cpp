#include "platform/win32/win32_renamer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/error.h"
#include "tests/win32/win32_temp_dir.h"

namespace tolvane {
namespace {

using testing_files::Exists;
using testing_files::MakeDirectory;
using testing_files::ReadFile;
using testing_files::Win32TempDir;
using testing_files::WriteFile;

// The names a directory lists, exactly as stored.
std::vector<Text> Listing(const Text& directory) {
    std::vector<Text> names;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = ToWide(directory + u"\\*");
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.emplace_back(name.begin(), name.end());
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

class Win32RenamerTest : public ::testing::Test {
  protected:
    // Expects the rename to fail with `code`, naming both paths.
    void ExpectRefused(const Text& from, const Text& to, DWORD code) {
        try {
            renamer.Rename(from, to);
            ADD_FAILURE() << "rename succeeded";
        } catch (const RenameError& error) {
            EXPECT_EQ(error.number(), static_cast<std::int32_t>(code)) << error.what();
            EXPECT_EQ(error.oldPath(), from);
            EXPECT_EQ(error.newPath(), to);
            EXPECT_NE(error.description().find(from), Text::npos);
            EXPECT_NE(error.description().find(to), Text::npos);
        }
    }

    Win32TempDir dir;
    Win32Renamer renamer;
};

TEST_F(Win32RenamerTest, RenamesFilesAndFoldersInPlace) {
    WriteFile(dir / u"a.txt", "alpha");
    MakeDirectory(dir / u"Album");
    WriteFile(dir / u"Album\\song.mp3", "la");
    renamer.Rename(dir / u"a.txt", dir / u"1-a.txt");
    renamer.Rename(dir / u"Album", dir / u"Old Album");
    EXPECT_FALSE(Exists(dir / u"a.txt"));
    EXPECT_EQ(ReadFile(dir / u"1-a.txt"), "alpha");
    EXPECT_EQ(ReadFile(dir / u"Old Album\\song.mp3"), "la");
}

TEST_F(Win32RenamerTest, KeepsNamesExact) {
    const Text name = u"\u00E9t\u00E9 \U0001F600 #%.txt";
    WriteFile(dir / u"x.txt", "x");
    renamer.Rename(dir / u"x.txt", dir / name);
    EXPECT_EQ(Listing(dir.Path()), std::vector<Text>{name});
}

TEST_F(Win32RenamerTest, MovesIntoAnotherFolderOfTheSameVolume) {
    WriteFile(dir / u"a.txt", "alpha");
    MakeDirectory(dir / u"Sub");
    renamer.Rename(dir / u"a.txt", dir / u"Sub\\a.txt");
    EXPECT_EQ(ReadFile(dir / u"Sub\\a.txt"), "alpha");
}

TEST_F(Win32RenamerTest, NeverReplacesAnExistingEntry) {
    WriteFile(dir / u"a.txt", "alpha");
    WriteFile(dir / u"b.txt", "beta");
    MakeDirectory(dir / u"Folder");
    ExpectRefused(dir / u"a.txt", dir / u"b.txt", ERROR_ALREADY_EXISTS);
    ExpectRefused(dir / u"a.txt", dir / u"Folder", ERROR_ALREADY_EXISTS);
    ExpectRefused(dir / u"Folder", dir / u"b.txt", ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ReadFile(dir / u"a.txt"), "alpha");
    EXPECT_EQ(ReadFile(dir / u"b.txt"), "beta");
    EXPECT_EQ(Listing(dir / u"Folder"), std::vector<Text>{});
}

TEST_F(Win32RenamerTest, SamePathSucceedsWithoutChange) {
    WriteFile(dir / u"a.txt", "alpha");
    renamer.Rename(dir / u"a.txt", dir / u"a.txt");
    EXPECT_EQ(ReadFile(dir / u"a.txt"), "alpha");
}

TEST_F(Win32RenamerTest, ReportsAMissingEntry) {
    ExpectRefused(dir / u"gone.txt", dir / u"gone.txt", ERROR_FILE_NOT_FOUND);
    ExpectRefused(dir / u"gone.txt", dir / u"new.txt", ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32RenamerTest, ReportsAMissingSubfolderAndKeepsTheFile) {
    WriteFile(dir / u"a.txt", "alpha");
    ExpectRefused(dir / u"a.txt", dir / u"Sub\\a.txt", ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ReadFile(dir / u"a.txt"), "alpha");
}

TEST_F(Win32RenamerTest, RefusesNamesWindowsCannotHold) {
    WriteFile(dir / u"a.txt", "alpha");
    ExpectRefused(dir / u"a.txt", dir / u"a?.txt", ERROR_INVALID_NAME);
    ExpectRefused(dir / u"a.txt", dir / u"a*.txt", ERROR_INVALID_NAME);
    ExpectRefused(dir / u"a.txt", dir / Text(u"a\0b", 3), ERROR_INVALID_NAME);
    EXPECT_EQ(Listing(dir.Path()), std::vector<Text>{u"a.txt"});
}

// Windows would drop the trailing dot or space and rename to another name,
// or to the same one, and report it done.
TEST_F(Win32RenamerTest, RefusesANewNameEndingInADotOrSpace) {
    WriteFile(dir / u"a.txt", "alpha");
    ExpectRefused(dir / u"a.txt", dir / u"a.", ERROR_INVALID_NAME);
    ExpectRefused(dir / u"a.txt", dir / u"a.txt ", ERROR_INVALID_NAME);
    EXPECT_EQ(Listing(dir.Path()), std::vector<Text>{u"a.txt"});
}

// A dropped "x." must not be taken for its neighbour "x".
TEST_F(Win32RenamerTest, RenamesTheDroppedEntryAndNoOther) {
    WriteFile(dir / u"x", "plain");
    WriteFile(u"\\\\?\\" + (dir / u"x."), "dot");
    ASSERT_EQ(ReadFile(dir / u"x"), "plain") << "the test could not make both files";
    renamer.Rename(dir / u"x.", dir / u"y");
    EXPECT_EQ(ReadFile(dir / u"y"), "dot");
    EXPECT_EQ(ReadFile(dir / u"x"), "plain");
}

// The new path is the entry's own folder, exactly: "X." is not taken for
// its neighbour "X", also when a typed '/' points into a subfolder.
TEST_F(Win32RenamerTest, TheNewPathKeepsTheEntrysOwnFolder) {
    const Text dotted = dir / u"X.";
    MakeDirectory(dir / u"X");
    MakeDirectory(u"\\\\?\\" + dotted);
    MakeDirectory(u"\\\\?\\" + dotted + u"\\Sub");
    WriteFile(u"\\\\?\\" + dotted + u"\\a.txt", "a");
    WriteFile(u"\\\\?\\" + dotted + u"\\b.txt", "b");
    renamer.Rename(dotted + u"\\a.txt", dotted + u"\\New a.txt");
    renamer.Rename(dotted + u"\\b.txt", dotted + u"\\Sub/b.txt");
    EXPECT_EQ(Listing(dir / u"X"), std::vector<Text>{});
    EXPECT_EQ(ReadFile(u"\\\\?\\" + dotted + u"\\New a.txt"), "a");
    EXPECT_EQ(ReadFile(u"\\\\?\\" + dotted + u"\\Sub\\b.txt"), "b");
}

TEST_F(Win32RenamerTest, ErrorTextIsTheSystemsOwn) {
    try {
        renamer.Rename(dir / u"gone.txt", dir / u"new.txt");
        FAIL() << "rename succeeded";
    } catch (const RenameError& error) {
        wchar_t expected[512] = {};
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       ERROR_FILE_NOT_FOUND, 0, expected, 512, nullptr);
        std::wstring text = expected;
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
        ASSERT_FALSE(text.empty());
        EXPECT_NE(error.description().find(Text(text.begin(), text.end())), Text::npos)
            << error.what();
    }
}

// A change of letter case alone. On Windows' own file systems MoveFileExW
// renames the one entry. Wine on a case-sensitive Linux disk reports success
// but keeps the old spelling; that must end in an error, not in a success
// that did nothing. Either way the one file is kept.
TEST_F(Win32RenamerTest, CaseOnlyChangeIsDoneOrReported) {
    WriteFile(dir / u"readme.txt", "text");
    bool reported = false;
    try {
        renamer.Rename(dir / u"readme.txt", dir / u"README.txt");
    } catch (const RenameError& error) {
        reported = true;
        EXPECT_EQ(error.number(), ERROR_NOT_SUPPORTED);
    }
    const std::vector<Text> names = Listing(dir.Path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], reported ? u"readme.txt" : u"README.txt");
    EXPECT_EQ(ReadFile(dir / names[0]), "text");
    RecordProperty("case_only_change", reported ? "reported, name kept" : "renamed");
}

// A 32-bit program on 64-bit Windows sees System32 redirected to SysWOW64.
// An entry a 64-bit file manager dropped from System32 is renamed there, and
// its SysWOW64 namesake is left alone.
TEST(Win32RenamerRedirectionTest, RenamesTheDroppedSystem32EntryNotItsSysWow64Namesake) {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) {
        GTEST_SKIP() << "not a 32-bit program on 64-bit Windows: no redirection to test";
    }
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const Text root = FromWide(windows);
    const Text name = u"tolvane-test-" + FromWide(std::to_wstring(GetCurrentProcessId()));
    // "Sysnative" is how a 32-bit program names the real System32.
    const Text real = root + u"\\Sysnative\\", wow = root + u"\\SysWOW64\\";
    struct Cleanup {
        std::vector<Text> paths;
        ~Cleanup() {
            for (const Text& path : paths) DeleteFileW(ToWide(path).c_str());
        }
    } cleanup{{real + name, real + name + u".old", wow + name, wow + name + u".old"}};
    WriteFile(real + name, "dropped");
    WriteFile(wow + name, "namesake");
    ASSERT_EQ(ReadFile(root + u"\\System32\\" + name), "namesake")
        << "this system shows no redirection";

    Win32Renamer().Rename(root + u"\\System32\\" + name, root + u"\\System32\\" + name + u".old");
    EXPECT_EQ(ReadFile(real + name + u".old"), "dropped");
    EXPECT_EQ(ReadFile(wow + name), "namesake");
    EXPECT_FALSE(Exists(real + name));
    EXPECT_FALSE(Exists(wow + name + u".old"));
}

}  // namespace
}  // namespace tolvane
