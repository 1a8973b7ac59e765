#pragma once

#include "tests/support/DasfImageBuilder.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace zib::test {

// A Qe style or pad made through the library's style editor.
struct QeStyleRecipe {
    std::string name = "Style";
    uint8_t version = 0;            // 0 Qe4k, 1 Qe9z
    std::vector<int> elements{0};   // elements with one CV (CV 0) of notes on DRUM and BASS
    uint32_t program = 0;           // track program of element 0, track 2 (0: left)
    bool pad = false;               // a pad (type 9) instead of a style (type 2)
};

// The serialised resource instance (compressed), as a style item holds it.
std::vector<uint8_t> qeStyleInstance(const QeStyleRecipe& recipe);
// The resource chunk of a serialised instance (everything after its 8-byte head).
std::vector<uint8_t> resourceChunkOf(std::span<const uint8_t> instance);

// A container entry of a style (type 2), pad (type 9) or STS block (type 7).
DasfResource qeEntry(const std::string& name, uint8_t type, uint8_t bank, uint8_t position,
                     std::span<const uint8_t> instance);
// An STS block chunk: id 0x0B, header words A and B as its two further id
// bytes, `payload` bytes counting up.
std::vector<uint8_t> stsChunk(uint8_t wordA, uint8_t wordB, size_t payload = 40);
DasfResource stsEntry(const std::string& name, uint8_t bank, uint8_t position, uint8_t wordA = 0,
                      uint8_t wordB = 0);

// STS data as a style's STS item holds it (a serialised type-7 instance):
// the arranger bytes (bank 3, position 4, tempo 120, variation 1, element 2,
// fills 7 and 8), eight style track records with sounds (121, t, t + 1),
// volume 100 and pan 64, one 261-byte STS block per entry of `slots` (its
// first byte the slot, its realtime tracks (121, 0, 10 + slot)), then
// `tail` bytes; the lengths at 4, 12, 20 and 24 agree with the size.
std::vector<uint8_t> stsInstance(const std::vector<uint8_t>& slots, size_t tail = 6, uint8_t wordA = 0,
                                 uint8_t wordB = 0);
// An STS entry of a container holding that data.
DasfResource stsDataEntry(const std::string& name, uint8_t bank, uint8_t position, const std::vector<uint8_t>& slots);
// A 261-byte STS block for `slot` whose head bytes count up from `seed`.
std::vector<uint8_t> stsBlock(uint8_t slot, uint8_t seed);

// A small Wq style item with events on DRUM and BASS of VAR1 CV1, in the
// layout of `model` (layout B for 'I' and 'M').
std::vector<uint8_t> smallWq8Image(const std::string& name = "Rock", char model = '9');

// A Wq style file: "DASK", the model letter, the head (96 or 224 bytes) with
// the item sizes in their slots (`slots` gives the slot of each item; by
// default 0, 1, 2 ...), then the items back to back.
std::vector<uint8_t> wqStyleFile(char model, const std::vector<std::vector<uint8_t>>& items,
                                 std::vector<int> slots = {});

// A file written into `dir`.
std::string writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes);

} // namespace zib::test
