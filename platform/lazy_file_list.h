#pragma once

#include <functional>
#include <memory>

#include "engine/drop_file_list.h"

namespace tolvane {

// A drop's file list, read from the drop's data when it is first asked for.
// A drop the batch has no use for (an empty find text) is thus never read,
// so nothing in its data can raise an error.
class LazyFileList : public DropFileList {
  public:
    using Reader = std::function<std::unique_ptr<DropFileList>()>;
    explicit LazyFileList(Reader read) : read_(std::move(read)) {}

    std::int32_t Count() const override { return Paths().Count(); }
    Text Entry(std::int32_t index) const override { return Paths().Entry(index); }
    std::u16string_view ReadEntry(std::int32_t index, Text& scratch) const override {
        return Paths().ReadEntry(index, scratch);
    }

  private:
    const DropFileList& Paths() const;

    Reader read_;
    mutable std::unique_ptr<DropFileList> paths_;
};

}  // namespace tolvane
