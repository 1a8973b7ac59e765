#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zib {

// The tempo field of the MIDI tempo bar: beats per minute, 4-240. A value
// below 4 does not fit the three tempo bytes and one above 240 is past the
// field's range: either puts the old value back.
class SpinEditModel {
public:
    static constexpr int kMin = 4;
    static constexpr int kMax = 240;
    static constexpr size_t kReadLimit = 4;

    int Value() const { return value_; }
    std::string Text() const { return std::to_string(value_); }
    // The player or the bar view shows another tempo.
    void SetValue(int bpm)
    {
        if (bpm >= kMin && bpm <= kMax) value_ = bpm;
    }

    // Focus lost: the text to show and the tempo to set, if any.
    struct Commit {
        std::string text;
        std::optional<int> tempo;
    };
    Commit FocusLost(std::string_view text);

    // One spin step: up below 240, down above 4.
    std::string Spin(int step, std::string_view text);

    // Digits, backspace and Enter reach the field.
    static bool AcceptsChar(char32_t c) { return (c >= '0' && c <= '9') || c == 8 || c == '\r' || c == '\n'; }

private:
    int value_ = 120;
};

} // namespace zib
