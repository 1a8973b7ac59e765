#pragma once

#include "docs/program/core/Wq8SoundMap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib {

// Record conversions from the Wq8 layout (family A) to the Wq41 / WqR65
// layout (family B). The program document's conversion operations call them
// and then give the item its new model letter, size and name.

// A 164-byte Wq8 program record as a 172-byte record: the name blank-padded
// to 16 characters, bytes 16-17 = 15, 0, the record moved up by 8 bytes, and
// the family-A order of sound 1, X, sound 2, Y at 12-17 turned into sound 1,
// sound 2, X, Y at 20-25 with both sounds converted by `sounds`. Nullopt when
// the record is not 164 bytes long.
std::optional<std::vector<uint8_t>> Wq8ProgramToFamilyB(std::span<const uint8_t> record, const Wq8SoundMap& sounds);

// A 1484-byte Wq8 drum kit (head and 60-entry map) as a 1052-byte kit (head
// and 88-entry map, keys 21-108): the head as a program with byte 16 = 14,
// the word at 20 = `kitWord` and the oscillator-2 word kept; each map entry
// moved to its key with its sound converted by `drumSounds`; the top key
// given sound 0 when empty; every other empty key filled from the key above
// it, one semitone lower per step. Nullopt when the kit is not 1484 bytes long.
std::optional<std::vector<uint8_t>> Wq8DrumKitToFamilyB(std::span<const uint8_t> kit, uint16_t kitWord,
                                                        const Wq8SoundMap& drumSounds);

} // namespace zib
