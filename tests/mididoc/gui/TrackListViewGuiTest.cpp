// The track list of a MIDI window and the bar grid beside it, as the user
// sees them: a click on a track's number opens the event list of the track
// clicked, and the grid shows its rows as they are after a track is inserted
// or deleted (each track's notes and the hatching of a selected row move with
// the track), without waiting for something else to repaint it.
#include "platform/FileIo.h"
#include "tests/mididoc/gui/RunLog.h"
#include "tests/support/SmfBuilder.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace zib {
namespace {

using test::ZibRun;

class TrackListViewGui : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    // The conductor, then two tracks, each with a note on each beat of one bar
    std::string song()
    {
        test::SmfBuilder smf(1, 96);
        smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
        for (int k = 1; k <= 2; ++k) {
            test::SmfTrack& t = smf.AddTrack().TrackName(0, "Track " + std::to_string(k));
            for (uint32_t beat = 0; beat < 4; ++beat)
                t.NoteOn(beat * 96, k - 1, 60 + k, 100).NoteOff(beat * 96 + 48, k - 1, 60 + k);
        }
        const auto path = session_.files() / "Song.mid";
        EXPECT_EQ(writeFileAtomically(path, smf.Build()), FileIoError::None);
        return path.string();
    }

    test::ZibSession session_;
};

// A click on the number of a track while another track is selected
TEST_F(TrackListViewGui, ANumberClickOpensTheEventListOfTheTrackClicked)
{
    const ZibRun r = session_.runChecked("list-select 0\nmidi-click 1 0\nawait-child Event List\nlog-tabs\n",
                                         60, {song()});
    EXPECT_EQ(r.line("tabs: "),
              "tabs: active=Song.mid - Event List - Track 2 titles=Song.mid|Song.mid - Event List - Track 2")
        << test::RunLog(r);
}

// What one row of the grid shows
struct BarRow {
    int content = 0, hatch = 0, marks = 0;
    // The hatching covers the row; a row not hatched shows at most the
    // position cursor's black line
    bool Hatched() const { return hatch > 1000; }
};

BarRow barRow(const std::string& line)
{
    BarRow row;
    const size_t at = line.find(": ");
    if (at == std::string::npos || std::sscanf(line.c_str() + at, ": content=%d hatch=%d marks=%d",
                                               &row.content, &row.hatch, &row.marks) != 3)
        ADD_FAILURE() << "not a bar row: " << line;
    return row;
}

// Track 2 is muted with a double click on its M cell, which hatches its row
// in the grid; then a track is inserted above track 1, that empty track
// deleted again, and the deletion undone. After each, once the program has
// settled, rows 0-2 of the grid show the tracks in those rows.
TEST_F(TrackListViewGui, TheBarGridShowsItsRowsAsTheyAreAfterATrackIsInsertedOrDeleted)
{
    const char* look = "await-idle\nmidi-bar-row 0\nmidi-bar-row 1\nmidi-bar-row 2\n";
    const ZibRun r = session_.runChecked(std::string("await-idle\nmidi-dclick 1 3\n") + look +
                                             "list-select 0\nmenu 32933\n" + look + // Insert Track at row 0
                                             "list-select 0\nmenu 32777\n" + look + // Delete Track(s)
                                             "menu 57643\n" + look +                // Undo
                                             "dialog no\n",
                                         60, {song()});
    const std::string log = test::RunLog(r);
    const auto lines = r.lines("midi-bar-row ");
    ASSERT_EQ(lines.size(), 12u) << log;
    // Where tracks 1 and 2 are after each step: the rows before, then inserted, deleted, undone
    const int track1Row[] = {0, 1, 0, 1};
    for (int step = 0; step < 4; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        for (int row = 0; row < 3; ++row) {
            const std::string& line = lines[size_t(step * 3 + row)];
            const BarRow shown = barRow(line);
            const bool track1 = row == track1Row[step], track2 = row == track1Row[step] + 1;
            EXPECT_EQ(shown.marks > 0, track1 || track2) << line;
            EXPECT_EQ(shown.Hatched(), track2) << line;
            if (!track1 && !track2) {
                EXPECT_EQ(shown.content, 0) << line; // no stretch of content either
            }
        }
    }
}

} // namespace
} // namespace zib
