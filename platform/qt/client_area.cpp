#include "platform/qt/client_area.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

#include "engine/error.h"
#include "platform/qt/label_caption.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/twips.h"

namespace tolvane {

namespace {

struct BuiltControls {
    std::map<std::string, QLineEdit*> boxes;
    std::vector<std::pair<QLabel*, const ControlDescription*>> labels;
    std::vector<std::pair<int, QLineEdit*>> tabOrder;
};

void Place(QWidget& widget, const ControlDescription& control) {
    widget.setObjectName(QString::fromStdString(control.name));
    widget.setGeometry(PixelGeometry(control));
    if (!control.visible) widget.hide();
}

void AddLabel(QWidget& area, const ControlDescription& control, QtFormControls& controls,
              BuiltControls& built) {
    auto* label = new QLabel(&area);
    // Captions are plain text; the caption sits just above the box it names.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Place(*label, control);
    controls.AddLabel(control.name, *label);
    built.labels.emplace_back(label, &control);
}

void AddTextBox(QWidget& area, const ControlDescription& control, QtFormControls& controls,
                BuiltControls& built) {
    auto* box = new QLineEdit(ToQString(control.caption), &area);
    box->setAccessibleName(QString::fromStdString(control.name));  // until a label names it
    Place(*box, control);
    controls.AddTextBox(control.name, *box);
    built.boxes.emplace(control.name, box);
    built.tabOrder.emplace_back(control.tabIndex, box);
}

QLineEdit* BuddyOf(const ControlDescription& label, const BuiltControls& built) {
    if (label.buddy.empty()) return nullptr;
    const auto found = built.boxes.find(label.buddy);
    if (found != built.boxes.end()) return found->second;
    const std::string message = "Label " + label.name + " names no text box " + label.buddy;
    throw Error(EINVAL, Text(message.begin(), message.end()));
}

void LinkLabels(const BuiltControls& built) {
    for (const auto& [label, control] : built.labels) {
        label->setBuddy(BuddyOf(*control, built));
        ShowCaption(*label, ToQString(control->caption));
    }
}

void OrderTabs(BuiltControls& built) {
    auto& order = built.tabOrder;
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
    if (!order.empty()) order.front().second->setFocus();
}

}  // namespace

QWidget* BuildClientArea(const FormDescription& form, QtFormControls& controls) {
    auto area = std::make_unique<QWidget>();
    area->setFixedSize(ClientPixelSize(form));
    BuiltControls built;
    for (const ControlDescription& control : form.controls) {
        if (control.kind == ControlKind::TextBox) {
            AddTextBox(*area, control, controls, built);
        } else {
            AddLabel(*area, control, controls, built);
        }
    }
    LinkLabels(built);
    OrderTabs(built);
    return area.release();
}

}  // namespace tolvane
