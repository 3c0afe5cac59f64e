#include "platform/win32/hdrop_file_list.h"

#include <shellapi.h>

#include <cerrno>
#include <limits>

#include "engine/error.h"
#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

Text IndexText(std::int32_t index) {
    const std::wstring digits = std::to_wstring(index);
    return FromWide(digits);
}

}  // namespace

std::int32_t HdropFileList::Count() const {
    const UINT count = DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0);
    if (count > static_cast<UINT>(std::numeric_limits<std::int32_t>::max())) {
        throw Error(EOVERFLOW, u"The drop holds more entries than can be counted");
    }
    return static_cast<std::int32_t>(count);
}

Text HdropFileList::Entry(std::int32_t index) const {
    if (index < 1 || index > Count()) {
        throw Error(ERROR_INVALID_INDEX, u"No dropped entry number " + IndexText(index));
    }
    const UINT position = static_cast<UINT>(index - 1);
    const UINT length = DragQueryFileW(drop_, position, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop_, position, path.data(), length + 1);
    path.resize(copied);
    Text entry = FromWide(path);
    if (entry.find(kReplacementCharacter) != Text::npos) {
        throw Error(ERROR_NO_UNICODE_TRANSLATION,
                    u"The name of \u201C" + entry +
                        u"\u201D holds characters that Windows cannot show (U+FFFD stands in "
                        u"for them), so it cannot be renamed exactly. Nothing was done to it.");
    }
    return entry;
}

}  // namespace tolvane
