#pragma once

#include <optional>
#include <string>

namespace zib {

// The system's MIDI devices as the port lists name them.
class MidiDeviceNames {
public:
    virtual ~MidiDeviceNames() = default;

    virtual int OutDeviceCount() const = 0;
    virtual int InDeviceCount() const = 0;
    // The product name of a device; none when the system cannot describe it.
    virtual std::optional<std::string> OutDeviceName(int device) const = 0;
    virtual std::optional<std::string> InDeviceName(int device) const = 0;
};

} // namespace zib
