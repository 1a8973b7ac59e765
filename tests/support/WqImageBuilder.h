#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zib::test {

// One 4-byte event of a Wq style image, built field by field.
struct WqEv {
    std::array<uint8_t, 4> b{};

    static WqEv raw(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) { return WqEv{{b0, b1, b2, b3}}; }
    static WqEv words(uint16_t w0, uint16_t w1)
    {
        return raw(uint8_t(w0), uint8_t(w0 >> 8), uint8_t(w1), uint8_t(w1 >> 8));
    }
    // time and duration in ticks (510 = tie), velocity 0-126 (stored halved)
    static WqEv note(uint16_t time, uint8_t note, uint8_t velocity, uint16_t duration)
    {
        return words(uint16_t(0x8000 | ((velocity / 2) & 0x3F) << 9 | (time & 0x1FF)),
                     uint16_t((note & 0x7F) << 9 | (duration & 0x1FF)));
    }
    static WqEv pitchBend(uint16_t time, uint16_t value)
    {
        return words(uint16_t(0x1000 | (time & 0x1FF)), uint16_t((value & 0x7F) | (value >> 7) << 8));
    }
    static WqEv aftertouch(uint16_t time, uint8_t value) { return words(uint16_t(0x2000 | (time & 0x1FF)), value); }
    static WqEv program(uint16_t time, uint16_t soundWord) { return words(uint16_t(0x3000 | (time & 0x1FF)), soundWord); }
    static WqEv control(uint16_t time, uint8_t controller, uint8_t value)
    {
        return words(uint16_t(0x4000 | (time & 0x1FF)), uint16_t(controller | value << 8));
    }
    static WqEv poly(uint16_t time, uint8_t note, uint8_t value)
    {
        return words(uint16_t(0x5000 | (time & 0x1FF)), uint16_t(note | value << 8));
    }
    // mark: 0 plain, 3 first bar of a pattern reference, 2 further bar
    static WqEv bar(uint16_t number, uint8_t timeSig = 19, uint8_t mark = 0, uint8_t pattern = 0)
    {
        return words(uint16_t(0x6000 | (number & 0x3FF)), uint16_t(pattern | ((timeSig & 0x3F) | mark << 6) << 8));
    }
    static WqEv end(uint16_t barsMinusOne) { return words(0x7000, barsMinusOne); }

    WqEv with(int index, uint8_t value) const
    {
        WqEv e = *this;
        e.b[size_t(index)] = value;
        return e;
    }
};

using WqEvents = std::vector<WqEv>;

// Builds a Wq style image in either layout ('9', '<', 'H': layout A, head
// 1168; 'I', 'M': layout B, head 1176): head fields, per-CV key and length,
// chord tables, per-slot and per-pattern events; the offset table is computed
// from the events (slots in order, then patterns).
class WqImageBuilder {
public:
    explicit WqImageBuilder(char model = '9');
    // A builder whose head starts as the fixed empty item of a style file:
    // name "empty     " (layout A) or "InitStyle" (layout B), the pattern
    // table 100 x u16 1043, bytes 16-17 of layout B the u16 15.
    static WqImageBuilder fromEmptyItem(char model);

    // Head
    WqImageBuilder& name(const std::string& name);
    WqImageBuilder& origin(uint8_t value);
    WqImageBuilder& tempo(int bpm);
    WqImageBuilder& timeSig(uint8_t code, bool lowResolution = false);
    WqImageBuilder& retrigger(uint8_t bits);
    WqImageBuilder& wrapAround(int index, uint8_t value); // 0 BASS .. 3 ACC3
    WqImageBuilder& tension(uint8_t bits);
    WqImageBuilder& track(int track, uint16_t soundWord, uint8_t volume, uint8_t pan);

    // Chord variations and chord tables
    WqImageBuilder& cv(int element, int cv, uint8_t keyByte, uint8_t bars);
    WqImageBuilder& chordTable(int element, const std::array<uint8_t, 20>& entries);

    // Events
    WqImageBuilder& slot(int element, int cv, int track, const WqEvents& events);
    WqImageBuilder& slotBytes(int slot, const std::vector<uint8_t>& bytes);
    WqImageBuilder& pattern(int number, uint8_t timeSig, uint8_t bars, const WqEvents& events);

    // Any head byte, written after everything else
    WqImageBuilder& headByte(size_t offset, uint8_t value);

    std::vector<uint8_t> build() const;

    static int cvIndex(int element, int cv) { return element < 4 ? element * 6 + cv : element * 2 + 16 + cv; }
    static int slotOf(int element, int cv, int track) { return cvIndex(element, cv) * 6 + track; }
    static std::vector<uint8_t> bytesOf(const WqEvents& events);

    char model() const { return model_; }
    bool layoutB() const { return model_ == 'I' || model_ == 'M'; }
    size_t headSize() const { return layoutB() ? 1176 : 1168; }

private:
    size_t shift(size_t layoutAOffset) const { return layoutB() ? layoutAOffset + 8 : layoutAOffset; }

    char model_;
    std::vector<uint8_t> head_;
    std::map<int, std::vector<uint8_t>> slots_;
    std::map<int, std::vector<uint8_t>> patterns_;
    std::map<size_t, uint8_t> pokes_;
};

} // namespace zib::test
