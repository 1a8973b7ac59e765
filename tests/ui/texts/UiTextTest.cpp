#include "ui/texts/UiText.h"

#include "ui/texts/TextTableData.h"
#include "ui/texts/ZibMessageTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zib {
namespace {

// Menu labels, toolbar and status texts, captions, labels and buttons of the
// application shell, exactly as the program writes them in English.
// clang-format off
constexpr std::string_view kShellTexts[] = {
    // Main menu: File
    "&File", "&New\tCtrl+N", "&Open...\tCtrl+O", "Collect Wq-series CV MIDI Files",
    "Collect QE-series CV Midi files", "Convert Yamaha style to DASK QE styles", "P&rint Setup...", "E&xit",
    // Main menu: View
    "&View", "&Toolbar", "&Status Bar", "View Other Language", "&English", "Italian", "German", "French",
    // Main menu: Utils
    "&Utils", "Collect wq-series CV MIDI files",
    // Main menu: Setup, and the settings commands of the document menus
    "&Setup", "MidiTo wq-series Style Settings", "MidiTo Qe-series Sty settings", "StyleToMidi settings",
    "Qe-style to Wq-style settings", "Yamaha PSR style to Qe style settings", "Style Playback settings",
    "&Transpose setting", "Midi Ports settings", "&Instruments", "&Sorting method", "Keyboard type",
    // Main menu: Help
    "&Help", "Help Topics", "About Zib...",
    // Document kinds (New dialog list and file type names)
    "Midi Files (*.mid)", "Zib Mid Files (*.mid)", "Style Files (*.sty)", "Zib Sty Files (*.sty)",
    "Program Files (*.pcg;*.prg)", "Zib Pcg Files (*.pcg; *.prg)", "Performance Files (*.prf)",
    "Zib Prf Files (*.prf)", "Pad Files (*.pad)", "Zib Pad Files (*.pad)", "Arrangement Files (*.arr)",
    "Zib Arr Files (*.arr)", "Global Data Files (*.gbl)", "Zib Gbl Files (*.gbl)",
    "Arrangement Global Data Files (*.arg)", "Zib Arg Files (*.arg)",
    // File dialogs of the application commands (filter names and messages)
    "MIDI Files (*.MID)", "Style Files (*.STY)", "Program Files (*.PCG;*.PRG)", "Performance Files (*.PRF)",
    "Pad Files (*.PAD)", "Arrangement Files (*.ARR)", "Global Data Files (*.GBL)",
    "Arrangement Global Data Files (*.ARG)", "MIDI files (*.MID)",
    "Yamaha Styles (*.sty; *.pcs; *.prs; *.sst; *.bcs)", "ERROR! %s", "Cannot open output file %s",
    // About box
    "About Application", "Qe and Wq-Series with Yamaha PSR conversion!", "Release: %s",
    // Conversion settings sheets
    "Midi To Wq-series styles settings", "Midi To Qe-series styles settings",
    // Toolbar titles
    "Standard", "StyDoc", "MoveItem", "MidiDoc", "StyleTree", "MidiEdit", "MidiPlay", "MidiTempo",
    "MidiPosition", "MidiSelection",
    // Commands of the MidiDoc toolbar
    "Midi To Text", "MIDI To wq-series Style", "Midi to QE4K Style", "&Delete Item(s)", "Note Events",
    "KeyPressure Events", "Control Events", "ProgChange Events", "Channel Aftertouch Events",
    "Pitch Wheel Events", "Text Events",
    // Commands of the MidiPlay toolbar
    "&Play", "&Record",
    // Status bar panes
    "Focused: NONE", "Focused: %s", "Focused: %s%s", "Focused: %s%s %s", "Items num: 0", "Items num: %d",
    "Events num: %d", "Selected num: %d", "Size: 0", "Size: %lu",
    // Buttons shared by the dialogs
    "OK", "Cancel", "Open", "Default",
    // Folder dialog
    "Select Folder", "Show Folders Only", "All Files (*.*)", "Folder:", "\nThis is not a valid folder.",
    "\nThe drive is invalid.", "\nThis is a file not a directory.",
    "\nThis folder does not exist.\n\nDo you want to create it?",
    "You cannot create this folder.\nThe medium may be write-protected.",
    "You do not have permission to create\nthis folder on the network.",
    "You cannot create this folder\nas the CD ROM medium is read-only.",
    "You do not have permission\nto create this folder.",
    "You do not have permission or\notherwise cannot create this folder.",
    // MIDI-to-style file dialog (the fifth character of each format is its model letter)
    "DASK-Wq File Format", "DASK9 - Dask Wq8 format", "DASKM - Dask WqR65 format", "DASKI - Dask Wq41 format",
    "DASKH - Dask WqT517 format", "DASK< - Dask Wq6Q/M format",
    // Overwrite confirmation
    "Confirm File Overwrite", "File with the same name already exist! Overwrite anyway?", "&Yes",
    "Yes To &All", "&No",
    // Position and value dialogs
    "Go To dialog", "Enter new M:B:T position:", "Set From/Thru position", "Set From position:",
    "Set Thru position:", "Cannot create dialog", "Get MIDI Transpose Value", "Time Signature",
    // Copyright, New and progress dialogs
    "%s - Copyright Dialog", "Select New Document Type", "Normal template", "16 track template",
    "Qe-series PCG", "WQ8/WqT517/WQ6 PCG", "WQ41/WqR65 PRG", "ProgressBarWnd",
    // PSR conversion settings dialog
    "Yamaha PSR style --> DASK Qe style conversion", "Intro A and B", "Intro A and C", "Intro B and C",
    "Fill_In AA and AB", "Fill_In AA and BA", "Fill_In AA and BB", "Fill_In AA and CC", "Fill_In AA and DD",
    "Fill_In AB and BA", "Fill_In AB and BB", "Fill_In AB and CC", "Fill_In AB and DD", "Fill_In BA and BB",
    "Fill_In BA and CC", "Fill_In BA and DD", "Fill_In BB and CC", "Fill_In BB and DD", "Fill_In CC and DD",
    "Ending A and B", "Ending A and C", "Ending B and C",
    // Sorting method dialog
    "Choose Sorting Method", "Quick Sort", "Insert Sort",
    // Transpose settings dialog (checked channels are not transposed)
    "Transpose Settings", "Channel1", "Channel2", "Channel3", "Channel4", "Channel5", "Channel6", "Channel7",
    "Channel8", "Channel9", "Channel10", "Channel11", "Channel12", "Channel13", "Channel14", "Channel15",
    "Channel16",
    // Keyboard type dialog (model names stay as they are)
    "Get Keyboard Type", "Wq8", "WQ6Q/M", "WqT517", "WqR65/WqR27", "Wq41", "QE4K",
    // Toolbars dialog
    "Toolbars", "Common", "Style", "MidiSelect",
    // Wq style dialogs
    "Edit Chord Table", "Chord Variation Parameters",
};
// clang-format on

TEST(UiText, EveryShellTextIsCatalogued)
{
    for (const auto english : kShellTexts) {
        EXPECT_TRUE(HasUiText(english)) << english;
        EXPECT_EQ(UiText(english, kLanguageEnglish), english);
    }
}

TEST(UiText, EveryRowHasItalianAndGerman)
{
    ASSERT_FALSE(texts::data::kUiTexts.empty());
    for (const auto& row : texts::data::kUiTexts) {
        EXPECT_FALSE(row.texts[kLanguageItalian].empty()) << row.texts[0];
        EXPECT_FALSE(row.texts[kLanguageGerman].empty()) << row.texts[0];
        EXPECT_EQ(UiText(row.texts[0], kLanguageItalian), row.texts[kLanguageItalian]);
        EXPECT_EQ(UiText(row.texts[0], kLanguageGerman), row.texts[kLanguageGerman]);
    }
}

TEST(UiText, ColumnsAreEnglishItalianGerman)
{
    EXPECT_EQ(UiText("Cancel", kLanguageEnglish), "Cancel");
    EXPECT_EQ(UiText("Cancel", kLanguageItalian), "Annulla");
    EXPECT_EQ(UiText("Cancel", kLanguageGerman), "Abbrechen");
    EXPECT_EQ(UiText("&New\tCtrl+N", kLanguageGerman), "&Neu\tCtrl+N");
}

TEST(UiText, LanguageOutsideTheThreeColumnsReadsEnglish)
{
    for (const int language : {3, 4, -1, INT_MAX, INT_MIN}) {
        EXPECT_EQ(UiText("Cancel", language), "Cancel") << language;
        EXPECT_EQ(UiText("Yes To &All", language), "Yes To &All") << language;
    }
}

TEST(UiText, MissingEntryReadsTheEnglishKeyItself)
{
    const std::string key = "A label nobody has translated";
    EXPECT_FALSE(HasUiText(key));
    for (const int language : {0, 1, 2, 3}) {
        const std::string& text = UiText(key, language);
        EXPECT_EQ(text, key);
        EXPECT_EQ(&text, &UiText(key, kLanguageItalian)) << "the kept text is reused";
    }
    EXPECT_EQ(UiText("", kLanguageGerman), "");
    // The key may come from a temporary; the returned text outlives it.
    const std::string* kept = nullptr;
    {
        std::string temporary = "Temporary label";
        kept = &UiText(temporary, kLanguageItalian);
    }
    EXPECT_EQ(*kept, "Temporary label");
}

// The model letter of the MIDI-to-style format list is read from the fifth
// character of the text shown, in every language.
TEST(UiText, KeyboardFormatLinesKeepTheirModelLetter)
{
    for (const std::string_view english :
         {"DASK9 - Dask Wq8 format", "DASKM - Dask WqR65 format", "DASKI - Dask Wq41 format",
          "DASKH - Dask WqT517 format", "DASK< - Dask Wq6Q/M format"}) {
        for (int language = 0; language < kLanguageCount; ++language) {
            const std::string& text = UiText(english, language);
            ASSERT_GE(text.size(), 8u) << english;
            EXPECT_EQ(text.substr(0, 8), english.substr(0, 8)) << english << " language " << language;
        }
    }
}

// ---- Rules every translation must keep, checked over both tables ----

struct TextPair {
    std::string_view english;
    std::string_view translation;
    std::string where;
};

std::vector<TextPair> everyTranslation()
{
    std::vector<TextPair> pairs;
    for (const auto& row : texts::data::kUiTexts)
        for (int language = 1; language < kLanguageCount; ++language)
            pairs.push_back(
                {row.texts[0], row.texts[language],
                 "ui \"" + std::string(row.texts[0]) + "\" language " + std::to_string(language)});
    for (int number = 0; number < kZibMessageCount; ++number)
        for (int language = 1; language < kLanguageCount; ++language)
            pairs.push_back({ZibMessage(number, kLanguageEnglish), ZibMessage(number, language),
                             "message " + std::to_string(number) + " language " + std::to_string(language)});
    return pairs;
}

// The printf conversions of a text, in order ("%s", "%d", "%lu", "%%").
std::vector<std::string> printfConversions(std::string_view text)
{
    std::vector<std::string> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        size_t end = i + 1;
        while (end < text.size() &&
               std::string_view("-+ #0123456789.hlzjtL").find(text[end]) != std::string_view::npos)
            ++end;
        found.emplace_back(text.substr(i, std::min(end + 1, text.size()) - i));
        i = end;
    }
    return found;
}

