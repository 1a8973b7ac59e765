#include "tests/support/QeStyleBuilder.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"

#include "platform/ByteWriter.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace zib::test {

void PropStreamBuilder::delta(std::vector<uint8_t>& out, uint32_t delta)
{
    if (delta == 0) return;
    if (delta >= (1u << 28)) throw std::invalid_argument("delta out of range");
    for (int shift = 21; shift > 0; shift -= 7) {
        if (delta >= (1u << shift)) out.push_back(uint8_t(0x80 | ((delta >> shift) & 0x7F)));
    }
    out.push_back(uint8_t(0x80 | (delta & 0x7F)));
}

void PropStreamBuilder::at(uint32_t tick)
{
    if (tick < tick_) throw std::invalid_argument("events out of tick order");
    delta(out_, tick - tick_);
    tick_ = tick;
}

PropStreamBuilder& PropStreamBuilder::channel(uint32_t tick, uint8_t kind, std::initializer_list<uint8_t> payload,
                                              uint8_t track)
{
    at(tick);
    if (track != track_) {
        out_.push_back(uint8_t(kind | 0x40));
        out_.push_back(uint8_t((track - track_) & 0x7F));
        track_ = track;
    } else {
        out_.push_back(kind);
    }
    size_t i = 0;
    for (uint8_t b : payload) out_.push_back(++i == payload.size() ? uint8_t(b | 0x80) : uint8_t(b & 0x7F));
    return *this;
}

PropStreamBuilder& PropStreamBuilder::noteOn(uint32_t tick, uint8_t key, uint8_t velocity, uint8_t track)
{
    return channel(tick, 1, {key, velocity}, track);
}

PropStreamBuilder& PropStreamBuilder::noteOff(uint32_t tick, uint8_t key, uint8_t velocity, uint8_t track)
{
    return channel(tick, 0, {key, velocity}, track);
}

PropStreamBuilder& PropStreamBuilder::note(uint32_t tick, uint8_t key, uint8_t velocity, uint16_t durationCode,
                                           uint8_t track)
{
    return channel(tick, 7, {key, velocity, uint8_t(durationCode >> 7), uint8_t(durationCode & 0x7F), 64}, track);
}

PropStreamBuilder& PropStreamBuilder::control(uint32_t tick, uint8_t controller, uint8_t value, uint8_t track)
{
    return channel(tick, 3, {controller, value}, track);
}

PropStreamBuilder& PropStreamBuilder::meta(uint32_t tick, uint8_t type, std::initializer_list<uint8_t> data)
{
    at(tick);
    out_.push_back(0x09);
    out_.push_back(type);
    out_.push_back(uint8_t(data.size() >> 7));
    out_.push_back(uint8_t(data.size() & 0x7F));
    out_.insert(out_.end(), data.begin(), data.end());
    return *this;
}

PropStreamBuilder& PropStreamBuilder::sysEx(uint32_t tick, uint8_t mode, std::initializer_list<uint8_t> data,
                                            uint8_t track)
{
    at(tick);
    if (track != track_) {
        out_.push_back(0x4A);
        out_.push_back(uint8_t((track - track_) & 0x7F));
        track_ = track;
    } else {
        out_.push_back(0x0A);
    }
    out_.push_back(mode);
    out_.push_back(uint8_t(data.size() >> 7));
    out_.push_back(uint8_t(data.size() & 0x7F));
    size_t i = 0;
    for (uint8_t b : data) out_.push_back(++i == data.size() ? uint8_t(b | 0x80) : uint8_t(b & 0x7F));
    return *this;
}

