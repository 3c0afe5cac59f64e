#include "platform/qt/qt_error_report.h"

#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace tolvane {

void QtErrorReport::Show(const Error& error) {
    const QString title = owner_ ? owner_->windowTitle() : QString();
    const QString text = ToQString(ErrorReportText(error));
    auto* box = new QMessageBox(QMessageBox::Critical, title, text, QMessageBox::Ok, owner_);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

}  // namespace tolvane
