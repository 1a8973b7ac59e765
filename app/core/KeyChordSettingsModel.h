#pragma once

#include "app/core/ElementTableSettingsModel.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The "CV KeyChord" page of a MIDI-to-style settings sheet: the key (Wq) or
// key and chord type (Qe) in which each CV of the style was recorded, and
// whether the converter uses these values at all.
//
// Wq table: 36 bytes, one per CV slot, 0-23 = 2 * key + minor ("CMajor",
// "Cmin", "C#Major" ... "Bmin"). Qe table: 80 bytes, two per CV slot: key
// 0-11, chord type 0-21; its entries read key name + chord name ("CMajor",
// "CMaj6" ... "BNo3rdNo5th"). The six boxes list these entries sorted by
// text, so what is stored is always the value whose name is chosen. The page
// shows one element at a time.
class KeyChordSettingsModel : public ElementTableSettingsModel {
public:
    static constexpr int kFirstCombo = 1625; // CV1 .. CV6: 1625 .. 1630
    static constexpr int kBoxCount = 6;

    // Text conversions of the settings (one letter per byte, letter = byte + 'A').
    // A text shorter than the table gives its missing bytes from the default.
    static std::vector<uint8_t> TextToKeyChord(std::string_view text);   // 36 bytes
    static std::string KeyChordToText(std::span<const uint8_t> table);   // 36 letters
    static std::vector<uint8_t> TextToQeKeyChord(std::string_view text); // 80 bytes
    static std::string QeKeyChordToText(std::span<const uint8_t> table); // 80 letters

    KeyChordSettingsModel(ConversionSeries series, std::string_view letters, int determination);

    // Controls
    static int ComboId(int cv) { return kFirstCombo + cv; }
    static std::string CvLabel(int cv); // "CV1: " ...

    // State
    // Boxes beyond the element's CVs (CV3-CV6 of INT, END and FILL elements) are disabled.
    bool BoxEnabled(int cv) const;
    // The entries of every box, in value order (24 Wq, 264 Qe).
    const std::vector<std::string>& Choices() const { return choices_; }
    // The entry box `cv` selects for the element shown; a value out of range
    // shows "CMajor". Only the element's own CVs are selected.
    std::string Selected(int cv) const;

protected:
    void StoreElement(std::span<const std::string> chosen) override;

private:
    int bytesPerSlot() const { return series() == ConversionSeries::Wq ? 1 : 2; }

    std::vector<std::string> choices_;
};

} // namespace zib
