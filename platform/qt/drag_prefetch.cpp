#include "platform/qt/drag_prefetch.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <cstdlib>
#include <new>
#include <utility>

#include "platform/qt/qt_drop_data.h"

namespace tolvane {

// Tells when a drag from another program enters one of our windows on X11.
// Qt may not: a drag source that dies over the window never sends the leave,
// and Qt then takes the next drag for the same one, with no enter of its own.
class DragPrefetch::XdndEnterWatch {
  public:
    explicit XdndEnterWatch(xcb_connection_t* connection)
        : connection_(connection), cookie_(xcb_intern_atom(connection, 0, 9, "XdndEnter")) {}

    ~XdndEnterWatch() {
        if (!resolved_) xcb_discard_reply(connection_, cookie_.sequence);
    }
    XdndEnterWatch(const XdndEnterWatch&) = delete;
    XdndEnterWatch& operator=(const XdndEnterWatch&) = delete;

    bool IsEnter(const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
        const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
        return message.type == Atom();
    }

  private:
    // Asked for at start, read only when first needed: start-up never waits.
    xcb_atom_t Atom() {
        if (!resolved_) {
            resolved_ = true;
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie_, nullptr);
            if (reply != nullptr) atom_ = reply->atom;
            std::free(reply);
        }
        return atom_;
    }

    xcb_connection_t* connection_;
    xcb_intern_atom_cookie_t cookie_;
    bool resolved_ = false;
    xcb_atom_t atom_ = XCB_ATOM_NONE;
};

DragPrefetch::DragPrefetch(QObject* parent) : QObject(parent) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) return;
    xdndEnter_ = std::make_unique<XdndEnterWatch>(x11->connection());
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DragPrefetch::~DragPrefetch() = default;

void DragPrefetch::Follow(QWindow* window) {
    if (window == window_) return;
    if (window_ != nullptr) window_->removeEventFilter(this);
    Forget();
    window_ = window;
    if (window_ != nullptr) window_->installEventFilter(this);
}

QByteArray DragPrefetch::Take(const QMimeData* mime) {
    const bool ours = mime != nullptr && mime == fetchedFrom_;
    QByteArray list = std::exchange(list_, QByteArray());
    fetchedFrom_ = nullptr;
    return ours ? list : QByteArray();
}

void DragPrefetch::Fetch(const QMimeData* mime) {
    Forget();
    if (mime == nullptr) return;
    // Only a head start: a list too large to hold here is fetched again at
    // the drop, where a failure is reported.
    try {
        list_ = DroppedUriList(*mime);
        fetchedFrom_ = mime;
    } catch (const std::bad_alloc&) {
        Forget();
    }
}

void DragPrefetch::Forget() {
    list_.clear();
    fetchedFrom_ = nullptr;
}

bool DragPrefetch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return false;
    if (event->type() == QEvent::DragEnter) {
        Fetch(static_cast<QDragEnterEvent&>(*event).mimeData());
    } else if (event->type() == QEvent::DragLeave) {
        Forget();
    }
    // The window still hands every drag event to the widget under the pointer.
    return false;
}

bool DragPrefetch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (xdndEnter_ != nullptr && eventType == "xcb_generic_event_t" &&
        xdndEnter_->IsEnter(*static_cast<const xcb_generic_event_t*>(message))) {
        Forget();
    }
    return false;
}

}  // namespace tolvane