PropStreamBuilder& PropStreamBuilder::raw(std::initializer_list<uint8_t> bytes)
{
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<uint8_t> PropStreamBuilder::end(uint32_t tick)
{
    meta(tick, 0x2F, {});
    return out_;
}

QePatternChunk qePattern(uint8_t id, uint32_t length, std::vector<uint8_t> stream, uint8_t chord, uint8_t key)
{
    QePatternChunk layout;
    layout.id = id;
    layout.length = length;
    layout.stream = std::move(stream);
    layout.chord = chord;
    layout.key = key;
    return layout;
}

QeCvRecord qeCv(uint32_t length, std::vector<uint8_t> stream, std::vector<std::pair<uint8_t, uint8_t>> uses)
{
    QeCvRecord layout;
    layout.length = length;
    layout.stream = std::move(stream);
    layout.uses = std::move(uses);
    return layout;
}

namespace {

// One event of a generated pattern, written when the events are in order.
struct GeneratedEvent {
    uint32_t tick = 0;
    size_t order = 0;
    std::function<void(PropStreamBuilder&, uint32_t)> write;
};

void addEvents(std::vector<GeneratedEvent>& out, SampleRandom& r, uint32_t length, size_t events)
{
    auto add = [&](uint32_t tick, std::function<void(PropStreamBuilder&, uint32_t)> write) {
        out.push_back({std::min(tick, length), out.size(), std::move(write)});
    };
    const uint8_t controllers[] = {1, 7, 10, 11, 64, 71, 74};
    const uint8_t rest[] = {0, 100, 64, 100, 0, 64, 64};
    const size_t start = out.size();
    while (out.size() - start < events) {
        const uint32_t tick = r.below(length);
        const uint8_t track = uint8_t(r.below(10) == 0 ? r.below(3) : 0);
        const uint32_t choice = r.below(20);
        if (choice < 12) { // a note pair, now and then across a bar line
            const uint8_t key = uint8_t(30 + r.below(60));
            const uint8_t velocity = uint8_t(1 + r.below(127));
            const uint32_t off = tick + 1 + r.below(choice == 0 ? 3000 : 400);
            add(tick, [=](PropStreamBuilder& b, uint32_t t) { b.noteOn(t, key, velocity, track); });
            add(off, [=](PropStreamBuilder& b, uint32_t t) { b.noteOff(t, key, 64, track); });
        } else if (choice < 14) { // a note with its duration
            const uint8_t key = uint8_t(30 + r.below(60));
            const uint16_t code = uint16_t(r.below(2) ? r.below(400) : 0x2000 + r.below(100));
            add(tick, [=](PropStreamBuilder& b, uint32_t t) { b.note(t, key, 90, code, track); });
        } else if (choice < 17) { // a controller away from rest and back
            const size_t c = r.below(7);
            const uint8_t value = uint8_t(r.below(128));
            const uint32_t back = tick + r.below(300);
            add(tick, [=](PropStreamBuilder& b, uint32_t t) { b.control(t, controllers[c], value, track); });
            add(back, [=](PropStreamBuilder& b, uint32_t t) { b.control(t, controllers[c], rest[c], track); });
        } else if (choice < 18) { // pitch bend and back to the centre
            const uint8_t msb = uint8_t(r.below(128));
            const uint32_t back = tick + r.below(200);
            add(tick, [=](PropStreamBuilder& b, uint32_t t) { b.channel(t, 6, {0, msb}, track); });
            add(back, [=](PropStreamBuilder& b, uint32_t t) { b.channel(t, 6, {0, 64}, track); });
        } else if (choice < 19) {
            const uint8_t letter = uint8_t('a' + r.below(26));
            add(tick, [=](PropStreamBuilder& b, uint32_t t) { b.meta(t, 0x01, {letter, 'x'}); });
        } else {
            const uint8_t value = uint8_t(r.below(128));
            add(tick, [=](PropStreamBuilder& b, uint32_t t) { b.sysEx(t, 0, {0x43, 0x10, value}, track); });
        }
    }
}

std::vector<uint8_t> writeEvents(std::vector<GeneratedEvent>& events, uint32_t length)
{
    std::stable_sort(events.begin(), events.end(), [](const GeneratedEvent& a, const GeneratedEvent& b) {
        return a.tick < b.tick;
    });
    PropStreamBuilder b;
    for (const GeneratedEvent& e : events) e.write(b, e.tick);
    return b.end(length);
}

} // namespace

std::vector<uint8_t> randomPropPattern(SampleRandom& random, uint32_t length, size_t events)
{
    std::vector<GeneratedEvent> generated;
    if (length > 0) addEvents(generated, random, length, events);
    return writeEvents(generated, length);
}

std::vector<uint8_t> repeatedPropFigure(SampleRandom& random, uint32_t bars, size_t events)
{
    constexpr uint32_t kBar = 1536;
    std::vector<GeneratedEvent> figure;
    addEvents(figure, random, kBar - 1, events);
    std::vector<GeneratedEvent> all;
    for (uint32_t bar = 0; bar < bars; ++bar) {
        for (const GeneratedEvent& e : figure) all.push_back({e.tick + bar * kBar, all.size(), e.write});
    }
    return writeEvents(all, bars * kBar);
}

std::vector<uint8_t> qeHeaderRecord(const std::string& name, uint16_t trackModes, uint8_t tensionBits,
                                    uint16_t elementMask, bool longForm, uint8_t thirdFlagBits,
                                    std::array<uint8_t, 8> trackBytes, uint8_t styleA, uint8_t styleB)
{
    zib::ByteWriter w;
    w.u8(uint8_t(name.size()));
    w.text(name);
    w.u16be(trackModes);
    w.u8(tensionBits);
    w.u16be(elementMask);
    if (longForm) {
        w.u8(thirdFlagBits);
        w.bytes(trackBytes);
        w.u8(styleA);
        w.u8(styleB);
    }
    return w.take();
}

std::vector<uint8_t> qeStyleChunk(const QeStyleLayout& layout)
{
    ChunkBuilder b;
    b.open(0x01, layout.version, 0, 0x00);
    if (layout.withHeader) b.leaf(0x01, 0, layout.headerId2, 0x08, layout.header);
    b.open(0x02, 0, 0, 0x00);
    if (layout.withMap) {
        zib::ByteWriter map;
        if (layout.map.empty() && layout.mapChunks == 0) {
            map.u16be(uint16_t(layout.patterns.size()));
            map.u16be(uint16_t(layout.patterns.size()));
            for (size_t i = 0; i < layout.patterns.size(); ++i) map.u16be(uint16_t(i + 1));
        } else {
            map.u16be(layout.mapChunks);
            map.u16be(uint16_t(layout.map.size()));
            for (uint16_t v : layout.map) map.u16be(v);
        }
        b.leaf(0x01, 0, 0, 0x08, map.bytes());
    }
    for (const QePatternChunk& p : layout.patterns) {
        zib::ByteWriter w;
        w.u32be(p.length);
        w.u32be(p.declaredSize.value_or(uint32_t(p.stream.size())));
        w.bytes(p.stream);
        if (p.id != 2) {
            w.u8(p.chord);
            w.u8(p.key);
        }
        b.leaf(p.id, 0, 0, 0x08, w.bytes());
    }
    b.close();
    for (const QeElementChunk& e : layout.elements) {
        b.open(0x03, 0, 0, 0x00);
        zib::ByteWriter info;
        info.u8(e.cvMask);
        info.u8(e.ntt);
        info.u8(e.signature);
        info.u8(uint8_t(e.chordAssign.size()));
        info.bytes(e.chordAssign);
        b.leaf(0x01, 0, 0, 0x08, info.bytes());
        if (e.trackTable.empty()) {
            zib::ByteWriter tracks;
            for (int t = 0; t < 8; ++t) {
                for (uint8_t v : {100, 0, 0, 0, 21, 108}) tracks.u8(v);
            }
            b.leaf(0x02, 0, 0, 0x08, tracks.bytes());
        } else {
            b.leaf(0x02, 0, 0, 0x08, e.trackTable);
        }
        for (const QeCvRecord& cv : e.cvs) {
            zib::ByteWriter w;
            w.u32be(cv.length);
            w.u32be(cv.declaredSize.value_or(uint32_t(cv.stream.size())));
            w.bytes(cv.stream);
            w.u8(cv.declaredUses.value_or(uint8_t(cv.uses.size())));
            for (auto [type, track] : cv.uses) {
                w.u8(type);
                w.u8(track);
            }
            b.leaf(0x03, 0, 0, 0x08, w.bytes());
        }
        b.close();
    }
    b.close();
    return b.bytes();
}

std::vector<uint8_t> qeStyleResource(std::span<const uint8_t> styleChunk, uint8_t type)
{
    zib::ByteWriter wrapper;
    wrapper.bytes(chunkHead(type == 2 ? 0x06 : 0x0C, 0, 0, 0x10, uint32_t(styleChunk.size())));
    wrapper.bytes(styleChunk);
    return serialisedResInstance(type, 0, 0, 0, wrapper.bytes());
}

} // namespace zib::test
