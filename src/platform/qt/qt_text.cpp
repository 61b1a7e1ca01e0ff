#include "platform/qt/qt_text.h"

#include "base/windows1252.h"

namespace kestrum {

QString Cp1252ToQString(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes) *out++ = QChar(Windows1252ToUnicode(static_cast<unsigned char>(b)));
    return text;
}

void AppendCp1252(QString& text, std::string_view bytes) {
    const qsizetype start = text.size();
    text.resize(start + static_cast<qsizetype>(bytes.size()));
    QChar* out = text.data() + start;
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        *out++ = QChar(byte < 0x80 || byte >= 0xA0 ? char16_t{byte} : Windows1252ToUnicode(byte));
    }
}

char QCharToCp1252(QChar c) { return static_cast<char>(UnicodeToWindows1252(c.unicode())); }

void AppendQStringAsCp1252(std::string& bytes, QStringView text) {
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(text.size()));
    char* out = bytes.data() + start;
    for (QChar c : text) *out++ = static_cast<char>(UnicodeToWindows1252(c.unicode()));
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
