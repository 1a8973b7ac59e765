// The edit frames of style and pad items in the real program: the trees,
// the level bar, the dialogs writing on OK and nothing on Cancel, deleting
// and adding chord variations, playing a CV, the STS sheets and clipboard,
// and what closing the frame writes into the item.
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/QeStyleEditor.h"
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/NoteVelocities.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/QeStyleContents.h"
#include "tests/support/StyFileBuilder.h"

#include <algorithm>
#include <ostream>

namespace zib {
namespace {

using test::StyleGui;
using test::ZibRun;
using Bytes = std::vector<uint8_t>;

Bytes qeStyleFile()
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                            test::stsDataEntry("PopSts", 2, 0, {0, 2})});
}

Bytes padFile()
{
    return test::dasfImage({test::qeEntry("Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 1, {0}, 0, true}))});
}

// Script steps: the edit frame of the first row opened; the frame closed
// and the document of `file` saved.
const std::string kOpenEditFrame = "select-rows 0 0\nmenu 32785\n";
std::string closeFrameAndSave(const std::string& file)
{
    return "menu 4001\nawait-idle\nactivate-child " + file + "\nmenu 57603\n";
}

// The style document a saved file holds.
std::unique_ptr<CZibStyDoc> openSaved(const Bytes& image, const std::string& path)
{
    auto doc = std::make_unique<CZibStyDoc>();
    EXPECT_TRUE(doc->OpenImage(image, path));
    return doc;
}

std::unique_ptr<QeStyleEditor> editorOf(const CZibStyDoc& doc, int row)
{
    return std::move(LibraryQeStyleEditor::FromItem(doc.m_StyItems.at(size_t(row)).data).editor);
}

TEST_F(StyleGui, QeEditFrameShowsBothTreesAndTheLevelsExpandThem)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const ZibRun r = run(kOpenEditFrame +
                         "log-frame\n"
                         "log-tree 0\n"
                         "log-tree 1\n"
                         "menu 293\n"
                         "button-state 293\n"
                         "tree-expanded Variation1\n"
                         "tree-expanded Variation1/CV1\n"
                         "menu 293\n"
                         "button-state 292\n"
                         "button-state 293\n"
                         "tree-expanded Variation1\n"
                         "select-node Variation1/CV1/BASS\n"
                         "log-frame\n"
                         "screenshot qe-edit-frame\n",
                         {sty});
    const std::string log = logOf(r);
    EXPECT_NE(r.line("frame:").find("docbar=StyleTree"), std::string::npos) << log;
    EXPECT_NE(r.line("frame:").find("kind=10"), std::string::npos) << log;
    EXPECT_NE(log.find("items=0:Style Tree: Pop|1:Variation1|2:CV1|3:DRUM|3:PERC|3:BASS"), std::string::npos) << log;
    EXPECT_NE(log.find("1:Intro2|2:CV1|2:CV2|1:Fill1"), std::string::npos) << "Intro1 has data, Intro2 none: " << log;
    EXPECT_NE(log.find("items=0:STS Tree: PopSts|1:STS1|1:STS2|1:STS3|1:STS4"), std::string::npos) << log;
    EXPECT_TRUE(r.has("tree-images: 02323")) << "STS1 and STS3 present: " << log;
    // One image per glyph, none cut in parts: "S E C T e c t" and "STS sts S s".
    EXPECT_TRUE(r.has("tree-image-count: 7")) << log;
    EXPECT_TRUE(r.has("tree-image-count: 4")) << log;
    EXPECT_TRUE(r.has("button 293 checked=1")) << log;
    EXPECT_TRUE(r.has("expanded Variation1 1")) << log;
    EXPECT_TRUE(r.has("expanded Variation1/CV1 0")) << log;
    // The second press of "CV Level" shows the element level.
    EXPECT_TRUE(r.has("button 292 checked=1")) << log;
    EXPECT_TRUE(r.has("button 293 checked=0")) << log;
    EXPECT_TRUE(r.has("expanded Variation1 0")) << log;
    // The status panes name the selected node.
    EXPECT_NE(r.lines("frame:").back().find("BASS"), std::string::npos) << r.lines("frame:").back();
}

TEST_F(StyleGui, DialogsWriteOnOkAndNothingOnCancelAndTheItemChangesWhenTheFrameCloses)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const ZibRun r = run(kOpenEditFrame +
                         "select-node \"Style Tree: Pop\"\n"
                         "dialog log 1047 ; check 1742 1 ; ok\n"
                         "menu 32870\n"
                         "select-node Variation1\n"
                         "dialog check 1676 1 ; ok\n"
                         "menu 32828\n"
                         "dialog check 1673 1 ; cancel\n"
                         "menu 32828\n"
                         "dialog log 1891 ; set 1850 300 ; log 1800 ; ok\n"
                         "menu 32829\n"
                         "dialog select 1651 0 ; cancel\n"
                         "menu 32827\n"
                         "select-node Variation1/CV1/BASS\n"
                         "dialog log 1625 ; select 1625 45 ; ok\n"
                         "tree-command 32875\n" +
                         closeFrameAndSave("pop.sty"),
                         {sty});
    const std::string log = logOf(r);
    EXPECT_TRUE(r.has("dialog: title=Style Flags")) << log;
    EXPECT_TRUE(r.has("control 1047: label=Pop enabled=1")) << log;
    EXPECT_TRUE(r.has("dialog: title='Variation1' NTT")) << log;
    EXPECT_TRUE(r.has("dialog: title='Variation1' Tracks Settings")) << log;
    EXPECT_TRUE(r.has("control 1891: text=4/4 selection=0-0 enabled=1")) << log;
    EXPECT_TRUE(r.has("dialog: title='Variation1_CV1_BASS' KeyChord")) << log;

    const auto doc = openSaved(read(sty), sty);
    const auto editor = editorOf(*doc, 0);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->TrackMode(1), 1) << "PERC Re-Trig";
    EXPECT_EQ(editor->Ntt(0), 3) << "OK wrote No Transpose, Cancel wrote nothing";
    EXPECT_EQ(editor->TrackExpression(0, 0), 127) << "a typed 300 is clamped";
    EXPECT_EQ(editor->TrackKey(0, 0, 2), 2) << "D";
    EXPECT_EQ(editor->TrackChord(0, 0, 2), 1) << "Maj6";
}

