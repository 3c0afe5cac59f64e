#include "platform/win32/form_menu.h"

#include <utility>

#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text.h"

namespace tolvane {

namespace {

// Destroys a menu that was not handed on, when building fails part way.
class MenuHandle {
  public:
    explicit MenuHandle(HMENU menu) : menu_(menu) {
        if (!menu_) ThrowLastError(u"Creating a menu");
    }
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
    ~MenuHandle() {
        if (menu_) DestroyMenu(menu_);
    }
    HMENU get() const { return menu_; }
    HMENU release() { return std::exchange(menu_, nullptr); }

  private:
    HMENU menu_;
};

void Append(HMENU menu, UINT flags, UINT_PTR item, const Text& caption) {
    if (!AppendMenuW(menu, MF_STRING | flags, item, ToWide(caption).c_str())) {
        ThrowLastError(u"Adding a menu item");
    }
}

}  // namespace

const std::string* FormMenu::ItemFor(UINT command) const {
    if (command < kFirstMenuCommand) return nullptr;
    const std::size_t index = command - kFirstMenuCommand;
    return index < itemNames.size() ? &itemNames[index] : nullptr;
}

FormMenu BuildMenuBar(const FormDescription& form) {
    FormMenu built;
    MenuHandle bar(CreateMenu());
    for (const MenuDescription& menu : form.menus) {
        MenuHandle popup(CreatePopupMenu());
        for (const MenuItemDescription& item : menu.items) {
            const auto command =
                static_cast<UINT>(FormMenu::kFirstMenuCommand + built.itemNames.size());
            Append(popup.get(), item.checked ? MF_CHECKED : MF_UNCHECKED, command, item.caption);
            built.itemNames.push_back(item.name);
        }
        Append(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), menu.caption);
        popup.release();  // now part of the bar
    }
    built.bar = bar.release();
    return built;
}

}  // namespace tolvane
