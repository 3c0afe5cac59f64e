#include "platform/qt/menu_bar.h"

#include <QMenu>

#include "platform/qt/qt_text.h"

namespace tolvane {

std::vector<QAction*> BuildMenus(QMenuBar& bar, const FormDescription& form,
                                 QtFormControls& controls) {
    std::vector<QAction*> items;
    for (const MenuDescription& menu : form.menus) {
        QMenu* qmenu = bar.addMenu(ToQString(menu.caption));
        qmenu->setObjectName(QString::fromStdString(menu.name));
        for (const MenuItemDescription& item : menu.items) {
            QAction* action = qmenu->addAction(ToQString(item.caption));
            action->setObjectName(QString::fromStdString(item.name));
            action->setCheckable(true);
            action->setChecked(item.checked);
            controls.AddMenuItem(item.name, *action);
            items.push_back(action);
        }
    }
    return items;
}

}  // namespace tolvane
