// The MIDI bars, the View > Toolbar item and the MIDI dialogs in the real zib
// program, driven through its own command routing.
#include "ui/texts/UiText.h"
#include "platform/FileIo.h"
#include "platform/FileProfile.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "midi/CMidiFile.h"
#include "midi/CMidiParserEx.h"
#include "tests/support/BigSong.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

using namespace zib;
using test::ZibRun;
using test::ZibSession;

namespace {

constexpr const char* kFileOpenId = "57601";
constexpr const char* kViewToolbar = "59392";
constexpr const char* kItalian = "32994";
// The answer to the question about a changed song as the program ends: it is left unsaved.
constexpr const char* kLeaveUnsaved = "dialog no\n";

// The run's log, one line each, for failure messages.
std::string logText(const ZibRun& r)
{
    std::string all;
    for (const auto& l : r.log) all += l + "\n";
    return all;
}


// What a MIDI file holds per track row, read with the file reader alone:
// format 0 spreads its channel events over rows by channel, format 1 gives
// each chunk a row, one further down when the first chunk holds channel or
// system-exclusive events (its track 0 is the tempo track).
struct ListedTrack {
    std::string name;         // the first track name, at most 16 characters
    std::set<int> channels;   // the channels of its channel events
    int noteOns = 0;          // note-ons with a velocity
    std::string ChannelText() const { return channels.size() == 1 ? std::to_string(*channels.begin() + 1) : "---"; }
};

class TrackLister : public CMidiFile {
public:
    std::map<int, std::vector<int>> chunkChannels; // chunk -> channel of each note-on
    std::map<int, std::set<int>> channelsOf;
    std::map<int, std::string> names;
    std::set<int> chunksWithEvents;
    bool firstChunkPlays = false;

protected:
    int OnChannelEvent() override
    {
        const int chunk = GetTrackIndex();
        const int channel = m_status & 0x0F;
        channelsOf[chunk].insert(channel);
        chunksWithEvents.insert(chunk);
        if (chunk == 0) firstChunkPlays = true;
        if ((m_status & 0xF0) == 0x90 && m_eventData[1] > 0) chunkChannels[chunk].push_back(channel);
        return 0;
    }
    int OnSysEx() override
    {
        if (GetTrackIndex() == 0) firstChunkPlays = true;
        chunksWithEvents.insert(GetTrackIndex());
        return 0;
    }
    int OnMetaText() override
    {
        chunksWithEvents.insert(GetTrackIndex());
        if (m_status != 0x03 || names.count(GetTrackIndex())) return 0;
        std::string text(GetEventBytes(), '\0');
        if (ReadBytes(reinterpret_cast<uint8_t*>(text.data()), uint32_t(text.size())) != 0) return 0;
        names[GetTrackIndex()] = text.substr(0, 16);
        return 0;
    }
};

std::map<int, ListedTrack> listTracks(const std::vector<uint8_t>& bytes)
{
    TrackLister reader;
    EXPECT_EQ(reader.ParseMemory(bytes.data(), uint32_t(bytes.size())), 0);
    std::map<int, ListedTrack> rows;
    if (reader.GetFormat() == 0) {
        for (const auto& [chunk, channels] : reader.channelsOf)
            for (int channel : channels) rows[channel].channels.insert(channel);
        for (const auto& [chunk, notes] : reader.chunkChannels)
            for (int channel : notes) ++rows[channel].noteOns;
        return rows;
    }
    const int shift = reader.firstChunkPlays ? 1 : 0;
    for (int chunk : reader.chunksWithEvents) {
        const int row = chunk + shift - 1;
        if (row < 0) continue;
        ListedTrack& t = rows[row];
        t.channels = reader.channelsOf[chunk];
        t.noteOns = int(reader.chunkChannels[chunk].size());
        if (reader.names.count(chunk)) t.name = reader.names[chunk];
    }
    return rows;
}

// Cell `column` of a row as the test driver writes it ("a|b|c")
std::string cellOf(const std::string& cells, int column)
{
    size_t from = 0;
    for (int c = 0; c < column && from != std::string::npos; ++c) {
        from = cells.find('|', from);
        if (from != std::string::npos) ++from;
    }
    if (from == std::string::npos) return {};
    return cells.substr(from, cells.find('|', from) - from);
}

class MidiWindowsGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    std::string openSong()
    {
        const auto path = session_.files() / "Song.mid";
        EXPECT_EQ(writeFileAtomically(path, test::smallSong(2)), FileIoError::None);
        return "dialog path \"" + path.string() + "\"\nmenu " + kFileOpenId + "\nawait-idle\n";
    }

    // A song that plays for five minutes, longer than any script takes
    // however busy the machine, and port 0 on the fake stand-in of the
    // built-in synthesizer (device 0)
    std::string openLongSong()
    {
        FileProfile(session_.settingsFile()).setBinary("Settings", "UserMidiOutPorts", std::vector<uint8_t>{0, 1});
        const auto path = session_.files() / "Long.mid";
        EXPECT_EQ(writeFileAtomically(path, test::smallSong(2, 600)), FileIoError::None);
        return "dialog path \"" + path.string() + "\"\nmenu " + kFileOpenId + "\nawait-idle\n";
    }

    ZibRun run(const std::string& script)
    {
        ZibRun r = session_.runChecked(script + "quit\n", 60);
        EXPECT_TRUE(r.has("exit")) << "exit code " << r.exitCode << " log:\n" << logText(r);
        return r;
    }

    ZibSession session_;
};

} // namespace

