#include "engine/name_rules.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

struct ReplaceCase {
    const char* label;
    Text find, name, replacement, expected;
};

const ReplaceCase kReplaceCases[] = {
    {"only the first occurrence", u"ab", u"abcab.txt", u"X", u"Xcab.txt"},
    {"leftmost of overlapping", u"aa", u"aaa", u"b", u"ba"},
    {"case-sensitive", u"Track", u"track01.wav", u"T", u"track01.wav"},
    {"extension is part of the name", u".txt", u"a.txt", u".doc", u"a.doc"},
    {"empty replacement deletes", u"a", u"a.txt", u"", u".txt"},
    {"find longer than name", u"much longer", u"a.txt", u"X", u"a.txt"},
    {"match at the very end", u"txt", u"a.txt", u"md", u"a.md"},
    {"whole name", u"a.txt", u"a.txt", u"b", u"b"},
    {"no match", u"q", u"a.txt", u"X", u"a.txt"},
    {"empty find puts replacement first", u"", u"a.txt", u"X", u"Xa.txt"},
    {"surrogate pairs compared as units", u"\U0001F600", u"x\U0001F600y", u"-", u"x-y"},
    {"backslash and slash are plain text", u"-", u"a-b", u"sub/", u"asub/b"},
};

TEST(ReplaceFirst, Cases) {
    for (const auto& c : kReplaceCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ReplaceFirst(c.find, c.name, c.replacement), c.expected);
    }
}

TEST(ReplaceFirst, StartPositionOutside16BitsRaisesOverflow) {
    // name length - find length + 1 must fit a 16-bit position.
    EXPECT_THROW(ReplaceFirst(u"a", Text(32768, u'x'), u""), OverflowError);
    EXPECT_THROW(ReplaceFirst(Text(32775, u'x'), u"abc", u""), OverflowError);
    EXPECT_EQ(ReplaceFirst(u"x", Text(32767, u'y'), u""), Text(32767, u'y'));
}

TEST(ReplaceFirst, LongNearMissIsFast) {
    // A naive scan would compare ~16k characters at ~16k positions.
    const Text name = Text(32000, u'a') + u"b";
    const Text find = Text(16000, u'a') + u"b";
    EXPECT_EQ(ReplaceFirst(find, name, u"X"), Text(16000, u'a') + u"X");
}

struct PadCase {
    Short number, count;
    Text expected;
};

TEST(PadNumber, PadsToTheCountsWidth) {
    const PadCase cases[] = {
        {1, 9, u"1"},   {1, 10, u"01"},       {10, 10, u"10"},          {5, 250, u"005"},
        {12, 3, u"12"}, {1, 32767, u"00001"}, {32767, 32767, u"32767"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " of " << c.count);
        EXPECT_EQ(PadNumber(c.number, c.count), c.expected);
    }
}

TEST(ComposeNewPath, OneRulePerMode) {
    const NameParts parts{.directory = u"/d/",
                          .name = u"a.txt",
                          .find = u"a",
                          .replacement = u"b",
                          .index = 3,
                          .count = 12};
    EXPECT_EQ(ComposeNewPath(u"S", parts), u"/d/b.txt");
    EXPECT_EQ(ComposeNewPath(u"I", parts), u"/d/aa.txt");
    EXPECT_EQ(ComposeNewPath(u"A", parts), u"/d/a.txta");
    EXPECT_EQ(ComposeNewPath(u"N", parts), u"/d/03aa.txt");
}

TEST(ComposeNewPath, TextsAreUsedExactlyAsTyped) {
    NameParts parts{.directory = u"C:\\D\\", .name = u"a.txt"};
    parts.find = u"New ";
    EXPECT_EQ(ComposeNewPath(u"I", parts), u"C:\\D\\New a.txt");
    parts.find = u"_old";
    EXPECT_EQ(ComposeNewPath(u"A", parts), u"C:\\D\\a.txt_old");
    parts.find = u" - ";
    parts.index = 3;
    parts.count = 12;
    EXPECT_EQ(ComposeNewPath(u"N", parts), u"C:\\D\\03 - a.txt");
}

TEST(ComposeNewPath, ModeLettersAreExact) {
    const NameParts parts{.directory = u"/d/", .name = u"a", .find = u"x"};
    for (const Text mode : {u"s", u"i", u"", u"SS", u"Number"}) {
        EXPECT_THROW(ComposeNewPath(mode, parts), Error);
    }
}

}  // namespace
}  // namespace tolvane
