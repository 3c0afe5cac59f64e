#pragma once

#include <string_view>
#include <vector>

#include "engine/drop_file_list.h"

namespace tolvane {

// A drop file list held in memory, as the front ends build it from the
// drop's data. The paths lie end to end in one buffer: a drop of thousands
// of entries is a handful of allocations, not one or two for each path.
class TextFileList : public DropFileList {
  public:
    TextFileList() = default;
    explicit TextFileList(const std::vector<Text>& paths);

    // Adds a path after the last.
    void Add(std::u16string_view path);
    // Empties the list, keeping its buffers for the next paths.
    void Clear() noexcept {
        text_.clear();
        ends_.clear();
    }

    std::int32_t Count() const override;
    Text Entry(std::int32_t index) const override;
    std::u16string_view ReadEntry(std::int32_t index, Text& scratch) const override;

  private:
    std::u16string_view At(std::int32_t index) const;

    Text text_;                      // every path, end to end
    std::vector<std::size_t> ends_;  // where each path ends in text_
};

}  // namespace tolvane
