// Every text the program area's pages and dialogs show from their models has
// its row in the UI catalogue, so that they follow the UI language.
#include "ui/texts/UiText.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/core/ArrPageModel.h"
#include "docs/program/core/GlobalDataDlgModel.h"
#include "docs/program/core/PrgPageTables.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zib {
namespace {

struct Shown {
    std::string text;
    std::string where;
};

// The labels of a dialog's controls and the buttons of its radio groups.
void addControls(std::vector<Shown>& out, const std::vector<DialogControl>& controls, const std::string& where)
{
    for (const auto& c : controls) {
        if (!c.label.empty()) out.push_back({c.label, where});
        if (c.kind == DialogControl::Kind::Radio)
            for (const auto& o : c.options)
                out.push_back({o, where});
    }
}

TEST(ProgramLabels, EveryLabelOfThePagesAndDialogsIsCatalogued)
{
    std::vector<Shown> shown;
    for (int p = 1; p <= kPrgPageCount; ++p) {
        const PrgPageDef& page = PrgPage(p);
        const std::string where = "program page " + std::to_string(p);
        shown.push_back({std::string(page.title), where});
        for (const PrgField& f : page.fields) {
            shown.push_back({std::string(f.label), where});
            for (const auto o : f.options)
                shown.push_back({std::string(o), where});
        }
    }
    for (const int model : {'9', 'I', 'M'}) {
        test::ProgramTestDoc<ArrDocModel> arr;
        ASSERT_TRUE(arr.open("x.arr", test::ArrFileBuilder(model).image()));
        for (int p = 1; p <= 5; ++p) {
            ArrPageModel page(p, arr.doc, ArrProgramForm::Code);
            const std::string where = "arrangement page " + std::to_string(p);
            shown.push_back({page.Title(), where});
            // Pages 3 and 4 show their controls in a table of tracks and columns.
            if (p == 3 || p == 4) continue;
            addControls(shown, page.Controls(), where);
        }
    }
    for (const int model : {'M', 'I'}) {
        test::ProgramTestDoc<ArgDocModel> arg;
        ASSERT_TRUE(arg.open("x.arg", test::argImage(model)));
        ArgGlobalDlgModel argDialog(arg.doc);
        shown.push_back({argDialog.Title(), "arrangement-global dialog"});
        addControls(shown, argDialog.controls, "arrangement-global dialog");
        test::ProgramTestDoc<GblDocModel> gbl;
        ASSERT_TRUE(gbl.open("x.gbl", test::gblImage(model)));
        GlobalDataDlgModel gblDialog(gbl.doc);
        shown.push_back({gblDialog.Title(), "global data dialog"});
        addControls(shown, gblDialog.controls, "global data dialog");
    }
    // The scan reaches every kind of text.
    ASSERT_GT(shown.size(), 200u);
    for (const Shown& s : shown)
        EXPECT_TRUE(HasUiText(s.text)) << s.where << ": \"" << s.text << "\" has no row in data/lang/ui.tsv";
}

} // namespace
} // namespace zib
