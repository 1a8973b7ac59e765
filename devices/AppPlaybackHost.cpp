#include "devices/AppPlaybackHost.h"

#include "app/CZibApp.h"
#include "devices/core/MidiDeviceList.h"

namespace zib {

AppPlaybackHost& AppPlaybackHost::Get()
{
    static AppPlaybackHost host;
    return host;
}

MidiDeviceList& AppPlaybackHost::Devices()
{
    return MidiDeviceList::Default();
}

PlayerSlot& AppPlaybackHost::Player()
{
    return wxGetApp().Player();
}

StreamBuffers* AppPlaybackHost::AllocStreamBuffers()
{
    return wxGetApp().AllocStreamBuffers();
}

UserMidiPortMap::Entry AppPlaybackHost::OutPort(int port) const
{
    return port >= 0 && port < UserMidiPortMap::kPorts ? wxGetApp().Settings().UserMidiOutPorts[port]
                                                        : UserMidiPortMap::Entry{};
}

UserMidiPortMap::Entry AppPlaybackHost::InPort(int device) const
{
    return device >= 0 && device < UserMidiPortMap::kPorts ? wxGetApp().Settings().UserMidiInPorts[device]
                                                            : UserMidiPortMap::Entry{};
}

int AppPlaybackHost::Language() const
{
    return wxGetApp().Language();
}

} // namespace zib
