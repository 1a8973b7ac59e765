#pragma once

#include "devices/core/InPortClient.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/MidiSession.h"
#include "devices/core/OutStreamClient.h"
#include "devices/core/StylePlayer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zib {

class InPort;
class MidiDeviceList;
class MidiDispatcher;
class OutStream;

// The style playback console's MIDI: one session of its own with one output
// stream on the MIDI OUT device of the settings and one input port on the
// MIDI IN device. Both report through the dispatcher, so the console hears
// of a played buffer and of MIDI input on the user-interface thread; the
// layer drops the reports of a stream or port closed since.
//
// An OUT device that is not listed plays on the built-in synthesizer
// (device 0); the setting stays as it is, so the device is used again when
// it is back.
class CConsoleMidi : public StylePlayerOutput, private OutStreamClient, private InPortClient {
public:
    static constexpr int kBuiltInSynth = 0;

    // `done` runs for each played buffer, `input` for each channel message
    // from MIDI IN; both on the dispatcher's thread.
    CConsoleMidi(MidiDeviceList& devices, MidiDispatcher& dispatcher, int outDevice, int inDevice,
                 std::function<void()> done, std::function<void(uint32_t)> input);
    ~CConsoleMidi() override;
    CConsoleMidi(const CConsoleMidi&) = delete;
    CConsoleMidi& operator=(const CConsoleMidi&) = delete;

    // MIDI IN: false, silently, when the device cannot be opened or started
    bool OpenInput();
    void CloseInput();
    // The OUT device the stream opens on, and whether it stands in for the chosen one
    int OutDevice() const { return m_outDevice; }
    bool UsesSynthInstead() const { return m_synthInstead; }
    // Why the last Open failed in the device's words for the user (an
    // English UI text); empty when its error number says all
    const std::string& OpenFailure() const { return m_openFailure; }

    // StylePlayerOutput
    uint32_t Open(uint16_t division, uint32_t microsecondsPerQuarter) override;
    uint32_t SetTempo(uint32_t microsecondsPerQuarter) override;
    uint32_t Queue(std::span<const uint8_t> events) override;
    uint32_t Restart() override;
    void Close(std::span<const uint32_t> noteOffs) override;

private:
    // OutStreamClient and InPortClient
    void OnStreamDone(OutStream& stream, MidiHeader& header) override;
    void OnStreamPosition(OutStream& stream, MidiHeader& header, uint32_t offset) override;
    void OnMidiInData(InPort& port, uint32_t message, uint32_t timeMs) override;

    MidiDeviceList& m_devices;
    std::function<void()> m_done;
    std::function<void(uint32_t)> m_input;
    int m_outDevice = kBuiltInSynth;
    int m_inDevice = 0;
    bool m_synthInstead = false;
    std::string m_openFailure;
    // The session goes last: it closes whatever is still open
    MidiSession m_session;
    std::unique_ptr<OutStream> m_stream;
    std::unique_ptr<InPort> m_in;
    std::vector<uint8_t> m_bytes;
    MidiHeader m_header;
};

} // namespace zib
