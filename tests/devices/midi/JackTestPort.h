#pragma once

// One MIDI port of a JACK client of the test's own, written on JACK's API
// directly so that closing it is safe at any moment: the client stops its
// cycles before it goes (RtMidi's JACK ports free buffers a running cycle
// may still read).

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zib::test {

class JackTestPort {
public:
    enum class Direction { In, Out };
    // Called on JACK's thread with each message an input port receives
    using Receiver = std::function<void(std::vector<uint8_t>)>;

    // Opens client `client` with the port `port` ("client:port") on the
    // server named by JACK_DEFAULT_SERVER
    JackTestPort(const std::string& client, const std::string& port, Direction direction, Receiver receiver = {});
    ~JackTestPort();
    JackTestPort(const JackTestPort&) = delete;
    JackTestPort& operator=(const JackTestPort&) = delete;

    bool IsOpen() const { return m_active; }
    // Queues one message of an output port for the next cycle
    void Send(const std::vector<uint8_t>& bytes);

private:
    static int Process(jack_nframes_t frames, void* self);

    Direction m_direction;
    Receiver m_receiver;
    jack_client_t* m_client = nullptr;
    jack_port_t* m_port = nullptr;
    jack_ringbuffer_t* m_queue = nullptr; // output: a size, then the bytes, per message
    bool m_active = false;
};

} // namespace zib::test
