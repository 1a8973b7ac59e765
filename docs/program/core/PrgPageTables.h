#pragma once

#include <string_view>
#include <vector>

namespace zib {

// What a field of a program editor page edits and how it is shown.
enum class PrgFieldKind {
    Number,    // a number in an edit field with a spin button
    Note,      // a key 24-120 chosen by note name
    Choice,    // radio buttons, the value being the option's index
    Check,     // one bit
    TimeSigns, // the sign byte of the four times (pages 8-11)
    Fixed,     // shown, never stored (page 5's release level: always 0)
    OscMode,   // page 1: Single / Double / Drum
    Sample,    // page 1: the oscillator's sound, a 16-bit number chosen by name
    Octave,    // page 1: -2 .. 1 chosen by feet ("32'" .. "4'")
    Panpot,    // page 1: 0 .. 31 by pan text, or 255 "OFF"
};

// One field of a page. Offsets are record offsets of family B ('I', 'M') and
// family A ('9', '<', 'H'); a field with an OSC2 offset exists once per
// oscillator, one without once per program.
struct PrgField {
    int id; // control id on its page; radios and spin buttons follow it
    std::string_view label;
    PrgFieldKind kind;
    int offsetB;
    int osc2OffsetB; // -1: once per program
    int offsetA;
    int osc2OffsetA;
    int min = 0;
    int max = 99;
    bool isSigned = false;
    unsigned mask = 0xFF; // the bits the value occupies
    std::vector<std::string_view> options; // Choice labels
};

// One page: its dialog id, title, graph (none, or the page number it draws
// like) and fields.
struct PrgPageDef {
    int page;
    int dialogId;
    std::string_view title;
    bool hasGraph;
    std::vector<PrgField> fields;

    bool HasOscillators() const;
    // The field with `id`, or null.
    const PrgField* Field(int id) const;
};

inline constexpr int kPrgPageCount = 12;
inline constexpr int kPrgGraphButtonId = 1427;

// Page 1-12 in the sheet's order.
const PrgPageDef& PrgPage(int page);

// Control ids shared by the pages (per page: base + these)
int PrgPageBaseId(int page);
inline constexpr int kPrgOsc1Offset = 190;     // OSC1 selector
inline constexpr int kPrgOsc2Offset = 191;     // OSC2 selector
inline constexpr int kPrgNameFieldOffset = 199; // "Program Name:"

} // namespace zib
