// What the PSR converter keeps of a section's channel events: note-ons and
// note-offs, controllers 1, 2, 10, 12, 13, 64, 71, 74, 80, 81, 82 and the
// pitch wheel; every other controller, program change, key pressure and
// channel pressure is left out of the pattern.
#include "styles/CPsrStyConverter.h"
#include "tests/support/PsrStyleBuilder.h"
#include "tests/support/QeStyleBodyReader.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace zib {
namespace {

constexpr int kAcc1 = 11; // a channel the Ctab below puts on a Qe track

TEST(PsrKeptEvents, ControllersAndPitchWheelOfTheFixedList)
{
    test::PsrStyleBuilder b;
    b.Section(b.Bar(1), "Main A");
    auto& track = b.Track();
    const uint32_t start = b.Bar(1);
    track.NoteOn(start, kAcc1, 60, 90);
    for (int c = 0; c < 120; ++c) track.Controller(start + 1 + uint32_t(c), kAcc1, c, c == 64 ? 127 : 1);
    track.PitchBend(start + 200, kAcc1, 0x2000 + 100).Program(start + 201, kAcc1, 5);
    track.KeyPressure(start + 202, kAcc1, 60, 30).ChannelPressure(start + 203, kAcc1, 40);
    track.Controller(start + 300, kAcc1, 64, 0).PitchBend(start + 301, kAcc1, 0x2000);
    track.NoteOff(start + 384, kAcc1, 60, 0);
    b.Casm({{"Main A", {test::CtabEntry{kAcc1, kAcc1, {0x03, 0xFF, 0xFF, 0xFF, 0xFF}, 0, 2, 27}}}});

    CPsrStyConverter converter;
    converter.SetFileName("Test.sty");
    ASSERT_EQ(converter.Convert(b.Build(), CPsrStyConverter::kOutputCapacity), 0);
    const test::QeStyleBody body = test::readQeStyleBody(converter.GetOutput());
    ASSERT_EQ(body.error, "");
    ASSERT_EQ(body.patterns.size(), 1u);

    std::set<int> controllers;
    std::multiset<int> kinds;
    for (const test::PropItem& item : test::readPropStream(body.patterns[0].stream)) {
        if (item.kind == 9) continue; // the end of track
        kinds.insert(item.kind);
        if (item.kind == 3) controllers.insert(item.payload[0]);
    }
    EXPECT_EQ(controllers, (std::set<int>{1, 2, 10, 12, 13, 64, 71, 74, 80, 81, 82}));
    EXPECT_EQ(kinds.count(1), 1u); // the note-on
    EXPECT_EQ(kinds.count(0), 1u); // its note-off
    EXPECT_EQ(kinds.count(6), 2u); // both pitch-wheel events
    EXPECT_EQ(kinds.count(3), 12u); // the eleven kept controllers and the second sustain
    for (int other : {2, 4, 5}) EXPECT_EQ(kinds.count(other), 0u) << other; // key and channel pressure, program
}

} // namespace
} // namespace zib
