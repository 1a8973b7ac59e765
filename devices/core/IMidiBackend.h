#pragma once

#include "devices/core/MidiResult.h"

#include <memory>
#include <string>
#include <vector>

namespace zib {

class CMidiInPort;
class CMidiStream;
class IMidiInClient;
class IMidiStreamClient;

// One source of MIDI devices: the ports of a MIDI system, the software
// synthesizer, the fake devices of the tests. Devices are numbered from 0
// within the backend, in the order of the last enumeration. A device that
// cannot be opened reports a result, never throws.
class IMidiBackend {
public:
    virtual ~IMidiBackend() = default;

    // Enumeration (takes a fresh look at the system)
    virtual std::vector<std::string> OutputNames() = 0;
    virtual std::vector<std::string> InputNames() = 0;

    // Opening
    virtual MidiResult OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream) = 0;
    virtual MidiResult OpenInput(int index, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port) = 0;
};

} // namespace zib
