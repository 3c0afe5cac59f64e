#include "platform/lazy_file_list.h"

namespace tolvane {

const TextFileList& LazyFileList::Paths() const {
    // A read that fails keeps failing: it is tried again on every call.
    if (!paths_) paths_.emplace(read_());
    return *paths_;
}

}  // namespace tolvane
