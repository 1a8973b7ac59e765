// Every fixed text the MIDI windows show has its row in the catalogue: the
// document menu, the track list's column headers, and the texts the sources
// of mididoc/ hand to the catalogue.
#include "ui/texts/UiText.h"
#include "tests/support/BuildPaths.h"
#include "mididoc/core/CTrackListModel.h"
#include "mididoc/core/MidiDocMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

using namespace zib;

TEST(MidiDocTexts, MenuAndColumnTextsAreCatalogued)
{
    for (const MenuBarDef& menu : {MidiDocMenuDef(), TrackEditorMenuDef(),
                                   MenuBarDef{MenuPopup("", EditEventPopupDef())},
                                   MenuBarDef{MenuPopup("", TrackListPopupDef())},
                                   MenuBarDef{MenuPopup("", KeyAlphabetPopupDef())}})
        for (std::string_view label : MenuLabels(menu)) {
            if (!label.empty()) {
                EXPECT_TRUE(HasUiText(label)) << label;
            }
        }
    for (const auto& column : CTrackListModel::Columns()) {
        if (!column.text.empty()) {
            EXPECT_TRUE(HasUiText(column.text)) << column.text;
        }
    }
    // The commands the menu offers.
    const std::vector<int> ids = MenuCommandIds(MidiDocMenuDef());
    for (int id : {midicmd::FileSave, midicmd::FileSaveAs, midicmd::EditUndo, midicmd::EditRedo,
                   midicmd::EditSelectAll, midicmd::FileTextDump, midicmd::MidiToText, midicmd::MidiToWqStyle,
                   midicmd::MidiToQe4kStyle})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
}

TEST(MidiDocTexts, TextsLookedUpInTheSourcesAreCatalogued)
{
    // Texts looked up by the windows (lookups, the dialogs' T() and titles,
    // the labels of button rows) and the texts the document core hands them
    // in its messages (uiText) and viewer titles.
    const std::regex lookup("(?:UiText(?:Wx)?\\(|(?:^|[^.>\\w])T\\(|CZibDialog\\(\\s*\\w+,|\\{(?:wxID_\\w+|1[0-9]{3}),|"
                            "uiText\\s*=|OpenViewer\\()\\s*\"((?:[^\"\\\\]|\\\\.)*)\"\\s*[,:;)}]");
    int found = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(test::SourceDir() /
                                                                            "mididoc")) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        std::ifstream in(entry.path());
        std::stringstream content;
        content << in.rdbuf();
        const std::string source = content.str();
        for (auto it = std::sregex_iterator(source.begin(), source.end(), lookup); it != std::sregex_iterator();
             ++it) {
            std::string text = (*it)[1].str();
            // The literal's escapes as the program sees them.
            for (size_t p; (p = text.find("\\n")) != std::string::npos;)
                text.replace(p, 2, "\n");
            ++found;
            EXPECT_TRUE(HasUiText(text)) << entry.path().filename() << ": " << text;
        }
    }
    EXPECT_GT(found, 5);
    // The titles of the conversion reports, chosen by series
    for (const char* title : {"MidiToStyle text report: ", "MidiToQeStyle text report: "})
        EXPECT_TRUE(HasUiText(title)) << title;
}
