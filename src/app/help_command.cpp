#include "app/help_command.h"

#include <filesystem>
#include <system_error>

#include "settings/language_texts.h"

namespace kestrum {

std::vector<std::string> HelpFileCandidates(const std::string& helpFilePath) {
    namespace fs = std::filesystem;
    const fs::path beside(helpFilePath);
    std::vector<std::string> candidates{helpFilePath};
    const fs::path programFolder = beside.parent_path();
    if (!programFolder.empty()) {
        const fs::path installed = programFolder / ".." / "share" / "kestrum" / beside.filename();
        candidates.push_back(installed.lexically_normal().string());
    }
    return candidates;
}

void MainMenuHelpOnClick(HelpContext& c) {
    namespace fs = std::filesystem;
    const std::vector<std::string> candidates = HelpFileCandidates(c.helpFilePath);
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error) && c.viewer.ShowContents(candidate)) return;
    }
    std::string folders;
    for (const std::string& candidate : candidates) {
        if (!folders.empty()) folders += '\r';
        folders += fs::path(candidate).parent_path().string();
    }
    const std::string text = FillPlaceholder(
        LanguageText(kTextHelpFileNotFound, c.language, fs::path(c.helpFilePath).filename().string()), folders, "%2");
    c.messages.Beep(MessageKind::Warning);
    c.messages.Show(MessageKind::Warning, c.exeBaseName, text, c.dialogOrigin);
}

}  // namespace kestrum
