#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zib {

// The "Track Record Input" dialog without its window: for each of the 64
// tracks of a MIDI document, which incoming channels the track records.
// Record channel code: low 16 bits 1-16 one channel, 17 all channels
// ("MIDI Omni"), 18 the channels of the high 16-bit mask (bit n = channel
// n + 1); anything else records nothing.
class RecordInputDlgModel {
public:
    static constexpr int kTracks = 64;
    static constexpr uint32_t kOmni = 17;
    static constexpr uint32_t kMask = 18;

    enum class Choice { Undefined, AllChannels, Channels };

    // `selected` 64 or more selects track 1
    RecordInputDlgModel(const std::array<uint32_t, kTracks>& codes, int selected);

    // The text of a code: "MIDI Chan: %d", "MIDI Omni", "MIDI Chan: " and
    // "%d, " for each channel of a mask, or "<Undefined>"
    static std::string CodeText(uint32_t code);

    // The list
    std::string RowText(int row) const { return CodeText(m_codes[size_t(row)]); }
    int Selected() const { return m_selected; }
    // A click on a row (outside 0-63: nothing). The row left keeps no empty mask.
    void SelectRow(int row);

    // The shown code's controls
    Choice ShownChoice() const;
    bool BoxesEnabled() const { return ShownChoice() == Choice::Channels; }
    bool BoxChecked(int channel) const; // channel 0-15 (box "1" to "16")

    // The controls' actions on the selected row
    void Choose(Choice choice);
    void SetBox(int channel, bool checked);

    // OK: a mask with one channel becomes that channel's code, an empty mask 0
    void Normalise();
    const std::array<uint32_t, kTracks>& Codes() const { return m_codes; }

private:
    std::array<uint32_t, kTracks> m_codes;
    int m_selected = 0;
};

} // namespace zib
