#pragma once

#include <array>
#include <cstdint>

namespace zib {

class CMidiParserEx;

// The measures of a song as playback walks them: for each of 2000 measures
// the index of its first event (0 for a measure without events), its start
// tick and its length. Ticks convert to measure:beat:tick here, so the
// callback threads never touch the sequence's time-signature map.
class CMeasureTable {
public:
    static constexpr uint32_t kMaxMeasures = 2000;

    struct Row {
        uint32_t firstEvent = 0;
        uint32_t startTick = 0;
        uint32_t length = 0;
        uint8_t numerator = 4;
        uint8_t denominator = 4;
    };

    // Fills the table from the sequence (growing its map to 2000 measures);
    // false when the song's last event lies in measure 1999 or later
    bool Build(CMidiParserEx& sequence);
    bool IsBuilt() const { return m_built; }

    const Row& At(uint32_t measure) const { return m_rows[measure < kMaxMeasures ? measure : kMaxMeasures - 1]; }
    uint32_t Division() const { return m_division; }

    // measure:beat:tick (from 0) of a tick; past the table the last measure's length continues
    void TicksToMbt(uint32_t tick, uint32_t& measure, uint32_t& beat, uint32_t& tickInBeat) const;
    // Ticks per beat of a measure: division x 4 / denominator
    uint32_t TicksPerBeat(uint32_t measure) const;

private:
    std::array<Row, kMaxMeasures> m_rows{};
    uint32_t m_division = 96;
    bool m_built = false;
};

} // namespace zib
