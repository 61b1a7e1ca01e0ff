#include "document/rtf_file_name.h"

namespace kestrum {

bool IsRtfFileName(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    const std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    constexpr std::string_view kRtf = ".rtf";
    if (extension.size() != kRtf.size()) return false;
    for (std::size_t i = 0; i < kRtf.size(); ++i) {
        char c = extension[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kRtf[i]) return false;
    }
    return true;
}

}  // namespace kestrum
