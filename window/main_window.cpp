#include "window/main_window.h"

#include <cerrno>
#include <string>

#include "engine/rename_batch.h"

namespace tolvane {

namespace {

[[noreturn]] void ThrowUnknownEvent(std::string_view what, std::string_view name) {
    const std::string message = std::string(what) + " \"" + std::string(name) + "\"";
    throw Error(EINVAL, Text(message.begin(), message.end()));
}

}  // namespace

Form1::Form1(FormControls& controls, FileRenamer& renamer)
    : controls_(controls), renamer_(renamer) {}

void Form1::Load() { Form_Load(); }

void Form1::Click(std::string_view menuItem) {
    if (menuItem == "mnuSearchandReplace") return mnuSearchandReplace_Click();
    if (menuItem == "mnuInsert") return mnuInsert_Click();
    if (menuItem == "mnuAppend") return mnuAppend_Click();
    if (menuItem == "mnuNumber") return mnuNumber_Click();
    ThrowUnknownEvent("No click handler for", menuItem);
}

void Form1::DragDrop(std::string_view target, DropData& data, DropArgs& a) {
    if (target == "Form1") return Form_OLEDragDrop(data, a.effect, a.button, a.shift, a.x, a.y);
    if (target == "txtFind") {
        return txtFind_OLEDragDrop(data, a.effect, a.button, a.shift, a.x, a.y);
    }
    if (target == "txtReplace") {
        return txtReplace_OLEDragDrop(data, a.effect, a.button, a.shift, a.x, a.y);
    }
    if (target == "Label1") return Label1_OLEDragDrop(data, a.effect, a.button, a.shift, a.x, a.y);
    if (target == "Label2") return Label2_OLEDragDrop(data, a.effect, a.button, a.shift, a.x, a.y);
    ThrowUnknownEvent("No drop handler for", target);
}

void Form1::Form_Load() { mode_ = kModeSearchAndReplace; }

void Form1::ClearChecks() {
    controls_.menuItem("mnuSearchandReplace").SetChecked(false);
    controls_.menuItem("mnuAppend").SetChecked(false);
    controls_.menuItem("mnuInsert").SetChecked(false);
    controls_.menuItem("mnuNumber").SetChecked(false);
}

void Form1::SelectMode(MenuItem& item, const ModeView& view) {
    ClearChecks();
    item.SetChecked(true);
    controls_.label("Label1").SetCaption(view.caption);
    controls_.label("Label2").SetVisible(view.showReplace);
    controls_.textBox("txtFind").SetVisible(true);
    controls_.textBox("txtReplace").SetVisible(view.showReplace);
    mode_ = view.letter;
}

void Form1::mnuSearchandReplace_Click() {
    SelectMode(controls_.menuItem("mnuSearchandReplace"), {u"Find", true, kModeSearchAndReplace});
}

void Form1::mnuInsert_Click() {
    SelectMode(controls_.menuItem("mnuInsert"), {u"Insert", false, kModeInsert});
}

void Form1::mnuAppend_Click() {
    SelectMode(controls_.menuItem("mnuAppend"), {u"Append", false, kModeAppend});
}

void Form1::mnuNumber_Click() {
    SelectMode(controls_.menuItem("mnuNumber"), {u"Seperator", false, kModeNumber});
}

void Form1::Form_OLEDragDrop(DropData& data, std::int32_t& /*effect*/, std::int16_t /*button*/,
                             std::int16_t /*shift*/, float /*x*/, float /*y*/) {
    const Text find = controls_.textBox("txtFind").GetText();
    const Text replace = controls_.textBox("txtReplace").GetText();
    BatchWatch& watch = controls_.window().Watch();
    if (RenameBatch(data.Files(), renamer_, watch, mode_, find, replace) > 0) {
        controls_.window().TakeFocus();
    }
}

void Form1::txtFind_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                                std::int16_t shift, float x, float y) {
    Form_OLEDragDrop(data, effect, button, shift, x, y);
}

void Form1::txtReplace_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                                   std::int16_t shift, float x, float y) {
    Form_OLEDragDrop(data, effect, button, shift, x, y);
}

void Form1::Label1_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                               std::int16_t shift, float x, float y) {
    Form_OLEDragDrop(data, effect, button, shift, x, y);
}

void Form1::Label2_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                               std::int16_t shift, float x, float y) {
    Form_OLEDragDrop(data, effect, button, shift, x, y);
}

Text Form1::NoPath(Text path) const { return tolvane::NoPath(std::move(path)); }

Text Form1::JustPath(Text path) const { return tolvane::JustPath(std::move(path)); }

}  // namespace tolvane
