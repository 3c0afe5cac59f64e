#pragma once

#include <QMimeData>

#include "platform/form_events.h"
#include "platform/lazy_file_list.h"

namespace tolvane {

// The drop's text/uri-list as its source hands it over, or an empty array.
QByteArray DroppedUriList(const QMimeData& mime);

// The local files of one drop, read from its text/uri-list as the exact bytes
// of each name: QUrl's own decoding would replace bytes that are not UTF-8.
// A drop without files gives an empty list. The list is read only when first
// asked for, so `mime` must last as long as this. `fetched`, when not empty,
// is the drop's uri-list as fetched before the drop, and is read in its place.
class QtDropData : public DropData {
  public:
    explicit QtDropData(const QMimeData& mime, QByteArray fetched = QByteArray());
    const DropFileList& Files() const override { return files_; }

  private:
    LazyFileList files_;
};

}  // namespace tolvane
