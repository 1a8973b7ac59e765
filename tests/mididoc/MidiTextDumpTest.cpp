// The two text dumps: rows checked against the listing's rules, and whole
// dumps compared byte for byte with golden files (written with
// ZIB_UPDATE_GOLDEN=1 and checked by hand before they were kept).
#include "mididoc/core/MidiTextDump.h"
#include "tests/support/BuildPaths.h"

#include "mididoc/core/EventListDump.h"
#include "mididoc/core/EventListModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/Golden.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>


using namespace zib;
using namespace zib::test;

namespace {

// Every type word, paired and unpaired notes, a 20-byte system exclusive, a
// long marker, 6/8, and tracks 1, 2 and 4 used (track 3 left empty)
std::vector<uint8_t> everyKind()
{
    SmfBuilder smf(1, 384);
    smf.AddTrack()
        .TimeSig(0, 4, 2)
        .Tempo(0, 500000)
        .KeySig(0, -3, 0)
        .SequenceNumber(0, 7)
        .Text(0, 2, "(C) Someone")
        .Marker(384, std::string(120, 'm'))
        .Text(384, 7, "cue")
        .Meta(384, 0x54, {1, 2, 3, 4, 5})
        .Meta(384, 0x7F, {0x41, 1, 2})
        .Meta(384, 0x60, {1})
        .TimeSig(1536, 6, 3)
        .Tempo(1536, 400000);
    smf.AddTrack()
        .TrackName(0, "Lead")
        .Port(0, 2)
        .Meta(0, 0x20, {0})
        .Text(0, 4, "Piano")
        .Text(0, 8, "Grand")
        .Text(0, 9, "Out")
        .Program(0, 0, 5)
        .NoteOn(0, 0, 60, 100)
        .NoteOff(384, 0, 60)
        .NoteOff(400, 0, 61, 20)
        .NoteOn(410, 0, 62, 0)
        .KeyPressure(420, 0, 64, 30)
        .Controller(430, 0, 11, 90)
        .ChannelPressure(440, 0, 50)
        .PitchBend(450, 0, 8192)
        .Text(460, 5, "la la");
    smf.AddTrack().SysEx(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 'H', 'e', 'l', 'l', 'o', 0x01, 0x02, 0x03,
                             0x04, 0x05, 0xF7}).NoteOn(100, 1, 36, 90).NoteOff(200, 1, 36);
    smf.AddTrack();
    smf.AddTrack().NoteOn(2000, 3, 70, 64).NoteOff(2400, 3, 70);
    return smf.Build();
}

std::string fileDump(DocFixture& f)
{
    return f.doc->DumpText("/songs/EveryKind.mid");
}

std::string listDump(DocFixture& f)
{
    EventListModel list(*f.doc);
    list.SetShownTracks(allTracksShown());
    list.RefillRows();
    return EventListTextDump(f.seq(), "EveryKind.mid - Event List - Multiple Tracks", EventTextStyle::ListDump, 0);
}

// The dump compared with its golden file
void expectGolden(const std::string& text, const std::filesystem::path& name)
{
    test::compareWithGolden(text, (test::SourceDir() / "tests/mididoc/golden" / name).string());
}

std::string lineWith(const std::string& text, const std::string& part)
{
    const size_t at = text.find(part);
    if (at == std::string::npos) return {};
    const size_t start = text.rfind("\r\n", at);
    const size_t end = text.find("\r\n", at);
    return text.substr(start == std::string::npos ? 0 : start + 2, end - (start == std::string::npos ? 0 : start + 2));
}

} // namespace

TEST(MidiTextDump, RowsFollowTheListingsRules)
{
    DocFixture f(everyKind());
    const std::string dump = fileDump(f);
    EXPECT_EQ(dump.rfind("\r\nFileName: /songs/EveryKind.mid\r\nFormat: 1, Number of tracks: 5, Time division: 384 "
                         "PPQN\r\n", 0),
              0u);
    // A note-on at 0 of one beat: its note-off has no row
    EXPECT_EQ(lineWith(dump, "C4"), "       0   1:01:000   1   Note           C4      100        384    1:02:000");
    // A note-off without its note
    EXPECT_EQ(lineWith(dump, "C#4"),
              "     400   1:02:016   1   NoteOFF        C#4      20          0    1:02:016\tNot Resolved");
    EXPECT_EQ(lineWith(dump, "D4"),
              "     410   1:02:026   1   NoteOff        D4        0          0    1:02:026\tNot Resolved");
    EXPECT_NE(dump.find("  BPM=120   | micros/quarter=500000"), std::string::npos);
    EXPECT_NE(dump.find("   TimeSignature   6/8      | MIDI-clocks/click=24 | 32nds/quarter=8"), std::string::npos);
    EXPECT_NE(dump.find(std::string(96, 'm') + "...   "), std::string::npos);
    EXPECT_EQ(dump.find(std::string(97, 'm')), std::string::npos);
    // The 20-byte system exclusive: a full line of 16 and one of 4 padded with 12 blanks
    EXPECT_NE(dump.find("   Sysex 0xF0     Len: 20 bytes\r\n"
                        "\t<..C.L..~.Hello..>\tf0 12 43 10 4c 00 00 7e 00 48 65 6c 6c 6f 01 02 \r\n"
                        "\t<....>            \t03 04 05 f7 \r\n"
                        "               \r\n"),
              std::string::npos)
        << dump;
    // Blocks 0 to 4: block 3 is empty
    const size_t three = dump.find("Track #3 ====");
    const size_t four = dump.find("Track #4 ====");
    ASSERT_NE(three, std::string::npos);
    ASSERT_NE(four, std::string::npos);
    EXPECT_EQ(dump.substr(three, four - three).find("\r\n     "), std::string::npos);
    EXPECT_NE(dump.find("    2000"), std::string::npos);
    EXPECT_EQ(dump.substr(dump.size() - 97), std::string(75, '-') + "\r\n\r\nEnd of text dump\r\n");
}

