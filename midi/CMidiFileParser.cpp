#include "midi/CMidiFileParser.h"

#include "midi/DaskMidiId.h"
#include "midi/MidiErrorText.h"
#include "midi/MidiEventKind.h"
#include "midi/MidiVarLen.h"

#include <algorithm>
#include <new>

namespace zib {

namespace {

constexpr MidiErrorText kMidiFileParserErrorTexts[] = {
    {100, "Application defined error code"},  {101, "Midi format determined"},
    {102, "Midi format not supported"},       {103, "Cannot allocate data for event array"},
    {104, "Last midi track not finished"},    {105, "Cannot allocate channel buffer"},
    {106, "Max track number limit exceeded"},
};

constexpr uint8_t kEndOfTrack[] = {0xFF, 0x2F, 0x00};
constexpr size_t kTrackBuffers = 17; // the main track, then channels 1-16

} // namespace

CMidiFileParser::CMidiFileParser() = default;

CMidiFileParser::~CMidiFileParser() = default;

int CMidiFileParser::ReportError(char* buffer, size_t size, int code)
{
    if (const int n = CMidiFile::ReportError(buffer, size, code)) return n;
    const char* text = FindMidiErrorText(kMidiFileParserErrorTexts, code);
    return text ? FormatMidiError(buffer, size, "CMidiFile", code, text) : 0;
}

void CMidiFileParser::Reset()
{
    m_events.clear();
    m_mainBuffer.Free();
    for (auto& b : m_channelBuffers)
        b.Free();
    m_outputTracks = 0;
}

// ---- Conversions -----------------------------------------------------------

int CMidiFileParser::GetConvertedSize(const uint8_t* image, uint32_t size, uint32_t& outSize, bool makerSysex)
{
    outSize = 0;
    m_makerSysex = makerSysex;
    int rc = Read(image, size);
    const bool merge = m_format == 1;
    if (rc == kSuccess) rc = BuildTracks(merge);
    if (rc == kSuccess) outSize = ImageSize();
    Reset();
    return rc;
}

int CMidiFileParser::ConvertFormat(const uint8_t* image, uint32_t size, uint8_t* out, uint32_t capacity,
                                   bool makerSysex)
{
    m_makerSysex = makerSysex;
    int rc = Read(image, size);
    const bool merge = m_format == 1;
    if (rc == kSuccess) rc = BuildTracks(merge);
    if (rc == kSuccess) rc = WriteImage(merge ? ConvertMode::Merged : ConvertMode::PerChannel, out, capacity);
    Reset();
    return rc;
}

int CMidiFileParser::ParseFormat0(const uint8_t* image, uint32_t size, uint32_t& outSize)
{
    outSize = 0;
    m_makerSysex = false;
    int rc = Read(image, size);
    if (rc == kSuccess) rc = BuildTracks(true);
    if (rc == kSuccess)
        outSize = ImageSize();
    else
        Reset();
    return rc;
}

int CMidiFileParser::ConvertToFormat0(const uint8_t* image, uint32_t size, uint8_t* out, uint32_t capacity)
{
    return WriteFormat0(ConvertMode::Merged, image, size, out, capacity);
}

int CMidiFileParser::ConvertToFormat0Division384(const uint8_t* image, uint32_t size, uint8_t* out,
                                                 uint32_t capacity)
{
    return WriteFormat0(ConvertMode::OneTrack384, image, size, out, capacity);
}

int CMidiFileParser::WriteFormat0(ConvertMode mode, const uint8_t* image, uint32_t size, uint8_t* out,
                                  uint32_t capacity)
{
    m_makerSysex = false;
    int rc = Read(image, size);
    if (rc == kSuccess) rc = BuildTracks(true);
    if (rc == kSuccess) rc = WriteImage(mode, out, capacity);
    if (rc != kSuccess) Reset();
    return rc;
}

// Reads the header, then every event, and sorts the events by time (equal
// times in the order read).
int CMidiFileParser::Read(const uint8_t* image, uint32_t size)
{
    Reset();
    if (m_trackFilter != kAllTracks && m_trackFilter >= std::size(QeTrackChannelTable))
        return kApplicationDefined;
    m_flags = 0;
    int rc;
    try {
        m_mode = ConvertMode::HeaderOnly;
        rc = ParseMemory(image, size);
        if (rc != kSuccess && rc != kFormatDetermined) return rc;
        m_mode = ConvertMode::Read;
        m_trackEnded = 1;
        rc = ParseMemory(image, size);
    } catch (const std::bad_alloc&) {
        rc = kCannotAllocateEvents;
    }
    if (rc != kSuccess) {
        Reset();
        return rc;
    }
    for (size_t i = 0; i < m_events.size(); ++i)
        m_events[i]->index = uint32_t(i);
    std::stable_sort(m_events.begin(), m_events.end(),
                     [](const auto& a, const auto& b) { return a->time < b->time; });
    return kSuccess;
}

// A maker system-exclusive message for a channel track: data DaskMidiId 0x3F 0x78,
// and the channel (below 16) in data byte 6; -1 for any other event.
int CMidiFileParser::MakerSysExChannel(const CMidiNode& e) const
{
    if (!m_makerSysex || e.status != 0xF0 || e.length < 2 || e.data.size() < e.length) return -1;
    uint32_t count = 0;
    const uint32_t length = ReadMidiVarLen(e.data.data() + 1, e.length - 1, count);
    if (count == 0 || length < 6 || 1 + count + 6 > e.length) return -1;
    const uint8_t* d = e.data.data() + 1 + count;
    if (d[0] != DaskMidiId || d[1] != 0x3F || d[2] != 0x78 || d[5] >= 16) return -1;
    return d[5];
}

// Encodes the sorted events as track bytes: one merged track, or the main
// track and one per channel. Measures first, then writes into buffers of
// exactly the measured sizes.
int CMidiFileParser::BuildTracks(bool merge)
{
    try {
        std::array<uint32_t, kTrackBuffers> sizes{};
        int rc = Encode(merge, &sizes);
        if (rc) return rc;
        if (!m_mainBuffer.Allocate(sizes[0])) return kCannotAllocateBuffer;
        for (size_t c = 0; c < 16; ++c)
            if (!m_channelBuffers[c].Allocate(sizes[c + 1])) return kCannotAllocateBuffer;
        return Encode(merge, nullptr);
    } catch (const std::bad_alloc&) {
        return kCannotAllocateBuffer;
    }
}

// Encodes the sorted events as track bytes: one merged track, or the main
// track and one per channel, each with its own deltas and running status.
// With `sizes` only the byte counts are added up.
int CMidiFileParser::Encode(bool merge, std::array<uint32_t, 17>* sizes)
{
    std::array<uint32_t, kTrackBuffers> previousTime{};
    std::array<uint8_t, kTrackBuffers> previousStatus{};
    std::array<CMidiByteBuffer*, kTrackBuffers> buffers{};
    buffers[0] = &m_mainBuffer;
    for (size_t c = 0; c < 16; ++c)
        buffers[c + 1] = &m_channelBuffers[c];
    bool overflow = false;
    auto emit = [&](size_t b, const uint8_t* bytes, uint32_t n) {
        if (sizes)
            (*sizes)[b] += n;
        else if (buffers[b]->Append(bytes, n) < 0)
            overflow = true;
    };
    auto used = [&](size_t b) { return sizes ? (*sizes)[b] != 0 : buffers[b]->GetLength() != 0; };
    auto emitDelta = [&](size_t b, uint32_t time, CMidiNode* e) {
        uint8_t tmp[4];
        const int n = WriteMidiVarLen(time - previousTime[b], tmp);
        if (n == 0) return false;
        previousTime[b] = time;
        if (e) {
            std::copy(tmp, tmp + n, e->deltaBytes);
            e->deltaSize = uint8_t(n);
        }
        emit(b, tmp, uint32_t(n));
        return true;
    };

    for (auto& ep : m_events) {
        CMidiNode& e = *ep;
        size_t b = 0;
        if (!merge) {
            if (isChannelStatus(e.status))
                b = (e.status & 0x0F) + 1u;
            else if (const int channel = MakerSysExChannel(e); channel >= 0)
                b = size_t(channel) + 1;
        }
        if (!emitDelta(b, e.time, &e)) return kBadDeltaTime;
        // Channel events drop a repeated status (not before a first data byte
        // with bit 7 set, which would read as a status); sysex and meta events
        // carry their status, length and data as read.
        if (isChannelStatus(e.status) && (e.status != previousStatus[b] || (e.length && (e.data[0] & 0x80))))
            emit(b, &e.status, 1);
        emit(b, e.data.data(), e.length);
        previousStatus[b] = e.status;
    }

    // Exactly one end of track per track, right after its last event (delta
    // 0); the main track always has one.
    for (size_t b = 0; b < kTrackBuffers; ++b) {
        if (b != 0 && !used(b)) continue;
        if (!emitDelta(b, previousTime[b], nullptr)) return kBadDeltaTime;
        emit(b, kEndOfTrack, sizeof kEndOfTrack);
    }
    return overflow ? int(kCannotAllocateBuffer) : int(kSuccess);
}

uint32_t CMidiFileParser::ImageSize() const
{
    uint64_t total = 14 + 8 + uint64_t(m_mainBuffer.GetLength());
    for (const auto& b : m_channelBuffers)
        if (b.GetLength()) total += 8 + uint64_t(b.GetLength());
    return uint32_t(std::min<uint64_t>(total, UINT32_MAX));
}

int CMidiFileParser::WriteImage(ConvertMode mode, uint8_t* out, uint32_t capacity)
{
    m_mode = mode;
    m_outputTracks = 1;
    if (mode == ConvertMode::PerChannel)
        for (const auto& b : m_channelBuffers)
            if (b.GetLength()) ++m_outputTracks;
    m_flags = 0;
    return WriteToMemory(out, capacity);
}

// ---- Callbacks -------------------------------------------------------------

int CMidiFileParser::OnHeader()
{
    if (IsWriting()) {
        m_writeCursor = -1;
        switch (m_mode) {
        case ConvertMode::PerChannel:
            SetHeader(1, m_outputTracks, m_division);
            break;
        case ConvertMode::OneTrack384:
            SetHeader(0, 1, 384); // the division of the Qe style world; the ticks stay as they are
            break;
        default:
            SetHeader(0, 1, m_division);
            break;
        }
        return kSuccess;
    }
    if (m_tracks > kMaxInputTracks) return kMaxTrackLimitExceeded;
    if (m_format > 1) return kFormatNotSupportedConv;
    return m_mode == ConvertMode::HeaderOnly ? int(kFormatDetermined) : int(kSuccess);
}

int CMidiFileParser::OnTrackStart()
{
    if (IsWriting()) {
        if (m_trackIndex == 0) {
            RequestRawWrite(m_mainBuffer.GetData(), m_mainBuffer.GetLength());
            return kSuccess;
        }
        for (int c = m_writeCursor + 1; c < 16; ++c) {
            const CMidiByteBuffer& b = m_channelBuffers[size_t(c)];
            if (b.GetLength()) {
                m_writeCursor = c;
                RequestRawWrite(b.GetData(), b.GetLength());
                return kSuccess;
            }
        }
        return kCannotAllocateBuffer;
    }
    if (!m_trackEnded) return kLastTrackNotFinished;
    m_trackEnded = 0;
    return kSuccess;
}

int CMidiFileParser::OnChannelEvent()
{
    if (IsWriting()) return kSuccess;
    uint8_t status = m_status;
    const uint8_t channel = status & 0x0F;
    if (m_trackFilter != kAllTracks && channel != QeTrackChannelTable[m_trackFilter]) return kSuccess;
    const uint8_t kind = status & 0xF0;
    if (m_percussionOnDrums && channel == 10 && (kind == 0x80 || kind == 0x90)) status = uint8_t(kind | 9);
    auto e = std::make_unique<CMidiNode>();
    e->time = m_eventTime;
    e->status = status;
    e->SetData(m_eventData, (status & 0xE0) == 0xC0 ? 1 : 2);
    m_events.push_back(std::move(e));
    return kSuccess;
}

int CMidiFileParser::StoreRaw()
{
    const auto raw = GetEventRawBytes();
    auto e = std::make_unique<CMidiNode>();
    e->time = m_eventTime;
    e->status = raw.empty() ? 0xFF : raw[0];
    e->SetData(raw.data(), uint32_t(raw.size()));
    m_events.push_back(std::move(e));
    return kSuccess;
}

int CMidiFileParser::OnSysEx()
{
    return IsWriting() ? int(kSuccess) : StoreRaw();
}
int CMidiFileParser::OnMetaSeqNum()
{
    return IsWriting() ? int(kSuccess) : StoreRaw();
}
int CMidiFileParser::OnMetaTempo()
{
    return StoreRaw();
}
int CMidiFileParser::OnMetaSMPTE()
{
    return StoreRaw();
}
int CMidiFileParser::OnMetaTime()
{
    return StoreRaw();
}
int CMidiFileParser::OnMetaKeySig()
{
    return StoreRaw();
}
int CMidiFileParser::OnMetaPort()
{
    return StoreRaw();
}
int CMidiFileParser::OnMetaChan()
{
    return StoreRaw();
}
int CMidiFileParser::OnMetaText()
{
    return StoreRaw();
}

int CMidiFileParser::OnMetaEndOfTrack()
{
    m_trackEnded = 1;
    if (GetChunkBytes() > GetEventBytes()) return kBadMTrkChunk;
    return kSuccess;
}

} // namespace zib
