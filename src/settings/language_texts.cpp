#include "settings/language_texts.h"

#include <array>

namespace kestrum {
namespace {

struct TextPair {
    const char* English;
    const char* German;
};

// Row by row: English, German.
constexpr std::array<TextPair, kLanguageTextCount> kLanguageTexts = {{
    {"Cancel",
     "Abbrechen"},  // 0
    {"Recording of the protocol disabled",
     "Aufzeichnung des Protokolls gesperrt"},  // 1
    {"Sending of the protocol disabled",
     "Aussendung des Protokolls gesperrt"},  // 2
    {"Start",
     "Start"},  // 3
    {"Stop",
     "Stop"},  // 4
    {"Start recording the protocol",
     "Aufzeichnung des Protokolls starten"},  // 5
    {"Stop recording the protocol",
     "Aufzeichnung des Protokolls anhalten"},  // 6
    {"Start sending the protocol",
     "Aussendnung des Protokolls starten"},  // 7
    {"Stop sending the protocol",
     "Aussendnung des Protokolls anhalten"},  // 8
    {"Clear",
     "L\xF6schen"},  // 9
    {"Clear protocol",
     "Protokoll l\xF6schen"},  // 10
    {"Monitor mode",
     "Monitor-Mode"},  // 11
    {"Sender mode",
     "Sender-Mode"},  // 12
    {"ASCII text protocol",
     "Ascii-Text-Protokoll"},  // 13
    {"Hex dump protocol",
     "Hexdump-Protokoll"},  // 14
    {"Activate trigger",
     "Trigger aktivieren"},  // 15
    {"Deactivate trigger",
     "Trigger deaktivieren"},  // 16
    {"Activate synchonization\rwith the master instance",
     "Synchronisation mit der\rMaster-Instanz aktivieren"},  // 17
    {"Deactivate synchonization\rwith the master instance",
     "Synchronisation mit der\rMaster-Instanz deaktivieren"},  // 18
    {"Sync button disabled\r(Synchonizing the master instance\rto itself would be meaningless.)",
     "Sync Button inaktiv\r(Synchronisation der Master-Instanz\rmit sich selbst nicht sinnvoll.)"},  // 19
    {"Sender mode time interval in ms",
     "Sende-Zeitintervall in ms"},  // 20
    {"Select sender mode time interval",
     "Sende-Zeitintervall einstellen"},  // 21
    {"Activate %1 port",
     "%1-Schnittstelle aktivieren"},  // 22
    {"Deactivate %1 port",
     "%1-Schnittstelle deaktivieren"},  // 23
    {"Port %1 not available",
     "%1-Schnittstelle belegt"},  // 24
    {"Port %1 not installed",
     "%1-Schnittstelle nicht installiert"},  // 25
    {"Only one instance of\r",
     "Es d\xFCrfen nicht mehrere Instanzen von\r"},  // 26
    {"\ris allowed to run at a time.",
     " gleichzeitig laufen."},  // 27
    {"Trigger word  (sequence of ASCII characters)\rfor ",
     "Trigger-Wort  (Ascii-Zeichenfolge)\rf\xFCr "},  // 28
    {"Trigger word  (sequence of hex numbers)\rfor ",
     "Trigger-Wort  (Hexzahlen-Folge)\rf\xFCr "},  // 29
    {"The trigger word must not be longer than %1 characters.",
     "Das Trigger-Wort darf maximal %1 Zeichen lang sein."},  // 30
    {"The trigger word must not be longer than %1 bytes.",
     "Das Trigger-Wort darf maximal %1 Bytes lang sein."},  // 31
    {"Comment delimiter:",
     "Kommentarkennung:"},  // 32
    {"Channel ID for ",
     "Kanalbezeichnung f\xFCr "},  // 33
    {"Error: The ASCII string contains more than %1 characters.",
     "Fehler: Der Ascii-String enth\xE4lt mehr als %1 Zeichen."},  // 34
    {"The input contains an invalid hex cipher:",
     "Die Eingabe enth\xE4lt eine unzul\xE4ssige Hex-Ziffer:"},  // 35
    {"The input contains a hex number > FF.",
     "Die Eingabe enth\xE4lt eine Hex-Zahl > FF."},  // 36
    {"The capacity of the protocol field is exhausted.",
     "Die Kapazit\xE4t des Ausgabefelds ist ersch\xF6pft."},  // 37
    {"Load protocol file",
     "Protokoll-Datei laden"},  // 38
    {"Error on openeing the file  ",
     "Fehler beim \xD6" "ffnen der Datei  "},  // 39
    {"Save the %1 protocol to a file",
     "Speichern des %1-Protokolls als Datei"},  // 40
    {"Find text \"%1\" not found.",
     "Suchtext \"%1\" nicht gefunden."},  // 41
    {"Continue search from the beginning of the protocol?",
     "Die Suche am Anfang des Protokolls fortsetzen?"},  // 42
    {"  replacement of \"",
     "  Ersetzung von \""},  // 43
    {"  replacements of \"",
     "  Ersetzungen von \""},  // 44
    {"The %1 port is currently\ropened by another process.",
     "Auf die %1-Schnittstelle wird derzeit\rdurch einen anderen Prozess zugegriffen."},  // 45
    {"It holds at most %1 lines or %2 characters.",
     "Es fasst h\xF6" "chstens %1 Zeilen oder %2 Zeichen."},  // 46
    {"Save the protocol if you want to keep it, then clear it to go on recording.",
     "Speichern Sie das Protokoll, wenn Sie es behalten m\xF6" "chten, und l\xF6schen Sie es dann, "
     "um weiter aufzuzeichnen."},  // 47
    {":   Bytes per hex dump line",
     ":   Bytes pro Hex-Dump-Zeile"},  // 48
    {"Length of the hex dump lines in bytes",
     "L\xE4nge der Hex-Dump-Zeilen in Bytes"},  // 49
    {":   Max length of the history list",
     ":   Max. L\xE4nge der History-List"},  // 50
    {"The help file %1 was not found.\rIt was looked for in:\r%2",
     "Die Hilfedatei %1 wurde nicht gefunden.\rGesucht wurde in:\r%2"},  // 51
    {"The page margins leave no room on the page to print on.",
     "Die Seitenr\xE4nder lassen auf der Seite keinen Platz zum Drucken."},  // 52
    {"Printing on %1 could not be started.",
     "Der Druck auf %1 konnte nicht gestartet werden."},  // 53
    {"Printing on %1 failed.",
     "Der Druck auf %1 ist fehlgeschlagen."},  // 54
    {"%1%2 bytes lost: more than 16 MiB were waiting to be shown.",
     "%1%2 Bytes verloren: mehr als 16 MiB warteten auf die Anzeige."},  // 55
    {"Writing the capture file %1 failed:\r%2",
     "Das Schreiben der Mitschnitt-Datei %1 ist fehlgeschlagen:\r%2"},  // 56
    {"Sending has stopped: the %1 port is no longer available.",
     "Die Aussendung wurde angehalten: Die %1-Schnittstelle ist nicht mehr verf\xFCgbar."},  // 57
    {"The data could not be sent through the %1 port.",
     "Die Daten konnten nicht \xFC" "ber die %1-Schnittstelle gesendet werden."},  // 58
    {"The file is too large for the protocol field.",
     "Die Datei ist zu gro\xDF f\xFCr das Protokollfeld."},  // 59
    {"The file %1 could not be written.",
     "Die Datei %1 konnte nicht geschrieben werden."},  // 60
    {"Fi&nd what:",
     "Su&chen nach:"},  // 61
    {"Re&place with:",
     "Erse&tzen durch:"},  // 62
    {"Match &whole word only",
     "Nur ganzes &Wort suchen"},  // 63
    {"Match &case",
     "&Gro\xDF-/Kleinschreibung beachten"},  // 64
    {"&Find Next",
     "Weiter&suchen"},  // 65
    {"Replace &All",
     "&Alle ersetzen"},  // 66
}};

struct CaptionTriple {
    const char* Item;
    const char* English;
    const char* German;
};

constexpr CaptionTriple kMenuCaptions[] = {
    {"MainMenuFile",
     "&File",
     "&Datei"},
    {"MainMenuFileNew",
     "&New",
     "&Neu"},
    {"MainMenuFileOpen",
     "&Open",
     "&\xD6" "ffnen"},
    {"MainMenuFileSave",
     "&Save",
     "&Speichern"},
    {"MainMenuFileSaveAs",
     "&Save as",
     "&Speichern unter"},
    {"MainMenuFilePrint",
     "&Print",
     "&Drucken"},
    {"MainMenuFileExit",
     "&Exit",
     "&Beenden"},
    {"MainMenuEdit",
     "&Edit",
     "&Bearbeiten"},
    {"MainMenuEditUndo",
     "&Undo",
     "&R\xFC" "ckg\xE4ngig"},
    {"MainMenuEditCopy",
     "&Copy",
     "&Kopieren"},
    {"MainMenuEditCut",
     "&Cut",
     "Auss&chneiden"},
    {"MainMenuEditPaste",
     "&Paste",
     "&Einf\xFCgen"},
    {"MainMenuEditDelete",
     "&Delete",
     "&L\xF6schen"},
    {"MainMenuEditSelectAll",
     "&Select all",
     "&Alles markieren"},
    {"MainMenuEditFind",
     "&Find",
     "&Suchen"},
    {"MainMenuEditReplace",
     "&Replace",
     "&Ersetzen"},
    {"MainMenuSettings",
     "&Settings",
     "&Einstellungen"},
    {"MainMenuSettingsFontFixedPitchOnly",
     "Fixed pitch fonts only",
     "Nur Schriftarten mit fester Zeichenbreite"},
    {"MainMenuSettingsBackgroundColor",
     "&Background color ...",
     "&Hintergrundfarbe ..."},
    {"MainMenuSettingsAutoDetectDeviceChanges",
     "Automatic detection of device changes",
     "Automatische Erkennung von Ger\xE4tewechseln"},
    {"MainMenuSettingsLineWrap",
     "&Word wrap",
     "Zeilenumbruch auf Fenster&breite"},
    {"MainMenuSettingsCommentDelimiter",
     "&Comment delimiter ...",
     "&Kommentarkennung ..."},
    {"MainMenuSettingsShowTriggerWords",
     "Show &trigger words",
     "&Trigger-Worte anzeigen"},
    {"MainMenuSettingsShowStartStopTime",
     "Show &start and stop time",
     "&Start- und Stop-Zeit anzeigen"},
    {"MainMenuSettingsShowTimeTags",
     "Show time tags",
     "&Zeitmarken anzeigen"},
    {"MainMenuSettingsShowChannelID",
     "Show channel &IDs",
     "&Kanalbezeichnung anzeigen"},
    {"MainMenuSettingsDumpOnCrChar",
     "Dump protocol line on receiving a CR character",
     "Zeile nach Empfang eines CR-Zeichens ausgeben"},
    {"MainMenuSettingsDumpOnLfChar",
     "Dump protocol line on receiving an LF character",
     "Zeile nach Empfang eines LF-Zeichens ausgeben"},
    {"MainMenuSettingsShowCrChar",
     "Show &CR characters as <CR> strings",
     "&CR-Zeichen als Zeichenfolge <CR> anzeigen"},
    {"MainMenuSettingsShowLfChar",
     "Show &LF characters as <LF> strings",
     "&LF-Zeichen als Zeichenfolge <LF> anzeigen"},
    {"MainMenuSettingsSendCrStrAsCrChar",
     "Send <CR> strings as CR characters",
     "Zeichenfolge <CR> als CR-Zeichen senden"},
    {"MainMenuSettingsSendLfStrAsLfChar",
     "Send <LF> strings as LF characters",
     "Zeichenfolge <LF> als LF-Zeichen senden"},
    {"MainMenuSettingsAppendCrChar",
     "Append a CR character on sending",
     "C&R-Zeichen beim Senden anh\xE4ngen"},
    {"MainMenuSettingsAppendLfChar",
     "Append an LF character on sending",
     "L&F-Zeichen beim Senden anh\xE4ngen"},
    {"MainMenuSettingsSenderModeAutoRepeat",
     "Auto repeat protocol transmission in sender mode",
     "Protokoll im Sender-Mode zyklisch wiederholt aussenden"},
    {"MainMenuSettingsHexLineByteCount",
     "&Number of bytes per hex dump line",
     "A&nzahl der Bytes pro Hex-Dump-Zeile"},
    {"MainMenuSettingsInputLineMaxHistoryCount",
     "Max number of entries in the history list of the most recently sent character or byte sequences",
     "Max. Anzahl der Eintr\xE4ge in der Liste mit den zuletzt ausgesendeten Zeichen- bzw. Bytefolgen"},
    {"MainMenuSettingsHighlightInputLine",
     "Highlight character or byte sequence to be sent in the edit field",
     "Auszusendende Zeichen- bzw. Bytefolge im Editorfeld markieren"},
    {"MainMenuSettingsCaptureFile",
     "Write a capture &file (pcapng) when recording",
     "Mitschnitt-Datei (pcapng) &aufzeichnen"},
    {"MainMenuSettingsPrinter",
     "Printer settings ...",
     "Drucker-Einstellungen ..."},
    {"MainMenuSettingsSaveSettings",
     "&Save settings",
     "Einstellungen &speichern"},
    {"MainMenuSettingsChannel1Interface",
     "&Baudrate, data bits, parity ...",
     "&Baudrate, Datenbits, Parity ..."},
    {"MainMenuSettingsChannel1Font",
     "&Font, color, bold, italic ...",
     "&Font, Farbe, fett, kursiv ..."},
    {"MainMenuSettingsChannel1ID",
     "&Channel ID",
     "&Kanalbezeichnung"},
    {"MainMenuSettingsChannel1TriggerEnabled",
     "&Trigger activated",
     "&Trigger aktiviert"},
    {"MainMenuSettingsChannel1TriggerOneShot",
     "&Trigger auto reset",
     "&Trigger automatisch r\xFC" "cksetzen"},
    {"MainMenuSettingsChannel1TriggerWord",
     "Trigger &word",
     "Trigger-&Wort"},
    {"MainMenuHelp",
     "&Help",
     "&Hilfe"},
    {"ChannelPopupMenuInterface",
     "&Baudrate, data bits, parity ...            Shift+Ctrl+RMB",
     "&Baudrate, Datenbits, Parity ...          Umsch+Strg+RMT"},
    {"ChannelPopupMenuFont",
     "&Font, color ...                                   Ctrl+Alt+RMB",
     "&Font, Farbe ...                                  Strg+Alt+RMT"},
    {"ChannelPopupMenuChannelID",
     "&Channel ID                                      Shift+Ctrl+Alt+RMB",
     "&Kanalbezeichnung                           Umsch+Strg+Alt+RMT"},
    {"ChannelPopupMenuTrigger",
     "&Trigger activated                              Alt+RMB",
     "&Trigger aktiviert                                Alt+RMT"},
    {"ChannelPopupMenuTriggerOneShot",
     "&Trigger auto reset                             Shift+RMB",
     "&Trigger automatisch r\xFC" "cksetzen       Umsch+RMT"},
    {"ChannelPopupMenuTriggerWord",
     "Trigger &word                                     Shift+Alt+RMB",
     "Trigger-&Wort                                     Umsch+Alt+RMT"},
};

struct FixedCaptionPair {
    const char* Item;
    const char* Caption;
};

constexpr FixedCaptionPair kFixedCaptions[] = {
    {"MainMenuSettingsUserFont", "&User-Font"},
    {"RichEditPopupMenuUserFont", "&User-Font"},
    {"MainMenuSettingsAllFonts", "&Master-Font"},
    {"RichEditPopupMenuAllFonts", "&Master-Font"},
    {"MainMenuSettingsLanguageEnglish", "Language &English"},
    {"MainMenuSettingsLanguageGerman", "Sprache    &Deutsch"},
    {"MainMenuSettingsChannel1", "COM&1"},
    {"MainMenuSettingsChannel2", "COM&2"},
    {"MainMenuSettingsChannel3", "COM&3"},
    {"MainMenuSettingsChannel4", "COM&4"},
    {"MainMenuSettingsChannel5", "COM&5"},
    {"MainMenuSettingsChannel6", "COM&6"},
    {"MainMenuSettingsChannel7", "COM&7"},
    {"MainMenuSettingsChannel8", "COM&8"},
    {"SpeedButtonMonitor", "Monitor"},
    {"SpeedButtonSender", "Sender"},
    {"SpeedButtonAsc", "Asc"},
    {"SpeedButtonHex", "Hex"},
    {"SpeedButtonSync", "Sync"},
    {"SpeedButtonTrigger", "Trigger"},
};

// The tables as std::string, built once and never changed.
struct TextTables {
    std::array<std::array<std::string, 2>, kLanguageTextCount> Texts;
    std::vector<MenuCaptionRow> Menus;
    std::vector<std::pair<std::string, std::string>> Fixed;
    std::array<std::string, 2> LanguageNames{"English", "German"};
    std::string Empty;

