#include "platform/win32/win32_error_report.h"

#include <string>

#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

std::wstring WindowTitle(HWND window) {
    wchar_t title[256] = {};
    if (window) GetWindowTextW(window, title, 256);
    return title;
}

}  // namespace

Text ErrorReportText(const Error& error) {
    return u"Error " + FromWide(std::to_wstring(error.number())) + u": " + error.description();
}

void Win32ErrorReport::Show(const Error& error) {
    MessageBoxW(owner_, ToWide(ErrorReportText(error)).c_str(), WindowTitle(owner_).c_str(),
                MB_OK | MB_ICONERROR);
}

}  // namespace tolvane
