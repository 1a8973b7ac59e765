#pragma once

#include "devices/core/MidiResult.h"

#include <cstdint>
#include <memory>

namespace zib {

class MidiSessionCore;

// An open MIDI input port of a session (opened by MidiSession). Messages
// reach the client only after Start: channel messages 0x80-0xEF, running
// status expanded, velocity-0 note-ons as they are; system messages
// (0xF0-0xFF) are dropped. The device's own thread only queues them.
class InPort {
public:
    ~InPort(); // closes
    InPort(const InPort&) = delete;
    InPort& operator=(const InPort&) = delete;

    MidiResult Start();
    // Synchronous like OutStream::Close: no callback of this port after it
    MidiResult Close();

    int DeviceId() const { return m_deviceId; }

private:
    friend class MidiSessionCore;
    InPort(std::shared_ptr<MidiSessionCore> core, uint64_t generation, int deviceId);

    std::shared_ptr<MidiSessionCore> m_core;
    uint64_t m_generation;
    int m_deviceId;
};

} // namespace zib
