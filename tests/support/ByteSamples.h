#pragma once

// Sample byte contents for compression tests and benchmarks. Header-only so
// that the benchmarks can use them without the test support library.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace zib::test {

// A small fixed generator, so every platform makes the same bytes.
class SampleRandom {
public:
    explicit SampleRandom(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    uint32_t below(uint32_t n) { return next() % n; }

private:
    uint32_t state_;
};

inline std::vector<uint8_t> randomBytes(size_t n, uint32_t seed = 1)
{
    SampleRandom random(seed);
    std::vector<uint8_t> out(n);
    for (auto& b : out) b = uint8_t(random.next() >> 24);
    return out;
}

inline std::vector<uint8_t> periodicBytes(size_t n, std::initializer_list<uint8_t> period)
{
    std::vector<uint8_t> out(n);
    const std::vector<uint8_t> p(period);
    for (size_t i = 0; i < n; ++i) out[i] = p[i % p.size()];
    return out;
}

// Pattern data shaped like property event streams: bars of notes (delta with
// bit 7 set, kind 07, key, velocity, duration, off velocity) whose rhythm and
// keys repeat from bar to bar with some variation, with a controller now and
// then, as style patterns are.
inline std::vector<uint8_t> midiLikeBytes(size_t n, uint32_t seed = 7)
{
    SampleRandom random(seed);
    std::vector<uint8_t> out;
    out.reserve(n + 64);
    std::vector<uint8_t> bar;
    while (out.size() < n) {
        if (bar.empty() || random.below(4) == 0) { // a new bar now and then
            bar.clear();
            const uint32_t notes = 4 + random.below(12);
            const uint8_t root = uint8_t(36 + random.below(24));
            for (uint32_t i = 0; i < notes; ++i) {
                const uint32_t delta = 24 * (1 + random.below(8));
                if (delta >= 128) bar.push_back(uint8_t(0x80 | (delta >> 7)));
                bar.push_back(uint8_t(0x80 | (delta & 0x7F)));
                bar.push_back(0x07);
                bar.push_back(uint8_t(root + random.below(12)));
                bar.push_back(uint8_t(64 + random.below(63)));
                const uint32_t duration = 12 * (1 + random.below(16));
                bar.push_back(uint8_t(duration >> 7));
                bar.push_back(uint8_t(duration & 0x7F));
                bar.push_back(uint8_t(0x80 | 64));
                if (random.below(6) == 0) { // a controller
                    bar.push_back(0x03);
                    bar.push_back(uint8_t(random.below(2) ? 1 : 11));
                    bar.push_back(uint8_t(0x80 | random.below(128)));
                }
            }
        }
        out.insert(out.end(), bar.begin(), bar.end());
        if (random.below(3) == 0 && !out.empty()) out[out.size() - 1 - random.below(uint32_t(bar.size()))] ^= 1;
    }
    out.resize(n);
    return out;
}

} // namespace zib::test
