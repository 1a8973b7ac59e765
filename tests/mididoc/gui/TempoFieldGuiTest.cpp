// The tempo field of the MIDI bars follows an edit of the song's tempo in
// the tempo-track editor, and keeps it when the MIDI window is active again.
#include "platform/FileIo.h"
#include "tests/mididoc/MidDocTestHelpers.h"
#include "tests/support/gui/ZibSession.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::ZibRun;

TEST(TempoFieldGui, ShowsATempoChangedInTheTempoTrackEditor)
{
    test::ZibSession session;
    if (!session.displayOk()) GTEST_SKIP() << "Xvfb is not available";
    session.seedAuthor();
    const auto path = session.files() / "Song.mid";
    ASSERT_EQ(writeFileAtomically(path, test::smallSong(1)), FileIoError::None);
    // The tempo view of the master track, its one tempo edited from 120 to 140
    const ZibRun r = session.runChecked("field 1082\nmenu 32945\nmenu 32938\nlist-select 0\n"
                                        "dialog set 1082 140 ; ok\nmenu 32785\nfield 1082\n"
                                        "activate-child Song.mid\nawait-idle\nfield 1082\nlog-tabs\n"
                                        "dialog no\n", // the changed song is left unsaved as the program ends
                                        40, {path.string()});
    const auto fields = r.lines("field 1082");
    ASSERT_EQ(fields.size(), 3u) << r.output;
    EXPECT_EQ(fields[0], "field 1082 text=120");
    EXPECT_EQ(fields[1], "field 1082 text=140") << "after the edit";
    EXPECT_EQ(fields[2], "field 1082 text=140") << "in the MIDI window " << r.line("tabs:");
}

} // namespace
} // namespace zib