TEST_F(MidiWindowsGui, ViewToolbarFollowsTheStandardBarAndOpensTheToolbarsDialog)
{
    const std::string item = std::string("menu-state ") + kViewToolbar + "\n";
    ZibRun r = run(item + openSong() + item + "menu " + kItalian + "\n" + item +
                   "dialog check 1905 0 ; ok\nmenu " + kViewToolbar + "\nlog-frame\n" + item);
    const auto states = r.lines("menu-state 59392");
    ASSERT_EQ(states.size(), 4u) << r.output;
    // Without a child the item does nothing and is greyed, but shows the bar that is there.
    EXPECT_EQ(states[0], "menu-state 59392 enabled=0 checked=1");
    EXPECT_EQ(states[1], "menu-state 59392 enabled=1 checked=1");
    EXPECT_EQ(states[2], "menu-state 59392 enabled=1 checked=1") << "a language switch keeps the mark";
    EXPECT_FALSE(r.line("dialog: title=").empty()) << "the Toolbars dialog opened";
    const std::string frame = r.line("frame:");
    EXPECT_EQ(frame.find("bars=Standard"), std::string::npos) << frame;
    EXPECT_NE(frame.find("MidiDoc"), std::string::npos) << frame;
    EXPECT_EQ(states[3], "menu-state 59392 enabled=1 checked=0");
}

TEST_F(MidiWindowsGui, MidiBarsCarryTheirFields)
{
    ZibRun r = run(openSong() + "field 1766\nfield 1898\nfield 1899\nfield 1082\nlog-frame\n");
    for (const char* id : {"1766", "1898", "1899", "1082"})
        EXPECT_FALSE(r.line(std::string("field ") + id + " text=").empty()) << id;
    EXPECT_TRUE(r.has("field 1082 text=120"));
    EXPECT_NE(r.line("frame:").find("MidiTempo,MidiPosition,MidiSelection"), std::string::npos);
}

TEST_F(MidiWindowsGui, MidiDialogsReturnTheirValues)
{
    ZibRun r = run("dialog type 1082 2 ; ok\nrun-dialog tempo\n"
                   "dialog check 1974 1 ; ok\nrun-dialog record-settings\n"
                   "dialog type 1900 99 ; log 1900 ; ok\nrun-dialog paste-events\n"
                   "dialog ok\nrun-dialog metronome\n"
                   "dialog set 1766 Chorus ; ok\nrun-dialog marker\n"
                   "dialog set 1812 3:1:0 ; ok\nrun-dialog shift-events\n"
                   "dialog set 1939 300 ; set 1936 Lead ; ok\nrun-dialog track-properties\n");
    // A tempo of 300 shows 250; a typed 2 does not fit and leaves it.
    EXPECT_TRUE(r.has("tempo: result=5100 bpm=250 tick=384")) << r.output;
    EXPECT_TRUE(r.has("record-settings: result=5100 mask=32771"));
    EXPECT_FALSE(r.line("control 1900: text=64 ").empty()) << "a start track above 64 shows 64";
    EXPECT_TRUE(r.has("paste-events: result=5100 tick=0 track=64 one=0 kinds=0010"));
    EXPECT_TRUE(r.has("metronome: result=5100 when=2 channel=9 port=0 precount=0 firstkey=76"));
    EXPECT_TRUE(r.has("marker: result=5100 text=Chorus tick=96"));
    EXPECT_TRUE(r.has("shift-events: result=5100 to=768"));
    // The typed bank 300 is MSB 2, LSB 44; the set of input channels survives.
    EXPECT_TRUE(r.has("track-properties: result=5100 title=Track Properties - Track No: 2 name=Lead channel=1 "
                      "input=" + std::to_string(18 | 0x8001u << 16) + " bank=556 program=5 volume=100 changed=1"))
        << r.output;
}

TEST_F(MidiWindowsGui, CommandLineOpensARelativeNameAndTheTitleNamesTheDocument)
{
    std::filesystem::create_directories(session_.files() / "songs");
    ASSERT_EQ(writeFileAtomically(session_.files() / "songs" / "Tune.mid", test::smallSong(2)), FileIoError::None);
    ZibRun r = session_.run("log-frame\nquit\n", 60, {"songs/Tune.mid"}, session_.files());
    ZibSession::expectEndedWell(r);
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=9 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("title=Zib - Tune.mid"), std::string::npos) << frame;
    // The document knows its file by its full path.
    FileProfile settings(session_.settingsFile());
    EXPECT_EQ(settings.getString("Recent File List", "File1"), (session_.files() / "songs" / "Tune.mid").string());
}

TEST_F(MidiWindowsGui, CollectedMidiFileOpensAsAMidiWindow)
{
    // Three chord-variation files of one style: a conductor track and a bass line.
    for (auto [name, note] : {std::pair{"SongV11.mid", 62}, {"SongV12.mid", 62}, {"SongI11.mid", 62}}) {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2);
        smf.AddTrack().Program(0, 11, 33).NoteOn(0, 11, note, 100).NoteOff(96, 11, note);
        ASSERT_EQ(writeFileAtomically(session_.files() / name, smf.Build()), FileIoError::None);
    }
    ZibRun r = run("dialog path " + (session_.files() / "SongV11.mid").string() + "\nmenu 32808\nlog-frame\n");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=9 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("Song_COLLECT.MID"), std::string::npos) << frame;
}

TEST_F(MidiWindowsGui, SuccessfulPsrConversionShowsNoMessage)
{
    const auto styles = test::realFixtureFiles("psr-styles", ".prs");
    if (styles.empty()) GTEST_SKIP() << "no real PSR style of the extension .prs";
    const std::filesystem::path source = styles.back();
    FileProfile(session_.settingsFile()).setString("Settings", "PsrStyToQeSty", "ABCDAAAAAA");
    const auto input = session_.files() / source.filename();
    std::filesystem::copy_file(source, input, std::filesystem::copy_options::overwrite_existing);
    ZibRun r = run("dialog path " + input.string() + "\nmenu 32874\nlog-frame\n");
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    const std::string name = source.stem().string();
    EXPECT_TRUE(std::filesystem::exists(session_.files() / ("YD_" + name + ".STY")));
}