// A chord variation copied and pasted onto an empty one: the tree shows the
// tracks of both as the tree built anew from the saved item shows them, the
// tracks without data (PERC, ACC1-ACC5 here) with the empty track's icon.
TEST_F(StyleGui, APastedCvShowsItsTracksAsTheRebuiltTreeDoes)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const ZibRun pasted = run(kOpenEditFrame +
                                  "select-node Variation1/CV1\n"
                                  "tree-command 57634\n"
                                  "select-node Variation1/CV4\n"
                                  "tree-command 57637\n"
                                  "log-tree 0\n" +
                                  closeFrameAndSave("pop.sty"),
                              {sty});
    const ZibRun rebuilt = run(kOpenEditFrame + "log-tree 0\n", {sty});
    const auto images = [](const ZibRun& r) {
        const std::string line = r.line("tree-images: ");
        return line.substr(0, line.find(' ', std::string("tree-images: ").size()));
    };
    // Root, Variation1, CV1 with DRUM and BASS, CV2 and CV3 empty, CV4 as CV1.
    EXPECT_EQ(images(pasted).rfind("tree-images: 01236366666552363666665", 0), 0u) << logOf(pasted);
    EXPECT_EQ(images(pasted), images(rebuilt)) << logOf(rebuilt);
}

// Import Item(s) with the edit frame and its track editor open: a
// cancelled file dialog leaves both open with the edit typed in the track
// editor (a save then takes it); an import that goes ahead closes them.
TEST_F(StyleGui, ImportClosesTheEditWindowsOnlyWhenItGoesAhead)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    CStyItem jazz;
    jazz.SetName("Jazz");
    jazz.data = test::qeStyleInstance({"Jazz"});
    const std::string item = file("Jazz.WSF", StyleItemFileBytes('F', jazz, nullptr));
    const ZibRun r = run(kOpenEditFrame +
                             "select-node Variation1/CV1/BASS\nmenu 32848\ngrid-edit 3 6 76\n"
                             "activate-child pop.sty*\ndialog cancel\nmenu 32774\nlog-tabs\n"
                             "menu 57603\nawait-idle\n"
                             "activate-child pop.sty\ndialog path " +
                             item + "\nmenu 32774\nlog-tabs\nlog-list 0\n" + "menu 57603\n",
                         {sty});
    const std::string log = logOf(r);
    const auto tabs = r.lines("tabs: ");
    ASSERT_EQ(tabs.size(), 2u) << log;
    EXPECT_NE(tabs[0].find("pop.sty - StyleTree - Pop"), std::string::npos) << "the frame stays: " << tabs[0];
    EXPECT_NE(tabs[0].find(" - EventList - "), std::string::npos) << "the track editor stays: " << tabs[0];
    EXPECT_EQ(tabs[1], "tabs: active=pop.sty* titles=pop.sty*") << "both closed by the import";
    EXPECT_NE(r.line("list:").find("rows=2"), std::string::npos) << log;
    // The edit kept by the open editor went into the first save.
    const auto doc = openSaved(read(sty), sty);
    ASSERT_EQ(doc->StyCount(), 2) << log;
    const auto editor = editorOf(*doc, 0);
    ASSERT_TRUE(editor);
    EXPECT_EQ(test::noteOnVelocities(editor->ExportSmf(0, 0), test::qeTrackChannel(2)),
              (std::vector<int>{76, 100, 100, 100}));
}

