#include "devices/CConsoleMidi.h"

#include "devices/core/CMidiInPort.h"
#include "devices/core/CMidiStream.h"
#include "devices/core/CMidiSystem.h"

#include <wx/event.h>

namespace zib {

namespace {

constexpr int kBuiltInSynth = 0;

uint32_t code(MidiResult r)
{
    return uint32_t(r);
}

} // namespace

CConsoleMidi::CConsoleMidi(wxEvtHandler& window, int outDevice, int inDevice, std::function<void()> done,
                           std::function<void(uint32_t)> input)
    : window_(window), done_(std::move(done)), input_(std::move(input)), outDevice_(outDevice),
      inDevice_(inDevice)
{
    CMidiSystem& system = CMidiSystem::Default();
    if (outDevice_ < 0 || outDevice_ >= system.OutDeviceCount()) {
        synthInstead_ = outDevice_ != kBuiltInSynth;
        outDevice_ = kBuiltInSynth;
    }
}

CConsoleMidi::~CConsoleMidi()
{
    Close({});
    CloseInput();
}

bool CConsoleMidi::OpenInput()
{
    CloseInput();
    if (!Succeeded(CMidiSystem::Default().OpenInput(inDevice_, *this, in_))) {
        in_.reset();
        return false;
    }
    ++inGeneration_;
    if (!Succeeded(in_->Start())) {
        CloseInput();
        return false;
    }
    return true;
}

void CConsoleMidi::CloseInput()
{
    if (!in_) return;
    ++inGeneration_;
    in_->Close();
    in_.reset();
}

uint32_t CConsoleMidi::Open(uint16_t division, uint32_t microsecondsPerQuarter)
{
    Close({});
    ++generation_;
    MidiResult r = CMidiSystem::Default().OpenStream(outDevice_, *this, stream_);
    if (Succeeded(r)) r = stream_->SetTimeDiv(division);
    if (Succeeded(r)) r = stream_->SetTempo(microsecondsPerQuarter);
    if (!Succeeded(r)) Close({});
    return code(r);
}

uint32_t CConsoleMidi::SetTempo(uint32_t microsecondsPerQuarter)
{
    if (!stream_) return code(MidiResult::InvalidHandle);
    return code(stream_->SetTempo(microsecondsPerQuarter));
}

uint32_t CConsoleMidi::Queue(std::span<const uint8_t> events)
{
    if (!stream_) return code(MidiResult::InvalidHandle);
    // One buffer is out at a time: the player queues the next from its done report.
    if (header_.flags & MidiHeader::kInQueue) return code(MidiResult::StillPlaying);
    stream_->UnprepareHeader(header_);
    bytes_.assign(events.begin(), events.end());
    header_ = MidiHeader{};
    header_.data = bytes_.data();
    header_.bufferLength = uint32_t(bytes_.size());
    header_.bytesRecorded = uint32_t(bytes_.size());
    MidiResult r = stream_->PrepareHeader(header_);
    if (Succeeded(r)) r = stream_->Out(header_);
    return code(r);
}

uint32_t CConsoleMidi::Restart()
{
    if (!stream_) return code(MidiResult::InvalidHandle);
    return code(stream_->Restart());
}

void CConsoleMidi::Close(std::span<const uint32_t> noteOffs)
{
    if (!stream_) return;
    ++generation_;
    stream_->Pause();
    stream_->Stop(); // the queued buffer comes back; its report is stale now
    for (uint32_t message : noteOffs)
        stream_->ShortMsg(message);
    stream_->UnprepareHeader(header_);
    stream_->Close();
    stream_.reset();
    header_ = MidiHeader{};
}

void CConsoleMidi::OnStreamDone(MidiHeader&)
{
    const uint32_t generation = generation_.load();
    window_.CallAfter([this, generation] {
        if (generation == generation_.load() && stream_) done_();
    });
}

void CConsoleMidi::OnStreamPosition(MidiHeader&, uint32_t) {}

void CConsoleMidi::OnMidiInData(uint32_t message, uint32_t)
{
    if ((message & 0xFF) >= 0xF0) return;
    const uint32_t generation = inGeneration_.load();
    window_.CallAfter([this, generation, message] {
        if (generation == inGeneration_.load()) input_(message);
    });
}

} // namespace zib
