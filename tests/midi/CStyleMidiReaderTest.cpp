#include "midi/CStyleMidiReader.h"
#include "tests/midi/MidiTestHelpers.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace zib;
using namespace zib::test;

namespace {

int read(CStyleMidiReader& r, const std::vector<uint8_t>& image, std::FILE* log = nullptr)
{
    return r.ReadImage(image.data(), uint32_t(image.size()), log);
}

std::vector<uint8_t> cv(const std::function<void(SmfTrack&)>& fill)
{
    SmfBuilder b(0, 96);
    fill(b.AddTrack());
    return b.Build();
}

} // namespace

TEST(CStyleMidiReader, RefusesFilesThatAreNotOneTrackFormat0)
{
    SmfBuilder format1(1, 96);
    format1.AddTrack();
    SmfBuilder twoTracks(0, 96);
    twoTracks.AddTrack();
    twoTracks.AddTrack();

    CStyleMidiReader r;
    ASSERT_EQ(read(r, cv([](SmfTrack& t) { t.NoteOn(0, 0, 60, 1); })), 0);
    EXPECT_EQ(read(r, format1.Build()), CStyleMidiReader::kNotFormat0);
    EXPECT_EQ(r.GetEventCount(), 0u); // the events of earlier files go too
    EXPECT_EQ(r.GetTimeSigCount(), 0u);
    EXPECT_EQ(read(r, twoTracks.Build()), CStyleMidiReader::kNotOneTrack);
    EXPECT_EQ(read(r, cv([](SmfTrack& t) { t.TrailingBytes({0, 0x90, 1, 1}); })), CMidiFile::kBadMTrkChunk);
}

TEST(CStyleMidiReader, SignatureInsideAMeasureIsNotReportedAsAWrongFormat)
{
    // The measure layer refuses the signature with its 101, which in this
    // reader's table would say the file is not format 0.
    CStyleMidiReader r;
    const int rc = read(r, cv([](SmfTrack& t) { t.NoteOn(0, 0, 60, 1).TimeSig(100, 3, 2); }));
    EXPECT_EQ(rc, CStyleMidiReader::kTimeSigInsideMeasure);
    EXPECT_EQ(errorText(r, rc), "CStyleMidiReader error: 107 - Time signature found at wrong place");
    EXPECT_EQ(r.GetEventCount(), 0u);
    EXPECT_EQ(read(r, cv([](SmfTrack& t) { t.NoteOn(0, 0, 60, 1).TimeSig(384, 3, 2); })), 0);
}

TEST(CStyleMidiReader, DropsTheFirstValuesOfEachChannel)
{
    const auto image = cv([](SmfTrack& t) {
        t.Controller(0, 0, 0, 1)
            .Controller(0, 0, 32, 2)
            .Controller(0, 0, 11, 3)
            .Program(0, 0, 4)
            .Controller(0, 0, 7, 5)
            .Controller(0, 0, 7, 6)   // the second volume stays
            .Controller(0, 1, 7, 7)   // another channel's first: dropped
            .Controller(0, 0, 10, 8); // pan is never dropped
    });
    CStyleMidiReader r;
    ASSERT_EQ(read(r, image), 0);
    std::vector<std::vector<uint8_t>> kept;
    for (const auto& e : r.GetEvents()) {
        std::vector<uint8_t> b{e->status};
        b.insert(b.end(), e->data.begin(), e->data.begin() + e->length);
        kept.push_back(b);
    }
    EXPECT_EQ(kept, (std::vector<std::vector<uint8_t>>{{0xB0, 7, 6}, {0xB0, 10, 8}, {0xFF}}));
    EXPECT_EQ(r.GetEvents().back()->length, 0u); // the run ends with a zero-length event
    EXPECT_EQ(r.GetEvents().back()->paired, 1u);
}

