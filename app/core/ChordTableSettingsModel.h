#pragma once

#include "app/core/ElementTableSettingsModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The chord-table page of a MIDI-to-style settings sheet ("Chord Table" of
// the Wq series, "QE4K Style Chord Table Settings" of the Qe series): for
// each style element, which CV plays each chord type, and whether the
// converter uses that table at all.
//
// The table holds one byte per element and chord type, at element * 20 + t
// (Wq) or element * 22 + t (Qe): 0 = CV1 ... 5 = CV6. The page shows one
// element at a time. Every box lists CV names sorted by text, so what is
// stored is always the CV whose name is chosen.
class ChordTableSettingsModel : public ElementTableSettingsModel {
public:
    // Text conversions of the settings (one letter per byte, letter = byte + 'A').
    // A text shorter than the table gives its missing bytes from the default.
    static std::vector<uint8_t> TextToChordTable(std::string_view text);   // 200 bytes
    static std::string ChordTableToText(std::span<const uint8_t> table);   // 200 letters
    static std::vector<uint8_t> TextToQeChordTable(std::string_view text); // 264 bytes
    static std::string QeChordTableToText(std::span<const uint8_t> table); // 264 letters

    ChordTableSettingsModel(ConversionSeries series, std::string_view letters, int determination);

    // Controls
    int ChordTypeCount() const { return ChordTypeCountOf(series()); }
    int ComboId(int chordType) const;             // Wq 1583 + t, Qe 1651 + t
    static std::string ChordLabel(int chordType); // "Major:" ...

    // State
    // The entries of every box for the element shown: "CV1".."CV6" or "CV1", "CV2".
    std::vector<std::string> Choices() const;
    // The entry box t selects: "" when the table names a CV the element does not have.
    std::string Selected(int chordType) const;

protected:
    void StoreElement(std::span<const std::string> chosen) override;
};

} // namespace zib
