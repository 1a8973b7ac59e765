#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zib {

// The "Yamaha PSR style --> DASK Qe style conversion" dialog (238): which PSR
// intro, fill-in and ending sections become INT1/INT2, FILL1/FILL2 and
// END1/END2. The conversion text is "ABCD" and six letters: intro pair,
// fill pair, ending pair.
class PsrToQeStyleDlgModel {
public:
    enum class Group { Intro, Fill, Ending };

    // One radio of a group: its control id, letter pair and English label.
    struct Radio {
        int id;
        char first, second;
        std::string_view label;
    };
    static std::span<const Radio> Radios(Group group);

    // Start: a text whose length is not 10 is replaced by the default; each
    // group checks the radio of its letter pair (none when no radio has it).
    explicit PsrToQeStyleDlgModel(std::string_view text);

    // "Default": intro A and B, fill AA and BB, ending A and B.
    void Default();

    // Checking a radio of a group (0 = none checked)
    void Check(Group group, int radioId);
    int checked(Group group) const { return checked_[int(group)]; }

    // OK: each group's checked radio gives its two letters (a group without
    // a checked radio keeps the letters read at start). Returns the new text.
    std::string Ok() const;

private:
    std::string letters_; // the ten letters read at start
    int checked_[3] = {0, 0, 0};
};

} // namespace zib
