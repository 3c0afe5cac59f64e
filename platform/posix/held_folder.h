#pragma once

#include <string>
#include <string_view>

#include "engine/text.h"
#include "platform/posix/unique_fd.h"

namespace tolvane::posix {

// The folder that a batch's consecutive entries share, opened once and used
// for each entry whose directory part is the same text, so that a rename
// looks up one name instead of walking the whole path again.
//
// A folder is held only where renaming an entry in it cannot change where
// its path leads: a path through a symbolic link or with a "." or ".."
// component may pass through one of the folder's own entries (a link "up"
// to ".", say), and is then followed afresh for every entry. A folder whose
// path names another folder than before has another text, so it is opened
// anew: an entry renamed earlier in the batch, be it the held folder or one
// of its ancestors, is never looked past.
class HeldFolder {
  public:
    // Returned where the entries of a folder are to be named by full path.
    static constexpr int kByPath = -1;

    // The descriptor for `directory` (a path up to and including its last
    // '/', as text), or kByPath; always kByPath for "" (a path with no
    // folder part) and for a text that no path can hold.
    int For(std::u16string_view directory);

    // Closes the folder; the next call of For opens afresh.
    void Release() noexcept;

    // The held folder lies on a FUSE or network filesystem, which may answer
    // a call done that it did not do.
    bool MayMisreport() const noexcept { return mayMisreport_; }

    // The held folder is that of one document of the document portal.
    bool HoldsPortalDocument() const noexcept { return portalDocument_; }

  private:
    void Open(std::u16string_view directory);

    Text path_;  // what fd_ was opened for; empty when nothing is held
    UniqueFd fd_;
    bool mayMisreport_ = false;
    bool portalDocument_ = false;
};

// A name that a lookup inside a folder finds as the path would: not empty,
// not "." or "..".
bool IsPlainName(std::u16string_view name);

// The same characters. Compares bytes at once: std::u16string_view's own
// comparison goes one character at a time.
bool IsSameText(std::u16string_view a, std::u16string_view b);

}  // namespace tolvane::posix
