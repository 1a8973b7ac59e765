#include "ui/core/InstrumentNames.h"

#include "midi/ValueTexts.h"

namespace zib {

InstrumentNames::~InstrumentNames() = default;

std::string InstrumentNames::NoteName(int, int, int, int, int note) const
{
    return GetNoteOctaveText(note, 0);
}

std::string InstrumentNames::ControllerName(int, int, int controller) const
{
    return GetControllerName(controller);
}

const InstrumentNames& DefaultInstrumentNames()
{
    static const InstrumentNames names;
    return names;
}

} // namespace zib
