#include "devices/AppPlaybackHost.h"

#include "ui/ShellServices.h"
#include "ui/core/StreamBuffers.h"
#include "ui/core/PlayerSlot.h"
#include "ui/core/ZibSettings.h"
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
    return Shell().Player();
}

StreamBuffers* AppPlaybackHost::AllocStreamBuffers()
{
    return Shell().AllocStreamBuffers();
}

UserMidiPortMap::Entry AppPlaybackHost::OutPort(int port) const
{
    return port >= 0 && port < UserMidiPortMap::kPorts ? Shell().Settings().UserMidiOutPorts[port]
                                                        : UserMidiPortMap::Entry{};
}

UserMidiPortMap::Entry AppPlaybackHost::InPort(int device) const
{
    return device >= 0 && device < UserMidiPortMap::kPorts ? Shell().Settings().UserMidiInPorts[device]
                                                            : UserMidiPortMap::Entry{};
}

int AppPlaybackHost::Language() const
{
    return Shell().Language();
}

} // namespace zib
