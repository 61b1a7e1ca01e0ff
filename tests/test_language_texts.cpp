#include "settings/language_texts.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrum {
namespace {

struct TextCase {
    int Row;
    const char* English;
    const char* German;
};

TEST(LanguageTexts, ExactRowsInBothLanguages) {
    const TextCase cases[] = {
        {0, "Cancel", "Abbrechen"},
        {7, "Start sending the protocol", "Aussendnung des Protokolls starten"},
        {9, "Clear", "L\xF6schen"},
        {17, "Activate synchonization\rwith the master instance",
         "Synchronisation mit der\rMaster-Instanz aktivieren"},
        {19, "Sync button disabled\r(Synchonizing the master instance\rto itself would be meaningless.)",
         "Sync Button inaktiv\r(Synchronisation der Master-Instanz\rmit sich selbst nicht sinnvoll.)"},
        {24, "Port %1 not available", "%1-Schnittstelle belegt"},
        {27, "\ris allowed to run at a time.", " gleichzeitig laufen."},
        {28, "Trigger word  (sequence of ASCII characters)\rfor ",
         "Trigger-Wort  (Ascii-Zeichenfolge)\rf\xFCr "},
        {39, "Error on openeing the file  ", "Fehler beim \xD6" "ffnen der Datei  "},
        {41, "Find text \"%1\" not found.", "Suchtext \"%1\" nicht gefunden."},
        {43, "  replacement of \"", "  Ersetzung von \""},
        {44, "  replacements of \"", "  Ersetzungen von \""},
        {45, "The %1 port is currently\ropened by another process.",
         "Auf die %1-Schnittstelle wird derzeit\rdurch einen anderen Prozess zugegriffen."},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(LanguageText(c.Row, kLanguageEnglish), c.English) << "row " << c.Row;
        EXPECT_EQ(LanguageText(c.Row, kLanguageGerman), c.German) << "row " << c.Row;
    }
}

// Every text is single-byte Windows-1252: no byte pair that would be a
// UTF-8 encoded umlaut, no line feed (only '\r' breaks lines).
bool LooksLikeUtf8(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if ((lead == 0xC3 || lead == 0xC2) && next >= 0x80 && next <= 0xBF) return true;
    }
    return false;
}

TEST(LanguageTexts, EveryRowExistsInBothLanguagesAsSingleByteText) {
    for (int row = 0; row < kLanguageTextCount; ++row) {
        for (int language : {kLanguageEnglish, kLanguageGerman}) {
            const std::string& text = LanguageText(row, language);
            EXPECT_FALSE(text.empty()) << "row " << row << " language " << language;
            EXPECT_FALSE(LooksLikeUtf8(text)) << "row " << row;
            EXPECT_EQ(text.find('\n'), std::string::npos) << "row " << row;
        }
    }
    // Rows 3 and 4 are the only ones spelled alike in both languages.
    for (int row = 0; row < kLanguageTextCount; ++row) {
        if (row == kTextStart || row == kTextStop) continue;
        EXPECT_NE(LanguageText(row, 1), LanguageText(row, 2)) << "row " << row;
    }
}

TEST(LanguageTexts, OutOfRangeRowIsEmptyAndUnknownLanguageIsEnglish) {
    EXPECT_EQ(LanguageText(-1, 1), "");
    EXPECT_EQ(LanguageText(kLanguageTextCount, 2), "");
    EXPECT_EQ(LanguageText(0, 0), "Cancel");
    EXPECT_EQ(LanguageText(0, 3), "Cancel");
}

