#include "platform/qt/batch_progress.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

#include "platform/progress_place.h"
#include "platform/qt/twips.h"

namespace tolvane {

namespace {

bool IsInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
        case QEvent::InputMethod:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return event.isInputEvent();
    }
}

}  // namespace

void QtBatchProgress::AddBar(QWidget& area) {
    const ControlDescription place = ProgressPlace();
    bar_ = new QProgressBar(&area);
    bar_->setObjectName(QString::fromStdString(place.name));
    bar_->setGeometry(PixelGeometry(place));
    bar_->setFormat(QStringLiteral("%v of %m"));
    bar_->setTextVisible(true);
    // Screen readers say the name, then the changing value.
    bar_->setAccessibleName(QStringLiteral("Entries renamed"));
    bar_->hide();
}

bool QtBatchProgress::Look(Short done, Short count) {
    if (!holdingInput_) {
        stop_ = false;
        QCoreApplication::instance()->installEventFilter(this);
        holdingInput_ = true;
        if (bar_) {
            bar_->setRange(0, count);
            bar_->show();
        }
    }
    if (bar_) bar_->setValue(done);
    QCoreApplication::processEvents();
    return stop_;
}

void QtBatchProgress::Finish() noexcept {
    QCoreApplication::instance()->removeEventFilter(this);
    holdingInput_ = false;
    stop_ = false;
    if (bar_) bar_->hide();
}

// Input that arrives during the batch is dropped, not kept for later: keys
// typed into a box that the program does not read until the batch ends
// would change the texts behind the user's back.
bool QtBatchProgress::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close &&
        (watched == &window_ || watched == window_.windowHandle())) {
        stop_ = closing_ = true;
        event->ignore();
        return true;
    }
    if (!IsInput(*event)) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stop_ = true;
    }
    return true;
}

}  // namespace tolvane
