#pragma once

#include <cstdint>

namespace zib {

// Receives the short messages of an open MIDI input, on the device's own
// thread (the injecting caller for the fake device).
class IMidiInClient {
public:
    virtual ~IMidiInClient() = default;

    // `message` packed as status | data1 << 8 | data2 << 16; `timeMs` counts
    // from Start()
    virtual void OnMidiInData(uint32_t message, uint32_t timeMs) = 0;
};

} // namespace zib
