#pragma once

// Event lists for the property-stream tests and benchmarks: random lists in
// the canonical form that decoding gives back, and dense pattern-like ones.

#include "ulvarf/CDecProp.h"
#include "ulvarf/PropEvent.h"

#include "tests/support/ByteSamples.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <span>
#include <tuple>
#include <vector>

namespace zib::ulvarf {

// How a failing test shows an event.
inline void PrintTo(const PropEvent& e, std::ostream* os)
{
    *os << "{tick " << e.tick << " kind " << int(e.kind) << " track " << int(e.track);
    if (e.kind == PropKind::Meta) *os << " meta 0x" << std::hex << int(e.metaType) << std::dec;
    else *os << " " << int(e.data1) << " " << int(e.data2);
    if (e.kind == PropKind::Note || e.kind == PropKind::VexSound)
        *os << " dur " << e.duration << " off " << int(e.offVelocity);
    if (!e.data.empty()) {
        *os << " data";
        for (uint8_t b : e.data) *os << " " << int(b);
    }
    *os << "}";
}

// The events a stream plays, in a form every encoding of them shares: notes
// and sounds with a duration as their on event and their off event (at the
// stream's end at the latest), all sorted. Two streams that play alike give
// the same list, whether their notes are pairs or carry a duration.
inline std::vector<PropEvent> playedEvents(std::span<const uint8_t> stream)
{
    std::vector<PropEvent> decoded, out;
    CDecProp::DecodeEvents(stream, decoded);
    const uint32_t end = decoded.empty() ? 0 : decoded.back().tick;
    for (const PropEvent& e : decoded) {
        if (e.kind != PropKind::Note && e.kind != PropKind::VexSound) {
            out.push_back(e);
            continue;
        }
        const bool vex = e.kind == PropKind::VexSound;
        out.push_back(PropEvent::Channel(e.tick, vex ? PropKind::VexSoundOn : PropKind::NoteOn, e.track, e.data1, e.data2));
        const uint32_t off = uint32_t(std::min<uint64_t>(uint64_t(e.tick) + e.duration, end));
        out.push_back(PropEvent::Channel(off, vex ? PropKind::VexSoundOff : PropKind::NoteOff, e.track, e.data1,
                                         e.offVelocity));
    }
    std::sort(out.begin(), out.end(), [](const PropEvent& a, const PropEvent& b) {
        return std::tie(a.tick, a.kind, a.track, a.data1, a.data2, a.metaType, a.data) <
               std::tie(b.tick, b.kind, b.track, b.data1, b.data2, b.metaType, b.data);
    });
    return out;
}

} // namespace zib::ulvarf

namespace zib::test {

// A random list in tick order of every event form the stream holds (notes
// with and without a duration, controllers, metas, sysex of every mode,
// track changes), ending with its end of track. Durations are canonical
// (what the duration code gives back).
inline std::vector<ulvarf::PropEvent> randomPropEvents(size_t count, uint32_t seed)
{
    using namespace zib::ulvarf;
    SampleRandom random(seed);
    std::vector<PropEvent> events;
    uint32_t tick = 0;
    auto data = [&](size_t n) {
        std::vector<uint8_t> bytes(n);
        for (auto& b : bytes) b = uint8_t(random.below(128));
        return bytes;
    };
    for (size_t i = 0; i < count; ++i) {
        const uint32_t gap = random.below(4);
        tick += gap == 0 ? 0 : gap == 1 ? random.below(128) : gap == 2 ? random.below(20000) : random.below(3000000);
        const auto track = uint8_t(random.below(4) == 0 ? random.below(128) : 9 + random.below(3));
        const auto d1 = uint8_t(random.below(128));
        const auto d2 = uint8_t(random.below(128));
        switch (random.below(12)) {
        case 0:
        case 1: {
            const uint32_t duration = PropEvent::DurationTicks(PropEvent::DurationCode(random.below(150000)));
            events.push_back(PropEvent::NoteWithDuration(tick, track, d1, d2, duration, uint8_t(random.below(128)),
                                                         random.below(4) == 0));
            break;
        }
        case 2: {
            static constexpr uint8_t kinds[] = {PropKind::NoteOff, PropKind::NoteOn, PropKind::PolyPressure,
                                                PropKind::ControlChange, PropKind::PitchBend, PropKind::ChannelMode,
                                                PropKind::VexSoundOff, PropKind::VexSoundOn};
            events.push_back(PropEvent::Channel(tick, kinds[random.below(8)], track, d1, d2));
            break;
        }
        case 3:
            events.push_back(PropEvent::Channel(tick, random.below(2) ? PropKind::ProgramChange
                                                                      : PropKind::ChannelPressure,
                                                track, d1));
            break;
        case 4: {
            uint8_t type = uint8_t(random.below(0x7F));
            if (type == PropMeta::EndOfTrack) type = 0x01;
            std::vector<uint8_t> bytes = randomBytes(random.below(4) == 0 ? random.below(300) : random.below(6),
                                                     random.next());
            if (type == PropMeta::Control && !bytes.empty() && bytes[0] == 1) bytes[0] = 2;
            events.push_back(PropEvent::MetaEvent(tick, type, std::move(bytes)));
            break;
        }
        case 5: {
            std::vector<uint8_t> bytes = data(random.below(40));
            const uint32_t mode = random.below(4);
            if (mode <= 1) bytes.insert(bytes.begin(), 0xF0);
            if (mode == 0 || mode == 3) bytes.push_back(0xF7);
            events.push_back(PropEvent::SysExEvent(tick, track, std::move(bytes)));
            break;
        }
        default:
            events.push_back(PropEvent::Channel(tick, PropKind::ControlChange, track, d1, d2));
            break;
        }
    }
    events.push_back(PropEvent::EndOfTrack(tick + random.below(384)));
    return events;
}

// A dense drum-and-bass-like pattern: `count` events on one track, 16th
// notes with controller and pitch-bend moves between them, ending with the
// end of track. Plain note ons and offs when `plain`, else notes with durations.
inline std::vector<ulvarf::PropEvent> densePatternEvents(size_t count, bool plain, uint8_t track = 9)
{
    using namespace zib::ulvarf;
    SampleRandom random(7);
    std::vector<PropEvent> events;
    uint32_t tick = 0;
    while (events.size() < count) {
        const auto key = uint8_t(36 + random.below(24));
        if (plain) {
            events.push_back(PropEvent::Channel(tick, PropKind::NoteOn, track, key, uint8_t(60 + random.below(60))));
            events.push_back(PropEvent::Channel(tick + 90, PropKind::NoteOff, track, key, 64));
        } else {
            events.push_back(PropEvent::NoteWithDuration(tick, track, key, uint8_t(60 + random.below(60)), 90, 64));
        }
        if (random.below(3) == 0)
            events.push_back(PropEvent::Channel(tick + 48, PropKind::ControlChange, track, 11, uint8_t(random.below(128))));
        if (random.below(5) == 0)
            events.push_back(PropEvent::Channel(tick + 48, PropKind::PitchBend, track, 0, uint8_t(random.below(128))));
        tick += 96;
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const PropEvent& a, const PropEvent& b) { return a.tick < b.tick; });
    events.push_back(PropEvent::EndOfTrack(tick));
    return events;
}

} // namespace zib::test
