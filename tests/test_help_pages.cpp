// The help pages help/English.HLP and help/German.HLP: UTF-8 with their
// charset, every in-page link has its anchor, both languages have the same
// anchors, and each page's key table lists every shortcut of the main menu.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/menu_layout.h"

namespace kestrum {
namespace {

struct Page {
    const char* Name;
    // Key names as the page writes them: the German page uses the German key caps.
    std::vector<std::pair<std::string, std::string>> KeyNames;
};

const std::vector<Page>& Pages() {
    static const std::vector<Page> kPages = {
        {"English.HLP", {}},
        {"German.HLP",
         {{"Shift", "Umsch"}, {"Ctrl", "Strg"}, {"Del", "Entf"}, {"Backspace", "R\xC3\xBC" "cktaste"}}},
    };
    return kPages;
}

std::string ReadPage(const char* name) {
    std::ifstream in(std::string(KESTRUM_SOURCE_DIR) + "/help/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name << " is missing";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every text between `open` and the next `close`, from `from` to `to`.
std::vector<std::string> Between(const std::string& text, const std::string& open, const std::string& close,
                                 std::size_t from = 0, std::size_t to = std::string::npos) {
    std::vector<std::string> found;
    for (std::size_t at = text.find(open, from); at < to; at = text.find(open, at)) {
        at += open.size();
        const std::size_t end = text.find(close, at);
        if (end == std::string::npos) break;
        found.push_back(text.substr(at, end - at));
        at = end;
    }
    return found;
}

std::string CellText(const std::string& cell) {
    std::string text;
    bool inTag = false;
    for (char c : cell.substr(cell.find('>') + 1)) {
        if (c == '<') inTag = true;
        if (!inTag) text += c;
        if (c == '>') inTag = false;
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The cells of the tables in the section that the anchor "shortcuts" opens.
std::set<std::string> KeyTableCells(const std::string& text) {
    const std::size_t begin = text.find("<a name=\"shortcuts\">");
    EXPECT_NE(begin, std::string::npos) << "no key section";
    if (begin == std::string::npos) return {};
    std::set<std::string> cells;
    for (const std::string& cell : Between(text, "<td", "</td>", begin, text.find("<h2", begin)))
        cells.insert(CellText(cell));
    return cells;
}

std::string InPageKeys(const std::string& shortcut, const Page& page) {
    std::string result;
    std::istringstream keys(shortcut);
    for (std::string key; std::getline(keys, key, '+');) {
        for (const auto& [menuName, pageName] : page.KeyNames)
            if (key == menuName) key = pageName;
        result += (result.empty() ? "" : "+") + key;
    }
    return result;
}

bool IsUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        if (lead < 0x80) length = 1;
        else if ((lead >> 5) == 6) length = 2;
        else if ((lead >> 4) == 14) length = 3;
        else if ((lead >> 3) == 30) length = 4;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += length;
    }
    return true;
}

TEST(HelpPages, AreUtf8AndSayCharset) {
    for (const Page& page : Pages()) {
        const std::string text = ReadPage(page.Name);
        EXPECT_TRUE(IsUtf8(text)) << page.Name;
        EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << page.Name;
    }
}

TEST(HelpPages, EveryLinkHasItsAnchorAndAnchorsAreUnique) {
    for (const Page& page : Pages()) {
        const std::string text = ReadPage(page.Name);
        const std::vector<std::string> anchors = Between(text, "<a name=\"", "\"");
        const std::set<std::string> unique(anchors.begin(), anchors.end());
        EXPECT_EQ(unique.size(), anchors.size()) << page.Name << " repeats an anchor";
        EXPECT_TRUE(unique.count("contents")) << page.Name;
        for (const std::string& target : Between(text, "href=\"#", "\""))
            EXPECT_TRUE(unique.count(target)) << page.Name << ": no anchor for #" << target;
    }
}

TEST(HelpPages, BothLanguagesHaveTheSameAnchors) {
    const std::string english = ReadPage("English.HLP");
    const std::string german = ReadPage("German.HLP");
    const std::vector<std::string> englishAnchors = Between(english, "<a name=\"", "\"");
    const std::vector<std::string> germanAnchors = Between(german, "<a name=\"", "\"");
    EXPECT_EQ(std::set<std::string>(englishAnchors.begin(), englishAnchors.end()),
              std::set<std::string>(germanAnchors.begin(), germanAnchors.end()));
}

TEST(HelpPages, KeyTableListsEveryMenuShortcut) {
    std::vector<const MenuEntry*> withShortcut;
    for (const MenuEntry& entry : MainMenuLayout())
        if (!entry.Shortcut.empty()) withShortcut.push_back(&entry);
    ASSERT_FALSE(withShortcut.empty());
    for (const Page& page : Pages()) {
        const std::set<std::string> cells = KeyTableCells(ReadPage(page.Name));
        for (const MenuEntry* entry : withShortcut)
            EXPECT_TRUE(cells.count(InPageKeys(entry->Shortcut, page)))
                << page.Name << " lacks " << InPageKeys(entry->Shortcut, page) << " (" << entry->Name << ")";
    }
}

}  // namespace
}  // namespace kestrum
