#include "mididoc/core/MidiDocDialogs.h"

namespace zib {

MidiDocDialogs::~MidiDocDialogs() = default;

MidiDocDialogs& NoDialogs()
{
    static MidiDocDialogs none;
    return none;
}

} // namespace zib
