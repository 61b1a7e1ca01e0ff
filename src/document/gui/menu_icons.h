#pragma once
// The pictures of the File and Edit menu items. A disabled item shows its
// picture greyed, as its "...DISABLED" bitmap did.

#include <QIcon>

#include <string>

namespace kestrum {

// The theme picture of a File or Edit item (by control name), with the
// style's own where the theme has none; a null icon for other items.
QIcon DocumentMenuIcon(const std::string& itemName);

}  // namespace kestrum
