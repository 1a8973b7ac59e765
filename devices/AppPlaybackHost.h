#pragma once

#include "devices/core/PlaybackHost.h"

namespace zib {

// The program's side of the playback engine: the program's MIDI devices,
// the application's player fields, stream buffers, port tables and language.
class AppPlaybackHost : public PlaybackHost {
public:
    // The one instance the program's players share
    static AppPlaybackHost& Get();

    MidiDeviceList& Devices() override;
    PlayerSlot& Player() override;
    StreamBuffers* AllocStreamBuffers() override;
    UserMidiPortMap::Entry OutPort(int port) const override;
    UserMidiPortMap::Entry InPort(int device) const override;
    int Language() const override;
};

} // namespace zib
