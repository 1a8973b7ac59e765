#include "mididoc/core/MidiTextDump.h"

#include "mididoc/core/CZibMidDoc.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace zib;
using namespace zib::test;

namespace {

std::vector<std::string> rowsOf(const std::string& dump)
{
    std::vector<std::string> rows;
    size_t start = 0;
    while (start < dump.size()) {
        const size_t end = dump.find("\r\n", start);
        if (end == std::string::npos) break;
        rows.push_back(dump.substr(start, end - start));
        start = end + 2;
    }
    return rows;
}

// The rows of one event kind: every row whose Type column holds `type`.
std::vector<std::string> rowsOfType(const std::string& dump, const std::string& type)
{
    std::vector<std::string> out;
    for (const std::string& row : rowsOf(dump))
        if (row.size() > 26 && row.compare(26, type.size(), type) == 0 &&
            (row.size() == 26 + type.size() || row[26 + type.size()] == ' '))
            out.push_back(row);
    return out;
}

// Every kind of event the dump knows, on three tracks at division 384.
std::vector<uint8_t> everyKindOfEvent()
{
    SmfBuilder smf(1, 384);
    smf.AddTrack()
        .SequenceNumber(0, 1)
        .TrackName(0, "Conductor")
        .Text(0, 0x02, "(c) someone")
        .TimeSig(0, 4, 2)
        .KeySig(0, -3, 1)
        .Tempo(0, 500000)
        .Marker(384, std::string(120, 'm'))
        .TimeSig(1536, 6, 3)
        .Meta(1536, 0x54, {0x60, 0, 0, 0, 0})
        .Meta(1536, 0x7F, {0x43, 1})
        .Meta(1536, 0x60, {1})
        .Tempo(2000, 400000);
    smf.AddTrack()
        .Port(0, 1)
        .TrackName(0, "Piano")
        .Controller(0, 0, 7, 100)
        .Program(0, 0, 5)
        .NoteOn(0, 0, 60, 100)
        .NoteOff(384, 0, 60)
        .KeyPressure(400, 0, 61, 20)
        .ChannelPressure(410, 0, 33)
        .PitchBend(420, 0, 0x2345)
        .NoteOff(500, 0, 70, 40)
        .NoteOn(600, 0, 71, 0)
        .Text(700, 0x05, "la")
        .Meta(700, 0x20, {3});
    smf.AddTrack()
        .SysEx(100, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 'H', 'e', 'l', 'l', 'o', 0x01, 0x02, 0x03, 0xF7})
        .SysEx(200, std::vector<uint8_t>(13, 0x20), 0xF7);
    return smf.Build();
}

