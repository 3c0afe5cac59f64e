#include "window/form1_description.h"

namespace tolvane {

const FormDescription& Form1Description() {
    static const FormDescription description{
        .name = "Form1",
        .caption = u"Tolvane",
        .clientWidth = 3072,
        .clientHeight = 1788,
        .controls =
            {
                {.name = "txtFind",
                 .kind = ControlKind::TextBox,
                 .left = 75,
                 .top = 375,
                 .width = 1305,
                 .height = 285,
                 .tabIndex = 0},
                {.name = "txtReplace",
                 .kind = ControlKind::TextBox,
                 .left = 1515,
                 .top = 375,
                 .width = 1305,
                 .height = 285,
                 .tabIndex = 1},
                {.name = "Label1",
                 .kind = ControlKind::Label,
                 .caption = u"Find",
                 .left = 105,
                 .top = 90,
                 .width = 1305,
                 .height = 285,
                 .tabIndex = 2,
                 .buddy = "txtFind"},
                {.name = "Label2",
                 .kind = ControlKind::Label,
                 .caption = u"Replace",
                 .left = 1515,
                 .top = 60,
                 .width = 1305,
                 .height = 285,
                 .tabIndex = 3,
                 .buddy = "txtReplace"},
            },
        .menus =
            {
                {.name = "mnuFile",
                 .caption = u"&File",
                 .items =
                     {
                         {"mnuSearchandReplace", u"&Search and Replace", true},
                         {"mnuInsert", u"&Insert", false},
                         {"mnuAppend", u"&Append", false},
                         {"mnuNumber", u"&Number", false},
                     }},
            },
    };
    return description;
}

}  // namespace tolvane
