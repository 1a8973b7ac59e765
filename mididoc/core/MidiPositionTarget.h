#pragma once

#include "mididoc/core/PositionDlgModels.h"

#include <cstdint>

namespace zib {

// What the fields of the MIDI bars move: the position, From and Thru markers
// and tempo of the active MIDI window (its bar view). The bars ask for the
// target when a field takes the focus; no active MIDI window, no target.
class MidiPositionTarget {
public:
    virtual ~MidiPositionTarget() = default;

    virtual const MeasureContext& Measures() const = 0;
    virtual uint32_t CurrentTick() const = 0;
    virtual uint32_t FromTick() const = 0;
    virtual uint32_t ThruTick() const = 0;
    virtual void GoToTick(uint32_t tick) = 0;
    virtual void SetFromTick(uint32_t tick) = 0;
    virtual void SetThruTick(uint32_t tick) = 0;
    // A tempo of 0 or the current one changes nothing.
    virtual void ChangeTempo(int bpm) = 0;
    // The focus goes back to the MIDI window after Enter or Escape.
    virtual void TakeFocus() = 0;
};

} // namespace zib
