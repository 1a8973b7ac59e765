// Saving and closing a style or pad document while its track editor is open:
// every road to the file (Save on either tab, Save As, the questions of
// Close, Close All and Exit) takes the editor's edit with it; an edit that
// cannot be written back is reported and nothing is saved.
#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeStyleEditor.h"
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/NoteVelocities.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/QeStyleContents.h"
#include "tests/support/StyFileBuilder.h"

#include <ostream>

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;
using Bytes = std::vector<uint8_t>;

// The row of the first note of the DRUM and BASS tracks of V1 CV1 in the
// files below (the pattern's own bank selects and program change come first).
constexpr int kFirstNoteRow = 3;

class TrackEditorSaveGui : public StyleGui {
protected:
    // The note-on velocities of a Qe track of V1 CV1 in the first item of a saved file.
    std::vector<int> savedVelocities(const std::string& path, bool pad, int track)
    {
        std::unique_ptr<CZibItemDoc> doc;
        if (pad)
            doc = std::make_unique<CZibPadDoc>();
        else
            doc = std::make_unique<CZibStyDoc>();
        if (!doc->OpenImage(read(path), path) || doc->ItemCount() == 0) return {};
        auto made = LibraryQeStyleEditor::FromItem(doc->ItemAt(0).data);
        return made.editor ? test::noteOnVelocities(made.editor->ExportSmf(0, 0), test::qeTrackChannel(track)) : std::vector<int>{};
    }
    // Script: the edit frame of the first item, the track editor of `node`,
    // the velocity of its first note typed as 76; the editor stays open.
    static std::string editInTrackEditor(const std::string& node)
    {
        return "select-rows 0 0\nmenu 32785\nselect-node " + node + "\nmenu 32848\ngrid-edit " +
               std::to_string(kFirstNoteRow) + " 6 76\n";
    }
};

// One road to the file with the track editor open, after the velocity of
// its first note was typed as 76: the file saved holds the style it held
// but for that velocity.
struct SaveRoad {
    const char* name;
    bool pad;
    const char* node;
    int track;
    const char* steps;             // after the edit, with the editor open
    bool saves = false;            // a plain save: the editor stays open over a clean document
    const char* savedAs = nullptr; // the file written instead of the one opened
    bool ends = false;             // the program ends with the steps
};

void PrintTo(const SaveRoad& road, std::ostream* out)
{
    *out << road.name;
}

const SaveRoad kSaveRoads[] = {
    {"save", false, "Variation1/CV1/BASS", 2, "activate-child save.sty*\nmenu 57603\n", true},
    {"editor", false, "Variation1/CV1/BASS", 2, "menu 57603\n", true}, // Ctrl+S in the track editor
    {"saveas", false, "Variation1/CV1/BASS", 2, "activate-child saveas.sty*\nmenu 57604\n", false,
     "copy.sty"},
    {"close", false, "Variation1/CV1/BASS", 2, "activate-child close.sty*\ndialog yes\nmenu 4001\n"},
    {"closeall", false, "Variation1/CV1/BASS", 2, "dialog yes\nmenu 4002\n"},
    {"exit", false, "Variation1/CV1/BASS", 2, "dialog yes\nmenu 57665\n", false, nullptr, true},
    {"pad", true, "Variation1/CV1/DRUM", 0, "activate-child pad.pad*\nmenu 57603\n", true},
};

class TrackEditorSaveRoad : public TrackEditorSaveGui, public ::testing::WithParamInterface<SaveRoad> {};

