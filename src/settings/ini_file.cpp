#include "settings/ini_file.h"

#include <charconv>
#include <cstring>

namespace kestrum {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The section name of a header line, or nothing when the line is no header.
std::optional<std::string_view> HeaderName(std::string_view line) {
    const std::string_view trimmed = TrimView(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    std::string_view name = trimmed.substr(1);
    const std::size_t close = name.find(']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    return TrimView(name);
}

// The position of "=" in a key line, or npos when the line holds no key.
std::size_t KeyEquals(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return equals;
    const std::string_view key = TrimView(line.substr(0, equals));
    if (key.empty() || key.front() == ';') return std::string_view::npos;
    return equals;
}

std::string CleanValue(std::string_view value) {
    std::string result(value);
    for (char& c : result) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return result;
}

}  // namespace

std::optional<int> ParseInt32(std::string_view text) {
    text = TrimView(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value, 10);
    if (error != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::string TrimBlanks(std::string_view text) { return std::string(TrimView(text)); }

std::size_t IniFile::NameHash::operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-case bytes
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(LowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool IniFile::NameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

IniFile::IniFile() { sections_.emplace_back(); }

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    const char* const begin = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    while (start < size) {
        const void* lf = std::memchr(begin + start, '\n', size - start);
        std::size_t end = lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : size;
        std::size_t next = end + 1;
        if (const void* cr = std::memchr(begin + start, '\r', end - start)) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
            next = at + 1 == end ? end + 1 : at + 1;  // CR LF is one line end
            end = at;
        }
        ini.AddLine(text.substr(start, end - start));
        start = next;
    }
    return ini;
}

void IniFile::AddLine(std::string_view line) {
    if (const auto name = HeaderName(line)) {
        Section section;
        section.Header = std::string(line);
        sectionIndex_.try_emplace(std::string(*name), sections_.size());
        sections_.push_back(std::move(section));
        return;
    }
    Section& section = sections_.back();
    const std::size_t equals = sections_.size() > 1 ? KeyEquals(line) : std::string::npos;
    if (equals != std::string::npos) {
        section.Keys.try_emplace(std::string(TrimView(line.substr(0, equals))), section.Entries.size());
        section.LastKey = section.Entries.size();
        section.Entries.push_back(Entry{std::string(line), equals});
        return;
    }
    // Consecutive lines without a key share one entry, so that a file of
    // millions of empty or junk lines costs little more than its size.
    if (!section.Entries.empty() && section.Entries.back().Equals == std::string::npos) {
        std::string& block = section.Entries.back().Text;
        block += '\n';
        block += line;
    } else {
        section.Entries.push_back(Entry{std::string(line), std::string::npos});
    }
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        if (&section != &sections_.front()) {
            text += section.Header;
            text += '\n';
        }
        for (const Entry& entry : section.Entries) {
            text += entry.Text;
            text += '\n';
        }
    }
    return text;
}

const IniFile::Section* IniFile::FindSection(std::string_view section) const {
    const auto found = sectionIndex_.find(section);
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    return found != nullptr && found->Keys.find(key) != found->Keys.end();
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return std::nullopt;
    const auto entry = found->Keys.find(key);
    if (entry == found->Keys.end()) return std::nullopt;
    const Entry& line = found->Entries[entry->second];
    return line.Text.substr(line.Equals + 1);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const {
    auto value = Value(section, key);
    return value ? std::move(*value) : fallback;
}

std::optional<int> IniFile::ReadIntegerValue(std::string_view section, std::string_view key) const {
    const auto value = Value(section, key);
    if (!value) return std::nullopt;
    return ParseInt32(*value);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    return ReadIntegerValue(section, key).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

IniFile::Section& IniFile::SectionForWriting(std::string_view section) {
    const auto found = sectionIndex_.find(section);
    if (found != sectionIndex_.end()) return sections_[found->second];
    Section created;
    created.Header = "[" + CleanValue(section) + "]";
    sectionIndex_.emplace(std::string(section), sections_.size());
    sections_.push_back(std::move(created));
    return sections_.back();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Section& target = SectionForWriting(section);
    const auto found = target.Keys.find(key);
    if (found != target.Keys.end()) {
        Entry& entry = target.Entries[found->second];
        entry.Text.resize(entry.Equals + 1);
        entry.Text += CleanValue(value);
        return;
    }
    // After the last key, so that blank lines and comments closing the
    // section stay in front of the next section. Only unindexed raw blocks
    // can follow the last key, so no stored index moves.
    const std::size_t position = target.LastKey == std::string::npos ? 0 : target.LastKey + 1;
    std::string line = CleanValue(key);
    const std::size_t equals = line.size();
    line += '=';
    line += CleanValue(value);
    target.Entries.insert(target.Entries.begin() + static_cast<std::ptrdiff_t>(position),
                          Entry{std::move(line), equals});
    target.Keys.emplace(std::string(key), position);
    target.LastKey = position;
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace kestrum
