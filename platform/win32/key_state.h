#pragma once

#include <windows.h>

namespace tolvane {

// Whether `key` (a virtual-key code, mouse buttons included) is held now, as
// the thread's last message left the keyboard.
inline bool IsKeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace tolvane
