#pragma once
// An INI document held wholly in memory. Section and key names match without
// regard to ASCII letter case. Everything the program does not know (other
// sections, other keys, comments, lines without "=", junk) is kept in its
// place and written back unchanged.
//
// Reading rules:
// - Lines end at LF, CR LF or a lone CR. Text() always writes LF.
// - A line whose first non-blank character is '[' starts a section; its name
//   is the text up to ']' (or the line's end), trimmed of blanks.
// - A line with "=" whose key (the text before the first "=", trimmed) is not
//   empty and does not start with ';' is a key; its value is the text after
//   the "=" exactly as it stands.
// - Lines before the first section are kept but hold no keys.
// - When a section or a key appears twice, the first one counts, for reading
//   and for writing.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrum {

class IniFile {
public:
    IniFile();
    static IniFile Parse(std::string_view text);

    // The whole document as text, LF line ends, ending with a line end when
    // it holds anything.
    std::string Text() const;

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    // The value as written after "=", or nothing when the key is absent.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Typed reads: a missing key, or for integers a value that is not a
    // decimal signed 32-bit number (blanks around it allowed), gives the
    // default. A bool is an integer, non-zero meaning true.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    std::optional<int> ReadIntegerValue(std::string_view section, std::string_view key) const;
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Sets the first occurrence of the key, keeping its spelling in the file;
    // a new key goes after the section's last key, a new section to the end
    // of the document. CR and LF in a value become blanks, so a value can
    // never break the document's structure.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, long long value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    // Hash and equality of names without regard to ASCII letter case, usable
    // with string_view keys so that lookups allocate nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, NameEqual>;

    struct Entry {
        std::string Text;               // the line (a raw block: lines joined by LF)
        std::size_t Equals = std::string::npos;  // position of "=" in a key line
    };
    struct Section {
        std::string Header;             // the header line as written; empty for the preamble
        std::vector<Entry> Entries;
        NameIndex Keys;                 // key -> its first entry
        std::size_t LastKey = std::string::npos;            // index of the last key entry
    };

    const Section* FindSection(std::string_view section) const;
    Section& SectionForWriting(std::string_view section);
    void AddLine(std::string_view line);

    std::vector<Section> sections_;  // [0] is the preamble before any header
    NameIndex sectionIndex_;         // name -> its first section
};

// Decimal signed 32-bit integer with optional blanks around it, else nothing.
std::optional<int> ParseInt32(std::string_view text);
// Leading and trailing blanks (space, tab) removed.
std::string TrimBlanks(std::string_view text);

}  // namespace kestrum
