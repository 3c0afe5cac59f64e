#include "platform/qt/qt_drop_data.h"

#include <QUrl>

#include "platform/posix/native_path.h"
#include "platform/posix/uri_list.h"

namespace tolvane {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// Some sources hand over URLs that Qt reports without the raw list; their
// encoded form still carries every byte.
std::string UriListBytes(const QMimeData& mime) {
    if (mime.hasFormat(kUriList)) return mime.data(kUriList).toStdString();
    std::string list;
    for (const QUrl& url : mime.urls()) list += url.toEncoded().toStdString() + "\r\n";
    return list;
}

std::vector<Text> DroppedPaths(const QMimeData& mime) {
    const std::vector<std::string> local = LocalPathsFromUriList(UriListBytes(mime));
    std::vector<Text> paths;
    paths.reserve(local.size());
    for (const std::string& path : local) paths.push_back(FromNativePath(path));
    return paths;
}

}  // namespace

QtDropData::QtDropData(const QMimeData& mime) : files_([&mime] { return DroppedPaths(mime); }) {}

}  // namespace tolvane
