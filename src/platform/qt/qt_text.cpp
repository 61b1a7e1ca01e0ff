#include "platform/qt/qt_text.h"

#include "base/windows1252.h"

namespace kestrum {

QString Cp1252ToQString(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes) *out++ = QChar(Windows1252ToUnicode(static_cast<unsigned char>(b)));
    return text;
}

std::string QStringToCp1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) bytes.push_back(static_cast<char>(UnicodeToWindows1252(c.unicode())));
    return bytes;
}

QString CaptionText(std::string_view bytes) {
    QString text = Cp1252ToQString(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

}  // namespace kestrum