TEST(CStyleMidiReader, CollectsManyFilesAndPairsTheirNotes)
{
    CStyleMidiReader r;
    r.ResetElements();
    const auto first = cv([](SmfTrack& t) { t.NoteOn(0, 2, 60, 100).NoteOff(50, 2, 60).EndAt(96); });
    const auto second = cv([](SmfTrack& t) {
        t.NoteOn(0, 2, 60, 100)
            .NoteOn(10, 2, 60, 100)
            .NoteOn(20, 2, 60, 0) // velocity 0 ends the first
            .NoteOff(30, 2, 60)
            .NoteOff(40, 2, 61) // nothing to end
            .NoteOn(0, 9, 36, 100)
            .NoteOff(5, 9, 36); // drums need no partner
    });
    r.elements[0].variations[0].firstEvent = uint32_t(r.GetEventCount());
    ASSERT_EQ(read(r, first), 0);
    ASSERT_EQ(r.PairNotes(0, 0), 0);
    r.elements[0].variations[1].firstEvent = uint32_t(r.GetEventCount());
    ASSERT_EQ(read(r, second), 0);
    ASSERT_EQ(r.ResolveNoteDurations(0, 1), 0);

    const auto& ev = r.GetEvents();
    ASSERT_EQ(ev.size(), 3u + 8u);
    EXPECT_EQ(ev[0]->duration, 50u);
    EXPECT_EQ(ev[1]->duration, 0u); // the note-off holds its note-on's index
    // second file from index 3, in tick order: on, drum on, drum off, on, off (velocity 0), off, stray off,
    // end
    const size_t s = 3;
    auto at = [&](size_t i) -> const CMidiEventBase& { return *ev[s + i]; };
    EXPECT_EQ(at(1).status, 0x99);
    EXPECT_EQ(at(1).paired, 1u);
    EXPECT_EQ(at(2).paired, 1u);
    EXPECT_EQ(at(0).duration, 20u); // first on, first off
    EXPECT_EQ(at(3).duration, 20u);
    EXPECT_EQ(at(4).duration, uint32_t(s + 0));
    EXPECT_EQ(at(5).duration, uint32_t(s + 3));
    EXPECT_EQ(at(6).paired, 0u);
    EXPECT_EQ(at(6).duration, 0u);
    EXPECT_EQ(r.unmatchedNoteOffs, 1u);
}

TEST(CStyleMidiReader, PairNotesChecksItsArguments)
{
    CStyleMidiReader r;
    EXPECT_EQ(r.PairNotes(10, 0), CStyleMidiReader::kBadElementOrVariation);
    EXPECT_EQ(r.PairNotes(0, 6), CStyleMidiReader::kBadElementOrVariation);
    r.elements[1].variations[0].firstEvent = 5; // beyond the list
    EXPECT_EQ(r.PairNotes(1, 0), CStyleMidiReader::kBadElementOrVariation);
    EXPECT_EQ(r.PairNotes(9, 5), 0);
}

TEST(CStyleMidiReader, NoteOffBeforeItsNoteOnStops)
{
    // Two files on one list: the second file's note-off at tick 5 finds the
    // first file's note-on at tick 50 when both belong to one chord variation.
    CStyleMidiReader r;
    ASSERT_EQ(read(r, cv([](SmfTrack& t) { t.NoteOn(50, 0, 60, 100); })), 0);
    ASSERT_EQ(read(r, cv([](SmfTrack& t) { t.NoteOff(5, 0, 60); })), 0);
    EXPECT_EQ(r.PairNotes(0, 0), CStyleMidiReader::kNoteOffBeforeNoteOn);
}

TEST(CStyleMidiReader, PercussionOnTheDrumChannel)
{
    const auto image =
        cv([](SmfTrack& t) { t.NoteOn(0, 10, 40, 100).NoteOff(5, 10, 40).Controller(6, 10, 1, 2); });
    for (bool move : {false, true}) {
        CStyleMidiReader r;
        r.playPercussionOnDrumChannel = move;
        ASSERT_EQ(read(r, image), 0);
        EXPECT_EQ(r.GetEvents()[0]->status, move ? 0x99 : 0x9A);
        EXPECT_EQ(r.GetEvents()[1]->status, move ? 0x89 : 0x8A);
        EXPECT_EQ(r.GetEvents()[2]->status, 0xBA);
        EXPECT_EQ(r.GetEvents()[0]->paired, 1u);
    }
}

