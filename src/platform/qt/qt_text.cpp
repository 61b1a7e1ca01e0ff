#include "platform/qt/qt_text.h"

#include <array>

namespace kestrum {
namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252. The five
// unassigned bytes keep their C1 code.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ByteToUnicode(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHighControlBlock[b - 0x80];
    return b;
}

char UnicodeToByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

QString Cp1252ToQString(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes) *out++ = QChar(ByteToUnicode(static_cast<unsigned char>(b)));
    return text;
}

void AppendCp1252(QString& text, std::string_view bytes) {
    const qsizetype start = text.size();
    text.resize(start + static_cast<qsizetype>(bytes.size()));
    QChar* out = text.data() + start;
    for (char b : bytes) *out++ = QChar(ByteToUnicode(static_cast<unsigned char>(b)));
}

char QCharToCp1252(QChar c) { return UnicodeToByte(c.unicode()); }

void AppendQStringAsCp1252(std::string& bytes, QStringView text) {
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(text.size()));
    char* out = bytes.data() + start;
    for (QChar c : text) *out++ = UnicodeToByte(c.unicode());
}

std::string QStringToCp1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) bytes.push_back(UnicodeToByte(c.unicode()));
    return bytes;
}

QString CaptionText(std::string_view bytes) {
    QString text = Cp1252ToQString(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    return text;
}

}  // namespace kestrum
