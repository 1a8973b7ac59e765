#pragma once

#include "devices/core/MidiDeviceNames.h"

namespace zib {

class CMidiSystem;

// The names of the MIDI devices of the program's MIDI system.
class CSystemMidiDevices : public MidiDeviceNames {
public:
    explicit CSystemMidiDevices(CMidiSystem& system) : system_(system) {}

    int OutDeviceCount() const override;
    int InDeviceCount() const override;
    std::optional<std::string> OutDeviceName(int device) const override;
    std::optional<std::string> InDeviceName(int device) const override;

private:
    CMidiSystem& system_;
};

} // namespace zib