TEST(MidiTextDump, TempoZeroAndShortDataHaveTheirTexts)
{
    DocFixture f(everyKind());
    // Edits can leave what no file holds: a tempo of 0, a time signature of two bytes
    for (const auto& e : f.seq().GetEvents()) {
        if (e->status == 0xFF && e->data[1] == 0x51 && e->time == 0) e->data[3] = e->data[4] = e->data[5] = 0;
        if (e->status == 0xFF && e->data[1] == 0x58 && e->time == 1536) {
            e->data[2] = 2;
            e->length = 5;
        }
    }
    const std::string dump = fileDump(f);
    EXPECT_NE(lineWith(dump, "Tempo          ???").find("???"), std::string::npos) << dump;
    EXPECT_NE(lineWith(dump, "TimeSignature  ??").find("??"), std::string::npos);
}

TEST(MidiTextDump, TheListDumpWritesEveryNoteAsNote)
{
    DocFixture f(everyKind());
    const std::string dump = listDump(f);
    EXPECT_EQ(dump.rfind("\r\nEveryKind.mid - Event List - Multiple Tracks text dump\r\n\r\nTotTime", 0), 0u);
    EXPECT_NE(lineWith(dump, "D4").find("Note           D4        0"), std::string::npos);
    EXPECT_EQ(lineWith(dump, "     400"), "     400   1:02:016   1   NoteOFF        NoteOFF             ");
    // An empty list: the title, the columns, the two lines of dashes and the end
    DocFixture empty(SmfBuilder(1, 96).Build());
    const std::string none = EventListTextDump(empty.seq(), "Empty", EventTextStyle::ListDump, 0);
    EXPECT_EQ(none, "\r\nEmpty text dump\r\n\r\nTotTime     M:B:T    Ch  Type            Data            Duration  "
                    "EndTime\r\n" +
                        std::string(74, '-') + "\r\n" + std::string(75, '-') + "\r\n\r\nEnd of text dump\r\n");
}

// A dump of many pieces goes to its file as it is made: the file holds the
// same text as the dump in one piece; a sink that refuses a piece stops it.
TEST(MidiTextDump, TheFileDumpHoldsTheWholeTextWrittenInPieces)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    SmfTrack& notes = smf.AddTrack().TrackName(0, "Notes");
    for (uint32_t i = 0; i < 3000; ++i)
        notes.NoteOn(i * 24, int(i % 16), 40 + int(i % 40), 90).NoteOff(i * 24 + 20, int(i % 16), 40 + int(i % 40));
    DocFixture f(smf.Build());
    const std::string whole = f.doc->DumpText("Many.mid");
    ASSERT_GT(whole.size(), 200'000u);

    TempDir dir;
    ASSERT_EQ(f.doc->DumpMidiToTextFile(dir / "Many.txt", "Many.mid"), 0);
    const auto written = readFileBytes(dir / "Many.txt");
    EXPECT_EQ(std::string(written.begin(), written.end()), whole);

    size_t pieces = 0;
    EXPECT_FALSE(MidiTextDump(f.seq(), 1, 2, 96, "Many.mid", [&pieces](std::string_view) { return ++pieces < 2; }));
    EXPECT_EQ(pieces, 2u);
}

TEST(MidiTextDump, SyntheticDumpsMatchTheirGoldenFiles)
{
    DocFixture f(everyKind());
    expectGolden(fileDump(f), "EveryKind.dump.txt");
    expectGolden(listDump(f), "EveryKind.list.txt");
    SmfBuilder zero(0, 96);
    zero.AddTrack().TimeSig(0, 3, 2).Tempo(0, 600000).Program(0, 2, 7).NoteOn(0, 2, 48, 80).NoteOn(10, 9, 36, 100)
        .NoteOff(96, 2, 48).NoteOff(100, 9, 36).Marker(200, "End");
    DocFixture g(zero.Build());
    expectGolden(fileDump(g), "Format0.dump.txt");
    expectGolden(listDump(g), "Format0.list.txt");
}

TEST(MidiTextDump, RealFilesMatchTheirGoldenFiles)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        DocFixture f(readFileBytes(path), path.string());
        const std::string name = path.stem().string();
        expectGolden(f.doc->DumpText(path.filename().string()), std::filesystem::path("real") / (name + ".dump.txt"));
        EventListModel list(*f.doc);
        std::array<uint8_t, 65> shown{};
        shown.fill(1);
        list.SetShownTracks(shown);
        list.RefillRows();
        expectGolden(EventListTextDump(f.seq(), path.filename().string(), EventTextStyle::ListDump, 0),
                     std::filesystem::path("real") / (name + ".list.txt"));
    }
}