TEST_F(MidiWindowsGui, EventEditorEditsCellsInPlaceWithUndoAndRedo)
{
    // All tracks selected, then Edit Item: the whole-file editor of both tracks.
    ZibRun r = run(openSong() + "menu 57642\nmenu 32840\nlog-frame\nlog-grid 4\ngrid-edit 2 6 90\nlog-grid 4\n" +
                   "log-frame\nlog-tabs\nmenu 57643\nlog-grid 4\nmenu 57644\nlog-grid 4\nscreenshot event-editor\n" +
                   "grid-edit 0 1 100\nlog-grid 4\nmenu 57603\nlog-tabs\n");
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=14 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("title=Zib - Song.mid"), std::string::npos) << frame;
    EXPECT_NE(frame.find("status=|Events num: "), std::string::npos) << frame;
    const auto grids = r.lines("grid: ");
    ASSERT_EQ(grids.size(), 5u) << logText(r);
    EXPECT_NE(grids[0].find("title=Song.mid - Event List - Multiple Tracks"), std::string::npos) << grids[0];
    EXPECT_NE(frame.find("status=|Events num: 9|Selected num: "), std::string::npos) << frame;
    const auto rows = r.lines("grid-row 2: ");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_TRUE(r.has("grid-edit 2,6: 100 -> 90")) << r.line("grid-edit");
    // The edited document carries the unsaved-changes mark in the title and
    // on its tab until it is saved.
    EXPECT_NE(r.lines("frame:").back().find("title=Zib - Song.mid*"), std::string::npos) << r.lines("frame:").back();
    const auto tabs = r.lines("tabs: ");
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_NE(tabs[0].find("titles=Song.mid*|"), std::string::npos) << tabs[0];
    EXPECT_NE(tabs[1].find("titles=Song.mid|"), std::string::npos) << tabs[1];
    EXPECT_NE(rows[0], rows[1]) << "the velocity changed";
    EXPECT_EQ(rows[2], rows[0]) << "Undo takes it back";
    EXPECT_EQ(rows[3], rows[1]) << "Redo applies it again";
    // A time typed into the first note moves its row after the notes at 96.
    const auto first = r.lines("grid-row 0: ");
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first[4].rfind("grid-row 0: 2 ", 0), 0u) << first[4];
    const std::string moved = r.lines("grid-row 3: ").back();
    EXPECT_EQ(moved.rfind("grid-row 3: 1 ", 0), 0u) << moved;
    EXPECT_NE(moved.find("|  1:02:004|"), std::string::npos) << moved;
}

TEST_F(MidiWindowsGui, TempoEditorListsTheMasterTrackAndWaitsWhilePlaying)
{
    // The master track of the song: its name, time signature and tempo; then the tempo view.
    ZibRun r = run(openSong() + "menu 32945\nlog-frame\nlog-list 4\nmenu 32938\nlog-list 3\n" +
                   "screenshot tempo-editor\nmenu-state 32785\nset-playing 1\nmenu-state 32785\n" +
                   "menu-state 32777\nset-playing 0\n");
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=15 "), std::string::npos) << frame;
    // The reduced MidiDoc set of the tempo editor: 14 buttons.
    const auto lists = r.lines("list: ");
    ASSERT_EQ(lists.size(), 2u) << r.output;
    EXPECT_EQ(lists[0].rfind("list: title=Song.mid - Master Track - All Events rows=4 ", 0), 0u) << lists[0];
    EXPECT_EQ(lists[1].rfind("list: title=Song.mid - Master Track - Tempo Events rows=2 ", 0), 0u) << lists[1];
    const auto properties = r.lines("menu-state 32785");
    ASSERT_EQ(properties.size(), 2u);
    EXPECT_EQ(properties[0], "menu-state 32785 enabled=1 checked=0");
    EXPECT_EQ(properties[1], "menu-state 32785 enabled=0 checked=0") << "Properties waits while MIDI plays";
    EXPECT_TRUE(r.has("menu-state 32777 enabled=0 checked=0"));
}

TEST_F(MidiWindowsGui, TempoEditorDeletesByMenuInItsFirstThreeViewsAndByKeyInAll)
{
    // The song's master track: time signature, tempo and name. Edit > Delete
    // on the tempo leaves the all-events view as it is; the Delete key there
    // deletes it; in the tempo view Edit > Delete deletes.
    ZibRun r =
        run(openSong() + "menu 32945\nlist-select 1\nmenu 32777\nlog-list 4\nlist-key delete\nlog-list 4\n" +
            "menu 57643\nmenu 32938\nlist-select 0\nmenu 32777\nlog-list 2\n" + kLeaveUnsaved);
    const auto lists = r.lines("list: ");
    ASSERT_EQ(lists.size(), 3u) << r.output;
    EXPECT_EQ(lists[0].rfind("list: title=Song.mid - Master Track - All Events rows=4 ", 0), 0u) << lists[0];
    EXPECT_EQ(lists[1].rfind("list: title=Song.mid - Master Track - All Events rows=3 ", 0), 0u) << lists[1];
    EXPECT_EQ(lists[2].rfind("list: title=Song.mid - Master Track - Tempo Events rows=1 ", 0), 0u) << lists[2];
}

