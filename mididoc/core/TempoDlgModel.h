#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// "Tempo (Beats Per Minute)": a tempo of 4-250 BPM and a position. A tempo
// below 4 does not fit the three tempo bytes of a MIDI file (and 0 divides
// by zero), so such a typed value leaves the previous one.
class TempoDlgModel {
public:
    static constexpr int kMin = 4;
    static constexpr int kMax = 250;

    TempoDlgModel(int bpm, uint32_t tick);

    int Tempo() const { return bpm_; }
    std::string TempoText() const { return std::to_string(bpm_); }
    uint32_t Tick() const { return tick_; }

    // While typing: a value above 250 puts the previous one back (the text to show).
    std::optional<std::string> TypeTempo(std::string_view text);
    // OK: the typed tempo when it is 4-250, else the previous one; the tick
    // from the position field.
    void Ok(std::string_view tempoText, uint32_t tick);

private:
    int bpm_;
    uint32_t tick_;
};

} // namespace zib
