#pragma once
// A protocol as a recording makes it, for the file benchmarks: four channels
// with their own font, colour and style in random order, 60 bytes a line
// with a time tag, mostly printable and now and then a byte that needs
// escaping in Rich Text. The same for every run.

#include <cstdint>
#include <cstdio>
#include <string>

#include "document/protocol_document.h"

namespace kestrum::bench {

inline TextAttributes Channel(int n) {
    static const Colour colours[] = {0x0000FF, 0xFF0000, 0x008000, 0xFF00FF};
    TextAttributes a;
    a.FontName = n % 2 == 0 ? "Courier New" : "FixedSys";
    a.FontSize = 10 + n % 2;
    a.Color = colours[n];
    a.Style = static_cast<std::uint8_t>(n == 3 ? 1 : 0);
    return a;
}

inline ProtocolDocument RecordedProtocol(std::size_t lines) {
    ProtocolDocument document;
    document.Reserve(lines, lines * 62, lines);
    FormatIndex formats[4];
    for (int n = 0; n < 4; ++n) formats[n] = document.AddFormat(Channel(n));
    std::uint32_t random = 12345;
    std::string line;
    for (std::size_t i = 0; i < lines; ++i) {
        random = random * 1664525u + 1013904223u;
        const int channel = static_cast<int>(random >> 30);
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "COM%d: %9.6f  ", channel + 1, static_cast<double>(i) * 0.000731);
        line = prefix;
        while (line.size() < 60) {
            random = random * 1664525u + 1013904223u;
            const unsigned value = random >> 24;
            line += static_cast<char>(value < 230 ? ' ' + value % 95 : value);
        }
        for (char& c : line)
            if (c == '\r' || c == '\n') c = '.';
        document.AddLine();
        document.AppendText(line, formats[channel]);
    }
    return document;
}

}  // namespace kestrum::bench
