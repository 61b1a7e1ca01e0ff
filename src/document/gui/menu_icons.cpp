#include "document/gui/menu_icons.h"

#include <QApplication>
#include <QStyle>

namespace kestrum {
namespace {

struct ItemIcon {
    const char* Item;
    const char* Theme;
    QStyle::StandardPixmap Fallback;
};

constexpr ItemIcon kIcons[] = {
    {"MainMenuFileNew", "document-new", QStyle::SP_FileIcon},
    {"MainMenuFileOpen", "document-open", QStyle::SP_DialogOpenButton},
    {"MainMenuFileSave", "document-save", QStyle::SP_DialogSaveButton},
    {"MainMenuFileSaveAs", "document-save-as", QStyle::SP_DialogSaveButton},
    {"MainMenuFilePrint", "document-print", QStyle::SP_CustomBase},
    {"MainMenuEditUndo", "edit-undo", QStyle::SP_ArrowBack},
    {"MainMenuEditCopy", "edit-copy", QStyle::SP_CustomBase},
    {"MainMenuEditCut", "edit-cut", QStyle::SP_CustomBase},
    {"MainMenuEditPaste", "edit-paste", QStyle::SP_CustomBase},
    {"MainMenuEditDelete", "edit-delete", QStyle::SP_TrashIcon},
    {"MainMenuEditSelectAll", "edit-select-all", QStyle::SP_CustomBase},
    {"MainMenuEditFind", "edit-find", QStyle::SP_FileDialogContentsView},
    {"MainMenuEditReplace", "edit-find-replace", QStyle::SP_CustomBase},
};

}  // namespace

QIcon DocumentMenuIcon(const std::string& itemName) {
    // Without a desktop that names a theme, the freedesktop theme that is
    // installed most widely.
    static const bool themed = [] {
        if (!QIcon::hasThemeIcon("edit-copy")) QIcon::setThemeName("Adwaita");
        return QIcon::hasThemeIcon("edit-copy");
    }();
    (void)themed;
    for (const ItemIcon& icon : kIcons) {
        if (itemName != icon.Item) continue;
        QIcon fallback;
        if (icon.Fallback != QStyle::SP_CustomBase) fallback = QApplication::style()->standardIcon(icon.Fallback);
        return QIcon::fromTheme(QString::fromLatin1(icon.Theme), fallback);
    }
    return {};
}

}  // namespace kestrum
