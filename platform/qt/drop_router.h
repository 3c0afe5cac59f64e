#pragma once

#include <QDropEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "platform/form_events.h"
#include "platform/qt/drag_prefetch.h"

namespace tolvane {

// Takes every drag and drop on the widgets it watches, so that none of them
// handles dropped data itself (a text box would insert it as text), and
// hands each drop on with the name of the widget it landed on, and with the
// drop's uri-list when it was fetched as the drag entered the window.
class DropRouter : public QObject {
  public:
    using Handler = std::function<void(const std::string& target, const QMimeData&,
                                       QByteArray fetched, DropArgs&)>;

    DropRouter(Handler handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler)), prefetch_(new DragPrefetch(this)) {}

    void Watch(QWidget& widget, std::string targetName);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Drop(const std::string& target, QDropEvent& event);

    Handler handler_;
    DragPrefetch* prefetch_;
    std::map<const QObject*, std::string> targets_;
};

}  // namespace tolvane
