#pragma once

#include "devices/core/MidiResult.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zib {

// A MIDI port as a backend names it: the client (the program or card that
// offers it) and the port's own name. The system's "client:port" numbers
// change from one start to the next and are not part of the name; ports are
// found again by these two texts.
struct MidiPortName {
    std::string client;
    std::string port;

    // The name the device lists show: "client:port", or the port alone when
    // it has no client name
    std::string Shown() const;
    // Ports are listed by client name, then port name
    bool operator<(const MidiPortName& other) const;
    bool operator==(const MidiPortName& other) const = default;
};

// Calls of an output stream that a device may refuse (the fake device's
// fault injection; a vanished device refuses Queue).
enum class OutCall { Prepare, Unprepare, Queue, Restart };

// An open output device. The session calls it from its scheduler thread (or
// the caller's for SendShort) under the session's lock: Send must not block.
class MidiOutSink {
public:
    virtual ~MidiOutSink() = default;

    // Sends one message now: a short message of 1-3 bytes, or a whole system
    // exclusive message. `dueUs` is when the event was due on the layer's
    // clock (later than now when it runs late). False: the device is gone.
    virtual bool Send(std::span<const uint8_t> bytes, int64_t dueUs) = 0;
    // Whether the device takes this call; NoError unless it has vanished or
    // a test made it fail.
    virtual MidiResult Check(OutCall call) = 0;
    // A buffer of stream events was queued, and came back (the fake device
    // logs them; real devices have nothing to do)
    virtual void Queued(std::span<const uint8_t> events, uintptr_t user) { (void)events, (void)user; }
    virtual void Returned(uintptr_t user) { (void)user; }
};

// Receives the bytes an input device reads: whole messages or any run of
// bytes (running status allowed), from the device's own thread.
using MidiInReceiver = std::function<void(std::span<const uint8_t> bytes)>;

// An open input device: calls its receiver until it is destroyed; the
// destructor waits for a call in progress.
class MidiInSource {
public:
    virtual ~MidiInSource() = default;
};

// One source of MIDI devices: the ALSA or JACK ports of RtMidi, the built-in
// synthesizer, the fake devices of the tests. Enumeration and opening run on
// the UI thread; a backend that cannot reach its system lists nothing.
class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    // Enumeration: the ports as they are now, in any order
    virtual std::vector<MidiPortName> OutputPorts() = 0;
    virtual std::vector<MidiPortName> InputPorts() = 0;

    // Opening by name. BadDeviceId when no such port exists (any more).
    virtual MidiResult OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink) = 0;
    virtual MidiResult OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                                 std::unique_ptr<MidiInSource>& source) = 0;

    // Why the last OpenOutput of this port failed, in words for the user (an
    // English UI text, translated at the screen); empty when the result
    // says all there is to say
    virtual std::string OutputFailure(const MidiPortName& name) const
    {
        (void)name;
        return {};
    }
};

} // namespace zib
