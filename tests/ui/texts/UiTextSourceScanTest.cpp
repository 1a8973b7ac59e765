// Every fixed text the program's windows show has its row in the catalogue:
// the sources of app/, ui/ and the areas are scanned for the texts they hand to the catalogue,
// so a label added to a dialog or menu without a translation fails here.
#include "ui/texts/UiText.h"
#include "tests/support/BuildPaths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace zib {
namespace {

namespace fs = std::filesystem;

// The C++ string literal body as text (\n, \t, \\ and \" resolved).
std::string unescapeLiteral(const std::string& body)
{
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        const char next = body[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

struct FoundText {
    std::string text;
    std::string where;
};

// Literals handed to the catalogue in the program's sources: whole arguments
// of the text lookups (T, t, text, UiText, UiTextWx), dialog titles, labels of
// menu items, tooltips of toolbar buttons and the labels of the controls in
// the dialog models' tables and button rows ({control id, ..., "label"}).
std::vector<FoundText> catalogueTextsInSources()
{
    const std::string literal = "\"((?:[^\"\\\\]|\\\\.)*)\"";
    const std::regex patterns[] = {
        std::regex("(?:^|[^.>\\w])(?:T|t|text|UiText|UiTextWx|StyFormat)\\(\\s*" + literal + "\\s*[,)]"),
        std::regex("\\bStyNotice::Text\\(\\s*" + literal + "\\s*,"),
        std::regex("\\bCZibDialog\\(\\s*\\w+,\\s*" + literal),
        std::regex("\\bMenu(?:Command|Check|Popup)\\(\\s*" + literal),
        std::regex("\\{cmd::\\w+,\\s*" + literal),
        std::regex("\\{\\s*1[0-9]{3},[^{}\"]*" + literal + "\\s*\\}"),
        std::regex("\\{\\s*(?:wxID_\\w+|k[A-Z]\\w*),\\s*" + literal + "\\s*\\}"),
    };
    std::vector<FoundText> found;
    // The shell's and the kit's windows, the device area's dialogs and the style and pad windows.
    for (const char* area : {"app", "ui", "devices", "docs/style", "docs/program"}) {
        const fs::path app = test::SourceDir() / area;
        for (const auto& entry : fs::recursive_directory_iterator(app)) {
            const auto ext = entry.path().extension();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            std::ifstream in(entry.path());
            std::stringstream content;
            content << in.rdbuf();
            const std::string source = content.str();
            for (const auto& pattern : patterns)
                for (auto it = std::sregex_iterator(source.begin(), source.end(), pattern);
                     it != std::sregex_iterator(); ++it) {
                    const std::string text = unescapeLiteral((*it)[1].str());
                    if (!text.empty()) found.push_back({text, fs::relative(entry.path(), app).string()});
                }
        }
    }
    return found;
}

TEST(UiTextSourceScan, EveryTextTheProgramLooksUpIsCatalogued)
{
    const auto found = catalogueTextsInSources();
    // The scan reaches the menus, the dialogs, the toolbars and the status bar.
    std::set<std::string> texts;
    for (const auto& f : found)
        texts.insert(f.text);
    for (const char* sample :
         {"&Open...\tCtrl+O", "Choose Sorting Method", "Midi To Text", "Focused: %s%s %s", "WqR65/WqR27",
          "Fill_In CC and DD", "MidiSelect", "\nThis is a file not a directory.", "Yes To &All", "Default"})
        EXPECT_TRUE(texts.count(sample)) << "the scan missed \"" << sample << "\"";
    for (const auto& f : found)
        EXPECT_TRUE(HasUiText(f.text)) << f.where << ": \"" << f.text << "\" has no row in data/lang/ui.tsv";
}

} // namespace
} // namespace zib
