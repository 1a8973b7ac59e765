#pragma once

#include "styles/CConversionLog.h"
#include "styles/CYamahaPsrCasmMapper.h"
#include "styles/PsrStylePlan.h"

#include <cstdint>

namespace zib {

// Lays a Yamaha style out as a Qe style once the first pass has found its
// sections: which elements exist, which source channels sound for each Qe
// chord type, the chord variations (CVs) those masks make, the Qe track of
// every source channel, the track sounds and the pattern numbers. Every
// step is logged; problems raise the counters.
class CPsrStylePlanner {
public:
    CPsrStylePlanner(PsrStylePlan& plan, const CYamahaPsrCasmMapper& mapper, CConversionLog& log,
                     PsrCounters& counters);

    // The whole plan; 0 or a PsrConvertError code (108, 115, 119, 122, 123)
    int Run();

private:
    // Steps of Run, in order
    void DefineElements();
    int FindChordMutes();
    void LogCasmReport();
    void LogChordMutes();
    void LogBars();
    int AssignChordVariations(int element);
    int AddCv(int element, uint16_t mask);
    void SplitTrack(int element, int cv, int track);
    void TakeSounds(int element);
    void LogChordTable(int element);
    void NumberPatterns();

    // The Ctab chord type of a channel in a section (0 when it has none)
    uint8_t ChordTypeOf(int section, int channel) const;
    const char* ChordTypeName(int section, int channel) const;
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3)));

    PsrStylePlan& m_plan;
    const CYamahaPsrCasmMapper& m_mapper;
    CConversionLog& m_log;
    PsrCounters& m_counters;
};

} // namespace zib
