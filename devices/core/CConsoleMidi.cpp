#include "devices/core/CConsoleMidi.h"

#include "devices/core/InPort.h"
#include "devices/core/MidiDeviceList.h"
#include "devices/core/OutStream.h"

namespace zib {

namespace {

uint32_t code(MidiResult r)
{
    return uint32_t(r);
}

} // namespace

CConsoleMidi::CConsoleMidi(MidiDeviceList& devices, MidiDispatcher& dispatcher, int outDevice, int inDevice,
                           std::function<void()> done, std::function<void(uint32_t)> input)
    : m_devices(devices), m_done(std::move(done)), m_input(std::move(input)), m_outDevice(outDevice),
      m_inDevice(inDevice), m_session(devices, MidiSession::Delivery::Posted, &dispatcher)
{
    if (m_outDevice < 0 || m_outDevice >= devices.OutDeviceCount()) {
        m_synthInstead = m_outDevice != kBuiltInSynth;
        m_outDevice = kBuiltInSynth;
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
    if (!Succeeded(m_session.OpenInPort(m_inDevice, *this, m_in))) {
        m_in.reset();
        return false;
    }
    if (!Succeeded(m_in->Start())) {
        CloseInput();
        return false;
    }
    return true;
}

void CConsoleMidi::CloseInput()
{
    if (!m_in) return;
    m_in->Close();
    m_in.reset();
}

uint32_t CConsoleMidi::Open(uint16_t division, uint32_t microsecondsPerQuarter)
{
    Close({});
    MidiResult r = m_session.OpenOutStream(m_outDevice, *this, m_stream);
    m_openFailure = Succeeded(r) ? std::string() : m_devices.OutputFailure(m_outDevice);
    if (Succeeded(r)) r = m_stream->SetTimeDiv(division);
    if (Succeeded(r)) r = m_stream->SetTempo(microsecondsPerQuarter);
    if (!Succeeded(r)) Close({});
    return code(r);
}

uint32_t CConsoleMidi::SetTempo(uint32_t microsecondsPerQuarter)
{
    if (!m_stream) return code(MidiResult::InvalidHandle);
    return code(m_stream->SetTempo(microsecondsPerQuarter));
}

uint32_t CConsoleMidi::Queue(std::span<const uint8_t> events)
{
    if (!m_stream) return code(MidiResult::InvalidHandle);
    // One buffer is out at a time: the player queues the next from its done report.
    if (m_header.flags & MidiHeader::kInQueue) return code(MidiResult::StillPlaying);
    if (m_header.flags & MidiHeader::kPrepared) m_stream->Unprepare(m_header);
    m_bytes.assign(events.begin(), events.end());
    m_header = MidiHeader{};
    m_header.data = m_bytes.data();
    m_header.bufferLength = uint32_t(m_bytes.size());
    m_header.bytesRecorded = uint32_t(m_bytes.size());
    MidiResult r = m_stream->Prepare(m_header);
    if (Succeeded(r)) r = m_stream->Queue(m_header);
    return code(r);
}

uint32_t CConsoleMidi::Restart()
{
    if (!m_stream) return code(MidiResult::InvalidHandle);
    return code(m_stream->Restart());
}

void CConsoleMidi::Close(std::span<const uint32_t> noteOffs)
{
    if (!m_stream) return;
    // Paused first, so nothing queued sounds after the note-offs; closing
    // then drops the queued buffer without a done report.
    m_stream->Pause();
    for (uint32_t message : noteOffs)
        m_stream->SendShort(message);
    m_stream->Close();
    m_stream.reset();
    m_header = MidiHeader{};
}

void CConsoleMidi::OnStreamDone(OutStream&, MidiHeader&)
{
    if (m_done) m_done();
}

void CConsoleMidi::OnStreamPosition(OutStream&, MidiHeader&, uint32_t) {}

void CConsoleMidi::OnMidiInData(InPort&, uint32_t message, uint32_t)
{
    if (m_input) m_input(message);
}

} // namespace zib
