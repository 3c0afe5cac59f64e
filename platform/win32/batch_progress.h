#pragma once

#include <windows.h>

#include "platform/paced_batch_watch.h"

namespace tolvane {

// A long batch in a Win32 window: a line of text below the boxes says how
// many entries of how many are renamed (screen readers hear it change), and
// the thread's messages go on being handled, so the window repaints and
// answers the system, while no key, click or menu reaches it: nothing can
// change the mode or the texts before the batch ends. Esc stops the batch
// after the entry being renamed; so does closing the window, which then
// closes once the batch has stopped.
class Win32BatchProgress : public PacedBatchWatch {
  public:
    // `text` is the hidden static control that shows the count.
    void Attach(HWND text) { text_ = text; }

    // The window was asked to close during the batch.
    void RequestClose() { stop_ = closing_ = true; }
    // True from a close during the batch until forgotten, when the drop has
    // been dealt with.
    const bool& closing() const { return closing_; }
    void ForgetClosing() { closing_ = false; }

  protected:
    bool Look(Short done, Short count) override;
    void Finish() noexcept override;

  private:
    void HandleWaitingMessages();
    bool HoldBack(const MSG& message);

    HWND text_ = nullptr;
    bool stop_ = false;
    bool closing_ = false;
};

}  // namespace tolvane
