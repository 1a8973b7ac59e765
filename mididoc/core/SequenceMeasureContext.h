#pragma once

#include "mididoc/core/PositionDlgModels.h"

namespace zib {

class CMidiFileEx;

// The position fields' measure:beat:tick arithmetic over a sequence's
// time-signature map (ticks per beat = division x 4 / denominator; past the
// map the last signature continues). A position field holds at most 999
// measures.
class SequenceMeasureContext : public MeasureContext {
public:
    static constexpr uint32_t kMaxMeasures = 999;

    explicit SequenceMeasureContext(CMidiFileEx& sequence) : m_sequence(sequence) {}

    uint32_t ToTick(uint32_t bar, uint32_t beat, uint32_t tickInBeat) const override;
    PositionRecord FromTick(uint32_t tick) const override;
    // Whether the tick lies within the first 999 measures
    bool WithinLimit(uint32_t tick) const;

private:
    CMidiFileEx& m_sequence;
};

} // namespace zib
