#pragma once
// The main menu, the protocol field's pop-up menu and the channel pop-up
// menu, built from the menu layout. Items are found by their control name;
// captions, check marks and enabled states come from MainView.

#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "base/main_view.h"
#include "app/menu_layout.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kestrum {

class MainMenus : public QObject {
    Q_OBJECT
public:
    // Fills `menuBar`; the pop-up menus are children of `owner`.
    MainMenus(QMenuBar& menuBar, QWidget& owner);

    void ApplyView(const MainView& view);

    QAction* Action(const std::string& name) const;  // nullptr if unknown
    QMenu* Menu(const std::string& name) const;      // a submenu or pop-up; nullptr if unknown
    QMenu* RichEditPopupMenu() const { return richEditPopup_; }
    QMenu* ChannelPopupMenu() const { return channelPopup_; }
    const std::map<std::string, QAction*>& Actions() const { return actions_; }

signals:
    // An item was chosen; `checked` is its check state after an auto-check.
    void ItemTriggered(const std::string& name, bool checked, int tag);
    // A menu (or pop-up, or submenu) is about to open.
    void MenuAboutToShow(const std::string& name);

private:
    void Build(QWidget* top, const std::vector<MenuEntry>& layout, QMenu* firstMenu);
    QAction* AddItem(QWidget* menu, const MenuEntry& entry);

    QMenu* richEditPopup_;
    QMenu* channelPopup_;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, QMenu*> menus_;
};

}  // namespace kestrum