    TextTables() {
        for (int row = 0; row < kLanguageTextCount; ++row) {
            Texts[row][0] = kLanguageTexts[row].English;
            Texts[row][1] = kLanguageTexts[row].German;
        }
        for (const CaptionTriple& caption : kMenuCaptions)
            Menus.push_back({caption.Item, caption.English, caption.German});
        for (const FixedCaptionPair& caption : kFixedCaptions)
            Fixed.emplace_back(caption.Item, caption.Caption);
    }
};

const TextTables& Tables() {
    static const TextTables tables;
    return tables;
}

int LanguageIndex(int language) { return language == kLanguageGerman ? 1 : 0; }

}  // namespace

const std::string& LanguageText(int row, int language) {
    const TextTables& tables = Tables();
    if (row < 0 || row >= kLanguageTextCount) return tables.Empty;
    return tables.Texts[row][LanguageIndex(language)];
}

std::string FillPlaceholder(std::string_view text, std::string_view value, std::string_view placeholder) {
    std::string result;
    result.reserve(text.size() + value.size());
    std::size_t pos = 0;
    while (pos < text.size() && !placeholder.empty()) {
        const std::size_t found = text.find(placeholder, pos);
        if (found == std::string_view::npos) break;
        result.append(text.substr(pos, found - pos));
        result.append(value);
        pos = found + placeholder.size();
    }
    if (pos < text.size()) result.append(text.substr(pos));
    return result;
}

std::string LanguageText(int row, int language, std::string_view value) {
    return FillPlaceholder(LanguageText(row, language), value);
}

const std::vector<MenuCaptionRow>& MenuCaptions() { return Tables().Menus; }

const std::string& MenuCaption(std::string_view item, int language) {
    const TextTables& tables = Tables();
    for (const MenuCaptionRow& row : tables.Menus)
        if (row.Item == item) return language == kLanguageGerman ? row.German : row.English;
    return tables.Empty;
}

const std::string& FixedCaption(std::string_view item) {
    const TextTables& tables = Tables();
    for (const auto& [name, caption] : tables.Fixed)
        if (name == item) return caption;
    return tables.Empty;
}

const std::string& LanguageName(int language) {
    return Tables().LanguageNames[LanguageIndex(language)];
}

int LocaleLanguage(unsigned languageId) {
    constexpr unsigned kGermanLocales[] = {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407};
    for (unsigned german : kGermanLocales)
        if (languageId == german) return kLanguageGerman;
    return kLanguageEnglish;
}

}  // namespace kestrum