TEST_F(StyleGui, AddCvAndDeleteWithItsQuestion)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const ZibRun r = run(kOpenEditFrame +
                         "select-node Variation1\n"
                         "tree-command 32901\n"
                         "log-tree 0\n"
                         "select-node Variation1/CV2\n"
                         "dialog no\n"
                         "tree-command 32905\n"
                         "dialog yes\n"
                         "dialog ok\n"
                         "tree-command 32905\n"
                         "log-tree 0\n"
                         "select-node Variation1/CV1/BASS\n"
                         "dialog yes\n"
                         "menu 32777\n"
                         "log-tree 0\n"
                         "dialog no\n"
                         "menu 4001\n",
                         {sty});
    const std::string log = logOf(r);
    const auto images = r.lines("tree-images: ");
    ASSERT_EQ(images.size(), 3u) << log;
    const auto starts = [&](size_t i, const std::string& prefix) { return images[i].rfind("tree-images: " + prefix, 0) == 0; };
    // Variation1 got a CV2 with data: its eight tracks are shown.
    EXPECT_TRUE(starts(0, "012363666662333333335555")) << log;
    EXPECT_TRUE(r.has("message: title=DeleteQeCV text=Do you really want to delete chord variation?")) << log;
    EXPECT_TRUE(r.has("message: title=DeleteQeCV text=CV2 deleted! You should check Variation1 ChordTable!!!")) << log;
    EXPECT_TRUE(starts(1, "0123636666655555")) << "CV2 gone: " << log;
    // The deleted track's node stays, flagged empty.
    EXPECT_TRUE(starts(2, "0123666666655555")) << log;
    // Through every structural edit the root keeps its own title, not the frame's.
    size_t trees = 0;
    for (const std::string& line : r.log)
        if (line.find(" items=0:") != std::string::npos) {
            ++trees;
            EXPECT_NE(line.find(" items=0:Style Tree: Pop|"), std::string::npos) << line;
        }
    EXPECT_EQ(trees, 3u) << log;
}

// An edit held by an open Qe tree (here Add CV) marks the document changed
// at once, and every road to the file takes it, and only it, while the
// tree stays open.
struct TreeEditRoad {
    const char* name;
    const char* steps; // after the edit, with the tree open
    bool saves;        // a plain save: the document is clean afterwards
};

void PrintTo(const TreeEditRoad& road, std::ostream* out)
{
    *out << road.name;
}

const TreeEditRoad kTreeEditRoads[] = {
    {"save", "activate-child save.sty*\nmenu 57603\nlog-tabs\n", true},
    {"close", "activate-child close.sty*\ndialog yes\nmenu 4001\n", false},
    {"exit", "dialog yes\nmenu 57665\n", false},
};

