// The include edges between the folders of src/ against the table of
// allowed edges in tests/layers.txt, and Qt only where Qt belongs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using Edges = std::map<std::string, std::set<std::string>>;

const fs::path kSource = fs::path(KESTRUM_SOURCE_DIR) / "src";

// "folder: a b c   # why" lines; blank lines and comments skipped.
Edges ReadTable(const fs::path& path) {
    Edges allowed;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::istringstream targets(line.substr(colon + 1));
        std::set<std::string>& into = allowed[line.substr(0, colon)];
        for (std::string target; targets >> target;) into.insert(target);
    }
    return allowed;
}

// The folder a file counts in: its folder under src/, `main` for the program.
std::string NodeOf(const fs::path& relative) {
    if (relative == fs::path("app/main.cpp")) return "main";
    return relative.parent_path().generic_string();
}

bool MayUseQt(const std::string& node) {
    return node == "main" || node == "platform/qt" || node.ends_with("/gui");
}

struct Include {
    std::string From;      // file, relative to src/
    std::string Target;    // the included path
    bool Angled;
};

std::vector<Include> ReadIncludes() {
    static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    for (const auto& entry : fs::recursive_directory_iterator(kSource)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
        std::ifstream file(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(file, line))
            if (std::regex_search(line, match, kInclude))
                includes.push_back({fs::relative(entry.path(), kSource).generic_string(), match[2], match[1] == "<"});
    }
    return includes;
}

TEST(Layers, EveryIncludeBetweenFoldersIsAnAllowedEdge) {
    const Edges allowed = ReadTable(fs::path(KESTRUM_SOURCE_DIR) / "tests/layers.txt");
    ASSERT_FALSE(allowed.empty());
    const std::vector<Include> includes = ReadIncludes();
    ASSERT_GT(includes.size(), 100u);
    for (const Include& include : includes) {
        if (include.Angled) continue;
        const std::string from = NodeOf(include.From);
        const std::string to = fs::path(include.Target).parent_path().generic_string();
        if (from == to) continue;
        const auto row = allowed.find(from);
        ASSERT_NE(row, allowed.end()) << "folder " << from << " has no row in tests/layers.txt";
        EXPECT_TRUE(row->second.count(to)) << include.From << " includes " << include.Target << ": " << from
                                           << " -> " << to << " is not an allowed edge";
    }
}

TEST(Layers, QtOnlyInWidgetsQtPlatformAndTheProgram) {
    static const std::regex kQtHeader(R"(^Q[A-Za-z]*(/.*)?$)");
    for (const Include& include : ReadIncludes()) {
        if (!include.Angled || !std::regex_match(include.Target, kQtHeader)) continue;
        EXPECT_TRUE(MayUseQt(NodeOf(include.From))) << include.From << " includes <" << include.Target << ">";
    }
}

}  // namespace
