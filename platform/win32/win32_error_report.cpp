#include "platform/win32/win32_error_report.h"

#include <string>

#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

Text ErrorReportText(const Error& error) {
    return u"Error " + FromWide(std::to_wstring(error.number())) + u": " + error.description();
}

}  // namespace

void Win32ErrorReport::Show(const Error& error) {
    MessageBoxW(owner_, ToWide(ErrorReportText(error)).c_str(), ToWide(title_).c_str(),
                MB_OK | MB_ICONERROR);
}

}  // namespace tolvane
