#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// A number typed into a dialog's edit box: optional blanks and sign, then
// digits (trailing blanks allowed). nullopt for anything else or for a value
// outside 32 bits.
std::optional<int32_t> ParseDialogInt(std::string_view text);

// A position of the MIDI editors: absolute tick and its bar:beat:tick (bar and
// beat counted from 0 here, shown from 1).
struct PositionRecord {
    uint32_t tick = 0;
    uint32_t bar = 0;
    uint32_t beat = 0;
    uint32_t tickInBeat = 0;
};

// The time-signature arithmetic a position field converts through (the
// time-signature map of the MIDI file model provides it).
class MeasureContext {
public:
    virtual ~MeasureContext() = default;
    virtual uint32_t ToTick(uint32_t bar, uint32_t beat, uint32_t tickInBeat) const = 0;
    virtual PositionRecord FromTick(uint32_t tick) const = 0;
};

// The text of a position: "%3d:%02d:%03d", bar and beat from 1.
std::string FormatPositionText(const PositionRecord& position);

// Reads bar:beat:tick from the first line of a position field (bar and beat
// from 1; a missing or zero part counts as the first bar or beat, a missing
// tick as 0), computes the absolute tick through the context and normalises
// bar, beat and tick from it. Without a context the fields stay as parsed.
PositionRecord ParsePositionText(std::string_view text, const MeasureContext* context);

// "Get MIDI Transpose Value" (183): the spin range is -12..12 and the edit
// starts at 0; OK returns the typed number as typed (0 when it is no number).
struct TransposeValueDlgModel {
    static constexpr int kMin = -12;
    static constexpr int kMax = 12;
    int value = 0;
    void Ok(std::string_view typed) { value = ParseDialogInt(typed).value_or(0); }
};

// "Time Signature" (248): measure (from 0), beats per measure and beat value.
class TimeSignatureDlgModel {
public:
    static constexpr std::array<int, 8> kBeatValues = {1, 2, 4, 8, 16, 32, 64, 128};
    static constexpr int kMaxMeasure = 999; // shown from 1
    static constexpr int kMaxBeats = 99;

    uint32_t measure = 0;
    uint8_t beatsPerMeasure = 4;
    uint8_t beatValue = 4;
    bool measureFixed = false;

    // At start: the beat-value entry selected (-1 when the value is none of
    // the eight), and the texts of the two edits.
    int BeatValueEntry() const;
    std::string MeasureText() const { return std::to_string(measure + 1); }
    std::string BeatsText() const { return std::to_string(beatsPerMeasure); }

    // OK: typed numbers are clamped to the spin ranges (measure 1-999, beats
    // 1-99; text that is no number counts as 1), so a measure never wraps
    // below 0 and a numerator is never 0 or cut to 8 bits. A fixed measure
    // keeps the value passed in; no selected entry keeps the beat value.
    void Ok(std::string_view measureText, std::string_view beatsText, int beatValueEntry);
};

// The in-place value editor over a list cell (272): one value lower..upper.
class PositionValueDlgModel {
public:
    PositionValueDlgModel(int value, int lower, int upper);

    // Placement over the cell: the dialog is at least 45 x 26 pixels; the edit
    // sits 2 right of its left, vertically centred, width - 20 wide, 16 high;
    // the spin 3 to the edit's right, centred, 16 x 22. A spin that cannot be
    // that small (the toolkit's minimum) keeps its own size: the dialog grows
    // by what it needs more, the edit keeps its width.
    struct Rect {
        int x, y, width, height;
        bool operator==(const Rect&) const = default;
    };
    struct Layout {
        Rect dialog, edit, spin;
    };
    static constexpr int kSpinWidth = 16, kSpinHeight = 22;
    static Layout Place(const Rect& cell, int spinWidth = kSpinWidth, int spinHeight = kSpinHeight);

    // The dialog counts as initialised once it is placed and shown.
    void Initialised() { initialised_ = true; }

    // While typing: a number above the upper bound puts the last valid value
    // back (returned as the text to show); anything else becomes the last
    // valid value (low 8 bits).
    std::optional<std::string> EditChanged(std::string_view text);

    // Focus lost or OK: the spin position (low 8 bits) clamped to the bounds
    // becomes the value. True when it differs from the starting value (the
    // owner is then told). Nothing happens after Cancel.
    bool Commit(int spinPosition);

    // Escape: cancelled, the starting value restored.
    void Cancel();

    int value() const { return value_; }
    int lastValid() const { return lastValid_; }
    bool cancelled() const { return cancelled_; }
    int lower() const { return lower_; }
    int upper() const { return upper_; }

private:
    int value_, lower_, upper_, start_, lastValid_;
    bool cancelled_ = false;
    bool initialised_ = false;
};

} // namespace zib
