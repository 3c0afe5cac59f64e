#include "platform/posix/native_path.h"

#include <gtest/gtest.h>

#include "engine/error.h"

namespace tolvane {
namespace {

struct RoundTripCase {
    const char* label;
    std::string bytes;
    Text text;
};

const RoundTripCase kCases[] = {
    {"ascii", "report.txt", u"report.txt"},
    {"two-byte", "caf\xc3\xa9.txt", u"caf\u00e9.txt"},
    {"three-byte", "\xe2\x82\xac", u"\u20ac"},
    {"four-byte", "\xf0\x9f\x98\x80", u"\U0001F600"},
    {"latin-1 byte", "caf\xe9.txt", u"caf\xdce9.txt"},
    {"lone continuation", "\x80", u"\xdc80"},
    {"truncated sequence", "a\xe2\x82", u"a\xdce2\xdc82"},
    {"overlong slash", "\xc0\xaf", u"\xdcc0\xdcaf"},
    {"encoded surrogate", "\xed\xb2\x80", u"\xdced\xdcb2\xdc80"},
    {"beyond U+10FFFF", "\xf4\x90\x80\x80", u"\xdcf4\xdc90\xdc80\xdc80"},
    {"invalid lead byte", "\xff\xfe", u"\xdcff\xdcfe"},
    {"decomposed accent kept", "e\xcc\x81", u"e\u0301"},
    {"lowest two-byte among ascii", "abc\xc2\x80-ghijklmnop", u"abc\u0080-ghijklmnop"},
};

TEST(NativePath, DecodesAndRoundTripsEveryCase) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(FromNativePath(c.bytes), c.text);
        EXPECT_EQ(ToNativePath(FromNativePath(c.bytes)), c.bytes);
    }
}

// Every pair of byte values at every place in a name long enough to be
// converted 16 bytes at a time, and in its tail.
TEST(NativePath, EveryByteValueRoundTrips) {
    for (int first = 1; first < 256; ++first) {
        for (int second = 1; second < 256; second += 17) {
            for (std::size_t at = 0; at < 19; ++at) {
                std::string bytes = "abcdefghijklmnopqrst";
                bytes[at] = static_cast<char>(first);
                bytes[at + 1] = static_cast<char>(second);
                ASSERT_EQ(ToNativePath(FromNativePath(bytes)), bytes)
                    << first << "," << second << " at " << at;
            }
        }
    }
}

TEST(NativePath, TypedTextNextToEscapedBytesStaysExact) {
    const Text name = FromNativePath("caf\xe9.txt");
    EXPECT_EQ(ToNativePath(u"Neu \u00fc " + name), "Neu \xc3\xbc caf\xe9.txt");
}

TEST(NativePath, RefusesWhatNoFileNameCanHold) {
    for (const Text text : {u"abcdefghijklmnopqrst", u"\u00e4bcdefghijklmnopqrst"}) {
        for (std::size_t at = 0; at < text.size(); ++at) {
            Text withNul = text;
            withNul[at] = u'\0';
            EXPECT_THROW(ToNativePath(withNul), Error) << "NUL at " << at;
        }
    }
    EXPECT_THROW(ToNativePath(u"\xd800"), Error);
    EXPECT_THROW(ToNativePath(u"a\xdc10"), Error);
    EXPECT_THROW(ToNativePath(u"abcdefghij\u00e4klmnopqrstu\xd800"), Error);
}

}  // namespace
}  // namespace tolvane
