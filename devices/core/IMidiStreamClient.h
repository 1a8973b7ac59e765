#pragma once

#include <cstdint>

namespace zib {

struct MidiHeader;

// Receives what an output stream reports. Called on the stream's own thread
// (the virtual clock's caller for the fake device), never while the stream
// holds its lock, so the client may queue the next buffer from here.
class IMidiStreamClient {
public:
    virtual ~IMidiStreamClient() = default;

    // A queued buffer has been played and is the caller's again
    virtual void OnStreamDone(MidiHeader& header) = 0;
    // An event with the callback flag has been played (`offset` into the buffer)
    virtual void OnStreamPosition(MidiHeader& header, uint32_t offset) = 0;
};

} // namespace zib
