// Bytes from a MIDI input device while a song plays and records: whatever
// arrives (running status, system messages, floods, notes without their
// ends), the run finishes, the sequence stays in time order with its events
// numbered, no note is left held and the take is in the undo history.
//
// Input: one option byte (bit 0 loop, bit 1 metronome, bits 2-3 the armed
// track's record code: omni, channel 1, channels 1 and 10, none), then
// chunks of [time step in 0.5 ms][length][bytes].
#include "tests/support/PlaybackFakes.h"
#include "tests/support/SmfBuilder.h"

#include <cstdint>
#include <cstdlib>

namespace {

const std::vector<uint8_t>& song()
{
    static const std::vector<uint8_t> image = [] {
        zib::test::SmfBuilder b(1, 96);
        b.AddTrack().Tempo(0, 250000).TimeSig(0, 4, 2);
        auto& t = b.AddTrack();
        for (uint32_t tick = 0; tick < 4 * 384; tick += 48) t.NoteOn(tick, 0, 60, 90).NoteOff(tick + 40, 0, 60);
        return b.Build();
    }();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    zib::test::PlaybackRig rig(song());
    const uint8_t options = data[0];
    static const uint32_t codes[] = {17, 1, 18 | (1u << 0 | 1u << 9) << 16, 0};
    rig.doc.tracks[1].record = 1;
    rig.doc.tracks[1].recordChannel = codes[(options >> 2) & 3];
    rig.doc.tracks[2].record = 1;
    rig.doc.tracks[2].recordChannel = 17;
    if (!rig.engine.PrepareForDocument()) std::abort();
    if (options & 1) {
        rig.engine.SetStartMarker(0, 1, 0);
        rig.engine.SetEndMarker(1, 2, 0);
        rig.doc.loop = true;
    }
    if (options & 2) rig.engine.Metronome().mode = zib::MetronomeSettings::kAlways;
    rig.engine.OnRecord();

    size_t at = 1;
    while (at + 2 <= size) {
        rig.Advance(int64_t(data[at]) * 500);
        const size_t n = std::min<size_t>(data[at + 1], size - at - 2);
        rig.host.fake->Inject("Test:In", std::span<const uint8_t>(data + at + 2, n));
        at += 2 + n;
    }
    rig.engine.StartMidiPlayback(); // stop
    if (!rig.RunUntilFinished(120'000'000)) std::abort();
    if (rig.engine.HeldNoteCount() != 0 || rig.host.playing.load() != 0) std::abort();
    const auto& events = rig.doc.sequence.GetEvents();
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i]->index != i) std::abort();
        if (i > 0 && events[i - 1]->time > events[i]->time) std::abort();
        if (events[i]->flags & zib::CMidiEvent::kRecorded) std::abort();
        if (events[i]->state == 77) std::abort();
    }
    return 0;
}
