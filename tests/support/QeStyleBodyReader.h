#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace zib::test {

// The parts of a Qe style body (the style chunk 01 .. .. .. that the Wq and
// PSR converters write), read independently of the library and of the
// converters' own writer.
struct QeBodyPattern {
    uint8_t id = 0;
    uint32_t length = 0;
    std::vector<uint8_t> stream;
    std::optional<std::pair<uint8_t, uint8_t>> chordKey; // ids 3 and 4
    std::vector<uint8_t> chunk;                          // head and payload
};
struct QeBodyCv {
    uint32_t length = 0;
    std::vector<uint8_t> stream;
    std::vector<std::pair<uint8_t, uint8_t>> uses; // (type, track)
};
struct QeBodyElement {
    uint8_t cvMask = 0;
    uint8_t ntt = 0;
    uint8_t timeSig = 0;
    std::vector<uint8_t> chordAssign;
    std::vector<uint8_t> trackTable;
    std::vector<QeBodyCv> cvs;
    std::vector<uint8_t> chunk; // head and payload
};
struct QeStyleBody {
    std::string error; // empty when every chunk is where it belongs and every size is right
    std::vector<uint8_t> header; // payload of the header record
    uint16_t mapChunks = 0;
    std::vector<uint16_t> map;
    std::vector<QeBodyPattern> patterns;
    std::vector<QeBodyElement> elements;
};

QeStyleBody readQeStyleBody(std::span<const uint8_t> body);

// One event of a property event stream, for assertions: absolute tick,
// kind, track (after the track changes), payload bytes as stored.
struct PropItem {
    uint32_t tick = 0;
    uint8_t kind = 0;
    uint8_t track = 0;
    std::vector<uint8_t> payload;
    bool operator==(const PropItem&) const = default;
};
// The events of a stream; an empty result with `ok` false when it is damaged.
std::vector<PropItem> readPropStream(std::span<const uint8_t> stream, bool* ok = nullptr);

} // namespace zib::test
