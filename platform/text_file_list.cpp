#include "platform/text_file_list.h"

#include "platform/list_index.h"

namespace tolvane {

TextFileList::TextFileList(const std::vector<Text>& paths) {
    for (const Text& path : paths) Add(path);
}

void TextFileList::Add(std::u16string_view path) {
    text_.append(path);
    ends_.push_back(text_.size());
}

std::int32_t TextFileList::Count() const { return ListCount(ends_.size()); }

std::u16string_view TextFileList::At(std::int32_t index) const {
    const std::size_t position = ListPosition(index, ends_.size());
    const std::size_t start = position == 0 ? 0 : ends_[position - 1];
    return std::u16string_view(text_).substr(start, ends_[position] - start);
}

Text TextFileList::Entry(std::int32_t index) const { return Text(At(index)); }

std::u16string_view TextFileList::ReadEntry(std::int32_t index, Text& /*scratch*/) const {
    return At(index);
}

}  // namespace tolvane
