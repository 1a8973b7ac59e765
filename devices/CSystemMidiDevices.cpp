#include "devices/CSystemMidiDevices.h"

#include "devices/core/CMidiSystem.h"

namespace zib {

int CSystemMidiDevices::OutDeviceCount() const
{
    return system_.OutDeviceCount();
}

int CSystemMidiDevices::InDeviceCount() const
{
    return system_.InDeviceCount();
}

std::optional<std::string> CSystemMidiDevices::OutDeviceName(int device) const
{
    std::string name;
    if (system_.OutDeviceName(device, name) != MidiResult::NoError) return std::nullopt;
    return name;
}

std::optional<std::string> CSystemMidiDevices::InDeviceName(int device) const
{
    std::string name;
    if (system_.InDeviceName(device, name) != MidiResult::NoError) return std::nullopt;
    return name;
}

} // namespace zib
