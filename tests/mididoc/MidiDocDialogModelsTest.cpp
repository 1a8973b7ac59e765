// The fixed-choice dialogs and the position arithmetic of the MIDI editors.
#include "mididoc/core/CopyMidiEventsDlgModel.h"
#include "mididoc/core/EditEventCodeDlgModel.h"
#include "mididoc/core/MidiClockDlgModel.h"
#include "mididoc/core/SequenceMeasureContext.h"

#include "tests/mididoc/MidDocTestHelpers.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;
using B = EditEventCodeDlgModel::Button;

TEST(EditEventCodeDlgModel, TheStartingButtonAndTheAnswer)
{
    struct Case {
        uint8_t status, type;
        uint32_t kind, letter;
        std::optional<B> start;
    };
    for (const Case& c : {Case{0x83, 0, 1, 1, B::kNote}, Case{0x93, 0, 1, 1, B::kNote}, Case{0xA0, 0, 1, 1, B::kKeyPressure},
                          Case{0xA0, 0, 2, 'F', B::kNote}, Case{0xB0, 0, 2, 'F', B::kController},
                          Case{0xC0, 0, 2, 'X', B::kNote}, Case{0xC0, 0, 2, '9', B::kProgramChange},
                          Case{0xD0, 0, 1, 0, B::kChannelAftertouch}, Case{0xE0, 0, 1, 0, B::kPitchWheel},
                          Case{0xFF, 1, 1, 0, B::kText}, Case{0xFF, 5, 1, 0, B::kLyric}, Case{0xFF, 6, 1, 0, B::kMarker},
                          Case{0xFF, 3, 1, 0, std::nullopt}, Case{0xF0, 0, 1, 0, std::nullopt}}) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.status));
        EXPECT_EQ(EditEventCodeDlgModel(c.status, c.type, c.kind, c.letter).InitialButton(), c.start);
    }
    const EditEventCodeDlgModel qeStyle(0xA3, 0, 2, 'F');
    EXPECT_FALSE(qeStyle.Enabled(B::kText));
    EXPECT_FALSE(qeStyle.Enabled(B::kKeyPressure));
    EXPECT_TRUE(qeStyle.Enabled(B::kController));
    EXPECT_TRUE(EditEventCodeDlgModel(0xA3, 0, 1, 1).Enabled(B::kMarker));
    // OK: the class with the old channel, or the meta type; none checked keeps the old
    const EditEventCodeDlgModel off(0x83, 0, 1, 1);
    EXPECT_EQ(off.Ok(B::kNote), (EditEventCodeDlgModel::Result{0x93, 0}));
    EXPECT_EQ(off.Ok(B::kPitchWheel), (EditEventCodeDlgModel::Result{0xE3, 0}));
    EXPECT_EQ(off.Ok(B::kLyric), (EditEventCodeDlgModel::Result{0xFF, 5}));
    EXPECT_EQ(off.Ok(std::nullopt), (EditEventCodeDlgModel::Result{0x83, 0}));
}

TEST(MidiClockDlgModel, OkWithoutAChoiceGives384)
{
    EXPECT_EQ(MidiClockDlgModel::InitialChoice(96), std::optional<size_t>(2));
    EXPECT_EQ(MidiClockDlgModel::InitialChoice(100), std::nullopt);
    EXPECT_EQ(MidiClockDlgModel::Ok(std::nullopt), 384);
    EXPECT_EQ(MidiClockDlgModel::Ok(0), 48);
    EXPECT_EQ(MidiClockDlgModel::Ok(11), 480);
}

TEST(CopyMidiEventsDlgModel, TheBoxesShowAndGiveTheFlags)
{
    const CopyEventKinds kinds{true, false, true, false};
    EXPECT_TRUE(CopyMidiEventsDlgModel::Checked(kinds, CopyMidiEventsDlgModel::kTrackEvents));
    EXPECT_FALSE(CopyMidiEventsDlgModel::Checked(kinds, CopyMidiEventsDlgModel::kTempoChanges));
    EXPECT_TRUE(CopyMidiEventsDlgModel::Checked(kinds, CopyMidiEventsDlgModel::kTactChanges));
    EXPECT_EQ(CopyMidiEventsDlgModel::Ok(false, true, false, true), (CopyEventKinds{false, true, false, true}));
}

TEST(SequenceMeasureContext, PositionsAreReadAndNormalisedThroughTheMap)
{
    DocFixture f(smallSong(1));
    SequenceMeasureContext context(f.seq());
    struct Case {
        const char* text;
        uint32_t tick;
        const char* shown;
    };
    for (const Case& c : {Case{"12", 11 * 384, " 12:01:000"}, Case{"0:0:0", 0, "  1:01:000"}, Case{"1:1:0", 0, "  1:01:000"},
                          Case{"1:5:0", 384, "  2:01:000"}, Case{"2:2:10", 384 + 96 + 10, "  2:02:010"}}) {
        SCOPED_TRACE(c.text);
        const PositionRecord p = ParsePositionText(c.text, &context);
        EXPECT_EQ(p.tick, c.tick);
        EXPECT_EQ(FormatPositionText(p), c.shown);
    }
    EXPECT_TRUE(context.WithinLimit(998 * 384));
    EXPECT_FALSE(context.WithinLimit(999 * 384));
}
