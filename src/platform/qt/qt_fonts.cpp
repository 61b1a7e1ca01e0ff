#include "platform/qt/qt_fonts.h"

#include <QFontDatabase>

#include "platform/qt/qt_text.h"

namespace kestrum {

QString FontFamilyOf(std::string_view name) {
    const QString family = Cp1252ToQString(name);
    if (family.compare(QLatin1String("FixedSys"), Qt::CaseInsensitive) == 0 && !QFontDatabase::hasFamily(family))
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return family;
}

QFont FontOfEntry(std::string_view name, int size, std::uint8_t style) {
    QFont font;
    font.setFamilies(QStringList{FontFamilyOf(name)});
    font.setStyleHint(QFont::TypeWriter);
    if (size > 0) font.setPointSize(size);
    font.setBold((style & 1) != 0);
    font.setItalic((style & 2) != 0);
    font.setUnderline((style & 4) != 0);
    font.setStrikeOut((style & 8) != 0);
    return font;
}

}  // namespace kestrum
