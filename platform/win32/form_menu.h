#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/form_description.h"

namespace tolvane {

// A menu bar built from a form's menus. Each item's command number is
// kFirstMenuCommand plus its place in `itemNames`, counted across all menus.
// Numbers start above the dialog commands (IDOK, IDCANCEL, ...) that Enter and
// Escape send.
struct FormMenu {
    static constexpr UINT kFirstMenuCommand = 100;

    HMENU bar = nullptr;
    std::vector<std::string> itemNames;

    // The item's name, or nullptr for a command that is no menu item.
    const std::string* ItemFor(UINT command) const;
};

// The caller owns the bar until it is given to a window.
FormMenu BuildMenuBar(const FormDescription& form);

}  // namespace tolvane
