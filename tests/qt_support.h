#pragma once

#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QMimeData>
#include <QWindow>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/error.h"
#include "platform/error_report.h"
#include "platform/form_events.h"
#include "platform/posix/posix_renamer.h"
#include "platform/qt/form_window.h"
#include "tests/recording_fakes.h"
#include "tools/raw_uri_list.h"
#include "window/form1_description.h"
#include "window/main_window.h"

namespace tolvane::qt_testing {

using testing_fakes::RecordingReport;

// A form that records what it is given, and whether the wait cursor showed.
class RecordingForm : public testing_fakes::RecordingForm {
  protected:
    bool BusyCursorShown() const override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor;
    }
};

// A window built from Form1's description and attached to `Form`.
template <typename Form>
struct AttachedWindow {
    AttachedWindow() { window.Attach(form, report); }

    template <typename Widget = QWidget>
    Widget& Child(const char* name) {
        auto* child = window.findChild<Widget*>(name);
        if (child == nullptr) throw std::runtime_error(std::string("no child ") + name);
        return *child;
    }

    RecordingReport report;
    PosixRenamer renamer;
    FormWindow window{Form1Description()};
    Form form = MakeForm();

  private:
    Form MakeForm() {
        if constexpr (std::is_same_v<Form, Form1>) {
            return Form1(window.controls(), renamer);
        } else {
            return Form();
        }
    }
};

// A drag that enters `target` and drops there, as Qt delivers it. Returns the
// action the drop was accepted with, or Qt::IgnoreAction.
inline Qt::DropAction DropOn(QWidget& target, const QMimeData& mime,
                             Qt::DropActions offered = Qt::CopyAction, QPoint at = {2, 2},
                             Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, keys);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(at, offered, &mime, Qt::LeftButton, keys);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// A drag that enters the window at `at` (its own coordinates) and drops
// there. Qt hands it to the widget under that point, as it does a real drag.
inline Qt::DropAction DropOnWindowAt(QWidget& window, const QMimeData& mime, QPoint at) {
    QWindow* handle = window.windowHandle();
    if (handle == nullptr) throw std::runtime_error("the window is not shown");
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

inline std::unique_ptr<QMimeData> RawUriListOf(const std::string& bytes) {
    return std::make_unique<RawUriList>(QByteArray::fromStdString(bytes));
}

// A text/uri-list naming the given paths (raw bytes), every byte outside the
// unreserved set and '/' percent-encoded, as file managers send them.
inline std::unique_ptr<QMimeData> UriList(const std::vector<std::string>& paths) {
    QByteArray list;
    for (const std::string& path : paths) {
        list += "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n";
    }
    return std::make_unique<RawUriList>(list);
}

}  // namespace tolvane::qt_testing