class TreeEditSaveRoad : public StyleGui, public ::testing::WithParamInterface<TreeEditRoad> {};

TEST_P(TreeEditSaveRoad, TakesTheOpenTreesEdit)
{
    const TreeEditRoad& c = GetParam();
    const std::string sty = file(std::string(c.name) + ".sty", qeStyleFile());
    ASSERT_EQ(editorOf(*openSaved(read(sty), sty), 0)->QueryChordVar(0, 1), 0) << "no CV2 before";
    const test::QeStyleContents before = test::qeStyleFileContents(sty, false);
    const ZibRun r =
        run(kOpenEditFrame + "select-node Variation1\ntree-command 32901\nlog-tabs\n" + c.steps, {sty});
    const std::string log = logOf(r);
    const auto tabs = r.lines("tabs: ");
    ASSERT_FALSE(tabs.empty()) << log;
    EXPECT_NE(tabs[0].find(std::string(c.name) + ".sty*"), std::string::npos)
        << "changed at once: " << tabs[0];
    EXPECT_NE(editorOf(*openSaved(read(sty), sty), 0)->QueryChordVar(0, 1), 0) << "CV2 saved: " << log;
    // Nothing else changed: the style saved is the one opened and a CV2 of V1.
    const auto differences = test::contentDifferences(before, test::qeStyleFileContents(sty, false));
    EXPECT_NE(std::find(differences.begin(), differences.end(), "item 1 V1CV2 status: 0 -> 2"), differences.end());
    for (const std::string& d : differences)
        EXPECT_TRUE(d == "item 1 V1CV2 status: 0 -> 2" ||
                    (d.rfind("item 1 V1CV2 ", 0) == 0 && d.find(": (none) -> ") != std::string::npos))
            << d;
    if (c.saves) {
        ASSERT_EQ(tabs.size(), 2u) << log;
        EXPECT_EQ(tabs[1].find('*'), std::string::npos) << tabs[1];
        EXPECT_NE(tabs[1].find("StyleTree"), std::string::npos) << "the tree stays open: " << tabs[1];
    }
}

INSTANTIATE_TEST_SUITE_P(Roads, TreeEditSaveRoad, ::testing::ValuesIn(kTreeEditRoads),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StyleGui, PlayCvAndTrackHandTheirMidiFilesToThePlayer)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const std::string cvCopy = (session_.files() / "cv.mid").string();
    const std::string trackCopy = (session_.files() / "track.mid").string();
    {
        FileProfile p(session_.settingsFile());
        p.setInt("Settings", "MidiPlaybackApp", 1);
        p.setString("Settings", "MidiPlayerCommand", "cp %s " + cvCopy);
    }
    ZibRun r = run(kOpenEditFrame + "select-node Variation1/CV1\nmenu 32807\nawait-file " + cvCopy + "\n", {sty});
    FileProfile(session_.settingsFile()).setString("Settings", "MidiPlayerCommand", "cp %s " + trackCopy);
    ZibRun t = run(kOpenEditFrame + "select-node Variation1/CV1/DRUM\nmenu 32816\nawait-file " + trackCopy + "\n", {sty});
    const Bytes cv = read(cvCopy);
    const Bytes track = read(trackCopy);
    ASSERT_GT(cv.size(), 14u) << logOf(r) << r.output;
    ASSERT_GT(track.size(), 14u) << logOf(t);
    EXPECT_EQ(std::string(cv.begin(), cv.begin() + 4), "MThd");
    EXPECT_EQ(cv[9], 0) << "format 0";
    EXPECT_LT(track.size(), cv.size()) << "only the drum channel's events";
}

