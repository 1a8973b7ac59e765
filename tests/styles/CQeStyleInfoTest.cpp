#include "styles/CQeStyleInfo.h"

#include <gtest/gtest.h>

#include "tests/styles/SmfListing.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/TempDir.h"
#include "ulvarf/ulvarf.h"

namespace zib {
namespace {

using test::QeEditorStyleBuilder;
using test::SmfListing;
using test::TempDir;

// Counts the VexSound messages (system exclusive 42 3F 78 ...) per track.
class VexSoundCounter : public CMidiFile {
public:
    std::vector<int> perTrack = std::vector<int>(17, 0);

protected:
    int OnSysEx() override
    {
        uint8_t head[3] = {};
        if (GetEventBytes() >= 3 && ReadBytes(head, 3) == 0 && head[0] == 0x42 && head[1] == 0x3F &&
            head[2] == 0x78 && GetTrackIndex() >= 0 && GetTrackIndex() < 17)
            ++perTrack[size_t(GetTrackIndex())];
        return 0;
    }
};

TEST(CQeStyleInfo, PresenceFollowsTheStyle)
{
    QeEditorStyleBuilder b;
    b.cvWithNotes(0, 0, {0, 2}).cvWithNotes(0, 3, {4}).cvWithNotes(5, 0, {1}).cvWithNotes(11, 1, {7});
    const CQeStyleInfo info(b.resource());

    EXPECT_EQ(info.GetStyleWord(), (1u << 0) | (1u << 5) | (1u << 11));
    struct Case {
        int element, cv, present;
    };
    for (const Case& c :
         {Case{0, 0, 1}, Case{0, 1, 0}, Case{0, 3, 1}, Case{5, 0, 1}, Case{5, 1, 0}, Case{5, 2, 0},
          Case{11, 1, 1}, Case{12, 0, 0}, Case{-1, 0, 0}, Case{0, 6, 0}, Case{1, 0, 0}})
        EXPECT_EQ(info.HasChordVar(c.element, c.cv), c.present) << c.element << " " << c.cv;

    struct TrackCase {
        int element, cv, track, present;
    };
    for (const TrackCase& c :
         {TrackCase{0, 0, 0, 1}, TrackCase{0, 0, 1, 0}, TrackCase{0, 0, 2, 1}, TrackCase{0, 3, 4, 1},
          TrackCase{0, 3, 0, 0}, TrackCase{5, 0, 1, 1}, TrackCase{11, 1, 7, 1}, TrackCase{0, 0, 8, 0},
          TrackCase{0, 0, -1, 0}, TrackCase{5, 2, 1, 0}})
        EXPECT_EQ(info.HasTrack(c.element, c.cv, c.track), c.present)
            << c.element << " " << c.cv << " " << c.track;
}

TEST(CQeStyleInfo, CvKeyAndChordComeFromTheFirstBassOrAccPatternWithData)
{
    QeEditorStyleBuilder b;
    // Drums and ACC1 play; the bass pattern of the CV is empty.
    b.cvWithNotes(1, 2, {0, 3}).chordKey(1, 2, 3, 7, 9).chordKey(1, 2, 5, 12, 4);
    // Both ACC2 and ACC4 play: ACC2 comes first.
    b.cvWithNotes(2, 0, {6, 4}).chordKey(2, 0, 4, 3, 2).chordKey(2, 0, 6, 9, 11);
    const CQeStyleInfo info(b.resource());

    EXPECT_EQ(info.GetCvChord(1, 2), 7);
    EXPECT_EQ(info.GetCvKey(1, 2), 9);
    EXPECT_EQ(CQeStyleInfo::GetKeyChordName(info.GetCvKey(1, 2), info.GetCvChord(1, 2)), "Amin");
    EXPECT_EQ(info.GetCvTrackByteA(1, 2, 3), 7);
    EXPECT_EQ(info.GetCvTrackByteB(1, 2, 3), 9);
    EXPECT_EQ(info.GetCvChord(2, 0), 3);
    EXPECT_EQ(info.GetCvKey(2, 0), 2);
    EXPECT_EQ(info.GetCvTrackByteA(2, 0, 6), 9);
    EXPECT_EQ(info.GetCvTrackByteB(2, 0, 6), 11);
    // Drums only: no key and chord.
    EXPECT_EQ(info.GetCvChord(3, 0), 0);
}

TEST(CQeStyleInfo, StyleAndElementSettingsAreClampedToTheirRanges)
{
    QeEditorStyleBuilder b;
    b.cvWithNotes(0, 0, {0, 2, 3}).cvWithNotes(0, 1, {3}).cvWithNotes(4, 0, {2});
    b.trackMode(0, 0).trackMode(1, 1).trackMode(2, 2).trackMode(3, 3).trackMode(4, 200);
    b.tension(0, 0).tension(1, 5).tension(3, 1).tension(4, 0);
    b.ntt(0, 2).ntt(4, 7);
    b.chordAssign(0, 0, 1).chordAssign(0, 21, 0).chordAssign(4, 3, 0);
    b.range(0, 2, 30, 20).range(0, 3, 40, 90).range(0, 4, 10, 90).range(0, 5, 50, 120).range(4, 2, 60, 60);
    b.range(0, 6, 200, 50).range(0, 7, 90, 40).range(4, 3, 0, 255);
    b.program(0, 2, 0x01020004u);
    const CQeStyleInfo info(b.resource());

    EXPECT_EQ(info.GetStyleByte() & 0x1B, 0x0A); // tracks 1 and 3 on, 0 and 4 off
    const uint16_t modes = info.GetStyleWord2();
    EXPECT_EQ(modes & 3, 0);
    EXPECT_EQ(modes >> 2 & 3, 1);
    EXPECT_EQ(modes >> 4 & 3, 2);
    EXPECT_EQ(modes >> 6 & 3, 2); // 3 is stored as 2
    EXPECT_EQ(modes >> 8 & 3, 2);

    EXPECT_EQ(info.GetTrackByte(0), 2);
    EXPECT_EQ(info.GetTrackByte(4), 0); // above 3
    EXPECT_EQ(info.GetSeTrackByte(0, 0), 1);
    EXPECT_EQ(info.GetSeTrackByte(0, 21), 0);
    EXPECT_EQ(info.GetSeTrackByte(0, 22), 0);

    // Each end is first kept on the keyboard (21-108); only a range that is
    // then upside down becomes 21-108.
    struct RangeCase {
        int element, track, low, high;
    };
    for (const RangeCase& c : {RangeCase{0, 2, 30, 108}, RangeCase{0, 3, 40, 90}, RangeCase{0, 4, 21, 90},
                               RangeCase{0, 5, 50, 108}, RangeCase{4, 2, 60, 60}, RangeCase{0, 6, 21, 50},
                               RangeCase{0, 7, 21, 108}, RangeCase{4, 3, 21, 108}, RangeCase{0, 0, 21, 108},
                               RangeCase{12, 0, 21, 108}}) {
        EXPECT_EQ(info.GetSeTrackByteA(c.element, c.track), c.low) << c.element << " " << c.track;
        EXPECT_EQ(info.GetSeTrackByteB(c.element, c.track), c.high) << c.element << " " << c.track;
    }
    // Bank MSB, LSB and program; the third byte is not kept.
    EXPECT_EQ(info.GetSeTrackDword(0, 2), 0x01020004u);
}

TEST(CQeStyleInfo, AnUnreadableResourceLeavesNothingPresent)
{
    const std::vector<std::vector<uint8_t>> inputs = {{}, {1, 2, 3}, std::vector<uint8_t>(64, 0xFF)};
    for (const auto& bytes : inputs) {
        CQeStyleInfo info(bytes);
        EXPECT_EQ(info.GetStyleWord(), 0);
        EXPECT_EQ(info.HasChordVar(0, 0), 0);
        EXPECT_EQ(info.GetSeTrackByteA(0, 0), 21);
        EXPECT_EQ(info.GetSeTrackByteB(11, 7), 108);
        TempDir dir;
        EXPECT_EQ(info.CreateMidiFromQeCvOrTrack(0, 0, 0, dir / "out.mid", 1), 0);
        EXPECT_FALSE(std::filesystem::exists(dir / "out.mid"));
    }
}

TEST(CQeStyleInfo, KeyChordNames)
{
    struct Case {
        int key, chord;
        const char* name;
    };
    for (const Case& c :
         {Case{0, 0, "CMajor"}, Case{9, 7, "Amin"}, Case{1, 12, "C#7"}, Case{11, 21, "BNo3rdNo5th"},
          Case{6, 19, "F#augMaj7"}, Case{12, 0, "CMajor"}, Case{0, 22, "CMajor"}, Case{-1, 3, "CMajor"}})
        EXPECT_EQ(CQeStyleInfo::GetKeyChordName(c.key, c.chord), c.name) << c.key << " " << c.chord;
}

TEST(CQeStyleInfo, ExportsACvAsOneTrackPerChannel)
{
    QeEditorStyleBuilder b;
    b.cvWithNotes(0, 1, {0, 2, 3}, 2);
    // ACC1 notes above 40 become VexSound messages.
    uint8_t ranges[8][2] = {{0, 127}, {0, 127}, {0, 127}, {0, 40}, {0, 127}, {0, 127}, {0, 127}, {0, 127}};
    _ULStEConvertNoteToVexSound(b.editor(), 0, 1, ranges);
    CQeStyleInfo info(b.resource());
    TempDir dir;

    for (int makerSysex : {1, 0}) {
        const auto path = dir / "cv.mid";
        ASSERT_EQ(info.CreateMidiFromQeCvOrTrack(0, 1, 255, path, makerSysex), 1);
        EXPECT_FALSE(info.GetLastMessage().has_value());
        SmfListing listing;
        const auto file = test::readFileBytes(path);
        ASSERT_EQ(listing.Read(file), 0);
        EXPECT_EQ(listing.GetFormat(), 1);
        EXPECT_EQ(listing.GetDivision(), 384);
        ASSERT_EQ(listing.GetTrackCount(), 4); // the meta track, then channels 9, 10, 12
        EXPECT_EQ(listing.channelCounts[0], 0u);
        const int channelOfTrack[4] = {-1, 8, 9, 11};
        for (const auto& e : listing.events) {
            if (e.status < 0xF0) {
                EXPECT_EQ(e.status & 0x0F, channelOfTrack[e.track]) << "track " << e.track;
            }
        }
        // The VexSound messages: on the ACC1 track with the flag, else on the meta track.
        VexSoundCounter vex;
        ASSERT_EQ(vex.ParseMemory(file.data(), uint32_t(file.size())), 0);
        EXPECT_GT(vex.perTrack[makerSysex ? 3 : 0], 0);
        EXPECT_EQ(vex.perTrack[makerSysex ? 0 : 3], 0);
    }
}

TEST(CQeStyleInfo, ExportFailures)
{
    QeEditorStyleBuilder b;
    b.cvWithNotes(0, 0, {0});
    CQeStyleInfo info(b.resource());
    TempDir dir;

    // Out of range: nothing written, no message.
    for (auto [e, cv] : {std::pair{12, 0}, std::pair{4, 2}, std::pair{0, 6}, std::pair{-1, 0}}) {
        EXPECT_EQ(info.CreateMidiFromQeCvOrTrack(e, cv, 0, dir / "x.mid", 1), 0);
        EXPECT_FALSE(info.GetLastMessage().has_value());
    }
    // A folder that does not exist.
    EXPECT_EQ(info.CreateMidiFromQeCvOrTrack(0, 0, 0, dir / "missing" / "x.mid", 1), 0);
    ASSERT_TRUE(info.GetLastMessage().has_value());
    EXPECT_EQ(info.GetLastMessage()->text, "Cannot open file - 1");
    EXPECT_EQ(info.GetLastMessage()->caption, "CreateMidiFromQeCvOrTr");
    EXPECT_EQ(info.GetLastMessage()->icon, QeCvExportMessage::Icon::Stop);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace zib
