#pragma once

#include "app/core/ConversionSeries.h"

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
// element at a time; its choices reach the table when another element is
// chosen and on OK. Every box lists CV names sorted by text, so what is
// stored is always the CV whose name is chosen.
class ChordTableSettingsModel {
public:
    static constexpr int kAcceptUserRadio = 1623;     // determination 0: the converter uses the table
    static constexpr int kLetApplicationRadio = 1624; // determination 1: the converter fills it itself

    // Text conversions of the settings (one letter per byte, letter = byte + 'A').
    // A text shorter than the table gives its missing bytes from the default.
    static std::vector<uint8_t> TextToChordTable(std::string_view text);   // 200 bytes
    static std::string ChordTableToText(std::span<const uint8_t> table);   // 200 letters
    static std::vector<uint8_t> TextToQeChordTable(std::string_view text); // 264 bytes
    static std::string QeChordTableToText(std::span<const uint8_t> table); // 264 letters

    ChordTableSettingsModel(ConversionSeries series, std::string_view letters, int determination);

    // Controls
    ConversionSeries series() const { return series_; }
    int ElementCount() const { return ElementCountOf(series_); }
    int ChordTypeCount() const { return ChordTypeCountOf(series_); }
    int ElementRadioId(int element) const;        // Wq 1001 + e, Qe 1639 + e
    int ComboId(int chordType) const;             // Wq 1583 + t, Qe 1651 + t
    static std::string ChordLabel(int chordType); // "Major:" ...

    // State
    int determination() const { return determination_; }
    int element() const { return element_; }
    const std::vector<uint8_t>& table() const { return table_; }
    int CheckedDeterminationRadio() const { return determination_ ? kLetApplicationRadio : kAcceptUserRadio; }
    // Element radios and chord-type boxes are usable only with user-defined settings.
    bool ControlsEnabled() const { return determination_ == 0; }
    // The entries of every box for the element shown: "CV1".."CV6" or "CV1", "CV2".
    std::vector<std::string> Choices() const;
    // The entry box t selects: "" when the table names a CV the element does not have.
    std::string Selected(int chordType) const;

    // Actions. `chosen` holds the text each chord-type box shows ("" = none).
    // Another element: the shown element's choices are stored first.
    void ChooseElement(int element, std::span<const std::string> chosen);
    // A determination radio was checked.
    void ChooseDetermination(int radioId);
    // OK (and Apply): the shown element's choices are stored, the
    // determination taken from the checked radio.
    void Ok(std::span<const std::string> chosen, int checkedDeterminationRadio);

    // The table as the setting's letters.
    std::string Letters() const;

private:
    void StoreElement(std::span<const std::string> chosen);

    ConversionSeries series_;
    int determination_;
    int element_ = 0;
    std::vector<uint8_t> table_;
};

} // namespace zib
