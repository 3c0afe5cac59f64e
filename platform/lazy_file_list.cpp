#include "platform/lazy_file_list.h"

namespace tolvane {

const DropFileList& LazyFileList::Paths() const {
    // A read that fails keeps failing: it is tried again on every call.
    if (!paths_) paths_ = read_();
    return *paths_;
}

}  // namespace tolvane
