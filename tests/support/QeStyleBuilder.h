#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zib::test {

// Writes a property event stream by hand, independently of the library:
// deltas (bit 7 set on every byte), kind bytes with track changes, payloads.
class PropStreamBuilder {
public:
    // Events at absolute ticks, in tick order
    PropStreamBuilder& channel(uint32_t tick, uint8_t kind, std::initializer_list<uint8_t> payload, uint8_t track = 0);
    PropStreamBuilder& noteOn(uint32_t tick, uint8_t key, uint8_t velocity = 100, uint8_t track = 0);
    PropStreamBuilder& noteOff(uint32_t tick, uint8_t key, uint8_t velocity = 64, uint8_t track = 0);
    PropStreamBuilder& note(uint32_t tick, uint8_t key, uint8_t velocity, uint16_t durationCode, uint8_t track = 0);
    PropStreamBuilder& control(uint32_t tick, uint8_t controller, uint8_t value, uint8_t track = 0);
    PropStreamBuilder& meta(uint32_t tick, uint8_t type, std::initializer_list<uint8_t> data);
    PropStreamBuilder& start(uint32_t tick, uint8_t use) { return meta(tick, 0x7E, {3, use, 0, 0}); }
    PropStreamBuilder& stop(uint32_t tick, uint8_t use) { return meta(tick, 0x7E, {4, use}); }
    PropStreamBuilder& tempo(uint32_t tick, uint8_t percent) { return meta(tick, 0x7E, {2, percent}); }
    PropStreamBuilder& sysEx(uint32_t tick, uint8_t mode, std::initializer_list<uint8_t> data, uint8_t track = 0);
    PropStreamBuilder& raw(std::initializer_list<uint8_t> bytes);
    // The end of track (09 2F 00 00) and the stream.
    std::vector<uint8_t> end(uint32_t tick);
    std::vector<uint8_t> bytes() const { return out_; }

    static void delta(std::vector<uint8_t>& out, uint32_t delta);

private:
    void at(uint32_t tick);

    std::vector<uint8_t> out_;
    uint32_t tick_ = 0;
    uint8_t track_ = 0;
};

class SampleRandom;

// A random pattern of about `events` events over `length` ticks, ending at
// `length`: note pairs (some crossing bar lines), notes with a duration,
// controllers and pitch bends that leave their rest value and come back,
// texts and system exclusive messages, on tracks 0-2.
std::vector<uint8_t> randomPropPattern(SampleRandom& random, uint32_t length, size_t events);
// A one-bar (1536 ticks) figure of about `events` events repeated `bars` times.
std::vector<uint8_t> repeatedPropFigure(SampleRandom& random, uint32_t bars, size_t events);

// The parts of a Qe style chunk tree, each written as given (so a test can
// make any of them inconsistent).
struct QePatternChunk {
    uint8_t id = 2;
    uint32_t length = 1536;
    std::vector<uint8_t> stream;
    uint8_t chord = 0;
    uint8_t key = 0;
    std::optional<uint32_t> declaredSize; // S as stored, when it is to lie
};
struct QeCvRecord {
    uint32_t length = 1536;
    std::vector<uint8_t> stream;
    std::vector<std::pair<uint8_t, uint8_t>> uses; // (type, track)
    std::optional<uint32_t> declaredSize;          // S as stored, when it is to lie
    std::optional<uint8_t> declaredUses;           // N as stored, when it is to lie
};
struct QeElementChunk {
    uint8_t cvMask = 0x01;
    uint8_t ntt = 1;
    uint8_t signature = 0x22; // 4/4
    std::vector<uint8_t> chordAssign = std::vector<uint8_t>(22, 0);
    std::vector<uint8_t> trackTable; // empty: 8 x (100, 0, 0, 0, 21, 108)
    std::vector<QeCvRecord> cvs;
};
struct QeStyleLayout {
    uint8_t version = 0;
    uint8_t headerId2 = 0;
    std::vector<uint8_t> header;   // the header record as stored
    bool withHeader = true;        // false: no header chunk at all
    uint16_t mapChunks = 0;
    std::vector<uint16_t> map;     // empty with mapChunks 0: the identity map over the patterns
    bool withMap = true;
    std::vector<QePatternChunk> patterns;
    std::vector<QeElementChunk> elements;
};

// Chunk and record layouts from their main fields.
QePatternChunk qePattern(uint8_t id, uint32_t length, std::vector<uint8_t> stream, uint8_t chord = 0, uint8_t key = 0);
QeCvRecord qeCv(uint32_t length, std::vector<uint8_t> stream, std::vector<std::pair<uint8_t, uint8_t>> uses);

// A header record: name, track modes, tension bits, element mask and, for
// the long form, third-flag bits, 8 track bytes, style bytes A and B.
std::vector<uint8_t> qeHeaderRecord(const std::string& name, uint16_t trackModes, uint8_t tensionBits,
                                    uint16_t elementMask, bool longForm = false, uint8_t thirdFlagBits = 0,
                                    std::array<uint8_t, 8> trackBytes = {}, uint8_t styleA = 0, uint8_t styleB = 0);

// The style chunk (01 version 00 00) of a layout.
std::vector<uint8_t> qeStyleChunk(const QeStyleLayout& layout);

// A serialised resource instance of `type` whose chunk is the wrapper
// (06 00 00 10 for type 2, 0C 00 00 10 otherwise) around a style chunk.
std::vector<uint8_t> qeStyleResource(std::span<const uint8_t> styleChunk, uint8_t type = 2);

} // namespace zib::test
