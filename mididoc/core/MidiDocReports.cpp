#include "mididoc/core/MidiDocReports.h"

namespace zib {

MidiDocReports::~MidiDocReports() = default;

MidiDocReports& NoReports()
{
    static MidiDocReports none;
    return none;
}

} // namespace zib