TEST(LanguageTexts, FillsPlaceholders) {
    EXPECT_EQ(LanguageText(kTextActivatePort, 1, "Modem"), "Activate Modem port");
    EXPECT_EQ(LanguageText(kTextActivatePort, 2, "Modem"), "Modem-Schnittstelle aktivieren");
    EXPECT_EQ(LanguageText(kTextFindTextNotFound, 1, "a%1b"), "Find text \"a%1b\" not found.");
    EXPECT_EQ(FillPlaceholder("%1 and %1", "x"), "x and x");
    EXPECT_EQ(FillPlaceholder("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(FillPlaceholder("%", "x"), "%");
    EXPECT_EQ(FillPlaceholder("100%", "x"), "100%");
    EXPECT_EQ(FillPlaceholder("", "x"), "");
}

TEST(MenuCaptions, EveryItemHasBothCaptionsOnce) {
    const auto& rows = MenuCaptions();
    EXPECT_EQ(rows.size(), 54u);  // with MainMenuSettingsCaptureFile
    std::set<std::string> names;
    for (const MenuCaptionRow& row : rows) {
        EXPECT_TRUE(names.insert(row.Item).second) << row.Item;
        EXPECT_FALSE(row.English.empty()) << row.Item;
        EXPECT_FALSE(row.German.empty()) << row.Item;
        EXPECT_FALSE(LooksLikeUtf8(row.German)) << row.Item;
    }
}

TEST(MenuCaptions, LookupByItemName) {
    struct Case {
        const char* Item;
        const char* English;
        const char* German;
    };
    const Case cases[] = {
        {"MainMenuFileOpen", "&Open", "&\xD6" "ffnen"},
        {"MainMenuEditUndo", "&Undo", "&R\xFC" "ckg\xE4ngig"},
        {"MainMenuEditCut", "&Cut", "Auss&chneiden"},
        {"MainMenuSettingsDumpOnCrChar", "Dump protocol line on receiving a CR character",
         "Zeile nach Empfang eines CR-Zeichens ausgeben"},
        {"MainMenuSettingsShowTimeTags", "Show time tags", "&Zeitmarken anzeigen"},
        {"ChannelPopupMenuTriggerOneShot", "&Trigger auto reset                             Shift+RMB",
         "&Trigger automatisch r\xFC" "cksetzen       Umsch+RMT"},
        {"ChannelPopupMenuChannelID", "&Channel ID                                      Shift+Ctrl+Alt+RMB",
         "&Kanalbezeichnung                           Umsch+Strg+Alt+RMT"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuCaption(c.Item, kLanguageEnglish), c.English) << c.Item;
        EXPECT_EQ(MenuCaption(c.Item, kLanguageGerman), c.German) << c.Item;
    }
    EXPECT_EQ(MenuCaption("NoSuchItem", 1), "");
    EXPECT_EQ(MenuCaption("mainmenufileopen", 1), "");  // names are exact
}

TEST(MenuCaptions, FixedCaptionsAndLanguageNames) {
    EXPECT_EQ(FixedCaption("MainMenuSettingsLanguageGerman"), "Sprache    &Deutsch");
    EXPECT_EQ(FixedCaption("RichEditPopupMenuAllFonts"), "&Master-Font");
    EXPECT_EQ(FixedCaption("MainMenuSettingsChannel8"), "COM&8");
    EXPECT_EQ(FixedCaption("MainMenuFileOpen"), "");
    EXPECT_EQ(LanguageName(1), "English");
    EXPECT_EQ(LanguageName(2), "German");
    EXPECT_EQ(LanguageName(0), "English");
}

TEST(LocaleLanguage, GermanLocalesGiveGermanEveryOtherEnglish) {
    for (unsigned id : {0x0407u, 0x0807u, 0x0C07u, 0x1007u, 0x1407u})
        EXPECT_EQ(LocaleLanguage(id), kLanguageGerman) << std::hex << id;
    // English (US), French (France), German with an unknown sublanguage,
    // the primary German id alone, zero.
    for (unsigned id : {0x0409u, 0x040Cu, 0x1807u, 0x0007u, 0x0000u, 0x10407u})
        EXPECT_EQ(LocaleLanguage(id), kLanguageEnglish) << std::hex << id;
}

}  // namespace
}  // namespace kestrum
