#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QMimeData>
#include <QObject>
#include <QPointer>
#include <QWindow>
#include <memory>

namespace tolvane {

// The uri-list of the drag over the window, fetched as soon as the drag
// enters it. Handing over the names of thousands of files takes the drag
// source and the display tens of milliseconds; fetched while the pointer
// hovers, that wait is over before the button is released. The list belongs
// to its drag alone: it is let go when the drag leaves the window or another
// drag begins, and taken by its drop.
class DragPrefetch : public QObject, public QAbstractNativeEventFilter {
  public:
    explicit DragPrefetch(QObject* parent);
    ~DragPrefetch() override;

    // Watches the drags over `window`, the top-level's platform window, in
    // place of any window watched before.
    void Follow(QWindow* window);

    // The list fetched for the drag whose drop carries `mime`, or an empty
    // array when none was. Either way nothing is kept for the next drag.
    QByteArray Take(const QMimeData* mime);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    void Fetch(const QMimeData* mime);
    void Forget();

    class XdndEnterWatch;
    std::unique_ptr<XdndEnterWatch> xdndEnter_;
    QPointer<QWindow> window_;
    const QMimeData* fetchedFrom_ = nullptr;
    QByteArray list_;
};

}  // namespace tolvane
