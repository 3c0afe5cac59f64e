#include "platform/qt/form_window.h"

#include <QLayout>
#include <QMenuBar>

#include "platform/event_boundary.h"
#include "platform/qt/busy_cursor.h"
#include "platform/qt/client_area.h"
#include "platform/qt/drop_router.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/qt_drop_data.h"
#include "platform/qt/qt_text.h"
#include "platform/stop_for_close_report.h"

namespace tolvane {

namespace {

// A fixed frame: it can be minimised and closed, never resized or maximised.
constexpr Qt::WindowFlags kFixedFrame = Qt::Window | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                        Qt::WindowCloseButtonHint;

}  // namespace

FormWindow::FormWindow(const FormDescription& form)
    : formName_(form.name), progress_(*this), controls_(*this, progress_) {
    setObjectName(QString::fromStdString(form.name));
    setWindowTitle(ToQString(form.caption));
    setWindowFlags(kFixedFrame);
    menuItems_ = BuildMenus(*menuBar(), form, controls_);
    setCentralWidget(BuildClientArea(form, controls_));
    progress_.AddBar(*centralWidget());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

FormWindow::~FormWindow() {
    delete dropRouter_;
    for (QAction* item : menuItems_) QObject::disconnect(item, nullptr, this, nullptr);
}

void FormWindow::Attach(FormEvents& events, ErrorReport& report) {
    RunEventHandler(report, [&events] { events.Load(); });
    ConnectMenus(events, report);
    RouteDrops(events, report);
}

void FormWindow::ConnectMenus(FormEvents& events, ErrorReport& report) {
    for (QAction* item : menuItems_) {
        connect(item, &QAction::triggered, this, [item, &events, &report](bool checked) {
            // Qt has just toggled the mark; only the form decides where it goes.
            item->setChecked(!checked);
            const std::string name = item->objectName().toStdString();
            RunEventHandler(report, [&] { events.Click(name); });
        });
    }
}

void FormWindow::RouteDrops(FormEvents& events, ErrorReport& report) {
    auto* router = new DropRouter(
        [this, &events, &report](const std::string& target, const QMimeData& mime,
                                 QByteArray fetched, DropArgs& args) {
            StopForCloseReport dropReport(report, progress_.closing());
            RunEventHandler(dropReport, [&] {
                const BusyCursor busy;
                QtDropData data(mime, std::move(fetched));
                events.DragDrop(target, data, args);
            });
            const bool close = dropReport.CloseNow();
            progress_.ForgetClosing();
            if (close) this->close();
        },
        this);
    dropRouter_ = router;
    router->Watch(*this, formName_);
    router->Watch(*centralWidget(), formName_);
    for (QWidget* control : centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // The progress bar shows only while a batch holds back every drop.
        if (control == progress_.bar()) continue;
        router->Watch(*control, control->objectName().toStdString());
    }
}

}  // namespace tolvane
