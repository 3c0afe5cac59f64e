#include "engine/path_split.h"

#include <gtest/gtest.h>

#include "engine/error.h"

namespace tolvane {
namespace {

struct SplitCase {
    const char* label;
    Text path;
    Text directory;
    Text name;
};

// The same cases in Windows style (split at '\') and in POSIX style
// (split at '/'), so both builds' separators are covered.
const SplitCase kBackslashCases[] = {
    {"file in folder", u"C:\\Docs\\report.txt", u"C:\\Docs\\", u"report.txt"},
    {"trailing separator", u"C:\\Docs\\Sub\\", u"C:\\Docs\\Sub\\", u""},
    {"separator first", u"\\report.txt", u"\\", u"report.txt"},
    {"network share", u"\\\\store\\share\\a.txt", u"\\\\store\\share\\", u"a.txt"},
    {"bare name", u"report.txt", u"", u"report.txt"},
    {"other separator is a character", u"C:/Docs/report.txt", u"", u"C:/Docs/report.txt"},
    {"drive colon is a character", u"C:report.txt", u"", u"C:report.txt"},
    {"empty", u"", u"", u""},
};

const SplitCase kSlashCases[] = {
    {"file in folder", u"/home/docs/report.txt", u"/home/docs/", u"report.txt"},
    {"trailing separator", u"/home/docs/Sub/", u"/home/docs/Sub/", u""},
    {"separator first", u"/report.txt", u"/", u"report.txt"},
    {"double separator", u"//store/share/a.txt", u"//store/share/", u"a.txt"},
    {"bare name", u"report.txt", u"", u"report.txt"},
    {"other separator is a character", u"C:\\Docs\\report.txt", u"", u"C:\\Docs\\report.txt"},
    {"empty", u"", u"", u""},
};

void ExpectSplit(const SplitCase& c, char16_t separator) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(JustPath(c.path, separator), c.directory);
    EXPECT_EQ(NoPath(c.path, separator), c.name);
    EXPECT_EQ(JustPath(c.path, separator) + NoPath(c.path, separator), c.path);
}

TEST(PathSplit, SplitsAtLastBackslash) {
    for (const auto& c : kBackslashCases) ExpectSplit(c, u'\\');
}

TEST(PathSplit, SplitsAtLastSlash) {
    for (const auto& c : kSlashCases) ExpectSplit(c, u'/');
}

TEST(PathSplit, DefaultSeparatorIsThePlatforms) {
#ifdef _WIN32
    EXPECT_EQ(NoPath(u"C:\\D\\a.txt"), u"a.txt");
#else
    EXPECT_EQ(NoPath(u"/d/a.txt"), u"a.txt");
    EXPECT_EQ(JustPath(u"/d/a.txt"), u"/d/");
#endif
}

TEST(PathSplit, LongestPathThatFitsA16BitPosition) {
    const Text path = Text(32766, u'x') + u"/";
    EXPECT_EQ(JustPath(path, u'/'), path);
    EXPECT_EQ(NoPath(path, u'/'), u"");
}

TEST(PathSplit, LongerPathRaisesOverflow) {
    const Text path = u"/" + Text(32767, u'x');
    EXPECT_THROW(NoPath(path, u'/'), OverflowError);
    EXPECT_THROW(JustPath(path, u'/'), OverflowError);
}

}  // namespace
}  // namespace tolvane
