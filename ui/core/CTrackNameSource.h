#pragma once

#include <string>

namespace zib {

// Names the track list shows for a track's port, bank and patch. The
// instrument definitions answer them by port and channel; this base class
// gives the plain numbers until they are wired in.
class CTrackNameSource {
public:
    virtual ~CTrackNameSource();

    // The name of MIDI OUT port `port` (0-127) as the channel's output
    virtual std::string OutPortName(int port, int channel) const;
    // Bank number: MSB x 128 + LSB
    virtual std::string BankName(int port, int channel, int bank) const;
    virtual std::string PatchName(int port, int channel, int bank, int program) const;
};

} // namespace zib
