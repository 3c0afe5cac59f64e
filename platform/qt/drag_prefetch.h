#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QWindow>

namespace tolvane {

// The uri-list of the drag over the window, fetched as soon as the drag
// enters it. Handing over the names of thousands of files takes the drag
// source and the display tens of milliseconds; fetched while the pointer
// hovers, that wait is over before the button is released. The list belongs
// to its drag alone: it is let go when the drag leaves the window, and taken
// by its drop.
class DragPrefetch : public QObject {
  public:
    explicit DragPrefetch(QObject* parent) : QObject(parent) {}

    // Watches the drags over `window`, the top-level's platform window, in
    // place of any window watched before.
    void Follow(QWindow* window);

    // The list fetched for the drag being dropped, or an empty array when
    // nothing was fetched. Either way nothing is kept for the next drag.
    QByteArray Take();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWindow> window_;
    QByteArray list_;
};

}  // namespace tolvane
