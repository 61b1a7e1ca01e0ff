#include "base/main_view.h"

#include <stdexcept>

namespace kestrum {

void MainView::DeclareItems(const std::vector<std::string>& names) {
    for (const std::string& name : names) MenuItems.try_emplace(name);
    declared_ = true;
}

MenuItemView& MainView::Item(std::string_view name) {
    auto it = MenuItems.find(name);
    if (it == MenuItems.end()) {
        if (declared_) throw std::out_of_range("no menu item " + std::string(name));
        it = MenuItems.emplace(std::string(name), MenuItemView{}).first;
    }
    return it->second;
}

const MenuItemView& MainView::Item(std::string_view name) const {
    static const MenuItemView kNone{};
    const auto it = MenuItems.find(name);
    return it == MenuItems.end() ? kNone : it->second;
}

void MainView::ShowModeControls(bool monitor, bool syncAvailable) {
    Monitor.Down = monitor;
    Sender.Down = !monitor;
    Trigger.Visible = monitor;
    Sync.Visible = !monitor;
    TxTimeInterval.Visible = !monitor;
    UpDownTxTimeInterval.Visible = !monitor;
    Sync.Enabled = !monitor && syncAvailable;
}

}  // namespace kestrum
