#pragma once

#include "devices/core/MidiBackend.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace zib {

class MidiClock;

// Fake MIDI devices. Output ports log every message they hear with the time
// of the device list's clock (virtual in tests, steady in GUI tests) and the
// time it was due; input ports hand on the bytes a test injects. Tests can
// make calls fail, make an open device vanish, or change the ports listed.
// Safe from any thread.
class FakeMidiBackend : public MidiBackend {
public:
    // One message an output device heard
    struct Sent {
        int64_t timeUs = 0; // when it was sent
        int64_t dueUs = 0;  // when it was due
        std::string device; // the port's shown name
        std::vector<uint8_t> bytes;
    };

    // One buffer of stream events queued on an output device
    struct Buffer {
        int64_t timeUs = 0; // when it was queued
        std::string device;
        uintptr_t user = 0;
        std::vector<uint8_t> events;
    };

    FakeMidiBackend(std::shared_ptr<MidiClock> clock, std::vector<MidiPortName> outputs,
                    std::vector<MidiPortName> inputs);
    ~FakeMidiBackend() override;

    // The program's fake devices (ZIB_MIDI_BACKEND=fake): a stand-in for the
    // built-in synthesizer (unless the real one plays), two outputs and one
    // input of the client "Zib Test"
    static std::shared_ptr<FakeMidiBackend> ForProgram(std::shared_ptr<MidiClock> clock,
                                                       bool synthStandIn = true);

    // MidiBackend
    std::vector<MidiPortName> OutputPorts() override;
    std::vector<MidiPortName> InputPorts() override;
    MidiResult OpenOutput(const MidiPortName& name, std::unique_ptr<MidiOutSink>& sink) override;
    MidiResult OpenInput(const MidiPortName& name, MidiInReceiver receiver,
                         std::unique_ptr<MidiInSource>& source) override;
    std::string OutputFailure(const MidiPortName& name) const override;

    // The ports listed from the next enumeration on
    void SetPorts(std::vector<MidiPortName> outputs, std::vector<MidiPortName> inputs);
    // Faults, by the port's shown name: opening fails with `result`, and
    // OutputFailure gives `cause`; a call of its open streams fails with
    // `result` (NoError clears it); the device vanishes: sends go nowhere,
    // Queue and Restart fail with NoDevice, and it is no longer listed or
    // opened
    void FailOpen(const std::string& port, MidiResult result, std::string cause = {});
    void FailCall(const std::string& port, OutCall call, MidiResult result);
    void Unplug(const std::string& port);

    // What the outputs heard, in order; the buffers queued on them, in order,
    // and how many have come back
    std::vector<Sent> SentMessages() const;
    std::vector<Buffer> QueuedBuffers() const;
    int ReturnedCount() const;
    void ClearSent();
    // Writes each message also as a line "time_us device: hex bytes"
    void SetLogFile(const std::filesystem::path& path);

    // Input: the bytes reach every open port of that input
    void Inject(const std::string& port, std::span<const uint8_t> bytes);
    int OpenInputCount() const;
    int OpenOutputCount() const;

    class Sink;
    class Source;

private:
    friend class Sink;
    friend class Source;
    bool Record(const std::string& device, std::span<const uint8_t> bytes, int64_t dueUs);
    void RecordBuffer(const std::string& device, std::span<const uint8_t> events, uintptr_t user);
    void RecordReturn();
    MidiResult CheckCall(const std::string& device, OutCall call);
    void Forget(const Source* source);
    void ForgetSink();

    std::shared_ptr<MidiClock> m_clock;
    mutable std::mutex m_mutex;
    std::vector<MidiPortName> m_outputs;
    std::vector<MidiPortName> m_inputs;
    std::map<std::string, MidiResult> m_openFaults;
    std::map<std::string, std::string> m_openCauses;
    std::map<std::pair<std::string, OutCall>, MidiResult> m_callFaults;
    std::vector<std::string> m_unplugged;
    std::vector<Sent> m_sent;
    std::vector<Buffer> m_buffers;
    int m_returned = 0;
    std::vector<Source*> m_sources;
    std::recursive_mutex m_injecting; // held while receivers run (a receiver may close its own port)
    int m_openSinks = 0;
    uint64_t m_nextSourceId = 1;
    std::ofstream m_log;
};

} // namespace zib
