#pragma once
// Conversion between the program's single-byte text (Windows-1252) and Qt
// strings, done at the edge of the GUI.

#include <QString>

#include <string>
#include <string_view>

namespace kestrum {

// Windows-1252 bytes to a Qt string. Every byte maps to one character
// (0xB6 -> U+00B6, 0xA4 -> U+00A4, control bytes stay control characters;
// the five bytes without a Windows-1252 character keep their own code).
QString Cp1252ToQString(std::string_view bytes);

// Appends `bytes` to `text` as Cp1252ToQString converts them.
void AppendCp1252(QString& text, std::string_view bytes);

// The reverse; characters outside Windows-1252 become '?'.
std::string QStringToCp1252(const QString& text);
// One character as QStringToCp1252 converts it.
char QCharToCp1252(QChar c);

// Appends `text` to `bytes` as QStringToCp1252 converts it.
void AppendQStringAsCp1252(std::string& bytes, QStringView text);

// A caption or hint text: Windows-1252 with '\r' as line break ("\r" -> "\n").
QString CaptionText(std::string_view bytes);

}  // namespace kestrum
