#include "app/main_view.h"

namespace kestrum {

MenuItemView& MainView::Item(std::string_view name) {
    auto it = MenuItems.find(name);
    if (it == MenuItems.end()) it = MenuItems.emplace(std::string(name), MenuItemView{}).first;
    return it->second;
}

const MenuItemView& MainView::Item(std::string_view name) const {
    static const MenuItemView kNone{};
    const auto it = MenuItems.find(name);
    return it == MenuItems.end() ? kNone : it->second;
}

}  // namespace kestrum
