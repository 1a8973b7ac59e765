#pragma once

#include "mididoc/core/PositionDlgModels.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// A bar:beat:tick field of the MIDI bars: the current position (mode 0), the
// From marker (1) or the Thru marker (2) of the active MIDI window. Escape
// restores the text it opened with; Enter or leaving the field commits.
class PositionEditAModel {
public:
    enum class Mode { Current = 0, From = 1, Thru = 2 };
    static constexpr size_t kReadLimit = 40; // characters read from the field
    static constexpr int kSpinMax = 3000000;

    explicit PositionEditAModel(Mode mode) : mode_(mode) {}
    Mode GetMode() const { return mode_; }

    // Focus gained in a MIDI window: the tick of the mode's position; the
    // text to show (selected).
    std::string FocusGained(uint32_t tick, const MeasureContext& context);

    // Escape: the next focus loss restores the old text.
    void Cancel() { cancel_ = true; }

    // Focus lost: the text to show and, unless cancelled, the tick to go to
    // (mode 0) or to set as From or Thru.
    struct Commit {
        std::string text;
        std::optional<uint32_t> tick;
    };
    Commit FocusLost(std::string_view text, const MeasureContext& context);

    // One spin step: a tick up, or down unless at 0.
    std::string Spin(int step, std::string_view text, const MeasureContext& context);

    // Digits, ':' and backspace reach the text.
    static bool AcceptsChar(char32_t c) { return (c >= '0' && c <= '9') || c == ':' || c == 8; }

private:
    Mode mode_;
    uint32_t tick_ = 0;
    bool cancel_ = false;
};

} // namespace zib
