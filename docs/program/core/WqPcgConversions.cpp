#include "docs/program/core/WqPcgConversions.h"

#include "docs/program/core/PcgLayout.h"

#include <algorithm>

namespace zib {

namespace {

uint16_t wordAt(std::span<const uint8_t> bytes, size_t at)
{
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

void putWord(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

// The 172-byte head of a family-B record from a 164-byte family-A one; the
// sound words are left to the caller.
//
//   family A: 0 name(10) | 10 mode | 11 assign | 12 sound1 | 14 X | 15 sound2 | 17 Y | 18 ...
//   family B: 0 name(16) | 16 | 17 | 18 mode | 19 assign | 20 sound1 | 22 sound2 | 24 X | 25 Y | 26 ...
std::vector<uint8_t> familyBHead(std::span<const uint8_t> s, uint8_t byte16)
{
    std::vector<uint8_t> n(pcg::kProgramRecordB, 0);
    std::fill(n.begin(), n.begin() + 16, uint8_t(' '));
    std::copy(s.begin(), s.begin() + 10, n.begin());
    n[16] = byte16;
    n[17] = 0;
    std::copy(s.begin() + 10, s.begin() + pcg::kProgramRecordA, n.begin() + 18);
    n[24] = s[14];
    n[25] = s[17];
    return n;
}

} // namespace

std::optional<std::vector<uint8_t>> Wq8ProgramToFamilyB(std::span<const uint8_t> record, const Wq8SoundMap& sounds)
{
    if (record.size() != pcg::kProgramRecordA) return std::nullopt;
    std::vector<uint8_t> n = familyBHead(record, 15);
    putWord(n, 20, sounds.Convert(wordAt(record, 12)));
    putWord(n, 22, sounds.Convert(wordAt(record, 15)));
    return n;
}

std::optional<std::vector<uint8_t>> Wq8DrumKitToFamilyB(std::span<const uint8_t> kit, uint16_t kitWord,
                                                        const Wq8SoundMap& drumSounds)
{
    if (kit.size() != pcg::kDrumKitA) return std::nullopt;
    std::vector<uint8_t> n = familyBHead(kit.first(pcg::kProgramRecordA), 14);
    putWord(n, 20, kitWord);
    putWord(n, 22, wordAt(kit, 15));
    n.resize(pcg::kDrumKitB, 0);

    // Map entries, family A (22 bytes): 0 sound | 2 key | 3 fields (3 high, 5 low bits) |
    // 4 | 5 offset against the key | 6 | 8 | 9. Family B (10 bytes, one per key 21-108):
    // 0 sound (0xFFFF none) | 2 high field | 3 low field | 4 | 5 key - offset | 6 | 8 | 9.
    const auto entry = [&n](int e) { return n.begin() + ptrdiff_t(pcg::kProgramRecordB + pcg::kMapEntryB * size_t(e)); };
    for (int e = 0; e < pcg::kMapEntriesB; ++e) {
        auto t = entry(e);
        t[0] = 0xFF;
        t[1] = 0xFF;
        t[3] = 16;
    }
    for (int k = 0; k < pcg::kMapEntriesA; ++k) {
        const auto a = kit.subspan(pcg::kProgramRecordA + pcg::kMapEntryA * size_t(k), pcg::kMapEntryA);
        const int key = a[2];
        if (key < pcg::kFirstKeyB || key >= pcg::kFirstKeyB + pcg::kMapEntriesB) continue;
        auto t = entry(key - pcg::kFirstKeyB);
        const uint16_t sound = drumSounds.Convert(wordAt(a, 0));
        t[0] = uint8_t(sound);
        t[1] = uint8_t(sound >> 8);
        t[2] = uint8_t(a[3] >> 5);
        t[3] = uint8_t(a[3] & 31);
        t[4] = a[4];
        t[5] = uint8_t(key - a[5]);
        t[6] = a[6];
        t[8] = a[8];
        t[9] = a[9];
    }
    const auto empty = [](auto t) { return t[0] == 0xFF && t[1] == 0xFF; };
    if (auto top = entry(pcg::kMapEntriesB - 1); empty(top)) {
        top[0] = 0;
        top[1] = 0;
    }
    // A gap takes the nearest filled key above it, one semitone down per step.
    for (int e = pcg::kMapEntriesB - 2; e >= 0; --e) {
        auto t = entry(e);
        if (!empty(t)) continue;
        const auto above = entry(e + 1);
        for (int b : {0, 1, 2, 3, 5, 6, 8, 9})
            t[b] = above[b];
        t[5] = uint8_t(above[5] - 1);
    }
    return n;
}

} // namespace zib
