// Commands that read an item while its edit frame is open, in the real
// program: a velocity typed into the open track editor goes into what Copy,
// Extract Item, Style To MIDI, Pad To MIDI and the tree's Play CV give, which
// differs from what they gave before the edit in that note alone (the whole
// style compared, each of its fields, chord variations and events); the frame
// and its editor stay open. An edit that cannot be written back is reported
// and the command does not run. A paste over the chord variation open in the
// track editor is kept.
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/ItemFile.h"
#include "docs/style/core/QeStyleEditor.h"
#include "midi/CMidiParserEx.h"
#include "platform/FileIo.h"
#include "tests/docs/style/gui/StyleGuiFixture.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/QeStyleContents.h"
#include "tests/support/StyFileBuilder.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <ostream>

namespace zib {
namespace {

using test::QeStyleContents;
using test::StyleGui;
using test::ZibRun;
using Bytes = std::vector<uint8_t>;
// The notes of a MIDI image in order: tick, status, key, velocity.
using Notes = std::vector<std::array<uint32_t, 4>>;

// The row of the first note in the track editor of V1 CV1 (the pattern's own
// bank selects and program change come first).
constexpr int kFirstNoteRowShown = 3;
constexpr int kTypedVelocity = 76;

// What a road gives after the edit differs from what it gave before in the
// velocity of the first note of `track` in V1 CV1 alone.
std::vector<std::string> typedVelocityOnly(int track)
{
    return {test::qeNoteName(0, 0, track, 1) + " velocity: 100 -> " + std::to_string(kTypedVelocity)};
}

// Whether contents read back hold the note the edit types over.
bool holdsTheNote(const QeStyleContents& contents, int track)
{
    const std::string name = test::qeNoteName(0, 0, track, 1);
    return std::any_of(contents.begin(), contents.end(),
                       [&name](const auto& value) { return value.first == name; });
}

Notes notesOf(const Bytes& smf)
{
    CMidiParserEx sequence;
    Notes out;
    if (smf.empty() || sequence.ParseImage(smf.data(), uint32_t(smf.size())) != 0) return out;
    for (const auto& e : sequence.GetEvents())
        if ((e->status & 0xF0) == 0x90 && e->data.size() >= 2 && e->data[1] > 0)
            out.push_back({e->time, e->status, e->data[0], e->data[1]});
    return out;
}

Bytes bytesOf(const std::filesystem::path& path)
{
    Bytes bytes;
    readWholeFile(path.string(), bytes);
    return bytes;
}

// The whole style of an item's data; "error" when there is none.
QeStyleContents styleOf(const Bytes& data)
{
    return data.empty() ? QeStyleContents{{"error", "no item"}} : test::qeStyleContents(data);
}

// A folder of the session's files, made when missing.
std::filesystem::path folderIn(const std::filesystem::path& files, const std::string& name)
{
    std::filesystem::create_directories(files / name);
    return files / name;
}

// Every chord variation's MIDI file an export wrote into `dir` ("Pop_V11.mid",
// "Pop_F12.mid"), each named by its element and chord variation as the
// style's contents name them ("V1CV1"), and the files' names.
QeStyleContents cvFilesIn(const std::filesystem::path& dir)
{
    QeStyleContents out;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string stem = entry.path().stem().string();
        const std::string part = stem.substr(stem.rfind('_') + 1); // element and CV: "V11"
        const std::string cv = part.substr(0, part.size() - 1) + "CV" + part.back();
        out.emplace_back("file " + entry.path().filename().string(), cv);
        for (auto& value : test::qeCvFileContents(cv, bytesOf(entry.path())))
            out.push_back(std::move(value));
    }
    std::sort(out.begin(), out.end());
    if (out.empty()) out.emplace_back("error", "no MIDI file in " + dir.string());
    return out;
}

class OpenEditReadGui : public StyleGui {
protected:
    // Script: the edit frame of the document's first item.
    static std::string openEditFrame(const std::string& document)
    {
        return "activate-child " + document + "\nselect-rows 0 0\nmenu 32785\n";
    }
    // Script, in an open edit frame: the track editor of `node`, the velocity
    // of its first note typed; the editor stays open.
    static std::string typeIntoTrackEditor(const std::string& node)
    {
        return "select-node " + node + "\nmenu 32848\ngrid-edit " + std::to_string(kFirstNoteRowShown) +
               " 6 " + std::to_string(kTypedVelocity) + "\n";
    }
};

// One command that reads the first item of edit.sty (or edit.pad): its
// steps, with the document's list active, write what it gives under a tag,
// once before the velocity is typed and once after; `output` reads that back
// whole. Both work in the session's folder of files.
struct ReadRoad {
    using Files = std::filesystem::path;
    const char* name;
    bool pad;
    std::function<std::string(const Files&, const std::string& tag)> steps;
    std::function<QeStyleContents(const Files&, const std::string& tag)> output;
    const char* done = ""; // the closing message of each run of the command
};

void PrintTo(const ReadRoad& road, std::ostream* out)
{
    *out << road.name;
}

std::string midiExport(int command, const ReadRoad::Files& files, const std::string& tag)
{
    return "select-rows 0 0\ndialog set 106 " + folderIn(files, tag).string() +
           " ; click 107\ndialog ok\nmenu " + std::to_string(command) + "\n";
}

const ReadRoad kReadRoads[] = {
    // Copy of the row, pasted into another style (before: row 1, after: row 2), which is saved.
    {"copy", false,
     [](const ReadRoad::Files&, const std::string&) {
         return std::string("select-rows 0 0\nmenu 57634\n"
                            "activate-child other.sty\nmenu 57637\nmenu 57603\n");
     },
     [](const ReadRoad::Files& files, const std::string& tag) {
         CZibStyDoc other;
         const size_t row = tag == "before" ? 1 : 2;
         if (!other.OpenImage(bytesOf(files / "other.sty"), (files / "other.sty").string()) ||
             other.m_StyItems.size() <= row)
             return styleOf({});
         return styleOf(other.m_StyItems[row].data);
     }},
    {"extract", false,
     [](const ReadRoad::Files& files, const std::string& tag) {
         return "select-rows 0 0\ndialog path " + (files / (tag + ".WSF")).string() + "\nmenu 32773\n";
     },
     [](const ReadRoad::Files& files, const std::string& tag) {
         ItemFileContent content;
         if (ReadItemFile(bytesOf(files / (tag + ".WSF")), true, content) != ItemFileError::None)
             return styleOf({});
         return styleOf(content.data);
     }},
    {"styletomidi", false,
     [](const ReadRoad::Files& files, const std::string& tag) { return midiExport(32803, files, tag); },
     [](const ReadRoad::Files& files, const std::string& tag) { return cvFilesIn(files / tag); },
     "message: title=DumpStyleToMidi text=Successfully converted 1 styles of 1 selected"},
    {"padtomidi", true,
     [](const ReadRoad::Files& files, const std::string& tag) { return midiExport(33029, files, tag); },
     [](const ReadRoad::Files& files, const std::string& tag) { return cvFilesIn(files / tag); },
     "message: title=DumpStyleToMidi text=Successfully converted 1 pads of 1 selected"},
};

class OpenEditReadRoad : public OpenEditReadGui, public ::testing::WithParamInterface<ReadRoad> {};

TEST_P(OpenEditReadRoad, GivesTheEditOfTheOpenTrackEditor)
{
    const ReadRoad& c = GetParam();
    FileProfile(session_.settingsFile()).setInt("Settings", "StyToMidiType", 1);
    const std::string document = c.pad ? "edit.pad" : "edit.sty";
    const std::string edit = qeFile(document, c.pad);
    const std::string other = qeFile("other.sty", false);
    const std::string node = c.pad ? "Variation1/CV1/DRUM" : "Variation1/CV1/BASS";
    const int track = c.pad ? 0 : 2;
    const ReadRoad::Files& files = session_.files();
    // The list's title alone carries the mark of a changed document, which
    // is left unsaved as the program ends.
    const ZibRun r = run("activate-child " + document + "\n" + c.steps(files, "before") +
                             openEditFrame(document) + typeIntoTrackEditor(node) + "activate-child " +
                             document + "*\n" + c.steps(files, "after") + "log-tabs\ndialog no\n",
                         {edit, other});
    const std::string log = logOf(r);
    ASSERT_NE(r.line("grid-edit").find("-> 76"), std::string::npos) << log;
    const QeStyleContents before = c.output(files, "before");
    ASSERT_TRUE(holdsTheNote(before, track)) << before.front().first << ": " << before.front().second << "\n"
                                             << log;
    EXPECT_EQ(test::contentDifferences(before, c.output(files, "after")), typedVelocityOnly(track)) << log;
    if (*c.done) {
        EXPECT_EQ(r.lines(c.done).size(), 2u) << log;
    }
    EXPECT_TRUE(r.line("message: title=Recreate").empty()) << log;
    // The frame and its track editor stay open.
    EXPECT_NE(r.line("tabs:").find(c.pad ? " - PadTree - " : " - StyleTree - "), std::string::npos) << log;
    EXPECT_NE(r.line("tabs:").find(" - EventList - "), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Roads, OpenEditReadRoad, ::testing::ValuesIn(kReadRoads),
                         [](const ::testing::TestParamInfo<ReadRoad>& info) {
                             return std::string(info.param.name);
                         });

// Play CV of the tree plays what the open track editor holds: the chord
// variation's whole file, with the typed velocity alone changed.
TEST_F(OpenEditReadGui, PlayCvOfTheTreeTakesTheOpenEdit)
{
    const std::string sty = qeFile("edit.sty", false);
    const auto playedInto = [&](const std::string& name) {
        FileProfile p(session_.settingsFile());
        p.setInt("Settings", "MidiPlaybackApp", 1);
        p.setString("Settings", "MidiPlayerCommand", "cp %s " + (session_.files() / name).string());
        return "await-file " + (session_.files() / name).string() + "\n";
    };
    const ZibRun before = run("select-rows 0 0\nmenu 32785\nselect-node Variation1/CV1\nmenu 32807\n" +
                                  playedInto("before.mid"),
                              {sty});
    const ZibRun after =
        run(openEditFrame("edit.sty") + typeIntoTrackEditor("Variation1/CV1/BASS") +
                "activate-child \" - StyleTree - \"\nselect-node Variation1/CV1\nmenu 32807\n" +
                playedInto("after.mid") + "log-tabs\ndialog no\n",
            {sty});
    const QeStyleContents played =
        test::qeCvFileContents("V1CV1", read((session_.files() / "before.mid").string()));
    ASSERT_TRUE(holdsTheNote(played, 2)) << played.front().first << ": " << played.front().second << "\n"
                                         << logOf(before);
    EXPECT_EQ(test::contentDifferences(
                  played, test::qeCvFileContents("V1CV1", read((session_.files() / "after.mid").string()))),
              typedVelocityOnly(2))
        << logOf(after);
    EXPECT_NE(after.line("tabs:").find(" - EventList - "), std::string::npos) << logOf(after);
}

// A Wq track whose note is moved past the 16th bar cannot go back into the
// style: Play CV of the tree says so and plays nothing; the edit went with
// its message, so the next Play CV plays the item as it was.
TEST_F(OpenEditReadGui, AnEditThatCannotBeWrittenBackStopsPlayCv)
{
    const std::string sty = file("wq8.sty", test::wqStyleFile('9', {test::smallWq8Image("Rock")}));
    const ZibRun r =
        run("select-rows 0 0\nmenu 32785\nselect-node Variation1/CV1/BASS\nmenu 32848\n"
            "grid-edit 1 1 99999\nactivate-child \" - StyleTree - \"\nselect-node Variation1/CV1\n"
            "dialog ok\nmenu 32807\nlog-tabs\nmenu 32807\nlog-tabs\ndialog no\n",
            {sty});
    const std::string log = logOf(r);
    const auto messages = r.lines("message: title=Recreate");
    ASSERT_EQ(messages.size(), 1u) << log;
    EXPECT_NE(messages[0].find("title=RecreateOldStyleBuffer text=Cannot import MIDI data to style"),
              std::string::npos)
        << messages[0];
    // The player's window opens on the second Play CV only.
    const auto tabs = r.lines("tabs: ");
    ASSERT_EQ(tabs.size(), 2u) << log;
    EXPECT_EQ(tabs[0].find("TmpRary"), std::string::npos) << tabs[0];
    EXPECT_EQ(tabs[0].find(" - EventList - "), std::string::npos)
        << "the editor closed with its edit: " << tabs[0];
    EXPECT_NE(tabs[1].find("TmpRary"), std::string::npos) << tabs[1];
}

// A chord variation pasted over the one open in the track editor stays: the
// editor's edit goes in first and the editor closes, so that a later save
// does not write the editor's sequence back over the paste.
TEST_F(OpenEditReadGui, APasteOverTheCvOpenInTheTrackEditorIsKept)
{
    const std::string sty =
        file("edit.sty",
             test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}}))}));
    const ZibRun r =
        run("select-rows 0 0\nmenu 32785\nselect-node Intro1/CV1\nmenu 57634\n" +
                typeIntoTrackEditor("Variation1/CV1/BASS") +
                "activate-child \" - StyleTree - \"\nselect-node Variation1/CV1\nmenu 57637\nlog-tabs\n"
                "menu 57603\n",
            {sty});
    const std::string log = logOf(r);
    EXPECT_EQ(r.line("tabs:").find(" - EventList - "), std::string::npos) << "the editor closed: " << log;
    CZibStyDoc saved;
    ASSERT_TRUE(saved.OpenImage(read(sty), sty));
    auto made = LibraryQeStyleEditor::FromItem(saved.m_StyItems.at(0).data);
    ASSERT_TRUE(made.editor);
    const Notes intro = notesOf(made.editor->ExportSmf(4, 0));
    ASSERT_FALSE(intro.empty()) << log;
    EXPECT_EQ(notesOf(made.editor->ExportSmf(0, 0)), intro) << log;
}

} // namespace
} // namespace zib