TEST_F(MidiWindowsGui, TrackPropertiesChangeFourValuesAsOneUndoGroup)
{
    ZibRun r = run(openSong() + "menu 57642\n" +
                   "dialog set 1936 Lead ; select 1937 4 ; set 1941 80 ; select 1940 11 ; ok\nmenu 32785\n" +
                   "log-list 1\nmenu 57643\nlog-list 1\nmenu 57644\nlog-list 1\n" + kLeaveUnsaved);
    EXPECT_TRUE(r.has("dialog: title=Track Properties - Track No: 1")) << r.line("dialog:");
    const auto rows = r.lines("row 0: ");
    ASSERT_EQ(rows.size(), 3u) << r.output;
    // Name, channel 4, volume 80 and program 10 (patch entry 11, named by the
    // General MIDI instrument), then all back, then all again.
    EXPECT_NE(rows[0].find("Lead"), std::string::npos) << rows[0];
    EXPECT_NE(rows[0].find("|4|"), std::string::npos) << rows[0];
    EXPECT_NE(rows[0].find("|80|"), std::string::npos) << rows[0];
    EXPECT_NE(rows[0].find("|Music Box|"), std::string::npos) << rows[0];
    EXPECT_NE(rows[1].find("Track 1"), std::string::npos) << rows[1];
    EXPECT_NE(rows[1].find("|90|"), std::string::npos) << rows[1];
    EXPECT_EQ(rows[2], rows[0]);
}

TEST_F(MidiWindowsGui, TrackRecordInputStoresTheChosenChannelsOnOk)
{
    // Track 2 focused: the dialog starts on it; "MIDI Channels" 1 and 10 for it,
    // then "All MIDI channels" for track 1, chosen in the dialog's own list; a
    // cancelled run changes nothing.
    ZibRun r = run(openSong() + "list-select 1\n" +
                   "dialog check 1956 1 ; check 1957 1 ; check 1966 1 ; select 1954 0 ; check 1955 1 ; ok\n" +
                   "menu 32965\nlog-list 2\ndialog check 1836 1 ; cancel\nmenu 32965\nlog-list 2\n");
    EXPECT_TRUE(r.has("dialog: title=Track Record Input")) << r.output;
    const auto rows0 = r.lines("row 0: ");
    const auto rows1 = r.lines("row 1: ");
    ASSERT_EQ(rows0.size(), 2u) << r.output;
    ASSERT_EQ(rows1.size(), 2u) << r.output;
    EXPECT_NE(rows1[0].find("|MIDI Chan: 1, 10, |"), std::string::npos) << rows1[0];
    EXPECT_NE(rows0[0].find("|MIDI Omni|"), std::string::npos) << rows0[0];
    EXPECT_EQ(rows0[1], rows0[0]);
    EXPECT_EQ(rows1[1], rows1[0]);
}

TEST_F(MidiWindowsGui, RenameTrackEditsTheLabelAndKeepsTheNameAsOneUndoStep)
{
    ZibRun r =
        run(openSong() + "list-select 1\nmenu 32779\nedit-label \"Bass Line\"\nlog-list 2\nmenu 57643\n" +
            "log-list 2\nmenu 57644\nlog-list 2\nlist-select 1\nmenu 32779\nedit-label \"\"\nlog-list 2\n" +
            kLeaveUnsaved);
    EXPECT_TRUE(r.has("edit-label: Bass Line")) << r.output;
    const auto rows = r.lines("row 1: ");
    ASSERT_EQ(rows.size(), 4u) << r.output;
    EXPECT_EQ(rows[0].rfind("row 1: 2   |Bass Line|", 0), 0u) << "the number stays, the name changes: " << rows[0];
    EXPECT_EQ(rows[1].rfind("row 1: 2   |Track 2|", 0), 0u) << rows[1];
    EXPECT_EQ(rows[2], rows[0]);
    EXPECT_EQ(rows[3].rfind("row 1: 2   ||", 0), 0u) << "an empty name clears it: " << rows[3];
}

TEST_F(MidiWindowsGui, EventListContextMenuOpensOnTheFirstColumnAndPastesAtTheBarViewsPosition)
{
    // Nothing opens over an editor of an empty track, on another column or
    // while the song plays; over the first column Copy, then Paste at the bar
    // view's position (the second measure), as Edit > Paste does.
    ZibRun r =
        run(openSong() + "list-select 5\nmenu 32840\nevent-rclick 0 0\nclose-active\n" +
            "menu 57642\nmenu 32840\nevent-rclick 0 2\nset-playing 1\nevent-rclick 0 0\nset-playing 0\n" +
            "grid-select 0\nevent-rclick 0 0 57634\nmenu 32919\n" +
            "dialog log 1812 ; ok\nevent-rclick 0 0 57637\nlog-grid 12\n" +
            "dialog log 1812 ; cancel\nmenu 57637\n" + kLeaveUnsaved);
    const auto menus = r.lines("event-menu: ");
    ASSERT_EQ(menus.size(), 5u) << logText(r);
    EXPECT_EQ(menus[0], "event-menu: none") << "an empty track";
    EXPECT_EQ(menus[1], "event-menu: none") << "column 2";
    EXPECT_EQ(menus[2], "event-menu: none") << "while playing";
    // Cut stays grey; Paste offers itself once the copy is on the clipboard.
    EXPECT_EQ(menus[3].rfind("event-menu: 57635=0 57634=1 ", 0), 0u) << menus[3];
    EXPECT_EQ(menus[4], "event-menu: 57635=0 57634=1 57637=1 32777=1");
    const auto fields = r.lines("control 1812: ");
    ASSERT_EQ(fields.size(), 2u) << logText(r);
    EXPECT_EQ(fields[0].rfind("control 1812: text=  2:01:000 ", 0), 0u) << fields[0];
    EXPECT_EQ(fields[1], fields[0]) << "the menu's Paste starts where Edit > Paste starts";
    // The copied note of 1:01:000 lands at 2:01:000.
    EXPECT_EQ(r.line("grid-row 8: "), "grid-row 8: 1       |         384|  2:01:000| 1|Note|C#4| 100|          48|  2:01:048");
}

