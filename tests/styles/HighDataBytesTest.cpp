// MIDI files may carry data bytes with bit 7 set (the reader takes them as
// they are): the MIDI-to-Qe-style converter keeps 7 bits of them for its
// pattern streams and never indexes a table with the whole byte.
#include "styles/CMidiToQeStyConverter.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/LibraryStyle.h"
#include "tests/support/RealFixtures.h"
#include "tests/support/StyleMidiBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace zib {
namespace {

TEST(HighDataBytes, TheQeConverterKeepsSevenBitsOfThem)
{
    constexpr int kDrum = 10; // MIDI channel of the DRUM track
    test::StyleMidiBuilder b;
    b.Command(1, "Element: VAR1").Command(1, "CV: C Major");
    b.Channel(kDrum)
        .Raw(b.Bar(1), {0x99, 0xBC, 0xE4})      // note-on, key 0xBC: key 0x3C, velocity 0x64
        .Raw(b.Bar(1, 1), {0xB9, 0x81, 0xFF})   // controller 0x81 (1) to 0x7F
        .Raw(b.Bar(1, 2), {0x89, 0xBC, 0x80});  // its note-off
    b.EndAt(b.Bar(2));
    const std::vector<uint8_t> midi = b.Build();

    test::TempDir dir;
    CMidiToQeStyConverter converter;
    converter.SetOutputFile(dir / "OUT.STY");
    std::ostringstream log;
    ASSERT_EQ(converter.Convert(midi.data(), uint32_t(midi.size()), &log), 0) << log.str();
    EXPECT_EQ(log.str().find("without corresponding"), std::string::npos) << log.str(); // the pair matched

    // The CV as the library plays it: the note on key 0x3C, the controller 1 at 0x7F (384 ticks a beat).
    const test::LibraryStyle style(test::readFileBytes(dir / "OUT.STY"));
    ASSERT_NE(style.editor(), nullptr);
    test::SmfListing listing;
    ASSERT_EQ(listing.Read(style.ExportCv(0, 0)), 0);
    const auto events = listing.ChannelEvents(0);
    auto has = [&](const std::string& line) { return std::find(events.begin(), events.end(), line) != events.end(); };
    EXPECT_TRUE(has("0 0 ch 99 60 100")) << ::testing::PrintToString(events);
    EXPECT_TRUE(has("0 384 ch B9 1 127")) << ::testing::PrintToString(events);
}

} // namespace
} // namespace zib
