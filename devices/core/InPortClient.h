#pragma once

#include <cstdint>

namespace zib {

class InPort;

// Receives the channel messages of a started input port, on the session's
// delivery thread (direct) or the UI thread (posted), never under a lock of
// the layer.
class InPortClient {
public:
    virtual ~InPortClient() = default;

    // `message` packed as status | data1 << 8 | data2 << 16 (status
    // 0x80-0xEF only, running status expanded); `timeMs` counts from Start()
    virtual void OnMidiInData(InPort& port, uint32_t message, uint32_t timeMs) = 0;
};

} // namespace zib
