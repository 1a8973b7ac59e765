#pragma once

#include "devices/core/PlaybackHost.h"

namespace zib {

// The application's host with one port of its own: port 0 plays on
// `deviceId` (the built-in synth when that device is not listed), every
// other port is disabled and no input is opened. The built-in player
// window plays a file so.
class SinglePortHost : public PlaybackHost {
public:
    SinglePortHost(PlaybackHost& app, int deviceId) : m_app(app), m_deviceId(deviceId) {}

    MidiDeviceList& Devices() override { return m_app.Devices(); }
    PlayerSlot& Player() override { return m_app.Player(); }
    StreamBuffers* AllocStreamBuffers() override { return m_app.AllocStreamBuffers(); }
    UserMidiPortMap::Entry OutPort(int port) const override;
    UserMidiPortMap::Entry InPort(int) const override { return {}; }
    int Language() const override { return m_app.Language(); }

private:
    PlaybackHost& m_app;
    int m_deviceId;
};

} // namespace zib
