#pragma once
// A strict reader of the little-endian pcapng files the capture file writer
// produces, for tests: every block's framing (total length at both ends, a
// multiple of 4, inside the file), every option list (padded values, an end
// marker, nothing after it) and every padding byte (zero) is checked, and the
// first violation is reported with its file offset. Blocks of other types
// are kept but not interpreted. A file of several sections (recordings
// appended to it) reads as one list of interfaces.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrum::test {

struct PcapngOption {
    std::uint16_t Code = 0;
    std::string Value;
};

struct PcapngBlock {
    std::uint32_t Type = 0;
    std::uint32_t TotalLength = 0;
    std::size_t Offset = 0;
};

struct PcapngInterface {
    std::uint16_t LinkType = 0;
    std::uint32_t SnapLength = 0;
    std::string Name;
    std::string Description;
    std::optional<std::uint8_t> TimestampResolution;  // the raw if_tsresol byte
    std::vector<PcapngOption> Options;
};

struct PcapngPacket {
    std::uint32_t Interface = 0;  // index into PcapngFile::Interfaces (of every section)
    std::uint64_t Timestamp = 0;  // in the interface's resolution
    std::uint32_t OriginalLength = 0;
    std::string Data;  // the captured bytes
};

struct PcapngFile {
    std::string Problem;  // empty when the whole file is well-formed
    std::uint16_t MajorVersion = 0;
    std::uint16_t MinorVersion = 0;
    std::int64_t SectionLength = 0;
    int Sections = 0;  // section headers read; the fields above are the first one's
    std::vector<PcapngOption> SectionOptions;
    std::vector<PcapngBlock> Blocks;
    std::vector<PcapngInterface> Interfaces;
    std::vector<PcapngPacket> Packets;

    bool Ok() const { return Problem.empty(); }
    std::string SectionOption(std::uint16_t code) const {
        for (const PcapngOption& option : SectionOptions)
            if (option.Code == code) return option.Value;
        return {};
    }
};

// The 12-byte serial header in front of every frame of link type 250.
struct SerialFrame {
    std::uint32_t Seconds = 0;
    std::uint32_t Microseconds = 0;
    std::uint8_t Event = 0;
    std::uint8_t Lines = 0;
    std::uint16_t Footer = 0;
    std::string Payload;
};

