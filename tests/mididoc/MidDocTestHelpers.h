#pragma once

#include "mididoc/core/CZibMidDoc.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zib::test {

// A document loaded from an image built in the test.
inline std::unique_ptr<CZibMidDoc> loadDocument(const std::vector<uint8_t>& image,
                                                const std::string& path = "/songs/Test.mid")
{
    auto doc = std::make_unique<CZibMidDoc>();
    const auto result = doc->LoadImage(path, image);
    EXPECT_EQ(result, CZibMidDoc::Result::Ok) << doc->ParseErrorText();
    return doc;
}

// A format-1 file at division 96: the conductor with 4/4 and tempo, then
// `tracks` channel tracks, track k on channel k - 1 with a note at each beat
// of the first bar.
inline std::vector<uint8_t> smallSong(int tracks = 2)
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSig(0, 4, 2).Tempo(0, 500000).TrackName(0, "Song");
    for (int k = 1; k <= tracks; ++k) {
        SmfTrack& t = smf.AddTrack();
        t.TrackName(0, "Track " + std::to_string(k)).Program(0, k - 1, k).Controller(0, k - 1, 7, 90);
        for (int beat = 0; beat < 4; ++beat)
            t.NoteOn(uint32_t(beat) * 96, k - 1, 60 + k, 100).NoteOff(uint32_t(beat) * 96 + 48, k - 1, 60 + k);
    }
    return smf.Build();
}

// The events of the document as (time, track, status, data bytes), in array order.
struct EventKey {
    uint32_t time;
    int track;
    uint8_t status;
    std::vector<uint8_t> bytes;
    auto operator<=>(const EventKey&) const = default;
};

inline std::vector<EventKey> eventKeys(const CMidiParserEx& sequence)
{
    std::vector<EventKey> out;
    for (const auto& e : sequence.GetEvents())
        out.push_back({e->time, e->track, e->status,
                       std::vector<uint8_t>(e->data.begin(), e->data.begin() + std::min<size_t>(e->length, e->data.size()))});
    return out;
}

} // namespace zib::test
