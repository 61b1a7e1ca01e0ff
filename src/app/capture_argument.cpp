#include "app/capture_argument.h"

#include <filesystem>
#include <system_error>

namespace kestrum {

namespace {

constexpr std::string_view kOption = "--capture";

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.string();
}

}  // namespace

CaptureArgument TakeCaptureArgument(std::vector<std::string>& arguments) {
    CaptureArgument result;
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (i == 0 || argument.compare(0, kOption.size(), kOption) != 0) {
            kept.push_back(argument);
            continue;
        }
        std::string path;
        if (argument.size() == kOption.size()) {
            if (i + 1 < arguments.size()) path = arguments[++i];
        } else if (argument[kOption.size()] == '=') {
            path = argument.substr(kOption.size() + 1);
        } else {
            kept.push_back(argument);  // another word that starts alike
            continue;
        }
        if (path.empty()) {
            result.Problem = "--capture needs a file name";
            continue;
        }
        result.Path = Absolute(path);
    }
    arguments = std::move(kept);
    return result;
}

}  // namespace kestrum
