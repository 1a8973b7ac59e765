#pragma once

#include "devices/core/MidiResult.h"

#include <cstdint>
#include <memory>

namespace zib {

class InPort;
class InPortClient;
class MidiDeviceList;
class MidiDispatcher;
class MidiSessionCore;
class OutStream;
class OutStreamClient;

// The MIDI of one player: its output streams and input ports, one clock for
// all of them, and one way of delivering their callbacks.
//
// Clock. The session's ticks run while any of its streams runs (a paused
// stream's own position stands still meanwhile). Time division and tempo
// belong to the session: SetTimeDiv, SetTempo and Set Tempo events change
// them for every stream, so ports never drift apart.
//
// Timing. Every stream counts its own ticks from 0, the moment it first
// runs. An event is due at the stream's previous due tick plus its delta,
// across buffer boundaries. An event already past due (the client was late
// with its buffer) is sent at once; due ticks stay absolute, so the events
// after it keep their time and the stream catches up. A Set Tempo event
// changes the tempo from its own due tick.
//
// Threads. On the steady clock a scheduler thread per session sends the due
// events (it never runs client code). Callbacks are delivered:
//   Direct: by one delivery thread per session, output and input callbacks
//           in turn, with no lock of the layer held;
//   Posted: through a dispatcher on the UI thread; each call carries its
//           stream's or port's generation and is dropped once that one has
//           closed.
// On the virtual clock there are no threads: the clock's Advance plays the
// due events and runs direct callbacks on the advancing thread.
//
// The session must outlive nothing: destroying it closes whatever its
// streams and ports still have open (later calls on them give InvalidHandle).
class MidiSession {
public:
    enum class Delivery { Direct, Posted };

    // `dispatcher` is required for Posted and must outlive the session
    MidiSession(MidiDeviceList& devices, Delivery delivery = Delivery::Direct, MidiDispatcher* dispatcher = nullptr);
    ~MidiSession();
    MidiSession(const MidiSession&) = delete;
    MidiSession& operator=(const MidiSession&) = delete;

    // Opening. A stream opens paused at tick 0; a port opens stopped.
    // BadDeviceId for an id the device list does not hold.
    MidiResult OpenOutStream(int deviceId, OutStreamClient& client, std::unique_ptr<OutStream>& stream);
    MidiResult OpenInPort(int deviceId, InPortClient& client, std::unique_ptr<InPort>& port);

    // The session clock
    uint32_t TimeDiv() const;
    uint32_t Tempo() const;
    // Whether the calling thread is delivering this session's callbacks
    bool InCallback() const;

private:
    std::shared_ptr<MidiSessionCore> m_core;
};

} // namespace zib
