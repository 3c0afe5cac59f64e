#include "platform/qt/qt_controls.h"

#include "platform/qt/label_caption.h"
#include "platform/qt/qt_text.h"

namespace tolvane {

void QtWindow::TakeFocus() {
    window_.raise();
    window_.activateWindow();
}

void QtLabel::SetCaption(const Text& caption) { ShowCaption(label_, ToQString(caption)); }

Text QtTextBox::GetText() const { return ToText(box_.text()); }

}  // namespace tolvane
