#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zib {

// The "Scale Dialog" (205) of user scale n without its window: the label
// "UserScale %02d" (n + 1) and the twelve signed detune values of the notes
// C to H, each held to -128..127, what one byte holds.
class ScaleDlgModel {
public:
    ScaleDlgModel(int scale, const std::array<uint8_t, 12>& bytes);

    std::string Label() const;
    int Value(int note) const { return values_[size_t(note)]; }
    // A typed value; false, keeping the value, for text that is no number in range.
    bool SetText(int note, const std::string& text);
    void SetValue(int note, int value);
    std::array<uint8_t, 12> Ok() const;

private:
    int scale_;
    std::array<int, 12> values_{};
};

} // namespace zib
