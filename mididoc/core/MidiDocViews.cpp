#include "mididoc/core/MidiDocViews.h"

namespace zib {

MidiDocViews::~MidiDocViews() = default;

MidiDocViews& NoViews()
{
    static MidiDocViews none;
    return none;
}

} // namespace zib
