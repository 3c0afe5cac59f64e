#pragma once

#include <cstdint>
#include <string_view>

#include "engine/drop_file_list.h"

namespace tolvane {

// The data a drop carries: the dropped files, valid during the drop only.
class DropData {
  public:
    virtual ~DropData() = default;
    virtual const DropFileList& Files() const = 0;
};

// What a drop event passes besides its data, in the order the handlers take
// it. Only the data is used; the rest is passed on untouched.
struct DropArgs {
    std::int32_t effect = 0;  // the drop effect, passed by reference
    std::int16_t button = 0;  // mouse buttons: 1 left, 2 right, 4 middle
    std::int16_t shift = 0;   // keys: 1 Shift, 2 Ctrl, 4 Alt
    float x = 0;              // pointer position in twips
    float y = 0;
};

// The events a front end delivers to a form, one at a time on the window's
// thread. Controls are named as in the form's description; a drop on the
// window surface names the form itself.
class FormEvents {
  public:
    virtual ~FormEvents() = default;
    virtual void Load() = 0;
    virtual void Click(std::string_view menuItem) = 0;
    virtual void DragDrop(std::string_view target, DropData& data, DropArgs& args) = 0;
};

}  // namespace tolvane
