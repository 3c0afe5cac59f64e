#include "platform/text_file_list.h"

#include <cerrno>
#include <limits>
#include <string>

#include "engine/error.h"

namespace tolvane {

std::int32_t TextFileList::Count() const {
    if (paths_.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(paths_.size());
}

const Text& TextFileList::At(std::int32_t index) const {
    if (index < 1 || index > Count()) {
        const std::string number = std::to_string(index);
        throw Error(ERANGE, u"No dropped entry number " + Text(number.begin(), number.end()));
    }
    return paths_[static_cast<std::size_t>(index - 1)];
}

Text TextFileList::Entry(std::int32_t index) const { return At(index); }

void TextFileList::ReadEntry(std::int32_t index, Text& path) const { path.assign(At(index)); }

}  // namespace tolvane
