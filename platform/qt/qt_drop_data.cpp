#include "platform/qt/qt_drop_data.h"

#include <QUrl>
#include <memory>

#include "platform/posix/uri_list.h"
#include "platform/qt/gio_network_places.h"
#include "platform/qt/kio_fuse_network_places.h"

namespace tolvane {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

std::unique_ptr<DropFileList> FileListOf(QByteArray bytes) {
    // gvfs first: it answers at once where it has the place mounted.
    static const GioNetworkPlaces gvfs;
    static const KioFuseNetworkPlaces kioFuse;
    static const EitherNetworkPlaces places(gvfs, kioFuse);
    const auto list = std::make_shared<const QByteArray>(std::move(bytes));
    return std::make_unique<UriFileList>(
        std::string_view(list->constData(), static_cast<std::size_t>(list->size())), list, &places);
}

}  // namespace

// Some sources hand over URLs that Qt reports without the raw list; their
// encoded form still carries every byte.
QByteArray DroppedUriList(const QMimeData& mime) {
    if (mime.hasFormat(kUriList)) return mime.data(kUriList);
    QByteArray list;
    for (const QUrl& url : mime.urls()) list += url.toEncoded() + "\r\n";
    return list;
}

// A fetch before the drop can come back empty (a source too slow to answer
// while the pointer passed); the drop then asks its data object again, which
// on X11 asks the source again and on Wayland gives its first answer.
QtDropData::QtDropData(const QMimeData& mime, QByteArray fetched)
    : files_([&mime, fetched = std::move(fetched)]() mutable {
          return FileListOf(fetched.isEmpty() ? DroppedUriList(mime) : std::move(fetched));
      }) {}

}  // namespace tolvane
