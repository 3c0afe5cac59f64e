#include "platform/qt/qt_error_report.h"

#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace tolvane {

void QtErrorReport::Show(const Error& error) {
    const QString title = owner_ ? owner_->windowTitle() : QString();
    const QString text = QStringLiteral("Error %1: %2")
                             .arg(QString::number(error.number()), ToQString(error.description()));
    auto* box = new QMessageBox(QMessageBox::Critical, title, text, QMessageBox::Ok, owner_);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

}  // namespace tolvane