TEST_F(StyleGui, StsSheetsWriteOnOkAndTheTreeCopiesAndPastesBlocks)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const ZibRun r = run(kOpenEditFrame +
                         "select-node \"STS Tree: PopSts\" 1\n"
                         "dialog page 1 ; log 2000 ; set 2002 300 ; log 2002 ; ok\n"
                         "tree-activate 1\n"
                         "select-node \"STS Tree: PopSts/STS1\" 1\n"
                         "dialog log 2100 ; set 2120 77 ; ok\n"
                         "tree-activate 1\n"
                         "tree-command 57634 1\n"
                         "select-node \"STS Tree: PopSts/STS4\" 1\n"
                         "tree-command 57637 1\n"
                         "log-tree 1\n" +
                         closeFrameAndSave("pop.sty"),
                         {sty});
    const std::string log = logOf(r);
    EXPECT_TRUE(r.has("dialog: title=Style Performance settings")) << log;
    EXPECT_TRUE(r.has("control 2002: text=240 selection=3-3 enabled=1") ||
                r.line("control 2002:").find("text=240") != std::string::npos)
        << log;
    EXPECT_TRUE(r.has("dialog: title=STS settings: STS1")) << log;
    // Pasted into the absent STS4, the block goes in as the third and all are renumbered.
    EXPECT_TRUE(r.has("tree-images: 02223")) << log;

    const auto doc = openSaved(read(sty), sty);
    const Bytes& sts = doc->m_StsItems.at(0).data;
    ASSERT_GT(sts.size(), 432u + 3 * 261);
    EXPECT_EQ(sts[41], 240);
    EXPECT_EQ(sts[36], 3) << "three STS blocks";
    EXPECT_EQ(sts[432 + 113 + 12], 77) << "LOW volume of STS1";
    EXPECT_EQ(sts[432 + 2 * 261], 2) << "the pasted block renumbered to slot 2";
}

TEST_F(StyleGui, WqFrameEditsTheStyleImageAndShowsItsDump)
{
    const std::string sty = file("wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")}));
    const ZibRun r = run(kOpenEditFrame +
                         "log-tree 0\n"
                         "select-node \"Style Tree: Rock\"\n"
                         "dialog set 2360 150 ; ok\n"
                         "menu 32871\n"
                         "select-node Variation1/CV1/BASS\n"
                         "log-frame\n"
                         "screenshot wq-edit-frame\n" +
                         closeFrameAndSave("wq8.sty"),
                         {sty});
    const std::string log = logOf(r);
    EXPECT_NE(log.find("items=0:Style Tree: Rock|1:Variation1|2:CV1|3:DRUM|3:BASS selection"), std::string::npos)
        << log;
    EXPECT_TRUE(r.has("dialog: title=Style Parameters")) << log;
    const Bytes saved = read(sty);
    ASSERT_GT(saved.size(), 96u + 11);
    EXPECT_EQ(saved[96 + 11], 120) << "tempo 150 stored as 150 - 30";
}

TEST_F(StyleGui, PadFrameHasThePadTreeAndTheLevels)
{
    const std::string pad = file("pads.pad", padFile());
    const ZibRun r = run(kOpenEditFrame +
                         "log-frame\nlog-tree 0\nlog-tree 1\nmenu 291\n"
                         "tree-expanded \"Style Tree: Pad1\"\nmenu 291\ntree-expanded \"Style Tree: Pad1\"\nmenu 4001\n",
                         {pad});
    const std::string log = logOf(r);
    EXPECT_NE(r.line("frame:").find("kind=11"), std::string::npos) << log;
    EXPECT_NE(log.find("items=0:Style Tree: Pad1|1:Variation1|2:CV1|3:DRUM"), std::string::npos) << log;
    EXPECT_TRUE(r.has("tree: none")) << "no STS tree: " << log;
    EXPECT_TRUE(r.has("expanded Style Tree: Pad1 0")) << log;
    EXPECT_TRUE(r.has("expanded Style Tree: Pad1 1")) << "root level pressed again: track level" << log;
}

} // namespace
} // namespace zib