TEST_P(TrackEditorSaveRoad, TakesTheOpenEditorsEdit)
{
    const SaveRoad& c = GetParam();
    const std::string path = qeFile(std::string(c.name) + (c.pad ? ".pad" : ".sty"), c.pad);
    const std::string target = c.savedAs ? (session_.files() / c.savedAs).string() : path;
    const std::string answer = c.savedAs ? "dialog path " + target + "\n" : std::string();
    const test::QeStyleContents before = test::qeStyleFileContents(path, c.pad);
    const ZibRun r = run(editInTrackEditor(c.node) + answer + c.steps + (c.ends ? "" : "log-tabs\n"), {path});
    EXPECT_NE(r.line("grid-edit").find("-> 76"), std::string::npos) << logOf(r);
    EXPECT_EQ(savedVelocities(target, c.pad, c.track), (std::vector<int>{76, 100, 100, 100})) << logOf(r);
    EXPECT_EQ(test::contentDifferences(before, test::qeStyleFileContents(target, c.pad)),
              std::vector<std::string>{"item 1 " + test::qeNoteName(0, 0, c.track, 1) + " velocity: 100 -> 76"});
    if (c.savedAs) {
        EXPECT_EQ(test::contentDifferences(before, test::qeStyleFileContents(path, c.pad)), std::vector<std::string>{})
            << "the file opened stays as it was";
    }
    EXPECT_TRUE(r.line("message: title=Recreate").empty()) << logOf(r);
    if (c.saves) {
        EXPECT_NE(r.line("tabs:").find(" - EventList - "), std::string::npos) << r.line("tabs:");
        EXPECT_EQ(r.line("tabs:").find('*'), std::string::npos) << r.line("tabs:");
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, TrackEditorSaveRoad, ::testing::ValuesIn(kSaveRoads),
                         [](const ::testing::TestParamInfo<SaveRoad>& info) { return std::string(info.param.name); });

// The track editor of a Qe style or pad copies and pastes through the
// program's clipboard: a note copied and pasted back into its track is
// saved as one note more in that track, and nothing else changes.
TEST_F(TrackEditorSaveGui, ANoteCopiedAndPastedInTheTrackEditorIsSaved)
{
    for (const bool pad : {false, true}) {
        SCOPED_TRACE(pad ? "pad" : "style");
        const std::string path = qeFile(pad ? "copy.pad" : "copy.sty", pad);
        const int track = pad ? 0 : 2;
        const std::string node = pad ? "Variation1/CV1/DRUM" : "Variation1/CV1/BASS";
        const test::QeStyleContents before = test::qeStyleFileContents(path, pad);
        const std::string row = std::to_string(kFirstNoteRow);
        const ZibRun r =
            run("select-rows 0 0\nmenu 32785\nselect-node " + node + "\nmenu 32848\n" + "grid-select " + row +
                    "\nmenu 57634\ngrid-select " + row + "\ndialog ok\nmenu 57637\nmenu 57603\nlog-tabs\n",
                {path});
        const std::string log = logOf(r);
        EXPECT_EQ(savedVelocities(path, pad, track).size(), 5u) << log;
        const auto differences = test::contentDifferences(before, test::qeStyleFileContents(path, pad));
        EXPECT_FALSE(differences.empty()) << log;
        const std::string inTrack =
            "item 1 " +
            test::qeNoteName(0, 0, track, 1).substr(0, test::qeNoteName(0, 0, track, 1).size() - 1);
        for (const std::string& d : differences)
            EXPECT_EQ(d.rfind(inTrack, 0), 0u) << "only the pasted track changes: " << d;
        EXPECT_EQ(r.line("tabs:").find('*'), std::string::npos) << r.line("tabs:");
    }
}

// A Wq style track whose note is moved past the 16th bar cannot go back
// into the style: Ctrl+S in the track editor says so and writes nothing;
// the item stays as it was and the document can be saved as such. (The list
// of a Wq style writes the track back as soon as it is activated, so the
// save is started from the editor.)
TEST_F(TrackEditorSaveGui, AnEditThatCannotBeWrittenBackIsReportedAndNothingIsSaved)
{
    const Bytes original = test::wqStyleFile('9', {test::smallWq8Image("Rock")});
    const std::string sty = file("wq8.sty", original);
    const ZibRun r = run("select-rows 0 0\nmenu 32785\nselect-node Variation1/CV1/BASS\nmenu 32848\n"
                         "grid-edit 1 1 99999\ndialog ok\nmenu 57603\nlog-tabs\nactivate-child wq8.sty*\nmenu 57603\n"
                         "log-tabs\n",
                         {sty});
    const std::string log = logOf(r);
    const auto messages = r.lines("message: ");
    ASSERT_EQ(messages.size(), 1u) << log;
    EXPECT_NE(messages[0].find("title=RecreateOldStyleBuffer text=Cannot import MIDI data to style"), std::string::npos)
        << messages[0];
    const auto tabs = r.lines("tabs: ");
    ASSERT_EQ(tabs.size(), 2u) << log;
    EXPECT_EQ(tabs[0].find("EventList"), std::string::npos) << "the editor is closed: " << tabs[0];
    EXPECT_NE(tabs[0].find("wq8.sty*"), std::string::npos) << "not saved: " << tabs[0];
    EXPECT_EQ(tabs[1].find('*'), std::string::npos) << "saved the second time: " << tabs[1];
    // The item as it was: the saved style holds the track it had.
    CZibStyDoc saved;
    ASSERT_TRUE(saved.OpenImage(read(sty), sty));
    CZibStyDoc before;
    ASSERT_TRUE(before.OpenImage(original, sty));
    ASSERT_EQ(saved.StyCount(), 1);
    EXPECT_EQ(saved.m_StyItems[0].data, before.m_StyItems[0].data);
}

} // namespace
} // namespace zib
