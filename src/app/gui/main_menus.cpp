#include "app/gui/main_menus.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/qt_text.h"

namespace kestrum {

MainMenus::MainMenus(QMenuBar& menuBar, QWidget& owner) : QObject(&owner) {
    richEditPopup_ = new QMenu(&owner);
    channelPopup_ = new QMenu(&owner);
    menus_["RichEditPopupMenu"] = richEditPopup_;
    menus_["ChannelPopupMenu"] = channelPopup_;
    connect(richEditPopup_, &QMenu::aboutToShow, this, [this] { emit MenuAboutToShow("RichEditPopupMenu"); });
    connect(channelPopup_, &QMenu::aboutToShow, this, [this] { emit MenuAboutToShow("ChannelPopupMenu"); });
    Build(&menuBar, MainMenuLayout(), nullptr);
    Build(richEditPopup_, RichEditPopupMenuLayout(), richEditPopup_);
    Build(channelPopup_, ChannelPopupMenuLayout(), channelPopup_);
}

void MainMenus::Build(QWidget* top, const std::vector<MenuEntry>& layout, QMenu* firstMenu) {
    std::vector<QWidget*> stack{top};
    QActionGroup* languages = nullptr;
    (void)firstMenu;
    for (const MenuEntry& entry : layout) {
        QWidget* current = stack.back();
        switch (entry.Kind) {
        case MenuEntryKind::SubmenuBegin: {
            QMenu* menu = nullptr;
            if (auto* bar = qobject_cast<QMenuBar*>(current)) menu = bar->addMenu(QString());
            else menu = static_cast<QMenu*>(current)->addMenu(QString());
            menu->setObjectName(QString::fromStdString(entry.Name));
            menu->menuAction()->setObjectName(QString::fromStdString(entry.Name));
            menus_[entry.Name] = menu;
            actions_[entry.Name] = menu->menuAction();
            const std::string name = entry.Name;
            connect(menu, &QMenu::aboutToShow, this, [this, name] { emit MenuAboutToShow(name); });
            stack.push_back(menu);
            break;
        }
        case MenuEntryKind::SubmenuEnd:
            stack.pop_back();
            break;
        case MenuEntryKind::Separator:
            if (auto* menu = qobject_cast<QMenu*>(current)) menu->addSeparator();
            break;
        case MenuEntryKind::Item: {
            QAction* action = AddItem(current, entry);
            if (entry.Radio) {
                if (!languages) {
                    languages = new QActionGroup(this);
                    languages->setExclusive(true);
                }
                languages->addAction(action);
            }
            break;
        }
        }
    }
}

QAction* MainMenus::AddItem(QWidget* menu, const MenuEntry& entry) {
    auto* action = new QAction(menu);
    action->setObjectName(QString::fromStdString(entry.Name));
    action->setCheckable(entry.AutoCheck || entry.Radio);
    // Items whose handler sets the check mark itself (trigger activated)
    // still show one.
    if (entry.Name.find("TriggerEnabled") != std::string::npos || entry.Name == "ChannelPopupMenuTrigger")
        action->setCheckable(true);
    if (!entry.Shortcut.empty()) {
        action->setShortcut(QKeySequence(QString::fromStdString(entry.Shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
    }
    menu->addAction(action);
    actions_[entry.Name] = action;
    const std::string name = entry.Name;
    const int tag = entry.Tag;
    const bool autoCheck = entry.AutoCheck || entry.Radio;
    connect(action, &QAction::triggered, this, [this, name, tag, autoCheck, action](bool checked) {
        // An item without automatic check marking keeps the mark the
        // program gave it; the handler decides.
        if (!autoCheck && action->isCheckable()) action->setChecked(!checked);
        emit ItemTriggered(name, autoCheck ? checked : action->isChecked(), tag);
    });
    return action;
}

void MainMenus::ApplyView(const MainView& view) {
    for (const auto& [name, action] : actions_) {
        const auto it = view.MenuItems.find(name);
        if (it == view.MenuItems.end()) continue;
        const MenuItemView& item = it->second;
        const QString caption = CaptionText(item.Caption);
        if (action->text() != caption) action->setText(caption);
        if (action->isEnabled() != item.Enabled) action->setEnabled(item.Enabled);
        if (action->isCheckable() && action->isChecked() != item.Checked) action->setChecked(item.Checked);
    }
}

QAction* MainMenus::Action(const std::string& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainMenus::Menu(const std::string& name) const {
    const auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

}  // namespace kestrum
