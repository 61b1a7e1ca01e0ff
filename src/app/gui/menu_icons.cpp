#include "app/gui/menu_icons.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QStyle>

#include <optional>

#include "app/gui/main_menus.h"

namespace kestrum {
namespace {

struct MenuIcon {
    const char* Item;
    const char* ThemeName;
    std::optional<QStyle::StandardPixmap> StyleIcon;
};

const MenuIcon kIcons[] = {
    {"MainMenuFileNew", "document-new", QStyle::SP_FileIcon},
    {"MainMenuFileOpen", "document-open", QStyle::SP_DialogOpenButton},
    {"MainMenuFileSave", "document-save", QStyle::SP_DialogSaveButton},
    {"MainMenuFileSaveAs", "document-save-as", std::nullopt},
    {"MainMenuFilePrint", "document-print", std::nullopt},
    {"MainMenuFileExit", "application-exit", QStyle::SP_DialogCloseButton},
    {"MainMenuEditUndo", "edit-undo", std::nullopt},
    {"MainMenuEditCopy", "edit-copy", std::nullopt},
    {"MainMenuEditCut", "edit-cut", std::nullopt},
    {"MainMenuEditPaste", "edit-paste", std::nullopt},
    {"MainMenuEditDelete", "edit-delete", QStyle::SP_TrashIcon},
    {"MainMenuEditSelectAll", "edit-select-all", std::nullopt},
    {"MainMenuEditFind", "edit-find", std::nullopt},
    {"MainMenuEditReplace", "edit-find-replace", std::nullopt},
};

}  // namespace

void SetMenuIcons(MainMenus& menus) {
    // Without a desktop session the theme is the bare "hicolor"; a common
    // full theme stands in where one is installed.
    if (!QIcon::hasThemeIcon("document-open") && (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor")) {
        const QString bare = QIcon::themeName();
        for (const char* theme : {"Adwaita", "breeze"}) {
            QIcon::setThemeName(theme);
            if (QIcon::hasThemeIcon("document-open")) break;
            QIcon::setThemeName(bare);
        }
    }
    for (const MenuIcon& entry : kIcons) {
        QAction* action = menus.Action(entry.Item);
        if (action == nullptr) continue;
        QIcon icon = QIcon::fromTheme(entry.ThemeName);
        if (icon.isNull() && entry.StyleIcon) icon = QApplication::style()->standardIcon(*entry.StyleIcon);
        action->setIcon(icon);
    }
}

}  // namespace kestrum
