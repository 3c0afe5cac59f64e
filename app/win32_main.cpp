#include <windows.h>

#include "platform/event_boundary.h"
#include "platform/win32/form_window.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/win32_error_report.h"
#include "platform/win32/win32_renamer.h"
#include "window/form1_description.h"
#include "window/main_window.h"

namespace {

int Run(int showCommand) {
    tolvane::Win32Renamer renamer;
    tolvane::Win32FormWindow window(tolvane::Form1Description());
    tolvane::Win32ErrorReport errors(window.handle(), tolvane::Form1Description().caption);
    tolvane::Form1 form(window.controls(), renamer);
    window.Attach(form, errors);
    window.EndProgramOnClose();
    window.Show(showCommand);
    return tolvane::RunMessageLoop(window.handle());
}

}  // namespace

// Errors inside events are shown by the window and the program goes on; one
// that reaches here means the window could not be made at all.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    int exitCode = 1;
    tolvane::Win32ErrorReport report(nullptr, tolvane::Form1Description().caption);
    tolvane::RunEventHandler(report, [&] { exitCode = Run(showCommand); });
    return exitCode;
}
