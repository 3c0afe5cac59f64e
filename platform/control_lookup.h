#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "engine/error.h"

namespace tolvane {

// Controls of one kind by name, as the front ends keep them.
template <typename Control>
using ControlsByName = std::map<std::string, Control, std::less<>>;

// The control called `name`; raises Error naming the kind when there is none.
template <typename Control>
Control& FindControl(ControlsByName<Control>& controls, std::string_view name,
                     std::string_view kind) {
    const auto found = controls.find(name);
    if (found == controls.end()) {
        const std::string message =
            "No " + std::string(kind) + " named \"" + std::string(name) + "\"";
        throw Error(EINVAL, Text(message.begin(), message.end()));
    }
    return found->second;
}

}  // namespace tolvane
