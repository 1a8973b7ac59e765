#include "tests/devices/console/ConsoleStyleFixture.h"

#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

namespace zib::test {

ConsoleStyle::ConsoleStyle(bool qe, uint16_t division) : m_division(division)
{
    reader.modelCode = qe ? 70 : 'M';
    for (auto& element : reader.elements)
        element.timeSignature = TimeSignatureByte(4, 2);
}

uint32_t ConsoleStyle::AddPattern(int element, int variation, uint32_t length, const std::vector<Note>& notes)
{
    SmfBuilder smf(0, m_division);
    SmfTrack& track = smf.AddTrack();
    for (const Note& n : notes) {
        track.NoteOn(n.on, n.channel, n.key, n.velocity);
        track.NoteOff(n.off, n.channel, n.key, 64);
    }
    track.EndAt(length);
    const auto image = smf.Build();
    auto& cv = reader.elements[size_t(element)].variations[size_t(variation)];
    cv.firstEvent = uint32_t(reader.GetEventCount());
    cv.length = length;
    reader.elements[size_t(element)].present = 1;
    EXPECT_EQ(reader.ReadImage(image.data(), uint32_t(image.size())), 0);
    EXPECT_EQ(reader.PairNotes(size_t(element), size_t(variation)), 0);
    return cv.firstEvent;
}

} // namespace zib::test
