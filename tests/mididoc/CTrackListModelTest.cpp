#include "mididoc/core/CTrackListModel.h"

#include "ui/core/CTrackNameSource.h"
#include "mididoc/core/MidiDocModel.h"
#include "tests/mididoc/MidDocTestHelpers.h"

#include <gtest/gtest.h>

using namespace zib;
using namespace zib::test;

namespace {

using Model = CTrackListModel;

// Track 1: name, port 2, bank 1/5, program 9, volume, pan and three notes on
// channel 3; track 2: a bank LSB and a note on two channels; track 3 only a
// note (no first values).
std::vector<uint8_t> mixedSong()
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2);
    smf.AddTrack()
        .Port(0, 2)
        .TrackName(0, "Lead")
        .Controller(0, 2, 0, 1)
        .Controller(0, 2, 32, 5)
        .Program(0, 2, 9)
        .Controller(0, 2, 7, 80)
        .Controller(0, 2, 10, 40)
        .NoteOn(0, 2, 60, 100)
        .NoteOff(10, 2, 60)
        .NoteOn(20, 2, 62, 100)
        .NoteOff(30, 2, 62)
        .NoteOn(40, 2, 64, 100)
        .NoteOff(50, 2, 64);
    smf.AddTrack().Controller(0, 4, 32, 3).NoteOn(0, 4, 40, 90).NoteOn(5, 5, 41, 90);
    smf.AddTrack().NoteOn(0, 0, 50, 90).NoteOff(9, 0, 50);
    return smf.Build();
}

// Names that show what they were asked.
class NamesForTest : public CTrackNameSource {
public:
    std::string OutPortName(int port, int channel) const override
    {
        return "out" + std::to_string(port) + "/" + std::to_string(channel);
    }
    std::string BankName(int port, int, int bank) const override
    {
        return "bank" + std::to_string(port) + ":" + std::to_string(bank);
    }
    std::string PatchName(int, int, int bank, int program) const override
    {
        return "patch" + std::to_string(bank) + ":" + std::to_string(program);
    }
};

} // namespace

TEST(CTrackListModel, ColumnsOfTheList)
{
    const auto& c = Model::Columns();
    ASSERT_EQ(c.size(), 14u);
    std::vector<std::string> texts;
    int width = 0;
    for (const auto& column : c) {
        texts.emplace_back(column.text);
        width += column.width;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"", "Track name", "", "", "", "Ch", "In Port", "Out Port", "Bank",
                                               "Patch", "Vol", "Pan", "Size", ""}));
    EXPECT_EQ(c[0].width, 26);
    EXPECT_EQ(c[13].width, 100);
    EXPECT_EQ(width, 26 + 70 + 22 * 3 + 25 + 50 + 55 + 43 + 43 + 35 + 35 + 55 + 100);
    EXPECT_EQ(c[2].align, Model::Align::Center);
    EXPECT_EQ(c[3].align, Model::Align::Center);
    EXPECT_EQ(c[4].align, Model::Align::Left);
}

