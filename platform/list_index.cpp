#include "platform/list_index.h"

#include <cerrno>
#include <limits>
#include <string>

#include "engine/error.h"

namespace tolvane {

std::int32_t ListCount(std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(size);
}

std::size_t ListPosition(std::int32_t index, std::size_t size) {
    if (index < 1 || index > ListCount(size)) {
        const std::string number = std::to_string(index);
        throw Error(ERANGE, u"No dropped entry number " + Text(number.begin(), number.end()));
    }
    return static_cast<std::size_t>(index - 1);
}

}  // namespace tolvane