TEST_F(MidiWindowsGui, EventsCopiedInOneDocumentPasteIntoAnotherAndForeignBytesAreRefused)
{
    // A pattern of a song at 480 ticks per quarter goes to bar 3 of a song
    // at 384, which is saved; the pattern keeps its places on the beat grid
    // and its note-offs their release velocities.
    const auto pattern = session_.files() / "Pattern.mid";
    const auto other = session_.files() / "Other.mid";
    ASSERT_EQ(writeFileAtomically(pattern, test::patternSong()), FileIoError::None);
    ASSERT_EQ(writeFileAtomically(other, test::smallSong(1, 4, 384)), FileIoError::None);
    auto open = [](const std::filesystem::path& path) {
        return "dialog path \"" + path.string() + "\"\nmenu 57601\nawait-idle\n";
    };
    ZibRun r =
        run(open(pattern) + "menu 57642\nmenu 32840\nmenu 57642\nmenu 57634\n" + open(other) +
            "menu 57642\nmenu 32840\nlog-grid 0\ngrid-select 0\ndialog set 1812 3:1:0 ; ok\nmenu 57637\n" +
            "log-grid 0\nmenu 57603\n" +
            "dialog ok\nclipboard-bytes 5a4942\ngrid-select 0\nmenu 57637\nlog-grid 0\n");
    const auto grids = r.lines("grid: ");
    ASSERT_EQ(grids.size(), 3u) << r.output;
    EXPECT_NE(grids[0].find("title=Other.mid - Event List - Multiple Tracks rows=5 "), std::string::npos) << grids[0];
    // The six notes of Pattern.mid join the four of Other.mid.
    EXPECT_NE(grids[1].find(" rows=11 "), std::string::npos) << grids[1];
    std::vector<uint8_t> saved;
    ASSERT_EQ(readWholeFile(other, saved), FileIoError::None);
    test::DocFixture reopened(saved);
    EXPECT_EQ(test::notesOf(reopened.seq(), 1, 2 * 1536), test::patternAt384(2, true));
    // Bytes under "Zib" that are no event block change nothing and close nothing.
    EXPECT_TRUE(r.has("clipboard-bytes 3 1"));
    EXPECT_FALSE(r.line("message: title=OnEditPaste").empty()) << r.line("message:");
    EXPECT_NE(grids[2].find(" rows=11 "), std::string::npos) << grids[2];
}

TEST_F(MidiWindowsGui, RealFilesShowEveryTrackInItsEditorAndTheMasterTrack)
{
    const auto files = test::realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    std::vector<std::map<int, ListedTrack>> listings;
    std::vector<std::vector<uint32_t>> listed; // the document core's listed events of the edited rows
    std::vector<int> masterRows;
    std::string script;
    for (const auto& file : files) {
        const std::vector<uint8_t> bytes = test::readFileBytes(file);
        std::map<int, ListedTrack> listing = listTracks(bytes);
        test::DocFixture f(bytes, file.string());
        std::vector<uint32_t> counts;
        script += "dialog path \"" + file.string() + "\"\nmenu 57601\nlog-list 64\n";
        for (const auto& [row, track] : listing) {
            if (track.noteOns == 0 || counts.size() == 3) continue;
            const CTrackInfo* t = f.doc->TrackRecord(row);
            counts.push_back(t ? t->listedEvents : 0);
            script += "list-select " + std::to_string(row) + "\nmenu 32840\ngrid-count 4 Note\nclose-active\n";
        }
        int master = 0;
        for (size_t i = 0; i < f.seq().GetEventCount(); ++i)
            if (f.seq().GetEvent(i)->track == 0) ++master;
        masterRows.push_back(master + 1);
        script += "menu 32945\nlog-list 0\nclose-active\n";
        listings.push_back(std::move(listing));
        listed.push_back(std::move(counts));
    }
    ZibRun r = session_.run(script + "quit\n", 120);
    ZibSession::expectEndedWell(r);
    EXPECT_TRUE(r.line("message:").empty()) << r.line("message:");
    const auto noteCounts = r.lines("grid-count 4 Note = ");
    const auto trackLists = r.lines("list: title=");
    size_t n = 0;
    size_t rowLine = 0;
    const auto rowLines = r.lines("row ");
    for (size_t f = 0; f < files.size(); ++f) {
        SCOPED_TRACE(files[f].filename().string());
        // The track list: 64 rows, the rows in use named and on the channel the file gives them.
        ASSERT_LT(2 * f + 1, trackLists.size());
        EXPECT_NE(trackLists[2 * f].find(" rows=64 "), std::string::npos) << trackLists[2 * f];
        std::vector<std::string> rows(rowLines.begin() + std::ptrdiff_t(rowLine),
                                      rowLines.begin() + std::ptrdiff_t(std::min(rowLine + 64, rowLines.size())));
        rowLine += 64;
        ASSERT_EQ(rows.size(), 64u);
        size_t edited = 0;
        EXPECT_FALSE(listed[f].empty()) << "a track with notes";
        for (const auto& [row, track] : listings[f]) {
            const std::string prefix = "row " + std::to_string(row) + ": ";
            EXPECT_EQ(rows[size_t(row)].rfind(prefix, 0), 0u);
            const std::string cells = rows[size_t(row)].substr(prefix.size());
            EXPECT_EQ(cellOf(cells, 1), track.name) << cells;
            EXPECT_EQ(cellOf(cells, 5), track.ChannelText()) << cells;
            if (track.noteOns == 0 || edited == listed[f].size()) continue;
            // The track's editor: the core's listed events and the trailing row;
            // its notes are the file's note-ons.
            ASSERT_LT(n, noteCounts.size());
            EXPECT_EQ(noteCounts[n++], "grid-count 4 Note = " + std::to_string(track.noteOns) + " of " +
                                           std::to_string(listed[f][edited] + 1))
                << "track row " << row;
            ++edited;
        }
        EXPECT_NE(trackLists[2 * f + 1].find(" - Master Track - All Events rows=" + std::to_string(masterRows[f]) + " "),
                  std::string::npos)
            << trackLists[2 * f + 1];
    }
    EXPECT_EQ(n, noteCounts.size());
}

