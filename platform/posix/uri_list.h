#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/drop_file_list.h"
#include "platform/text_file_list.h"

namespace tolvane {

// Where the desktop shows network places (sftp:, smb:, dav: …) as folders on
// this computer: the local path of such a URI, as the bytes of its name, or
// nothing where no folder shows it.
class NetworkPlaces {
  public:
    virtual ~NetworkPlaces() = default;
    virtual std::optional<std::string> LocalPath(std::string_view uri) const = 0;
};

// The local file paths named by a text/uri-list (RFC 2483), in list order, as
// the exact bytes of the names: percent-escapes are decoded byte by byte, so a
// name that is not UTF-8 arrives unchanged. Comment and blank lines are left
// out, and so are NUL bytes at the end of the list. A local file is "file:"
// with no host, "localhost" or this machine's name, in any letter case; any
// other URI is taken through `places`, if given, to the folder that shows it.
// A list with an entry that is neither, or that names a file with a NUL in it
// (raw or as "%00"), raises Error: no entry is skipped, and none is renamed
// when another cannot be. A folder's trailing '/' is dropped so that the
// folder itself is renamed.
std::vector<std::string> LocalPathsFromUriList(std::string_view uriList,
                                               const NetworkPlaces* places = nullptr);

// A drop's files, read straight from its text/uri-list by the rules above.
// The whole list is checked when this is made, so a list to be refused
// raises Error before any entry is read. Each entry is decoded only when it
// is read: a drop of tens of thousands of entries needs one offset for each,
// not a copy of every name. `uriList` must stay valid while this list is in
// use; `owner`, if given, is kept for that.
class UriFileList : public DropFileList {
  public:
    explicit UriFileList(std::string_view uriList, std::shared_ptr<const void> owner = nullptr,
                         const NetworkPlaces* places = nullptr);
    // A list that would be gone before its first entry is read.
    explicit UriFileList(std::string&& uriList) = delete;

    std::int32_t Count() const override;
    Text Entry(std::int32_t index) const override;
    std::u16string_view ReadEntry(std::int32_t index, Text& scratch) const override;
    // The entry's path as the bytes of its name, into `path`.
    void ReadPath(std::int32_t index, std::string& path) const;

  private:
    // Entries are decoded a few hundred at a time, each time into the same
    // buffers: decoding runs as one tight loop, not once between each two
    // renames, whose work in the kernel pushes it out of the processor's
    // caches, and the memory it takes stays the same however long the list.
    static constexpr std::size_t kDecodedAhead = 256;
    void DecodeAhead(std::size_t position) const;
    // ReadPath for a position already checked.
    void DecodePathAt(std::size_t position, std::string& path) const;

    std::string_view list_;
    std::shared_ptr<const void> owner_;
    // Where each entry's path begins in list_; for an entry of a network
    // place, kPlace plus its place in places_.
    std::vector<std::size_t> starts_;
    static constexpr std::size_t kPlace = std::size_t{1} << (sizeof(std::size_t) * 8 - 1);
    std::vector<std::string> places_;  // the local paths of network places
    mutable TextFileList decoded_;     // the entries from decodedFrom_ on
    mutable std::size_t decodedFrom_ = 0;
    mutable std::string bytes_;  // one entry's bytes, reused entry after entry
};

// The text/uri-list a file manager sends for the given raw paths: "file://"
// and the path with every byte outside the unreserved set and '/'
// percent-encoded, one line per path, each ended by CRLF.
std::string UriListFromPaths(const std::vector<std::string>& paths);

}  // namespace tolvane
