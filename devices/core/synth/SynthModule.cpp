// The module that holds the built-in synthesizer (see DeferredSynthBackend):
// its one export makes a SynthBackend on the program's clock.

#include "devices/core/DeferredSynthBackend.h"
#include "devices/core/SynthBackend.h"

extern "C" __attribute__((visibility("default"))) zib::MidiBackend*
ZibCreateSynthBackend(const std::shared_ptr<zib::MidiClock>& clock)
{
    return new zib::SynthBackend(clock);
}

// The program calls the export through this type.
static_assert(std::is_same_v<decltype(&ZibCreateSynthBackend), zib::DeferredSynthBackend::Factory>);