// What the user waits for with a 64-track song of about 200k events, printed
// for the record (the benchmarks hold the limits): File > Open until the
// track list and the whole-file event list show, a page down in that list,
// and Undo of a delete of 50k rows until the lists are painted again.
TEST_F(MidiWindowsGui, TimingsOfALargeSongArePrinted)
{
    const auto path = session_.files() / "Big.mid";
    ASSERT_EQ(writeFileAtomically(path, test::BigSong(4)), FileIoError::None);
    ZibRun r =
        session_.run("mark open\ndialog path \"" + path.string() +
                         "\"\nmenu 57601\nmenu 57642\nmenu 32840\nelapsed open\nlog-grid 0\nmark page\n"
                         "grid-key pagedown\nelapsed page\ngrid-select 0 "
                         "49999\nawait-idle\nlog-frame\ngrid-key delete\nlog-grid 0\n"
                         "mark undo\nmenu 57643\nelapsed undo\nlog-grid 0\n" +
                         kLeaveUnsaved + "quit\n",
                     120);
    ZibSession::expectEndedWell(r);
    const auto grids = r.lines("grid: ");
    ASSERT_EQ(grids.size(), 3u) << logText(r);
    EXPECT_NE(r.line("frame: ").find("|Selected num: 50000 "), std::string::npos) << r.line("frame: ");
    EXPECT_NE(grids[1], grids[0]) << "the delete took rows";
    EXPECT_EQ(grids[2].substr(0, grids[2].find(" selected=")), grids[0].substr(0, grids[0].find(" selected=")))
        << "Undo gave them back";
    for (const auto& line : r.lines("elapsed ")) std::printf("GUI timing: %s\n", line.c_str());
    EXPECT_EQ(r.lines("elapsed ").size(), 3u);
}

TEST_F(MidiWindowsGui, DroppedFileOpensAndTheDocumentMenuSpeaksEachLanguage)
{
    const auto path = session_.files() / "Dropped.mid";
    ASSERT_EQ(writeFileAtomically(path, test::smallSong(1)), FileIoError::None);
    ZibRun r = run("drop-files " + path.string() + "\nlog-frame\nlog-menubar\nmenu " + kItalian +
                   "\nlog-menubar\nmenu 32995\nlog-menubar\nmenu 32993\n");
    EXPECT_TRUE(r.has("drop-files: taken"));
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=9 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("title=Zib - Dropped.mid"), std::string::npos) << frame;
    const auto bars = r.lines("menubar: ");
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0], "menubar: &File|&Edit|&View|F&ilter|&Playback|W&alk|&Utils|&Setup|&Window|&Help");
    for (int language : {1, 2}) {
        std::string expected = "menubar: ";
        for (const char* label : {"&File", "&Edit", "&View", "F&ilter", "&Playback", "W&alk", "&Utils", "&Setup", "&Window", "&Help"})
            expected += UiText(label, language) + (std::string(label) == "&Help" ? "" : "|");
        EXPECT_EQ(bars[size_t(language)], expected);
    }
}

TEST_F(MidiWindowsGui, WhilePlayingTheEditorsChangeNothing)
{
    // An edit to undo and redo in the whole-file editor and the master-track
    // editor open; then the song plays: in the master-track editor a double
    // click, the Delete key and Properties, in the event editor Delete, an
    // in-place edit and Redo leave the document as it is.
    ZibRun r = run(
        openLongSong() + "menu 57642\nmenu 32840\ngrid-edit 0 6 80\nmenu 57643\nmenu 32945\n" +
        "log-list 6\nmenu 32912\nawait-position 1:02:000\nlist-select 1\nlist-activate 1\nlist-key delete\n" +
        "menu 32785\nlog-list 6\nactivate-child Multiple\nlog-grid 1\ngrid-select 0\ngrid-key delete\n" +
        "grid-edit 0 6 70\nmenu 57644\nmenu 32785\nlog-grid 1\nmenu-state 32912\nmenu 32911\n" +
        "await-stopped\nawait-idle\nmenu-state 57644\n" + kLeaveUnsaved);
    EXPECT_TRUE(r.has("menu-state 32912 enabled=1 checked=1")) << "the song played all along";
    const auto lists = r.lines("list: ");
    ASSERT_EQ(lists.size(), 2u) << r.output;
    EXPECT_EQ(lists[0], lists[1]);
    EXPECT_EQ(r.lines("row 1: ")[0], r.lines("row 1: ")[1]);
    EXPECT_TRUE(r.line("dialog:").empty()) << "no dialog while playing: " << r.line("dialog:");
    const auto grids = r.lines("grid: ");
    ASSERT_EQ(grids.size(), 2u) << r.output;
    EXPECT_EQ(grids[0].substr(0, grids[0].find(" selected=")), grids[1].substr(0, grids[1].find(" selected=")));
    EXPECT_EQ(r.lines("grid-row 0: ")[0], r.lines("grid-row 0: ")[1]);
    EXPECT_TRUE(r.has("grid-edit 0,6: no editor"));
    EXPECT_TRUE(r.has("menu 57644 disabled"));
    EXPECT_EQ(r.lines("menu 32785 disabled").size(), 2u) << "Properties waits in both editors";
    EXPECT_TRUE(r.has("menu-state 57644 enabled=1 checked=0")) << "the redo is still there after Stop";
}

