#pragma once

#include <string>

namespace tolvane {

// Names and typed texts are sequences of 16-bit characters; lengths and
// positions in the renaming rules count those characters.
using Text = std::u16string;

}  // namespace tolvane
