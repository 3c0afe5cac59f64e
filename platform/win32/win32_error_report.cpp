#include "platform/win32/win32_error_report.h"

#include "platform/win32/win32_text.h"

namespace tolvane {

void Win32ErrorReport::Show(const Error& error) {
    MessageBoxW(owner_, ToWide(ErrorReportText(error)).c_str(), ToWide(title_).c_str(),
                MB_OK | MB_ICONERROR);
}

}  // namespace tolvane
