#include "platform/qt/drag_prefetch.h"

#include <QDropEvent>
#include <utility>

#include "platform/qt/qt_drop_data.h"

namespace tolvane {

void DragPrefetch::Follow(QWindow* window) {
    if (window == window_) return;
    if (window_ != nullptr) window_->removeEventFilter(this);
    list_.clear();
    window_ = window;
    if (window_ != nullptr) window_->installEventFilter(this);
}

QByteArray DragPrefetch::Take() { return std::exchange(list_, QByteArray()); }

bool DragPrefetch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return false;
    switch (event->type()) {
        case QEvent::DragEnter: {
            const QMimeData* mime = static_cast<QDragEnterEvent&>(*event).mimeData();
            list_ = mime != nullptr ? DroppedUriList(*mime) : QByteArray();
            break;
        }
        case QEvent::DragLeave:
            list_.clear();
            break;
        default:
            break;
    }
    // The window still hands every drag event to the widget under the pointer.
    return false;
}

}  // namespace tolvane
