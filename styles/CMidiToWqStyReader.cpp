#include "styles/CMidiToWqStyReader.h"

#include <algorithm>

#include "styles/CWqStyleData.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

CMidiToWqStyReader::CMidiToWqStyReader(const Codes& codes)
    : CMidiToStyleReader(RunCodes{codes.formatNotSupported, codes.divisionNotSupported, codes.fatalParsingErrors,
                                  codes.fatalConversionErrors}),
      m_codes(codes)
{
}

CMidiToWqStyReader::~CMidiToWqStyReader() = default;

// Run

void CMidiToWqStyReader::BeginRun(std::ostream* log, int ignoreFlags)
{
    OpenLog(log);
    m_errors = m_warnings = 0;
    m_pass = kPassCollect;
    m_headers.fill(WqTrackHeader{});
    m_highestMeasure = 0;
    m_tempo = 120;
    m_imageSize = 0;
    m_ignoreFlags = ignoreFlags;
    for (auto& pending : m_pending)
        pending.clear();
}

int CMidiToWqStyReader::RunCollectPass(const uint8_t* image, uint32_t size)
{
    m_pass = kPassCollect;
    m_imageSize = image ? size : 0;
    return ParseMemory(image, size);
}

int CMidiToWqStyReader::RunConvertPass(const uint8_t* image, uint32_t size)
{
    m_pass = kPassConvert;
    for (auto& pending : m_pending)
        pending.clear();
    for (int t = 0; t < kTracks; ++t)
        m_currentBank[size_t(t)] = m_headers[size_t(t)].bankLsb;
    int rc = ParseMemory(image, size);
    FlushPendingNotes();
    return rc;
}

void CMidiToWqStyReader::Absorb(const CWqPatternBuilder& builder)
{
    if (!builder.LogText().empty()) m_log.Printf("%s", builder.LogText().c_str());
    m_errors += builder.Errors();
    m_warnings += builder.Warnings();
}

void CMidiToWqStyReader::EndRun(int result)
{
    if (StopsOnUncountedError(result)) ++m_errors;
    CloseLog(ErrorCount(), WarningCount());
}

int CMidiToWqStyReader::CollectText(const StyleEventPosition&, uint8_t, std::span<const uint8_t>)
{
    return kSuccess;
}

// Measures

int CMidiToWqStyReader::TimeSigCodeAt(int measure) const
{
    return CWqPatternBuilder::TimeSigCode(GetNumeratorAtMeasure(uint32_t(measure)),
                                          GetDenominatorAtMeasure(uint32_t(measure)));
}

bool CMidiToWqStyReader::LastBarIsSparse(uint32_t latestTick, int lastMeasure) const
{
    return uint64_t(latestTick) <= uint64_t(GetMeasureStartTick(uint32_t(lastMeasure))) + GetDivision() / 10;
}

// Reading callbacks

int CMidiToWqStyReader::OnTrackStart()
{
    if (m_pass == kPassCollect)
        m_log.TrackBanner(GetTrackIndex());
    else
        FlushPendingNotes(); // notes pair inside their track chunk
    return kSuccess;
}

int CMidiToWqStyReader::BeforeEvent()
{
    int rc = CMidiFileEx::BeforeEvent();
    if (rc == kSuccess && m_pass == kPassCollect)
        m_highestMeasure = std::max(m_highestMeasure, int(m_curMeasure));
    return rc;
}

// Only the first track chunk's time signatures make the measures; each must
// be one a Wq style can hold.
int CMidiToWqStyReader::BeforeTimeSignature()
{
    if (GetTrackIndex() != 0) return kSuccess;
    int numerator = m_eventData[1];
    int power = m_eventData[2];
    int denominator = power >= 2 && power <= 4 ? 1 << power : 0;
    if (denominator == 0 || CWqPatternBuilder::TimeSigCode(numerator, denominator) < 0) {
        if (m_pass == kPassCollect) {
            ConvertTick(GetTrackTime());
            if (denominator == 0)
                m_log.At(Position(), "Error: Tact Denominator is not supported by DASK wq-series styles\n");
            else
                m_log.At(Position(),
                         "Error: Time signature %d/%d is not supported by DASK wq-series styles\n", numerator,
                         denominator);
        }
        return m_codes.denominatorNotSupported;
    }
    return CMidiFileEx::BeforeTimeSignature();
}

int CMidiToWqStyReader::ApplyTimeSignature(uint32_t t)
{
    int rc = CMidiFileEx::ApplyTimeSignature(t);
    if (rc == kTimeSigWrongPlace && m_pass == kPassCollect) {
        ConvertTick(t);
        m_log.TimeSigWrongPlace(Position(), m_eventData[1], 1ul << m_eventData[2], m_eventData[3],
                                m_eventData[4]);
    }
    return rc;
}

