#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib::test {

// One resource of a hand-built DASF container image: its index entry fields
// and its whole resource chunk (head and payload) as stored.
struct DasfResource {
    std::string name; // stored in bytes 0-17, zero-padded (Windows-1252 bytes)
    uint8_t type = 2;
    uint8_t user1 = 0;
    uint8_t user2 = 0;
    uint8_t id1 = 0;
    uint8_t id2 = 0;
    uint8_t reserved = 0;
    std::vector<uint8_t> chunk;
};

// The 24 index bytes of a resource.
std::array<uint8_t, 24> dasfIndexEntry(const DasfResource& resource);

// A container image in the layout the library writes: top chunk 01 00 id2 14,
// root info, index, the resource chunks, directory with every offset.
std::vector<uint8_t> dasfImage(const std::vector<DasfResource>& resources, uint8_t topId2 = 1);

// A serialised resource instance: type, id1, id2, flag, chunk length
// (little-endian), chunk.
std::vector<uint8_t> serialisedResInstance(uint8_t type, uint8_t id1, uint8_t id2, uint8_t flag,
                                           std::span<const uint8_t> chunk);

// A small Qe style chunk (01 00 00 00 ...) as the MIDI-to-Qe converter lays
// it out: header record, pattern list with one drum pattern (a note on key
// 36 for 96 ticks in one 4/4 bar), element VAR1 with its CV 0.
std::vector<uint8_t> sampleQeStyleChunk();

// The one-resource container the PSR conversion command writes: index name
// of at most 16 characters, type 2, resource chunk 06 00 01 10 holding the
// converter's output; S + 96 bytes.
std::vector<uint8_t> psrStyleImage(const std::string& name, std::span<const uint8_t> converterOutput);

// The one-resource container the MIDI-to-Qe converter writes: index name of
// 18 characters, type 2, user byte 1 = 17, resource chunk 06 00 00 10 around
// the style chunk.
std::vector<uint8_t> qeConverterStyleImage(const std::string& name, std::span<const uint8_t> styleChunk);

} // namespace zib::test
