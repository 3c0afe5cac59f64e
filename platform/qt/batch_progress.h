#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QWidget>

#include "platform/paced_batch_watch.h"

namespace tolvane {

// A long batch in a Qt window: a progress bar shows how many entries of how
// many are renamed, and the window goes on repainting and answering the
// compositor, while no input reaches it: no menu, key, click or drop can
// change the mode or the texts before the batch ends. Esc stops the batch
// after the entry being renamed; so does closing the window, which then
// closes once the batch has stopped.
class QtBatchProgress : public QObject, public PacedBatchWatch {
  public:
    explicit QtBatchProgress(QWidget& window) : window_(window) {}

    // Adds the hidden progress bar to `area`, below the boxes.
    void AddBar(QWidget& area);
    const QProgressBar* bar() const { return bar_; }

    // Whether the user closed the window during the batch; true until
    // forgotten, when the drop has been dealt with.
    const bool& closing() const { return closing_; }
    void ForgetClosing() { closing_ = false; }

  protected:
    bool Look(Short done, Short count) override;
    void Finish() noexcept override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    QPointer<QProgressBar> bar_;
    bool holdingInput_ = false;
    bool stop_ = false;
    bool closing_ = false;
};

}  // namespace tolvane