TEST_F(MidiWindowsGui, PlayingMovesThePositionFieldAndTheWindowStaysOpenUntilStop)
{
    // The position reaches one beat, then two; after Stop it holds while time passes.
    ZibRun r = run(openLongSong() + "field 1766\nmenu 32912\nawait-position 1:02:000\nawait-position 1:03:000\n" +
                   "menu-state 32912\nmenu-state 32911\nclose-active\nmenu 32911\nawait-stopped\nawait-idle\n" +
                   "menu-state 32912\nfield 1766\nwait 500\nfield 1766\nclose-active\nlog-frame\n");
    const auto fields = r.lines("field 1766 ");
    ASSERT_EQ(fields.size(), 3u) << r.output;
    EXPECT_EQ(fields[0], "field 1766 text=  1:01:000    ");
    EXPECT_FALSE(r.line("position 1:02:000 at ").empty()) << "the position moves while playing";
    EXPECT_FALSE(r.line("position 1:03:000 at ").empty()) << "and goes on moving";
    EXPECT_EQ(fields[2], fields[1]) << "Stop holds it";
    EXPECT_TRUE(r.has("menu-state 32912 enabled=1 checked=1"));
    EXPECT_TRUE(r.has("menu-state 32911 enabled=1 checked=0"));
    EXPECT_TRUE(r.has("menu-state 32912 enabled=1 checked=0")) << "Stop unchecks Play";
    EXPECT_EQ(r.lines("close-active: "), (std::vector<std::string>{"close-active: refused", "close-active: closed"}));
    EXPECT_NE(r.line("frame:").find("kind=0 "), std::string::npos) << r.line("frame:");
    EXPECT_FALSE(session_.midiHeard("Zib built-in synth (General MIDI)").empty()) << "the song went out";
}

// File > Close from an editor of a changed song, and the main window's close,
// ask about the changes before any window goes: Cancel leaves every window
// open as it was; No closes the song's windows.
TEST_F(MidiWindowsGui, ClosingAChangedSongAsksBeforeAnyWindowGoes)
{
    const std::string cancelClose = "dialog cancel\nmenu 57602\nawait-idle\nlog-tabs\n";
    ZibRun r = run(openSong() + "menu 57642\nmenu 32840\nactivate-child \"Event List\"\ngrid-edit 2 6 90\n" +
                   "log-tabs\n" + cancelClose + "menu 32945\nactivate-child Master\nlog-tabs\n" + cancelClose +
                   "dialog cancel\nclose\nawait-idle\nlog-tabs\n" +
                   "activate-child \"Event List\"\ndialog no\nmenu 57602\nawait-child-gone Song.mid\nlog-tabs\n");
    const auto asked = r.lines("message: ");
    ASSERT_EQ(asked.size(), 4u) << logText(r);
    for (const std::string& message : asked)
        EXPECT_NE(message.find("text=Save changes to Song.mid"), std::string::npos) << message;
    const auto tabs = r.lines("tabs: ");
    ASSERT_EQ(tabs.size(), 6u) << logText(r);
    EXPECT_EQ(tabs[0].rfind("tabs: active=Song.mid - Event List - Multiple Tracks titles=Song.mid*|", 0), 0u)
        << tabs[0];
    EXPECT_EQ(tabs[1], tabs[0]) << "Cancel in the event list";
    EXPECT_NE(tabs[2].find("|Song.mid - Master Track - All Events"), std::string::npos) << tabs[2];
    EXPECT_EQ(tabs[2].rfind("tabs: active=Song.mid - Master Track", 0), 0u) << tabs[2];
    EXPECT_EQ(tabs[3], tabs[2]) << "Cancel in the master track";
    EXPECT_TRUE(r.has("close: refused"));
    EXPECT_EQ(tabs[4], tabs[2]) << "Cancel when the main window closes";
    EXPECT_EQ(tabs[5], "tabs: active=none titles=") << "No closes the song and its editors";
}

TEST_F(MidiWindowsGui, VolumeSetWhilePlayingSoundsAtOnceAndIsKeptAsOneUndoStep)
{
    // Row 0 plays on channel 1 at volume 90; 80 typed over its Vol cell while it plays.
    ZibRun r =
        run(openLongSong() +
            "menu 32912\nawait-position 1:02:000\nmidi-click 0 10\nmidi-live-value 80\nmidi-click 0 1\n" +
            "log-list 1\nmenu 32911\nawait-stopped\nawait-idle\nlog-list 1\nmenu 57643\nlog-list 1\n" +
            kLeaveUnsaved);
    EXPECT_TRUE(r.has("midi-live-value 80")) << r.line("midi-live-value");
    EXPECT_TRUE(r.line("dialog:").empty()) << "no Track Properties while playing: " << r.line("dialog:");
    const auto heard = session_.midiHeard("Zib built-in synth (General MIDI)");
    EXPECT_NE(std::find(heard.begin(), heard.end(), "Zib built-in synth (General MIDI): B0 07 50"), heard.end())
        << "the new volume goes out while the song plays";
    const auto rows = r.lines("row 0: ");
    ASSERT_EQ(rows.size(), 3u) << r.output;
    EXPECT_NE(rows[0].find("|80|"), std::string::npos) << rows[0];
    EXPECT_NE(rows[1].find("|80|"), std::string::npos) << "kept after the song stopped: " << rows[1];
    EXPECT_NE(rows[2].find("|90|"), std::string::npos) << "Undo gives the volume back: " << rows[2];
}

