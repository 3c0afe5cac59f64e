#include "tools/drag_source/drag_source_window.h"

#include <QCoreApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <utility>

#include "platform/posix/uri_list.h"

namespace tolvane {

namespace {

// The target fetches the data after the drop, from this process; Qt deletes
// the drag once the target reports it has finished. Should that report never
// come, give up after this long rather than hang the test.
constexpr int kFinishTimeoutMs = 5000;

const char* ActionName(Qt::DropAction action) {
    switch (action) {
        case Qt::CopyAction:
            return "copy";
        case Qt::MoveAction:
            return "move";
        case Qt::LinkAction:
            return "link";
        default:
            return "ignore";
    }
}

// A file manager's list: a path as a "file:" URI, a URI (a network place
// as some file managers send it) as it stands.
std::string UriList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += path.find("://") != std::string::npos ? path + "\r\n" : UriListFromPaths({path});
    }
    return list;
}

QMimeData* FileMimeData(const std::vector<std::string>& paths) {
    const QByteArray list = QByteArray::fromStdString(UriList(paths));
    QList<QUrl> urls;
    for (const auto& line : list.split('\n')) {
        if (!line.trimmed().isEmpty()) urls.append(QUrl::fromEncoded(line.trimmed()));
    }
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    // Replaces the list Qt would render from the urls, so the target gets
    // exactly these bytes.
    mime->setData(QStringLiteral("text/uri-list"), list);
    // File managers offer the same as plain text, which a text box would
    // take in if it got the drop.
    mime->setText(QString::fromLatin1(list));
    return mime;
}

}  // namespace

DragSourceWindow::DragSourceWindow(std::vector<std::string> absolute_paths)
    : paths_(std::move(absolute_paths)) {
    setWindowTitle(QStringLiteral("drag-source"));
    setFixedSize(200, 100);
    move(0, 0);
}

void DragSourceWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragged_) return;
    dragged_ = true;
    StartDrag();
}

void DragSourceWindow::StartDrag() {
    // Qt may delete the drag once it is over, so it is only watched.
    const QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(FileMimeData(paths_));
    const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    std::printf("%s\n", ActionName(action));
    std::fflush(stdout);
    if (action == Qt::IgnoreAction || drag.isNull()) {
        QCoreApplication::quit();
        return;
    }
    QObject::connect(drag.data(), &QObject::destroyed, qApp, &QCoreApplication::quit);
    QTimer::singleShot(kFinishTimeoutMs, qApp, &QCoreApplication::quit);
}

}  // namespace tolvane
