#include "platform/qt/qt_text.h"

namespace tolvane {

QString WithoutAccessKeyMarks(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        plain += caption[i];
    }
    return plain;
}

}  // namespace tolvane