// The golden file's text; ZIB_UPDATE_GOLDEN=1 writes `actual` as the new one.
std::string golden(const std::string& name, const std::string& actual)
{
    const std::string path = std::string(ZIB_MIDIDOC_GOLDEN_DIR) + "/" + name;
    if (std::getenv("ZIB_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << actual;
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(MidiTextDump, WholeListingMatchesTheGoldenFile)
{
    auto doc = loadDocument(everyKindOfEvent(), "/songs/Kinds.mid");
    const std::string dump = MidiTextDump(*doc, "/songs/Kinds.mid");
    const std::string expected = golden("Kinds.txt", dump);
    ASSERT_FALSE(expected.empty()) << "golden file missing";
    EXPECT_EQ(dump, expected);
}

TEST(MidiTextDump, RowsOfTheDocumentedEdgeCases)
{
    auto doc = loadDocument(everyKindOfEvent());
    const std::string dump = MidiTextDump(*doc, "Kinds.mid");

    // A note at tick 0 lasting 384 ticks ends at 1:02:000; its note-off has no row.
    EXPECT_EQ(rowsOfType(dump, "Note"),
              (std::vector<std::string>{"       0   1:01:000   1   Note           C4      100        384    1:02:000"}));
    // A note-off without its note-on: velocity, duration and "Not Resolved".
    EXPECT_EQ(rowsOfType(dump, "NoteOFF"),
              (std::vector<std::string>{
                  "     500   1:02:116   1   NoteOFF        A#4      40          0    1:02:116\tNot Resolved"}));
    EXPECT_EQ(rowsOfType(dump, "NoteOff"),
              (std::vector<std::string>{
                  "     600   1:02:216   1   NoteOff        B4        0               1:02:216\tNot Resolved"}));
    // Tempo 500000: BPM 120 and three blanks before the bar.
    EXPECT_EQ(rowsOfType(dump, "Tempo")[0],
              "       0   1:01:000  --   Tempo          BPM=120   | micros/quarter=500000" + std::string(13, ' '));
    // 6/8: a blank, 6, a slash, 8 and six blanks before the bar.
    EXPECT_NE(rowsOfType(dump, "TimeSignature")[1].find("   6/8      | MIDI-clocks/click=24 | 32nds/quarter=8"),
              std::string::npos);
    // A marker of 120 characters shows 96 and "...".
    const std::string marker = rowsOfType(dump, "Marker")[0];
    EXPECT_NE(marker.find("  " + std::string(96, 'm') + "...   "), std::string::npos);
    EXPECT_EQ(marker.find(std::string(97, 'm')), std::string::npos);
    // Key signature -3 (minor shown as the key only).
    EXPECT_NE(rowsOfType(dump, "Key Signature")[0].find("  Eb   "), std::string::npos);
}

TEST(MidiTextDump, SysExBytesGoSixteenToALine)
{
    auto doc = loadDocument(everyKindOfEvent());
    const std::string dump = MidiTextDump(*doc, "Kinds.mid");
    // F0, length 18, 18 data bytes: 20 bytes, one full line and one of 4
    // padded with 12 blanks.
    const std::string first =
        "     100   1:01:100  --   Sysex 0xF0     Len: 20 bytes\r\n"
        "\t<..A.B.@...AHello>\tf0 12 41 10 42 12 40 00 7f 00 41 48 65 6c 6c 6f \r\n"
        "\t<....>            \t01 02 03 f7 \r\n"
        "               \r\n";
    EXPECT_NE(dump.find(first), std::string::npos);
    // F7, length 13, 13 blanks: 15 bytes, one short line padded with one blank.
    EXPECT_NE(dump.find("   Sysex 0xF7     Len: 15 bytes\r\n\t<..             > \tf7 0d 20 "), std::string::npos);
}

TEST(MidiTextDump, FormatOneListsEveryTrackUpToTheLastInUse)
{
    // Tracks 1, 2 and 4 hold events, track 3 none: blocks 0 to 4, block 3 empty.
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack().Controller(0, 0, 1, 1);
    smf.AddTrack().Controller(0, 1, 1, 2);
    smf.AddTrack();
    smf.AddTrack().Controller(0, 3, 1, 4);
    auto doc = loadDocument(smf.Build());
    const std::string dump = MidiTextDump(*doc, "F.mid");
    const auto rows = rowsOf(dump);
    std::vector<std::string> blocks;
    for (const auto& r : rows)
        if (r.find("==== Track #") != std::string::npos) blocks.push_back(r);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[4], "==================== Track #4 ====================");
    EXPECT_NE(dump.find("Track #3 ====================\r\n\r\nTotTime     M:B:T    Ch  Type            Data    "
                        "        Duration  EndTime\r\n" +
                        std::string(74, '-') + "\r\n\r\n\r\n==="),
              std::string::npos);
    EXPECT_EQ(rowsOfType(dump, "Ctrl").size(), 3u);
    EXPECT_EQ(rows.back(), "End of text dump");

    // Format 0: one block of everything.
    SmfBuilder f0(0, 96);
    f0.AddTrack().TimeSig(0, 4, 2).Controller(0, 0, 1, 1).Controller(0, 5, 1, 2);
    auto doc0 = loadDocument(f0.Build());
    const std::string dump0 = MidiTextDump(*doc0, "F0.mid");
    EXPECT_EQ(dump0.find("Track #1"), std::string::npos);
    EXPECT_EQ(rowsOfType(dump0, "Ctrl").size(), 2u);
    EXPECT_NE(dump0.find("Format: 0, Number of tracks: 1, Time division: 96 PPQN\r\n"), std::string::npos);
}

TEST(MidiTextDump, DocumentWritesTheDumpFile)
{
    TempDir dir;
    auto doc = loadDocument(smallSong(1));
    ASSERT_EQ(doc->DumpMidiToTextFile(dir / "Test.txt", "/songs/Test.mid"), 0);
    const auto bytes = readFileBytes(dir / "Test.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), MidiTextDump(*doc, "/songs/Test.mid"));
    // A folder that does not exist: -1, nothing written.
    EXPECT_EQ(doc->DumpMidiToTextFile(dir / "missing" / "Test.txt", "x"), -1);
}

TEST(MidiTextDump, RealFilesListEveryEventRow)
{
    const auto files = realFixtureFiles("midi");
    if (files.empty()) GTEST_SKIP() << "no real MIDI fixtures";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        CZibMidDoc doc;
        ASSERT_EQ(doc.OpenFile(path.string()), CZibMidDoc::Result::Ok);
        const std::string dump = MidiTextDump(doc, path.string());
        // One row per event except the note-offs that close a note.
        size_t expected = 0;
        for (const auto& e : doc.Sequence().GetEvents())
            if (!(((e->status & 0xF0) == 0x80 || ((e->status & 0xF0) == 0x90 && e->data[1] == 0)) && e->paired))
                ++expected;
        size_t rows = 0;
        for (const auto& r : rowsOf(dump)) {
            // "%8ld %3d:%02d:%03d" (measures past 999 take more room)
            const size_t colon = r.find(':');
            if (r.size() > 20 && r[7] >= '0' && r[7] <= '9' && r[8] == ' ' && colon != std::string::npos &&
                colon + 3 < r.size() && r[colon + 3] == ':')
                ++rows;
        }
        EXPECT_EQ(rows, expected);
    }
}
