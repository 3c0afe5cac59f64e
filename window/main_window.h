#pragma once

#include <string_view>

#include "engine/file_renamer.h"
#include "engine/text.h"
#include "platform/form_events.h"
#include "platform/window_services.h"
#include "window/form1_description.h"

namespace tolvane {

// The program's one window: holds the current renaming mode and routes
// dropped files to the engine. Written against the platform's window
// services, so every front end shares it.
class Form1 : public FormEvents {
  public:
    // `controls` must have been built from Form1Description().
    Form1(FormControls& controls, FileRenamer& renamer);

    // Events, dispatched by name to the handlers below.
    void Load() override;
    void Click(std::string_view menuItem) override;
    void DragDrop(std::string_view target, DropData& data, DropArgs& args) override;

    void Form_Load();
    void mnuSearchandReplace_Click();
    void mnuInsert_Click();
    void mnuAppend_Click();
    void mnuNumber_Click();

    // Virtual so that the forwarding of the control handlers can be observed.
    virtual void Form_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                                  std::int16_t shift, float x, float y);
    void txtFind_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                             std::int16_t shift, float x, float y);
    void txtReplace_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                                std::int16_t shift, float x, float y);
    void Label1_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                            std::int16_t shift, float x, float y);
    void Label2_OLEDragDrop(DropData& data, std::int32_t& effect, std::int16_t button,
                            std::int16_t shift, float x, float y);

    // Path splitting, offered by the window as well as by the engine.
    Text NoPath(Text path) const;
    Text JustPath(Text path) const;

    const Text& Mode() const noexcept { return mode_; }

  private:
    struct ModeView {
        const char16_t* caption;  // Label1's caption
        bool showReplace;         // Label2 and txtReplace
        const char16_t* letter;
    };

    void ClearChecks();
    void SelectMode(MenuItem& item, const ModeView& view);

    FormControls& controls_;
    FileRenamer& renamer_;
    Text mode_;
};

}  // namespace tolvane
