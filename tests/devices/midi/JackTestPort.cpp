#include "tests/devices/midi/JackTestPort.h"

#include "tests/support/AwaitState.h"

#include <jack/midiport.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace zib::test {

JackTestPort::JackTestPort(const std::string& client, const std::string& port, Direction direction,
                           Receiver receiver)
    : m_direction(direction), m_receiver(std::move(receiver))
{
    // A loaded server may turn a client away for a while
    awaitState(
        [&] {
            m_client = jack_client_open(client.c_str(), JackNoStartServer, nullptr);
            return m_client != nullptr;
        },
        std::chrono::milliseconds(100));
    if (!m_client) return;
    m_queue = jack_ringbuffer_create(1 << 16);
    m_port = jack_port_register(m_client, port.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                direction == Direction::In ? JackPortIsInput : JackPortIsOutput, 0);
    if (!m_port || jack_set_process_callback(m_client, &JackTestPort::Process, this) != 0) return;
    m_active = jack_activate(m_client) == 0;
}

JackTestPort::~JackTestPort()
{
    // No cycle runs after deactivation; closing the client drops its port.
    if (m_client) {
        if (m_active) jack_deactivate(m_client);
        jack_client_close(m_client);
    }
    if (m_queue) jack_ringbuffer_free(m_queue);
}

void JackTestPort::Send(const std::vector<uint8_t>& bytes)
{
    // One write per message, so the cycle never sees half of one
    const uint32_t size = uint32_t(bytes.size());
    std::vector<char> record(sizeof size + bytes.size());
    std::memcpy(record.data(), &size, sizeof size);
    std::memcpy(record.data() + sizeof size, bytes.data(), bytes.size());
    if (jack_ringbuffer_write_space(m_queue) >= record.size())
        jack_ringbuffer_write(m_queue, record.data(), record.size());
}

int JackTestPort::Process(jack_nframes_t frames, void* self)
{
    auto& me = *static_cast<JackTestPort*>(self);
    void* buffer = jack_port_get_buffer(me.m_port, frames);
    if (me.m_direction == Direction::In) {
        const uint32_t count = jack_midi_get_event_count(buffer);
        for (uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) == 0 && me.m_receiver)
                me.m_receiver(std::vector<uint8_t>(event.buffer, event.buffer + event.size));
        }
        return 0;
    }
    jack_midi_clear_buffer(buffer);
    uint32_t size = 0;
    while (jack_ringbuffer_read_space(me.m_queue) >= sizeof size) {
        jack_ringbuffer_peek(me.m_queue, reinterpret_cast<char*>(&size), sizeof size);
        jack_ringbuffer_read_advance(me.m_queue, sizeof size);
        if (auto* data = jack_midi_event_reserve(buffer, 0, size))
            jack_ringbuffer_read(me.m_queue, reinterpret_cast<char*>(data), size);
        else
            jack_ringbuffer_read_advance(me.m_queue, size);
    }
    return 0;
}

} // namespace zib::test