TEST_F(MidiWindowsGui, TrackListAndBarGridScrollTheirRowsInStep)
{
    ZibRun r = run(openSong() + "midi-rows\nmidi-scroll grid 10\nawait-idle\nmidi-rows\nmidi-scroll list 20\n" +
                   "await-idle\nmidi-rows\nscreenshot midi-window\n");
    const auto rows = r.lines("midi-rows: ");
    ASSERT_EQ(rows.size(), 3u) << logText(r);
    int height = 0, gridHeight = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        int list = -1, grid = -1;
        ASSERT_EQ(std::sscanf(rows[i].c_str(), "midi-rows: list=%d grid=%d height=%d grid-height=%d", &list,
                              &grid, &height, &gridHeight),
                  4)
            << rows[i];
        EXPECT_EQ(list, int(i) * 10) << rows[i];
        EXPECT_EQ(grid, list) << rows[i];
        EXPECT_EQ(height, gridHeight) << "the rows of both panes line up: " << rows[i];
    }
}

// The MIDI window is laid out for a small dialog font: in the font it is
// shown in, the track list's pane holds whole the columns the layout's 250
// pixels reach into (the number through "Out Port", whose header showed only
// its "O" before), and the bar grid's measures and rows grow with the list's
// columns.
TEST_F(MidiWindowsGui, TheMidiWindowsPanesAreLaidOutInTheirFont)
{
    ZibRun r = run(openSong() + "await-idle\nmidi-layout\nmidi-rows\nlog-columns 0\n");
    const std::string layout = r.line("midi-layout: ");
    int pane = 0, measure = 0, chars = 0;
    double charWidth = 0;
    ASSERT_EQ(std::sscanf(layout.c_str(), "midi-layout: pane=%d char=%lf measure=%d columns=%n", &pane,
                          &charWidth, &measure, &chars),
              3)
        << logText(r);
    std::vector<int> columns;
    for (const char* at = layout.c_str() + chars; *at;) {
        char* end = nullptr;
        columns.push_back(int(std::strtol(at, &end, 10)));
        at = *end == ',' ? end + 1 : end;
    }
    ASSERT_EQ(columns.size(), 14u) << layout;
    int outPortEnd = 0;
    for (int c = 0; c <= 7; ++c)
        outPortEnd += columns[size_t(c)];
    EXPECT_GE(pane, outPortEnd) << layout;
    EXPECT_LT(pane, outPortEnd + columns[8]) << layout;
    // What the first layout shows of each header: every one through "Out Port" whole.
    const auto shown = r.lines("column ");
    ASSERT_EQ(shown.size(), 14u) << logText(r);
    for (size_t c = 0; c <= 7; ++c) {
        int index = 0, width = 0, header = 0, widest = 0, visible = 0;
        ASSERT_EQ(std::sscanf(shown[c].c_str(), "column %d: width=%d header=%d widest=%d shown=%d", &index, &width,
                              &header, &widest, &visible),
                  5)
            << shown[c];
        EXPECT_EQ(visible, width) << shown[c];
    }
    const auto scaled = [charWidth](int layoutPixels) { return layoutPixels * charWidth / 6.0; };
    EXPECT_NEAR(measure, scaled(48), 1.0) << "a 4/4 measure: " << layout;
    int list = 0, grid = 0, height = 0, gridHeight = 0;
    ASSERT_EQ(std::sscanf(r.line("midi-rows: ").c_str(),
                          "midi-rows: list=%d grid=%d height=%d grid-height=%d", &list, &grid, &height,
                          &gridHeight),
              4);
    EXPECT_NEAR(gridHeight, scaled(25), 1.0);
    EXPECT_EQ(height, gridHeight);
}

TEST_F(MidiWindowsGui, PadTrackEditorShowsVexNoiseRowsFiltersAndItsOwnMenu)
{
    ZibRun r = run("run-dialog pad-track-editor-qe\nlog-frame\nlog-menubar\nlog-grid 6\nmenu 32841\nlog-grid 0\n"
                   "menu-state 32841\nmenu 32841\nlog-grid 0\ngrid-select 0\nmenu-state 57634\nscreenshot pad-editor\n");
    const std::string frame = r.line("frame:");
    EXPECT_NE(frame.find("kind=13 "), std::string::npos) << frame;
    EXPECT_NE(frame.find("MidiEdit"), std::string::npos) << frame;
    EXPECT_TRUE(r.has("menubar: &File|&Edit|&View|F&ilter|&Setup|&Window|&Help")) << r.line("menubar:");
    const auto grids = r.lines("grid: ");
    ASSERT_EQ(grids.size(), 3u) << r.output;
    bool vex = false;
    for (const auto& row : r.lines("grid-row "))
        if (row.find("VEX Noise") != std::string::npos) vex = true;
    EXPECT_TRUE(vex) << "the VEX Noise note has its row";
    // Hiding the notes and showing them again gives the same rows.
    EXPECT_NE(grids[1].substr(grids[1].find(" rows=")), grids[0].substr(grids[0].find(" rows=")));
    EXPECT_EQ(grids[2].substr(0, grids[2].find(" selected=")), grids[0].substr(0, grids[0].find(" selected=")));
    EXPECT_TRUE(r.has("menu-state 32841 enabled=1 checked=0")) << "a hidden class has no check mark";
    EXPECT_TRUE(r.has("menu-state 57634 enabled=1 checked=0")) << "Qe pads copy their events";
}

TEST_F(MidiWindowsGui, PadTrackEditorOfAWqPadCannotCopy)
{
    ZibRun r = run("run-dialog pad-track-editor-wq\ngrid-select 0\nmenu-state 57634\n");
    EXPECT_TRUE(r.has("menu-state 57634 enabled=0 checked=0")) << r.line("menu-state");
}
