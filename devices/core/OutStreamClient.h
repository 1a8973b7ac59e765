#pragma once

#include <cstdint>

namespace zib {

class OutStream;
struct MidiHeader;

// Receives what an output stream reports: on the session's delivery thread
// (direct delivery) or the UI thread (posted delivery), never under a lock
// of the layer, so the client may queue its next buffer or close streams
// from here.
class OutStreamClient {
public:
    virtual ~OutStreamClient() = default;

    // A queued buffer has played and is the client's again (same header, same
    // user word). Buffers come back in the order they were queued.
    virtual void OnStreamDone(OutStream& stream, MidiHeader& header) = 0;
    // An event flagged for a position callback has played; `offset` is its
    // place in the buffer. Comes before that buffer's OnStreamDone.
    virtual void OnStreamPosition(OutStream& stream, MidiHeader& header, uint32_t offset) = 0;
};

} // namespace zib
