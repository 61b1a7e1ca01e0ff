#pragma once
// Icons of the File and Edit menu items from the desktop's icon theme (the
// freedesktop names: document-open, edit-copy, ...); Qt greys them out
// with their item.

namespace kestrum {

class MainMenus;

// Gives each File and Edit item its theme icon; where the theme has none,
// the style's icon of that kind where there is one, else no icon.
void SetMenuIcons(MainMenus& menus);

}  // namespace kestrum
