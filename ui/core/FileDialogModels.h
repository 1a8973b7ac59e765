#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zib {

// The format drop-down of the MIDI-to-style file dialog: one line per target
// keyboard format; the fifth character (index 4) is the model letter.
class MidiToStyFormatModel {
public:
    static constexpr std::array<std::string_view, 5> kFormats = {
        "DASK9 - Dask Wq8 format",    "DASKM - Dask WqR65 format",  "DASKI - Dask Wq41 format",
        "DASKH - Dask WqT517 format", "DASK< - Dask Wq6Q/M format",
    };
    static constexpr std::string_view kLabel = "DASK-Wq File Format";

    explicit MidiToStyFormatModel(uint32_t modelLetter) : modelLetter_(modelLetter) {}

    // The line preselected for the letter given (-1: the combo starts empty).
    int PreselectedEntry() const;

    // When the dialog goes: the combo's text picks the letter only when it has
    // at least five characters and its fifth is one of the five letters
    // (a list line, in any language); anything else keeps the letter.
    void Finish(std::string_view comboText);

    uint32_t modelLetter() const { return modelLetter_; }

private:
    uint32_t modelLetter_;
};

// The three-way overwrite question of batch conversions (dialog 150): each
// button's result with its number.
enum class ConfirmOverwriteResult {
    Yes = 6,
    YesToAll = 1085,
    No = 7,
    Cancel = 2,
};

} // namespace zib