namespace pcapng_detail {

inline std::uint32_t Le(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

inline std::uint32_t Be(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

inline bool AllZero(const std::string& bytes, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (bytes[i] != '\0') return false;
    return true;
}

// Parses the options in [at, end); a problem text, or empty.
inline std::string ParseOptions(const std::string& bytes, std::size_t at, std::size_t end,
                                std::vector<PcapngOption>& options) {
    if (at == end) return {};  // no options at all
    while (true) {
        if (end - at < 4) return "option header runs past the block at " + std::to_string(at);
        const auto code = static_cast<std::uint16_t>(Le(bytes, at, 2));
        const auto length = static_cast<std::size_t>(Le(bytes, at + 2, 2));
        const std::size_t padded = (length + 3) & ~std::size_t{3};
        if (end - at - 4 < padded) return "option value runs past the block at " + std::to_string(at);
        if (!AllZero(bytes, at + 4 + length, at + 4 + padded))
            return "option padding not zero at " + std::to_string(at);
        if (code == 0) {
            if (length != 0) return "end of options with a length at " + std::to_string(at);
            if (at + 4 != end) return "bytes after the end of options at " + std::to_string(at);
            return {};
        }
        options.push_back({code, bytes.substr(at + 4, length)});
        at += 4 + padded;
    }
}

}  // namespace pcapng_detail

inline PcapngFile ParsePcapng(const std::string& bytes) {
    using pcapng_detail::Le;
    PcapngFile file;
    std::size_t at = 0;
    std::size_t sectionStart = 0;  // index of the current section's first interface
    auto fail = [&](const std::string& what) {
        file.Problem = what + " (block at " + std::to_string(at) + ")";
        return file;
    };
    while (at < bytes.size()) {
        if (bytes.size() - at < 12) return fail("truncated block header");
        const std::uint32_t type = Le(bytes, at, 4);
        const std::uint32_t total = Le(bytes, at + 4, 4);
        if (total < 12 || total % 4 != 0) return fail("bad block length " + std::to_string(total));
        if (total > bytes.size() - at) return fail("block runs past the end of the file");
        if (Le(bytes, at + total - 4, 4) != total) return fail("trailing length differs");
        if (file.Blocks.empty() && type != 0x0A0D0D0A) return fail("file does not start with a section header");
        file.Blocks.push_back({type, total, at});
        const std::size_t body = at + 8;
        const std::size_t end = at + total - 4;
        std::string problem;
        if (type == 0x0A0D0D0A) {
            if (end - body < 16) return fail("section header too short");
            if (Le(bytes, body, 4) != 0x1A2B3C4D) return fail("not little-endian byte order magic");
            // A later section (a file appended to) starts its interfaces anew.
            sectionStart = file.Interfaces.size();
            if (file.Sections++ > 0) {
                std::vector<PcapngOption> later;
                problem = pcapng_detail::ParseOptions(bytes, body + 16, end, later);
                if (!problem.empty()) return fail(problem);
                at += total;
                continue;
            }
            file.MajorVersion = static_cast<std::uint16_t>(Le(bytes, body + 4, 2));
            file.MinorVersion = static_cast<std::uint16_t>(Le(bytes, body + 6, 2));
            file.SectionLength = static_cast<std::int64_t>(static_cast<std::uint64_t>(Le(bytes, body + 12, 4)) << 32 |
                                                           Le(bytes, body + 8, 4));
            problem = pcapng_detail::ParseOptions(bytes, body + 16, end, file.SectionOptions);
        } else if (type == 1) {
            if (end - body < 8) return fail("interface description too short");
            PcapngInterface described;
            described.LinkType = static_cast<std::uint16_t>(Le(bytes, body, 2));
            if (Le(bytes, body + 2, 2) != 0) return fail("reserved field not zero");
            described.SnapLength = Le(bytes, body + 4, 4);
            problem = pcapng_detail::ParseOptions(bytes, body + 8, end, described.Options);
            for (const PcapngOption& option : described.Options) {
                if (option.Code == 2) described.Name = option.Value;
                if (option.Code == 3) described.Description = option.Value;
                if (option.Code == 9 && option.Value.size() == 1)
                    described.TimestampResolution = static_cast<std::uint8_t>(option.Value[0]);
            }
            file.Interfaces.push_back(std::move(described));
        } else if (type == 6) {
            if (end - body < 20) return fail("enhanced packet too short");
            PcapngPacket packet;
            packet.Interface = static_cast<std::uint32_t>(sectionStart + Le(bytes, body, 4));
            if (packet.Interface >= file.Interfaces.size()) return fail("packet of an undeclared interface");
            packet.Timestamp = static_cast<std::uint64_t>(Le(bytes, body + 4, 4)) << 32 | Le(bytes, body + 8, 4);
            const std::uint32_t captured = Le(bytes, body + 12, 4);
            packet.OriginalLength = Le(bytes, body + 16, 4);
            const std::size_t padded = (std::size_t{captured} + 3) & ~std::size_t{3};
            if (end - body - 20 < padded) return fail("packet data runs past the block");
            if (captured > file.Interfaces[packet.Interface].SnapLength)
                return fail("packet longer than the snap length");
            if (!pcapng_detail::AllZero(bytes, body + 20 + captured, body + 20 + padded))
                return fail("packet padding not zero");
            packet.Data = bytes.substr(body + 20, captured);
            std::vector<PcapngOption> options;
            problem = pcapng_detail::ParseOptions(bytes, body + 20 + padded, end, options);
            file.Packets.push_back(std::move(packet));
        }
        if (!problem.empty()) return fail(problem);
        at += total;
    }
    if (file.Blocks.empty()) file.Problem = "empty file";
    return file;
}

inline std::optional<SerialFrame> ParseSerialFrame(const std::string& data) {
    using pcapng_detail::Be;
    if (data.size() < 12) return std::nullopt;
    SerialFrame frame;
    frame.Seconds = Be(data, 0, 4);
    frame.Microseconds = Be(data, 4, 4);
    frame.Event = static_cast<std::uint8_t>(data[8]);
    frame.Lines = static_cast<std::uint8_t>(data[9]);
    frame.Footer = static_cast<std::uint16_t>(Be(data, 10, 2));
    frame.Payload = data.substr(12);
    return frame;
}

}  // namespace kestrum::test
