#include "platform/posix/uri_list.h"

#include <unistd.h>

#include <climits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/error.h"
#include "platform/posix/native_path.h"

namespace tolvane {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(UriList, KeepsOrderAndDecodesEveryByte) {
    const auto paths = LocalPathsFromUriList(
        "file:///home/u/b%20c.txt\r\n"
        "file:///home/u/caf%E9.txt\r\n"
        "file:///home/u/caf%C3%A9%23%25.txt\r\n"
        "file:///home/u/a.txt\r\n");
    EXPECT_THAT(paths, ElementsAre("/home/u/b c.txt", "/home/u/caf\xe9.txt",
                                   "/home/u/caf\xc3\xa9#%.txt", "/home/u/a.txt"));
}

TEST(UriList, EncodesWhatItDecodes) {
    const std::vector<std::string> paths = {"/d/with space#1%.txt", "/d/caf\xe9", "/d/\xc3\xa9?x",
                                            "/d/a\\b"};
    const std::string list = UriListFromPaths(paths);
    EXPECT_EQ(list.substr(0, list.find('\r')), "file:///d/with%20space%231%25.txt");
    EXPECT_EQ(LocalPathsFromUriList(list), paths);
}

TEST(UriList, AcceptsTheUsualSpellingsOfALocalFile) {
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    const std::string list =
        std::string("FILE:///a\n") + "file://localhost/b\n" + "file:/c\n" + "file://" + host + "/d";
    EXPECT_THAT(LocalPathsFromUriList(list), ElementsAre("/a", "/b", "/c", "/d"));
}

TEST(UriList, RefusesWhatNoFolderHereShows) {
    EXPECT_THAT(LocalPathsFromUriList("# a comment\r\n\r\n"), IsEmpty());
    EXPECT_THAT(LocalPathsFromUriList(""), IsEmpty());
    for (const char* line : {"https://example.org/a.txt", "file://otherhost.invalid/a.txt",
                             "file:relative", "plain text", "sftp://server/home/u/a.txt"}) {
        EXPECT_THROW(LocalPathsFromUriList(line), Error) << line;
    }
}

// Network places shown as folders here, as a desktop's bridge does.
class ShownPlaces : public NetworkPlaces {
  public:
    std::optional<std::string> LocalPath(std::string_view uri) const override {
        if (uri.substr(0, 14) != "sftp://server/") return std::nullopt;
        return "/run/user/1000/gvfs/sftp:host=server/" + std::string(uri.substr(14));
    }
};

TEST(UriList, NetworkPlacesAreRenamedWhereTheirFoldersShowThem) {
    const ShownPlaces places;
    EXPECT_THAT(LocalPathsFromUriList("sftp://server/a\r\nfile:///b\r\nsftp://server/c", &places),
                ElementsAre("/run/user/1000/gvfs/sftp:host=server/a", "/b",
                            "/run/user/1000/gvfs/sftp:host=server/c"));
    try {
        LocalPathsFromUriList("sftp://server/a\r\nsmb://nas/share/b", &places);
        FAIL() << "a place that no folder shows was not refused";
    } catch (const Error& error) {
        EXPECT_NE(error.description().find(u"smb://nas/share/b"), Text::npos);
        EXPECT_NE(error.description().find(u"open that place in the file manager"), Text::npos);
    }
}

TEST(UriList, FolderIsNamedWithoutItsTrailingSlash) {
    EXPECT_THAT(LocalPathsFromUriList("file:///home/u/Album/\nfile:///home/u/Pics//\nfile:///"),
                ElementsAre("/home/u/Album", "/home/u/Pics", "/"));
}

TEST(UriList, RawQuestionMarkAndHashStayInTheName) {
    // Cutting there would point at another file that may exist.
    EXPECT_THAT(LocalPathsFromUriList("file:///a%3Fb?x=1\nfile:///d/hash#1.txt"),
                ElementsAre("/a?b?x=1", "/d/hash#1.txt"));
}

TEST(UriList, MixedDropIsRefusedRatherThanPartlyRenamed) {
    EXPECT_THROW(LocalPathsFromUriList("file:///a\r\nhttps://example.org/b\r\nfile:///c"), Error);
    EXPECT_THROW(LocalPathsFromUriList("trash:///x\r\nfile:///a"), Error);
}

TEST(UriList, MalformedEscapesAreKeptAsTyped) {
    EXPECT_THAT(LocalPathsFromUriList("file:///a%zz%4\nfile:///b%"), ElementsAre("/a%zz%4", "/b%"));
    EXPECT_THAT(
        LocalPathsFromUriList("file:///a/folder/name/past/16%20bytes/b%zz%4\n"
                              "file:///a/folder/name/past/16%20bytes/b%"),
        ElementsAre("/a/folder/name/past/16 bytes/b%zz%4", "/a/folder/name/past/16 bytes/b%"));
}

// A drop's list decodes its entries some hundreds at a time: whatever order
// they are read in, across those stretches too, each is its own path.
TEST(UriList, EveryEntryOfALongListReadsAsItsOwnPath) {
    std::vector<std::string> paths;
    for (int number = 1; number <= 700; ++number) {
        paths.push_back("/d/f " + std::to_string(number) + (number % 2 ? " \xc3\xa4" : " \xe9"));
    }
    const std::string list = UriListFromPaths(paths);
    const UriFileList files(list);
    ASSERT_EQ(files.Count(), 700);
    for (const int index : {1, 2, 256, 257, 258, 700, 1, 513, 512, 300}) {
        SCOPED_TRACE(index);
        Text scratch;
        EXPECT_EQ(files.ReadEntry(index, scratch),
                  FromNativePath(paths[static_cast<std::size_t>(index - 1)]));
    }
}

}  // namespace
}  // namespace tolvane
