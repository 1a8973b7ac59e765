#pragma once

#include <cstdint>

namespace zib {

class CMidiSystem;
class CPlayerSlot;
class CStreamBuffers;

// One entry of the user's MIDI port tables: {device id, enabled}. An OUT
// port is usable when enabled is 1 and the id is below 128; IN entry i
// stands for input device i.
struct MidiPortEntry {
    uint8_t deviceId = 255;
    uint8_t enabled = 0;
};

// What the player takes from the application: the MIDI devices, the player
// slot, the stream buffers and the user's port tables.
class IPlayerHost {
public:
    virtual ~IPlayerHost() = default;

    virtual CMidiSystem& Midi() = 0;
    virtual CPlayerSlot& Players() = 0;
    virtual CStreamBuffers& StreamBuffers() = 0;
    virtual MidiPortEntry OutPort(int port) const = 0; // port 0..127
    virtual MidiPortEntry InPort(int device) const = 0; // device 0..127
};

} // namespace zib
