#include "platform/error_report.h"

#include <string>

namespace tolvane {

Text ErrorReportText(const Error& error) {
    const std::string number = std::to_string(error.number());
    return u"Error " + Text(number.begin(), number.end()) + u": " + error.description();
}

}  // namespace tolvane