TEST(CTrackListModel, CellTextsOfEveryColumn)
{
    DocFixture f(mixedSong());
    MidiDocModel* doc = f.doc.get();
    NamesForTest names;
    Model model(*doc, names);
    ASSERT_EQ(model.RowCount(), 64);
    auto row = [&](int r) {
        std::vector<std::string> cells;
        for (int c = 0; c < Model::kColumnCount; ++c)
            cells.push_back(model.CellText(r, c));
        return cells;
    };
    EXPECT_EQ(row(0), (std::vector<std::string>{"1   ", "Lead", "S", "M", "R", "3", "", "out2/2", "bank2:133",
                                                 "patch133:9", "80", "40", "3", ""}));
    // A second channel, a bank LSB without MSB, no program, volume or pan.
    EXPECT_EQ(row(1), (std::vector<std::string>{"2   ", "", "S", "M", "R", "---", "", "out0/255", "bank0:3", "---",
                                                 "---", "---", "2", ""}));
    EXPECT_EQ(row(2)[8], "---");
    // Rows not in use show only their number.
    EXPECT_EQ(row(3), (std::vector<std::string>{"4   ", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(model.CellText(63, 0), "64  ");
    EXPECT_EQ(model.CellText(64, 0), "");

    // A program of 255 that the sequence holds.
    doc->TrackRecord(0)->program = 255;
    EXPECT_EQ(model.CellText(0, Model::kPatchColumn), "<Undefined>");
}

TEST(CTrackListModel, InPortTextsOfTheRecordInputCodes)
{
    struct Case {
        uint32_t code;
        const char* text;
    };
    for (const Case& c : {Case{0, ""}, Case{1, "MIDI Chan: 1"}, Case{16, "MIDI Chan: 16"}, Case{17, "MIDI Omni"},
                          Case{18 | (0x0201u << 16), "MIDI Chan: 1, 10, "}, Case{18, "MIDI Chan: "},
                          Case{19, ""}, Case{0x00050003, "MIDI Chan: 3"}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Model::InPortText(c.code), c.text);
    }
}

TEST(CTrackListModel, CellColoursFollowTheSwitches)
{
    DocFixture f(mixedSong());
    MidiDocModel* doc = f.doc.get();
    CTrackNameSource names;
    Model model(*doc, names);
    doc->SetTrackSolo(0, 1);
    doc->SetTrackPlay(0, 0);
    doc->SetTrackRecordFlag(0, 1);
    EXPECT_EQ(model.CellBackColor(0, Model::kSoloColumn), Model::kSoloedColor);
    EXPECT_EQ(model.CellBackColor(0, Model::kMuteColumn), Model::kMutedColor);
    EXPECT_EQ(model.CellBackColor(0, Model::kRecordColumn), Model::kArmedColor);
    EXPECT_EQ(model.CellBackColor(0, Model::kNameColumn), Model::kDefaultColor);
    EXPECT_EQ(model.CellBackColor(1, Model::kMuteColumn), Model::kDefaultColor); // plays
    // Rows not in use keep the list's colours; the last row is coloured like the others.
    doc->SetTrackRecordFlag(5, 1);
    EXPECT_EQ(model.CellBackColor(5, Model::kRecordColumn), Model::kDefaultColor);
    doc->TrackRecord(63)->hasEvents = 1;
    doc->SetTrackRecordFlag(63, 1);
    EXPECT_EQ(model.CellBackColor(63, Model::kRecordColumn), Model::kArmedColor);
}

TEST(CTrackListModel, ClicksAndDoubleClicks)
{
    DocFixture f(mixedSong());
    MidiDocModel* doc = f.doc.get();
    CTrackNameSource names;
    Model model(*doc, names);
    using A = Model::ClickAction;

    // Not playing.
    EXPECT_EQ(model.Click(0, Model::kNumberColumn, false), A::OpenEventEditor);
    EXPECT_EQ(model.Click(0, Model::kSoloColumn, false), A::None);
    EXPECT_EQ(model.Click(0, Model::kPatchColumn, false), A::TrackProperties);
    EXPECT_EQ(model.Click(10, Model::kRecordColumn, false), A::Redraw); // an empty row comes into use
    EXPECT_EQ(doc->TrackRecord(10)->hasEvents, 1);
    EXPECT_EQ(doc->TrackRecord(10)->play, 1);
    // Playing: only the Vol and Pan cells of tracks in use answer.
    EXPECT_EQ(model.Click(0, Model::kVolumeColumn, true), A::LiveVolume);
    EXPECT_EQ(model.Click(0, Model::kPanColumn, true), A::LivePan);
    EXPECT_EQ(model.Click(0, Model::kNameColumn, true), A::None);
    EXPECT_EQ(model.Click(20, Model::kVolumeColumn, true), A::None);

    // Double clicks toggle the switches and keep the player's flags.
    EXPECT_TRUE(model.DoubleClick(0, Model::kMuteColumn));
    EXPECT_EQ(doc->TrackRecord(0)->play, 0);
    EXPECT_TRUE(doc->SomeTrackMuted());
    EXPECT_TRUE(model.DoubleClick(1, Model::kMuteColumn));
    EXPECT_TRUE(model.DoubleClick(0, Model::kMuteColumn));
    EXPECT_TRUE(doc->SomeTrackMuted()); // track 2 still muted
    EXPECT_TRUE(model.DoubleClick(1, Model::kMuteColumn));
    EXPECT_FALSE(doc->SomeTrackMuted());

    EXPECT_TRUE(model.DoubleClick(0, Model::kSoloColumn));
    EXPECT_TRUE(doc->SomeTrackSoloed());
    EXPECT_TRUE(model.DoubleClick(0, Model::kSoloColumn));
    EXPECT_FALSE(doc->SomeTrackSoloed());

    // Arming a track without record input makes it take every channel.
    EXPECT_TRUE(model.DoubleClick(0, Model::kRecordColumn));
    EXPECT_EQ(doc->TrackRecord(0)->record, 1);
    EXPECT_EQ(doc->TrackRecord(0)->recordChannel, CTrackInfo::kRecordOmni);
    doc->TrackRecord(1)->recordChannel = 5;
    EXPECT_TRUE(model.DoubleClick(1, Model::kRecordColumn));
    EXPECT_EQ(doc->TrackRecord(1)->recordChannel, 5u);

    // Tracks without events: M and S change nothing; R arms a track in use.
    EXPECT_FALSE(model.DoubleClick(30, Model::kMuteColumn));
    EXPECT_FALSE(model.DoubleClick(10, Model::kMuteColumn));
    EXPECT_EQ(doc->TrackRecord(10)->play, 1);
    EXPECT_TRUE(model.DoubleClick(10, Model::kRecordColumn));
    EXPECT_FALSE(model.DoubleClick(0, Model::kNameColumn));

    model.NoteSelectedRows({2, 5, 70});
    EXPECT_EQ(doc->m_RowSelected[2], 1);
    EXPECT_EQ(doc->m_RowSelected[5], 1);
    EXPECT_EQ(std::count(doc->m_RowSelected.begin(), doc->m_RowSelected.end(), 1), 2);
}

TEST(CTrackListModel, LiveValuesAreClampedAndKept)
{
    DocFixture f(mixedSong());
    MidiDocModel* doc = f.doc.get();
    CTrackNameSource names;
    Model model(*doc, names);
    model.ApplyLiveValue(2, Model::kVolumeColumn, 300);
    EXPECT_EQ(doc->TrackRecord(2)->volume, 127);
    EXPECT_EQ(doc->m_LiveVolume[2], 127);
    EXPECT_EQ(model.CellText(2, Model::kVolumeColumn), "127");
    model.ApplyLiveValue(2, Model::kPanColumn, 20);
    EXPECT_EQ(model.CellText(2, Model::kPanColumn), "20");
    EXPECT_EQ(doc->m_LivePan[2], 20);
}