// Single '&' marks the menu accelerator; "&&" is a literal ampersand.
int acceleratorCount(std::string_view text)
{
    int count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&')
            ++i;
        else
            ++count;
    }
    return count;
}

std::string_view shortcut(std::string_view text)
{
    const size_t tab = text.find('\t');
    return tab == std::string_view::npos ? std::string_view() : text.substr(tab);
}

std::vector<std::string_view> filePatterns(std::string_view text)
{
    std::vector<std::string_view> found;
    for (size_t start = text.find("(*"); start != std::string_view::npos;
         start = text.find("(*", start + 1)) {
        const size_t close = text.find(')', start);
        if (close != std::string_view::npos) found.push_back(text.substr(start, close - start + 1));
    }
    return found;
}

size_t leadingBreaks(std::string_view text)
{
    return std::min(text.find_first_not_of('\n'), text.size());
}

TEST(UiText, HelpersOfTheTranslationRules)
{
    EXPECT_EQ(printfConversions("Size: %lu, %s%% %-3d"),
              (std::vector<std::string>{"%lu", "%s", "%%", "%-3d"}));
    EXPECT_EQ(acceleratorCount("Save && E&xit"), 1);
    EXPECT_EQ(shortcut("&New\tCtrl+N"), "\tCtrl+N");
    EXPECT_EQ(filePatterns("Program Files (*.pcg;*.prg) and (*.x)"),
              (std::vector<std::string_view>{"(*.pcg;*.prg)", "(*.x)"}));
    EXPECT_EQ(leadingBreaks("\n\nx"), 2u);
}

