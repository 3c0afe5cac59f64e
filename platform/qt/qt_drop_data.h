#pragma once

#include <QMimeData>

#include "platform/form_events.h"
#include "platform/lazy_file_list.h"

namespace tolvane {

// The local files of one drop, read from its text/uri-list as the exact bytes
// of each name: QUrl's own decoding would replace bytes that are not UTF-8.
// A drop without files gives an empty list. The list is read only when first
// asked for, so `mime` must last as long as this.
class QtDropData : public DropData {
  public:
    explicit QtDropData(const QMimeData& mime);
    const DropFileList& Files() const override { return files_; }

  private:
    LazyFileList files_;
};

}  // namespace tolvane
