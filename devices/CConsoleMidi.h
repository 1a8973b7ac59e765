#pragma once

#include "devices/core/IMidiInClient.h"
#include "devices/core/IMidiStreamClient.h"
#include "devices/core/MidiHeader.h"
#include "devices/core/StylePlayer.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class wxEvtHandler;

namespace zib {

class CMidiInPort;
class CMidiStream;

// The style playback console's MIDI: one output stream on the MIDI OUT
// device of the settings and one input on the MIDI IN device. Every report
// of the device layer is posted to the console's window and handled on the
// user-interface thread; reports of a stream or input that has been closed
// since are dropped (each opening has its own generation).
//
// An OUT device that is not there plays on the built-in synthesizer
// (device 0); the setting stays as it is.
class CConsoleMidi : public StylePlayerOutput, private IMidiStreamClient, private IMidiInClient {
public:
    // `window` receives the posted reports: `done` for a played buffer,
    // `input` for a short message from MIDI IN (system messages are dropped).
    CConsoleMidi(wxEvtHandler& window, int outDevice, int inDevice, std::function<void()> done,
                 std::function<void(uint32_t)> input);
    ~CConsoleMidi() override;
    CConsoleMidi(const CConsoleMidi&) = delete;
    CConsoleMidi& operator=(const CConsoleMidi&) = delete;

    // MIDI IN: false, silently, when the device cannot be opened
    bool OpenInput();
    void CloseInput();
    // The OUT device the stream opens on, and whether it stands in for the chosen one
    int OutDevice() const { return outDevice_; }
    bool UsesSynthInstead() const { return synthInstead_; }

    // StylePlayerOutput
    uint32_t Open(uint16_t division, uint32_t microsecondsPerQuarter) override;
    uint32_t SetTempo(uint32_t microsecondsPerQuarter) override;
    uint32_t Queue(std::span<const uint8_t> events) override;
    uint32_t Restart() override;
    void Close(std::span<const uint32_t> noteOffs) override;

private:
    // IMidiStreamClient and IMidiInClient: called on the layer's threads
    void OnStreamDone(MidiHeader& header) override;
    void OnStreamPosition(MidiHeader& header, uint32_t offset) override;
    void OnMidiInData(uint32_t message, uint32_t timeMs) override;

    wxEvtHandler& window_;
    std::function<void()> done_;
    std::function<void(uint32_t)> input_;
    int outDevice_ = 0;
    int inDevice_ = 0;
    bool synthInstead_ = false;
    std::unique_ptr<CMidiStream> stream_;
    std::unique_ptr<CMidiInPort> in_;
    std::vector<uint8_t> bytes_;
    MidiHeader header_;
    // Bumped by every Open and Close: a posted report of an older one is dropped
    std::atomic<uint32_t> generation_{0};
    std::atomic<uint32_t> inGeneration_{0};
};

} // namespace zib
