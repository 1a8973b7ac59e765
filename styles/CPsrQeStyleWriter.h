#pragma once

#include "styles/CConversionLog.h"
#include "styles/CQeStyleChunkWriter.h"
#include "styles/PsrStylePlan.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zib {

// Writes the Qe style body of a converted PSR style through the Qe chunk
// writer (CQeStyleChunkWriter shows the tree), with the PSR converter's
// values:
//   header        name length 18, "Dunmore" in 18 bytes, track modes 55 50
//                 (DRUM, PERC mode 0, the other six mode 1), tension bits
//                 F8, element mask
//   pattern map   the number of different patterns, then the pattern number
//                 of every use in element, CV and track order
//   patterns      one per number: note-on/off, controller and pitch-wheel
//                 events at 384 ticks per quarter note, the end at the
//                 element's length; BASS and ACC add chord type and key
//   elements      info (CV mask, NTT 3 for INT1 and END1 else 0, time
//                 signature, 22 chord-table bytes), track table (expression,
//                 bank MSB, bank LSB, program, 21, 108), one CV record per CV
//                 over the tracks with sources
// The output never grows past its capacity: such a write gives 114.
class CPsrQeStyleWriter {
public:
    CPsrQeStyleWriter(size_t capacity, CConversionLog& log);

    // The style head and header, the pattern container head and its map;
    // 0, 114, 116 or 127
    int BeginStyle(const PsrStylePlan& plan);
    // One pattern chunk of `element`'s `track` from its events in time order
    // (file ticks); 0, 114, 117 or 120
    int WritePattern(const PsrStylePlan& plan, int element, int track, uint8_t chordType, uint8_t chordKey,
                     std::span<const PsrPatternEvent> events);
    // Closes the pattern container, writes the elements and closes the
    // style; 0, 105, 114 or 117
    int FinishStyle(const PsrStylePlan& plan);

    const std::vector<uint8_t>& Bytes() const { return m_out.Data(); }
    size_t Size() const { return m_out.Size(); }

private:
    int WriteElement(const PsrStylePlan& plan, int element);
    static int CodeOf(CQeStyleChunkWriter::Status status);

    CQeStyleChunkWriter m_out;
    CConversionLog& m_log;
};

} // namespace zib
