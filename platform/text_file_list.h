#pragma once

#include <vector>

#include "engine/drop_file_list.h"

namespace tolvane {

// A drop file list held in memory, as the front ends build it from the
// drop's data.
class TextFileList : public DropFileList {
  public:
    TextFileList() = default;
    explicit TextFileList(std::vector<Text> paths) : paths_(std::move(paths)) {}

    std::int32_t Count() const override;
    Text Entry(std::int32_t index) const override;
    void ReadEntry(std::int32_t index, Text& path) const override;

  private:
    const Text& At(std::int32_t index) const;

    std::vector<Text> paths_;
};

}  // namespace tolvane