namespace zib {
namespace {

// The text dump of a Wq frame is a file of the frame's own in the temporary
// folder, gone when the frame closes; a user's "StyleTxtDump.txt" beside the
// style stays, also when a pad frame closes.
TEST_F(StyleGui, EditFramesDeleteOnlyTheirOwnDumpFile)
{
    const std::filesystem::path temp = session_.files() / "temp";
    std::filesystem::create_directories(temp);
    setenv("TMPDIR", temp.c_str(), 1);
    const std::string user = file("StyleTxtDump.txt", Bytes{'u', 's', 'e', 'r'});
    const std::string wq = file("wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")}));
    const std::string pad = file("pads.pad", padFile());
    auto dumps = [&temp] {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(temp))
            n += entry.path().filename().string().rfind("StyleTxtDump", 0) == 0;
        return n;
    };
    const ZibRun open = run(kOpenEditFrame + "log-text 0\nselect-node Variation1/CV1/BASS\nlog-text 0\n",
                            {wq});
    const auto texts = open.lines("text: ");
    ASSERT_EQ(texts.size(), 2u) << logOf(open);
    EXPECT_NE(texts[0].find("first=Wqstyle Dump Report"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("selected==== Variation1, CV1, BASS ==="), std::string::npos) << texts[1];
    const ZibRun closed = run(kOpenEditFrame + "menu 4001\nawait-idle\n", {wq});
    const ZibRun padFrame = run(kOpenEditFrame + "menu 4001\nawait-idle\n", {pad});
    unsetenv("TMPDIR");
    EXPECT_EQ(dumps(), 0) << "every frame took its dump file with it";
    EXPECT_EQ(read(user), (Bytes{'u', 's', 'e', 'r'})) << logOf(closed) << logOf(padFrame);
}

} // namespace
} // namespace zib

namespace zib {
namespace {

// ">>" opens the sound list; the chosen sound, a key range and Apply To All
// reach the style.
TEST_F(StyleGui, TrackParametersTakeASoundFromTheSoundListAndApplyItToAll)
{
    const std::string sty = file("pop.sty", qeStyleFile());
    const ZibRun r = run(kOpenEditFrame +
                         "select-node Variation1\n"
                         "dialog select 1870 10 ; click 1810 ; log 1800 ; log 1820 ; check 1890 1 ; ok\n"
                         "dialog log 1900 ; select 1900 5 ; ok\n"
                         "menu 32829\n" +
                         closeFrameAndSave("pop.sty"),
                         {sty});
    const std::string log = logOf(r);
    EXPECT_TRUE(r.has("dialog: title=Sounds")) << log;
    EXPECT_TRUE(r.has("control 1900: selection=-1 count=983 enabled=1")) << "a Qe4k style's list; its sound is not in it: " << log;
    EXPECT_NE(r.line("control 1820:").find("text=120"), std::string::npos) << "a drum kit's bank: " << log;

    const auto doc = openSaved(read(sty), sty);
    const auto editor = editorOf(*doc, 0);
    ASSERT_TRUE(editor);
    const uint32_t chosen = editor->TrackProgram(0, 0);
    EXPECT_EQ(chosen >> 24, 120u);
    EXPECT_EQ(editor->TrackKBRangeLow(0, 0), 31);
    EXPECT_EQ(editor->TrackProgram(4, 0), chosen) << "applied to the other elements";
    EXPECT_EQ(editor->TrackKBRangeLow(4, 0), 31);
}

} // namespace
} // namespace zib

