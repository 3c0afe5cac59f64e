#include "platform/qt/drop_router.h"

#include "platform/qt/drop_args.h"

namespace tolvane {

namespace {

// Lets the pointer show which action a drop would take, or none.
void Offer(QDropEvent& event) {
    const auto action = AcceptedDropAction(event.possibleActions());
    if (!action) {
        event.ignore();
        return;
    }
    event.setDropAction(*action);
    event.accept();
}

}  // namespace

void DropRouter::Watch(QWidget& widget, std::string targetName) {
    widget.setAcceptDrops(true);
    widget.installEventFilter(this);
    targets_[&widget] = std::move(targetName);
    // A window shown later is followed when it is.
    if (widget.isWindow()) prefetch_->Follow(widget.windowHandle());
}

bool DropRouter::eventFilter(QObject* watched, QEvent* event) {
    const auto target = targets_.find(watched);
    if (target == targets_.end()) return false;
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::WinIdChange: {
            auto& widget = static_cast<QWidget&>(*watched);
            if (widget.isWindow()) prefetch_->Follow(widget.windowHandle());
            return false;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
            Offer(static_cast<QDropEvent&>(*event));
            return true;
        case QEvent::Drop:
            Drop(target->second, static_cast<QDropEvent&>(*event));
            return true;
        case QEvent::DragLeave:
            return true;
        default:
            return false;
    }
}

void DropRouter::Drop(const std::string& target, QDropEvent& event) {
    QByteArray fetched = prefetch_->Take(event.mimeData());
    Offer(event);
    if (!event.isAccepted() || event.mimeData() == nullptr) return;
    DropArgs args = MakeDropArgs(event, event.dropAction());
    handler_(target, *event.mimeData(), std::move(fetched), args);
}

}  // namespace tolvane
