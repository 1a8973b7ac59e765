#pragma once

#include "mididoc/core/PositionDlgModels.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// The bar:beat:tick field of the MIDI dialogs (Go To, From/Thru, Marker,
// Tempo, Paste, Shift): one absolute tick, typed as a position up to the
// 999th measure.
class PositionEditBModel {
public:
    static constexpr uint32_t kMaxMeasure = 999; // counted from 1
    static constexpr size_t kLimit = 10;         // characters
    static constexpr int kSpinMax = 3072000;

    PositionEditBModel(uint32_t tick, const MeasureContext* context) : start_{tick, 0, 0, 0}, tick_(tick), context_(context) {}
    // Without a map the field shows the record's bar, beat and tick as given.
    PositionEditBModel(const PositionRecord& start, const MeasureContext* context)
        : start_(start), tick_(start.tick), context_(context)
    {
    }

    // The text the field opens with.
    std::string StartText() const;
    uint32_t Tick() const { return tick_; }

    // Digits, ':' and backspace reach the text; Enter and Escape go to the dialog.
    static bool AcceptsChar(char32_t c);

    // Every change of the text. The text is cut at its first character that
    // is no digit, ':' or blank; a position past the 999th measure loses its
    // last character. Nothing when the text stays as typed, else the text to
    // write back (caret at its end) and whether to ring the bell.
    struct Correction {
        std::string text;
        bool bell = false;
    };
    std::optional<Correction> TextChanged(std::string_view text);

    // One spin step: up adds a tick unless that passes the 999th measure
    // (bell), down takes one unless at 0.
    Correction Spin(int step, std::string_view text);

    // Focus lost: the text becomes the tick (0 without a map).
    void FocusLost(std::string_view text) { tick_ = Parse(text).tick; }
    // OK: the text parsed and normalised; the field shows the record's text.
    PositionRecord GetPosition(std::string_view text);

private:
    PositionRecord Parse(std::string_view text) const;

    PositionRecord start_;
    uint32_t tick_;
    const MeasureContext* context_;
};

} // namespace zib