namespace zib {
namespace {

// The track editor of a style or pad edit frame: a velocity edited in place,
// undone and redone, written back into the item when the editor closes, and
// found again when the saved file is opened once more.
class StyleTrackEditGui : public test::StyleGui {
protected:
    // Opens the file, edits the velocity of the note in row `row` of the
    // node's track, undoes and redoes it, closes the editor, opens it again
    // (the track as the item now holds it), closes it and the edit frame and
    // saves the document.
    ZibRun editAndSave(const std::string& path, const std::string& node, int row)
    {
        const std::string r = std::to_string(row);
        const std::string show = "log-grid " + std::to_string(row + 1) + "\n";
        return run("select-rows 0 0\nmenu 32785\nselect-node " + node + "\nmenu 32848\nlog-frame\n" + show +
                       "grid-edit " + r + " 6 76\n" + show + "menu 57643\n" + show + "menu 57644\n" + show +
                       "screenshot track-editor\nclose-active\nmenu 32848\nlog-grid 40\nclose-active\nmenu 4001\n"
                       "await-idle\nactivate-child " +
                       std::filesystem::path(path).filename().string() + "\nmenu 57603\n",
                   {path});
    }
    // The rows of the node's track editor in a new run on the saved file
    ZibRun reopen(const std::string& path, const std::string& node)
    {
        return run("select-rows 0 0\nmenu 32785\nselect-node " + node + "\nmenu 32848\nlog-grid 40\n", {path});
    }
    // The rows of the edited row as the editor showed it: before, edited,
    // undone, redone
    static void expectUndoRedo(const ZibRun& r, int row)
    {
        const auto rows = r.lines("grid-row " + std::to_string(row) + ": ");
        ASSERT_EQ(rows.size(), 5u) << logOf(r);
        EXPECT_NE(rows[0].find("|Note|"), std::string::npos) << rows[0];
        EXPECT_NE(rows[1].find("|  76|"), std::string::npos) << rows[1];
        EXPECT_NE(rows[1], rows[0]);
        EXPECT_EQ(rows[2], rows[0]) << "Undo takes it back";
        EXPECT_EQ(rows[3], rows[1]) << "Redo applies it again";
    }
    // Whether the run's last grid shows a row with that note at velocity 76 (a velocity a Wq style keeps as it is)
    static bool lastGridHasNoteAt76(const ZibRun& r, const std::string& note)
    {
        bool found = false;
        for (const auto& line : r.log) {
            if (line.rfind("grid: ", 0) == 0) found = false;
            if (line.rfind("grid-row ", 0) == 0 && line.find("|Note|" + note) != std::string::npos &&
                line.find("|  76|") != std::string::npos)
                found = true;
        }
        return found;
    }
};

TEST_F(StyleTrackEditGui, QeStyleTrackEditIsUndoneRedoneAndWrittenBack)
{
    const std::string sty = file("pop.sty", test::dasfImage({test::qeEntry(
                                                "Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}}))}));
    const ZibRun r = editAndSave(sty, "Variation1/CV1/BASS", 4);
    EXPECT_NE(r.line("frame:").find("kind=12 "), std::string::npos) << logOf(r);
    EXPECT_NE(r.line("grid:").find("title=pop.sty - EventList - V1CV1 BASS"), std::string::npos) << logOf(r);
    expectUndoRedo(r, 4);
    EXPECT_EQ(r.lines("grid: ").size(), 5u) << logOf(r);
    EXPECT_TRUE(lastGridHasNoteAt76(r, "B2")) << "closing the editor wrote the track back: " << logOf(r);
    const ZibRun again = reopen(sty, "Variation1/CV1/BASS");
    EXPECT_TRUE(lastGridHasNoteAt76(again, "B2")) << logOf(again);
}

TEST_F(StyleTrackEditGui, WqStyleTrackGoesBackThroughTheImporter)
{
    const std::string sty = file("wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")}));
    const ZibRun r = editAndSave(sty, "Variation1/CV1/BASS", 1);
    EXPECT_NE(r.line("frame:").find("kind=12 "), std::string::npos) << logOf(r);
    expectUndoRedo(r, 1);
    EXPECT_TRUE(r.line("message:").empty()) << logOf(r);
    const ZibRun again = reopen(sty, "Variation1/CV1/BASS");
    EXPECT_TRUE(lastGridHasNoteAt76(again, "")) << logOf(again);
}

TEST_F(StyleTrackEditGui, PadTrackEditIsWrittenBack)
{
    const std::string pad = file("pads.pad", test::dasfImage({test::qeEntry(
                                                 "Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 1, {0}, 0, true}))}));
    const ZibRun r = editAndSave(pad, "Variation1/CV1/DRUM", 4);
    EXPECT_NE(r.line("frame:").find("kind=13 "), std::string::npos) << logOf(r);
    expectUndoRedo(r, 4);
    EXPECT_TRUE(lastGridHasNoteAt76(r, "C#2")) << "closing the editor wrote the track back: " << logOf(r);
    const ZibRun again = reopen(pad, "Variation1/CV1/DRUM");
    EXPECT_TRUE(lastGridHasNoteAt76(again, "C#2")) << logOf(again);
}

} // namespace
} // namespace zib
