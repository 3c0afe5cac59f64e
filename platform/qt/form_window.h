#pragma once

#include <QMainWindow>
#include <string>
#include <vector>

#include "platform/error_report.h"
#include "platform/form_description.h"
#include "platform/form_events.h"
#include "platform/qt/batch_progress.h"
#include "platform/qt/qt_form_controls.h"

namespace tolvane {

// A fixed-size main window built from a form's description: its menus, and a
// client area of the described size holding the controls at their places.
class FormWindow : public QMainWindow {
  public:
    explicit FormWindow(const FormDescription& form);
    // Stops delivering events first: the form and the report may go before
    // the widgets do.
    ~FormWindow() override;

    FormControls& controls() { return controls_; }

    // Connects the form, once, before the window is first shown: delivers its
    // Load event at once, then every menu click and every drop on the window
    // or its controls. Errors they raise go to `report`. Both must outlive
    // the window. A window closed during a drop closes when its batch has
    // stopped, unless the drop ended in an error, which is shown instead.
    void Attach(FormEvents& events, ErrorReport& report);

  private:
    void ConnectMenus(FormEvents& events, ErrorReport& report);
    void RouteDrops(FormEvents& events, ErrorReport& report);

    std::string formName_;
    QtBatchProgress progress_;
    QtFormControls controls_;
    std::vector<QAction*> menuItems_;
    QObject* dropRouter_ = nullptr;
};

}  // namespace tolvane
