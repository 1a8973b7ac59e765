#pragma once

#include "devices/core/IMidiBackend.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zib {

class CMidiInPort;

// Fake MIDI devices on a virtual clock, for tests: output devices record
// every message they are sent with the virtual time, input devices deliver
// the messages a test injects. Time moves only in AdvanceUs(), which plays
// the due events of all streams in time order and delivers their callbacks
// on the caller's thread.
class CFakeMidiBackend : public IMidiBackend {
public:
    // One message that reached an output device
    struct Sent {
        int device = 0;     // output index within this backend
        int64_t timeUs = 0; // virtual time
        uint32_t message = 0;          // packed short message (0 for a long one)
        std::vector<uint8_t> longData; // a system exclusive message
        bool immediate = false;        // sent with ShortMsg/LongMsg, outside the stream timing
    };

    CFakeMidiBackend(std::vector<std::string> outputs, std::vector<std::string> inputs);
    ~CFakeMidiBackend() override;

    // Enumeration
    std::vector<std::string> OutputNames() override { return m_outputs; }
    std::vector<std::string> InputNames() override { return m_inputs; }

    // Opening
    MidiResult OpenStream(int index, IMidiStreamClient& client, std::unique_ptr<CMidiStream>& stream) override;
    MidiResult OpenInput(int index, IMidiInClient& client, std::unique_ptr<CMidiInPort>& port) override;

    // Making opens fail
    void FailOutput(int index, MidiResult result) { m_failOutputs[index] = result; }
    void FailInput(int index, MidiResult result) { m_failInputs[index] = result; }

    // The virtual clock
    int64_t NowUs() const { return m_nowUs; }
    void AdvanceUs(int64_t us);
    // Advances until no stream has anything due, at most `limitUs` ahead;
    // returns false when that limit was reached first
    bool RunUntilIdle(int64_t limitUs = 3'600'000'000LL);

    // What the outputs heard, and what is open
    const std::vector<Sent>& SentMessages() const { return m_sent; }
    void ClearSent() { m_sent.clear(); }
    int OpenStreamCount() const;
    int OpenInputCount() const;

    // Input: delivers a short message to every started port of input `index`
    void Inject(int index, uint32_t message);

    class Stream;
    class InPort;

private:
    friend class Stream;
    friend class InPort;

    std::vector<std::string> m_outputs;
    std::vector<std::string> m_inputs;
    std::map<int, MidiResult> m_failOutputs;
    std::map<int, MidiResult> m_failInputs;
    int64_t m_nowUs = 0;
    std::vector<Sent> m_sent;
    std::vector<Stream*> m_streams;
    std::vector<InPort*> m_inPorts;
};

} // namespace zib
