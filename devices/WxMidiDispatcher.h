#pragma once

#include "devices/core/MidiDispatcher.h"

namespace zib {

// Runs a posted MIDI session's callbacks on the UI thread, through the
// application's event queue (CallAfter). The program's one instance lives
// as long as the program.
class WxMidiDispatcher : public MidiDispatcher {
public:
    static WxMidiDispatcher& Get();
    void Post(std::function<void()> call) override;
};

} // namespace zib
