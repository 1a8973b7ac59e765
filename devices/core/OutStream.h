#pragma once

#include "devices/core/MidiResult.h"

#include <cstdint>
#include <memory>

namespace zib {

class MidiSessionCore;
struct MidiHeader;

// An open MIDI output stream of a session (opened by MidiSession). Buffers of
// stream events (MidiHeader.h) are prepared, queued and come back through
// the client's OnStreamDone. Every call is safe from any thread and returns
// a result code; a device that has vanished refuses Queue with NoDevice.
class OutStream {
public:
    ~OutStream(); // closes
    OutStream(const OutStream&) = delete;
    OutStream& operator=(const OutStream&) = delete;

    // Properties of the session clock (ticks per quarter note, microseconds
    // per quarter note)
    MidiResult SetTimeDiv(uint32_t ticksPerQuarter);
    MidiResult SetTempo(uint32_t microsecondsPerQuarter);

    // Buffers. Prepare before the first Queue; Unprepare fails with
    // StillPlaying while the buffer is queued.
    MidiResult Prepare(MidiHeader& header);
    MidiResult Unprepare(MidiHeader& header);
    MidiResult Queue(MidiHeader& header);

    // Transport: the stream opens paused
    MidiResult Pause();
    MidiResult Restart();

    // A short message sent now, outside the queue; works while paused. Goes
    // out as 1-3 bytes by its status (one data byte for program change and
    // channel pressure).
    MidiResult SendShort(uint32_t message);

    // Closing is synchronous: queued buffers are dropped without a done
    // callback, nothing more is sent, and no callback of this stream runs
    // after it returns (it waits for one in progress on another thread).
    // Never call it holding a lock that a callback of this session takes.
    MidiResult Close();

    int DeviceId() const { return m_deviceId; }

private:
    friend class MidiSessionCore;
    OutStream(std::shared_ptr<MidiSessionCore> core, uint64_t generation, int deviceId);

    std::shared_ptr<MidiSessionCore> m_core;
    uint64_t m_generation;
    int m_deviceId;
};

} // namespace zib
