#pragma once

#include "mididoc/core/PositionDlgModels.h"

#include <cstdint>

namespace zib::test {

// A time-signature map with one signature throughout (4/4 at 120 ticks per
// beat unless told otherwise), for the position fields and cell editors.
class UniformMeasureContext : public MeasureContext {
public:
    explicit UniformMeasureContext(uint32_t beatsPerBar = 4, uint32_t ticksPerBeat = 120)
        : beats_(beatsPerBar), ticks_(ticksPerBeat)
    {
    }
    uint32_t ToTick(uint32_t bar, uint32_t beat, uint32_t tick) const override
    {
        return bar * beats_ * ticks_ + beat * ticks_ + tick;
    }
    PositionRecord FromTick(uint32_t t) const override
    {
        const uint32_t bar = beats_ * ticks_;
        return {t, t / bar, t % bar / ticks_, t % ticks_};
    }
    uint32_t TicksPerBar() const { return beats_ * ticks_; }

private:
    uint32_t beats_, ticks_;
};

} // namespace zib::test
