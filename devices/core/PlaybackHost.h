#pragma once

#include "ui/core/UserMidiPortMap.h"

namespace zib {

class MidiDeviceList;
class PlayerSlot;
class StreamBuffers;

// What the playback engine takes from the application: the MIDI devices,
// the player fields, the stream buffers and the user's port tables. Called
// on the UI thread.
class PlaybackHost {
public:
    virtual ~PlaybackHost() = default;

    virtual MidiDeviceList& Devices() = 0;
    virtual PlayerSlot& Player() = 0;
    // The application's ten stream buffers, allocated on first use; null
    // when memory ran out
    virtual StreamBuffers* AllocStreamBuffers() = 0;
    // OUT port n plays through device id (usable: enabled 1, id below 128);
    // IN entry n stands for input device n
    virtual UserMidiPortMap::Entry OutPort(int port) const = 0;
    virtual UserMidiPortMap::Entry InPort(int device) const = 0;
    // The UI language (0 English, 1 Italian, 2 German) of the engine's own texts
    virtual int Language() const = 0;
};

} // namespace zib
