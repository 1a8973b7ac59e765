#include "devices/CInstrumentNames.h"

#include "devices/core/CInstrumentStore.h"

namespace zib {

std::string CInstrumentNames::NoteName(int port, int channel, int bank, int program, int note) const
{
    return store_.GetNoteNameText(port, channel, bank, program, note);
}

std::string CInstrumentNames::ControllerName(int port, int channel, int controller) const
{
    return store_.GetControllerNameText(port, channel, controller);
}

} // namespace zib