// The style's tempo: whole beats per minute, rounded, of a tempo event at
// the start of the first track chunk.
int CMidiToWqStyReader::OnMetaTempo()
{
    const int rc = CMidiToStyleReader::OnMetaTempo();
    if (m_pass == kPassCollect && GetTrackIndex() == 0 && Position().IsFileStart())
        m_tempo = int((60000000u + m_eventTempo / 2) / m_eventTempo);
    return rc;
}

int CMidiToWqStyReader::OnMetaText()
{
    if (m_pass != kPassCollect) return kSuccess;
    std::vector<uint8_t> text(GetEventBytes());
    int rc = ReadBytes(text.data(), uint32_t(text.size()));
    if (rc) return rc;
    return CollectText(Position(), m_status, text);
}

int CMidiToWqStyReader::OnMetaEndOfTrack()
{
    if (m_pass == kPassCollect) m_log.EndOfTrack(Position());
    return kSuccess;
}

int CMidiToWqStyReader::OnChannelEvent()
{
    if (GetTrackIndex() == 0 && !m_channelEventsInFirstChunk) return kSuccess;
    StyleEventPosition pos = Position();
    int channel = (m_status & 0x0F) + 1;
    int track = WqStyleSeries().TrackOfChannel(channel);
    if (m_pass == kPassCollect) {
        if (m_log.IsOpen()) LogChannelEvent(pos);
        if (track < 0) {
            m_log.At(pos, "Error: Cannot convert MIDI channel: %d to arr track.\n", channel);
            return m_codes.channelNotMapped;
        }
        return CollectChannelEvent(track, pos);
    }
    if (track >= 0) ConvertChannelEvent(track, pos);
    return kSuccess;
}

void CMidiToWqStyReader::LogChannelEvent(const StyleEventPosition& pos)
{
    unsigned channel = (m_status & 0x0F) + 1u;
    uint8_t d1 = m_eventData[0], d2 = m_eventData[1];
    switch (m_status & 0xF0) {
    case 0x90:
        if (d2 > 0) m_log.NoteOn(pos, CWqStyleData::GetNoteName(d1), d2, int(channel));
        break;
    case 0xA0:
        m_log.KeyPress(pos, channel, d1, d2);
        break;
    case 0xB0:
        m_log.Controller(pos, channel, d1, d2);
        break;
    case 0xC0:
        m_log.Program(pos, channel, d1);
        break;
    case 0xD0:
        m_log.ChanPress(pos, channel, d1);
        break;
    case 0xE0:
        m_log.PitchWheel(pos, channel, d1, d2);
        break;
    default:
        break;
    }
}

// Pass 2: each event goes to the builder of its CV; notes are paired on
// their track, oldest note-on of the key first.
void CMidiToWqStyReader::ConvertChannelEvent(int track, const StyleEventPosition& pos)
{
    uint8_t kind = m_status & 0xF0, d1 = m_eventData[0], d2 = m_eventData[1];
    int channel = (m_status & 0x0F) + 1;
    if (kind == 0xB0 && d1 == 32) m_currentBank[size_t(track)] = d2; // the bank of later program changes
    if (kind == 0x80 || (kind == 0x90 && d2 == 0)) {
        ResolveNoteOff(track, pos, d1, d2);
        return;
    }
    CWqPatternBuilder* builder = BuilderFor(track, pos.measure);
    if (!builder) return;
    switch (kind) {
    case 0x90:
        if (builder->Log().IsOpen()) builder->Log().NoteOn(pos, CWqStyleData::GetNoteName(d1), d2, channel);
        m_pending[size_t(track)].push_back(PendingNote{d1, builder->NoteOn(pos, d1, d2), builder});
        break;
    case 0xA0:
        builder->AddKeyPressure(pos, d1, d2);
        break;
    case 0xB0:
        builder->AddController(pos, d1, d2);
        break;
    case 0xC0:
        builder->AddProgram(pos, d1, uint16_t(m_currentBank[size_t(track)] << 8 | d1));
        break;
    case 0xD0:
        builder->AddChannelPressure(pos, d1);
        break;
    case 0xE0:
        builder->AddPitchWheel(pos, d1, d2);
        break;
    default:
        break;
    }
}

void CMidiToWqStyReader::ResolveNoteOff(int track, const StyleEventPosition& pos, uint8_t key,
                                        uint8_t velocity)
{
    auto& pending = m_pending[size_t(track)];
    auto it =
        std::find_if(pending.begin(), pending.end(), [&](const PendingNote& n) { return n.key == key; });
    if (it != pending.end()) {
        it->builder->NoteOff(it->handle, &pos, velocity);
        pending.erase(it);
        return;
    }
    // A note-off on the CV's first tick ends a note of the bar before.
    CWqPatternBuilder* builder = BuilderFor(track, pos.measure);
    if (builder && pos.absTick > builder->StartTick()) builder->NoteOffWithoutNoteOn(pos, key, velocity);
}

void CMidiToWqStyReader::FlushPendingNotes()
{
    for (auto& pending : m_pending) {
        for (const PendingNote& n : pending)
            n.builder->NoteOff(n.handle, nullptr, 0);
        pending.clear();
    }
}

} // namespace zib
