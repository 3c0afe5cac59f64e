#pragma once

#include <string>
#include <vector>

#include "engine/text.h"

namespace tolvane {

// A form as a designer would save it: what each front end builds its window
// from. Geometry is in twips (1440 to the inch, 15 to a pixel at 96 dpi).

enum class ControlKind { Label, TextBox };

struct ControlDescription {
    std::string name;
    ControlKind kind = ControlKind::Label;
    Text caption{};  // a label's caption; a text box's initial text
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = 0;
    bool visible = true;
    std::string buddy{};  // for a label: the text box it names
};

struct MenuItemDescription {
    std::string name;
    Text caption;  // '&' marks the access key
    bool checked = false;
};

struct MenuDescription {
    std::string name;
    Text caption;
    std::vector<MenuItemDescription> items;
};

struct FormDescription {
    std::string name;
    Text caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::vector<ControlDescription> controls;
    std::vector<MenuDescription> menus;
};

inline constexpr int kTwipsPerPixel = 15;

}  // namespace tolvane
