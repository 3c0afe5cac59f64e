#include "platform/qt/label_caption.h"

#include "platform/qt/qt_text.h"

namespace tolvane {

void ShowCaption(QLabel& label, const QString& caption) {
    label.setText(caption);
    const QString spoken = WithoutAccessKeyMarks(caption);
    label.setAccessibleName(spoken);
    if (QWidget* buddy = label.buddy()) buddy->setAccessibleName(spoken);
}

}  // namespace tolvane
