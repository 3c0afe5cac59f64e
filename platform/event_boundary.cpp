#include "platform/event_boundary.h"

#include <cerrno>
#include <new>

#include "engine/unicode.h"

namespace tolvane {

void RunEventHandler(ErrorReport& report, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Error& error) {
        report.Show(error);
    } catch (const std::bad_alloc&) {
        report.Show(Error(ENOMEM, u"Out of memory"));
    } catch (const std::exception& error) {
        report.Show(Error(EFAULT, u"Internal error: " + FromUtf8(error.what())));
    } catch (...) {
        report.Show(Error(EFAULT, u"Internal error"));
    }
}

}  // namespace tolvane