TEST(UiText, TranslationsKeepConversionsAcceleratorsShortcutsAndPatterns)
{
    const auto pairs = everyTranslation();
    ASSERT_GT(pairs.size(), 400u);
    for (const auto& pair : pairs) {
        if (pair.english.empty()) {
            EXPECT_TRUE(pair.translation.empty()) << pair.where;
            continue;
        }
        EXPECT_FALSE(pair.translation.empty()) << pair.where;
        // A different set of conversions would make the formatter read the wrong arguments.
        EXPECT_EQ(printfConversions(pair.translation), printfConversions(pair.english)) << pair.where;
        EXPECT_EQ(acceleratorCount(pair.translation), acceleratorCount(pair.english)) << pair.where;
        EXPECT_EQ(shortcut(pair.translation), shortcut(pair.english)) << pair.where;
        EXPECT_EQ(filePatterns(pair.translation), filePatterns(pair.english)) << pair.where;
        // Texts that are appended to a path start on a new line in every language.
        EXPECT_EQ(leadingBreaks(pair.translation), leadingBreaks(pair.english)) << pair.where;
        EXPECT_EQ(pair.translation.back() == ' ', pair.english.back() == ' ') << pair.where;
    }
}

// ---- The language table of the "View Other Language" popup ----

TEST(ZibLanguage, TableOfThePopup)
{
    struct Expected {
        int commandId;
        std::string_view menuText;
        int localeId;
        int language;
        bool selectable;
    };
    const Expected expected[] = {
        {32993, "&English", 2057, kLanguageEnglish, true},
        {32994, "Italian", 1040, kLanguageItalian, true},
        {32995, "German", 1031, kLanguageGerman, true},
        {32996, "French", 2057, kLanguageEnglish, false},
    };
    ASSERT_EQ(kZibLanguages.size(), std::size(expected));
    for (size_t i = 0; i < kZibLanguages.size(); ++i) {
        const auto& entry = kZibLanguages[i];
        EXPECT_EQ(entry.index, int(i));
        EXPECT_EQ(entry.commandId, expected[i].commandId);
        EXPECT_EQ(entry.menuText, expected[i].menuText);
        EXPECT_EQ(entry.localeId, expected[i].localeId);
        EXPECT_EQ(entry.selectable, expected[i].selectable);
        EXPECT_EQ(ZibLanguageForCommand(entry.commandId), expected[i].language);
        EXPECT_EQ(ZibTextLanguage(entry.index), expected[i].language);
        EXPECT_TRUE(HasUiText(entry.menuText)) << entry.menuText;
    }
    EXPECT_EQ(ZibLanguageForCommand(32992), kLanguageEnglish);
    EXPECT_EQ(ZibLanguageForCommand(0), kLanguageEnglish);
    EXPECT_EQ(ZibLanguageForCommand(INT_MIN), kLanguageEnglish);
}

} // namespace
} // namespace zib
