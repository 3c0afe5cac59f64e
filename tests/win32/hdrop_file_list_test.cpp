#include "platform/win32/hdrop_file_list.h"

#include <gtest/gtest.h>

#include "engine/error.h"
#include "tests/win32/hdrop_builder.h"

namespace tolvane {
namespace {

using testing_files::MakeHdrop;

TEST(HdropFileListTest, ReadsEveryPathExactlyInDropOrder) {
    const std::vector<Text> paths = {u"C:\\Docs\\a.txt", u"C:\\Docs\\\u00E9t\u00E9 \U0001F600",
                                     u"\\\\server\\share\\Folder"};
    const DropHandle drop(MakeHdrop(paths));
    const HdropFileList files(drop.get());
    ASSERT_EQ(files.Count(), 3);
    for (std::int32_t i = 1; i <= 3; ++i) EXPECT_EQ(files.Entry(i), paths[i - 1]);
}

TEST(HdropFileListTest, ReadsANarrowListFromAnOlderProgram) {
    const DropHandle drop(MakeHdrop(std::vector<std::string>{"C:\\a.txt", "C:\\Folder"}));
    const HdropFileList files(drop.get());
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Entry(1), u"C:\\a.txt");
    EXPECT_EQ(files.Entry(2), u"C:\\Folder");
}

TEST(HdropFileListTest, RefusesANarrowListWithANameBeyondAscii) {
    const DropHandle drop(MakeHdrop(std::vector<std::string>{"C:\\a.txt", "C:\\caf\xE9.txt"}));
    const HdropFileList files(drop.get());
    EXPECT_THROW(files.Count(), Error);
    EXPECT_THROW(files.Entry(1), Error);
}

TEST(HdropFileListTest, RefusesAListThatRunsOffItsMemory) {
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + 4 * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    // Characters to the last byte the system gave, and no terminator.
    const std::size_t room = (GlobalSize(memory) - sizeof(DROPFILES)) / sizeof(wchar_t);
    wmemset(reinterpret_cast<wchar_t*>(header + 1), L'a', room);
    GlobalUnlock(memory);
    const DropHandle drop(static_cast<HDROP>(memory));
    const HdropFileList files(drop.get());  // read when first asked for
    EXPECT_THROW(files.Count(), Error);
}

TEST(HdropFileListTest, ReadsTheLargestDropInOrder) {
    std::vector<Text> paths;
    for (int i = 1; i <= 32767; ++i) {
        const std::wstring name = L"C:\\Docs\\" + std::to_wstring(i) + L".txt";
        paths.emplace_back(name.begin(), name.end());
    }
    const DropHandle drop(MakeHdrop(paths));
    const HdropFileList files(drop.get());
    ASSERT_EQ(files.Count(), 32767);
    EXPECT_EQ(files.Entry(1), paths.front());
    EXPECT_EQ(files.Entry(16384), paths[16383]);
    EXPECT_EQ(files.Entry(32767), paths.back());
}

TEST(HdropFileListTest, EntriesAreNumberedFromOne) {
    const DropHandle drop(MakeHdrop({u"C:\\a", u"C:\\b"}));
    const HdropFileList files(drop.get());
    EXPECT_THROW(files.Entry(0), Error);
    EXPECT_THROW(files.Entry(3), Error);
    EXPECT_THROW(files.Entry(-1), Error);
}

// Wine puts U+FFFD for bytes of a Linux name that are not UTF-8; renaming
// that path would at best fail and at worst name another file. The whole
// list is refused, so that nothing is renamed.
TEST(HdropFileListTest, RefusesAListWithAPathHoldingTheReplacementCharacter) {
    const Text unrepresentable = u"C:\\Docs\\bad\uFFFD.txt";
    const DropHandle drop(MakeHdrop({u"C:\\Docs\\good.txt", unrepresentable}));
    const HdropFileList files(drop.get());
    try {
        files.Count();
        FAIL() << "the list was handed on";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), ERROR_NO_UNICODE_TRANSLATION);
        EXPECT_NE(error.description().find(unrepresentable), Text::npos);
    }
}

}  // namespace
}  // namespace tolvane