TEST(CStyleMidiReader, AppliesTimeSignaturesAndLogs)
{
    const auto image =
        cv([](SmfTrack& t) { t.TimeSig(0, 3, 2).NoteOn(0, 0, 60, 1).TimeSig(288, 6, 3).EndAt(400); });
    TempDir dir;
    const auto path = dir / "log.txt";
    std::FILE* log = std::fopen(path.c_str(), "wb");
    ASSERT_NE(log, nullptr);
    CStyleMidiReader r;
    r.SetName("V1.mid");
    ASSERT_EQ(read(r, image, log), 0);
    std::fclose(log);
    EXPECT_EQ(r.GetNumeratorAtMeasure(0), 3);
    EXPECT_EQ(r.GetNumeratorAtMeasure(1), 6);
    EXPECT_EQ(r.GetDenominatorAtMeasure(1), 8);

    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string expected =
        "\nFile name: V1.mid\n"
        "File size: " +
        std::to_string(image.size()) +
        "\n"
        "Chunk size: 6\n"
        "Format: 0, Num of tracks: 1, Division: 96\n\n"
        "\n==================== Track #0, Size " +
        std::to_string(image.size() - 22) +
        " ====================\n\n"
        "0            | 001:01:000 | Time sig    |  3/4      | MIDI-clocks/click=24 | 32nds/quarter=8\n"
        "288          | 002:01:000 | Time sig    |  6/8      | MIDI-clocks/click=24 | 32nds/quarter=8\n"
        "400          | 002:03:016 | End of track\n";
    EXPECT_EQ(text.str(), expected);
}

TEST(CStyleMidiReader, ResetAndClear)
{
    CStyleMidiReader r;
    r.elements[3].present = 1;
    r.elements[3].tracks[2].program = 5;
    r.unmatchedNoteOffs = 4;
    r.ResetElements();
    EXPECT_EQ(r.elements[3].present, 0u);
    EXPECT_EQ(r.elements[3].tracks[2].program, 0xFFFFFFFFu);
    EXPECT_EQ(r.elements[3].tracks[2].expression, 255);
    EXPECT_EQ(r.unmatchedNoteOffs, 0u);
    EXPECT_EQ(r.GetDivision(), 96);

    ASSERT_EQ(read(r, cv([](SmfTrack& t) { t.NoteOn(0, 0, 60, 1); })), 0);
    r.Clear();
    EXPECT_EQ(r.GetEventCount(), 0u);
    EXPECT_EQ(r.GetTimeSigCount(), 0u);
}

TEST(CStyleMidiReader, OwnErrorTextsBeforeTheBaseOnes)
{
    CStyleMidiReader r;
    EXPECT_EQ(errorText(r, 101), "CStyleMidiReader error: 101 - CV MIDI file is not format 0");
    EXPECT_EQ(errorText(r, 102), "CStyleMidiReader error: 102 - Cannot allocate event");
    EXPECT_EQ(errorText(r, 104),
              "CStyleMidiReader error: 104 - CV MIDI file does not hold exactly one track");
    EXPECT_EQ(errorText(r, 105), "CStyleMidiReader error: 105 - Note-off found before its note-on");
    EXPECT_EQ(errorText(r, 103), "CMidiFileEx error: 103 - Cannot allocate space for RAM buffer");
    EXPECT_EQ(errorText(r, 4), "CMidiFile error: 4 - Bad MTrk chunk");
}

TEST(CStyleMidiReader, TrackTypeBytes)
{
    struct Case {
        int channel, kind;
        uint8_t byte;
    };
    const Case cases[] = {{1, 1, 0x00}, {10, 2, 0x19}, {16, 4, 0x2F}, {3, 8, 0x32},
                          {3, 3, 0x42}, {17, 1, 0x00}, {0, 1, 0x0F}};
    for (const auto& c : cases)
        EXPECT_EQ(MakeTrackTypeByte(c.channel, c.kind), c.byte) << c.channel << ',' << c.kind;
}
