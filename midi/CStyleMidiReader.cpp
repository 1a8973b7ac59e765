#include "midi/CStyleMidiReader.h"

#include "midi/MidiErrorText.h"
#include "midi/MidiEventKind.h"

#include <cstdarg>
#include <new>

namespace zib {

namespace {

constexpr MidiErrorText kStyleMidiReaderErrorTexts[] = {
    {101, "CV MIDI file is not format 0"},
    {102, "Cannot allocate event"},
    {104, "CV MIDI file does not hold exactly one track"},
    {105, "Note-off found before its note-on"},
    {106, "Style element or chord variation out of range"},
    {107, "Time signature found at wrong place"},
};

// Index into the per-channel first-value flags; -1 for other events.
int firstValueSlot(uint8_t status, uint8_t data1)
{
    if ((status & 0xF0) == 0xC0) return 3;
    if ((status & 0xF0) != 0xB0) return -1;
    switch (data1) {
    case 0:
        return 0;
    case 32:
        return 1;
    case 11:
        return 2;
    case 7:
        return 4;
    default:
        return -1;
    }
}

} // namespace

uint8_t MakeTrackTypeByte(int channel, int kind)
{
    const uint8_t low = uint8_t((channel - 1) & 15);
    switch (kind) {
    case 1:
        return low;
    case 2:
        return uint8_t(low + 0x10);
    case 4:
        return uint8_t(low + 0x20);
    case 8:
        return uint8_t(low + 0x30);
    default:
        return uint8_t(low + 0x40);
    }
}

CStyleMidiReader::CStyleMidiReader()
{
    ResetElements();
}

CStyleMidiReader::~CStyleMidiReader() = default;

int CStyleMidiReader::ReportError(char* buffer, size_t size, int code)
{
    // The reader's own codes come first: some share numbers with CMidiFileEx.
    if (const char* text = FindMidiErrorText(kStyleMidiReaderErrorTexts, code))
        return FormatMidiError(buffer, size, "CStyleMidiReader", code, text);
    return CMidiFileEx::ReportError(buffer, size, code);
}

// The measure layer reports a misplaced signature as 101, the reader's code
// for a file that is not format 0; the reader gives it a code of its own.
int CStyleMidiReader::ApplyTimeSignature(uint32_t t)
{
    const int rc = CMidiFileEx::ApplyTimeSignature(t);
    return rc == kTimeSigWrongPlace ? int(kTimeSigInsideMeasure) : rc;
}

void CStyleMidiReader::ResetElements()
{
    elements.fill(Element{});
    for (auto& flags : m_firstSeen)
        flags.fill(0);
    m_division = 96;
    m_pendingNumerator = 4;
    m_pendingDenominator = 4;
    unmatchedNoteOffs = 0;
}

void CStyleMidiReader::Clear()
{
    ClearTimeSigMap();
    m_events.clear();
}

int CStyleMidiReader::ReadImage(const uint8_t* image, uint32_t size, std::FILE* log)
{
    ResetTimeSigMap();
    m_log = log;
    m_imageSize = size;
    m_flags = kDenominatorAsNote;
    int rc;
    try {
        rc = ParseMemory(image, size);
    } catch (const std::bad_alloc&) {
        rc = kCannotAllocateEvent;
    }
    m_log = nullptr;
    if (rc != kSuccess) Clear();
    return rc;
}

void CStyleMidiReader::Log(const char* format, ...)
{
    if (m_log == nullptr) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(m_log, format, args);
    va_end(args);
}

int CStyleMidiReader::OnHeader()
{
    Log("\nFile name: %s\n", m_name.c_str());
    Log("File size: %ld\n", long(m_imageSize));
    Log("Chunk size: %ld\n", 6L);
    Log("Format: %d, Num of tracks: %d, Division: %d\n\n", m_format, m_tracks, m_division);
    if (m_format != 0) return kNotFormat0;
    if (m_tracks != 1) return kNotOneTrack;
    return kSuccess;
}

int CStyleMidiReader::OnTrackStart()
{
    Log("\n==================== Track #%d, Size %lu ====================\n\n", m_trackIndex,
        (unsigned long)GetChunkBytes());
    for (auto& flags : m_firstSeen)
        flags.fill(0);
    return kSuccess;
}

int CStyleMidiReader::OnChannelEvent()
{
    uint8_t status = m_status;
    uint8_t channel = status & 0x0F;
    // The first bank select, expression, program and volume of each channel are dropped.
    if (const int slot = firstValueSlot(status, m_eventData[0]);
        slot >= 0 && !m_firstSeen[channel][size_t(slot)]) {
        m_firstSeen[channel][size_t(slot)] = 1;
        return kSuccess;
    }
    const uint8_t kind = status & 0xF0;
    const bool note = kind == 0x80 || kind == 0x90;
    if (note && playPercussionOnDrumChannel && channel == 10) {
        channel = 9;
        status = uint8_t(kind | channel);
    }
    auto e = std::make_unique<CMidiEventBase>();
    e->time = m_trackTime;
    e->status = status;
    e->SetData(m_eventData, (status & 0xE0) == 0xC0 ? 1 : 2);
    // Notes on the drum channels 10 and 11 need no partner.
    e->paired = (note && channel != 9 && channel != 10) ? 0 : 1;
    m_events.push_back(std::move(e));
    return kSuccess;
}

int CStyleMidiReader::OnMetaTime()
{
    // The signature is already applied to the map (with kDenominatorAsNote the
    // denominator is a note value).
    Log("%-12u | %03d:%02d:%03d | Time sig    | %2d/%-7lu| MIDI-clocks/click=%u | 32nds/quarter=%u\n",
        m_trackTime, int(m_curMeasure + 1), int(m_curBeat + 1), int(m_curTick), int(m_eventData[1]),
        (unsigned long)m_eventData[2], unsigned(m_eventData[3]), unsigned(m_eventData[4]));
    return kSuccess;
}

int CStyleMidiReader::OnMetaEndOfTrack()
{
    Log("%-12u | %03d:%02d:%03d | End of track\n", m_trackTime, int(m_curMeasure + 1), int(m_curBeat + 1),
        int(m_curTick));
    if (GetChunkBytes() > GetEventBytes()) return kBadMTrkChunk;
    auto e = std::make_unique<CMidiEventBase>();
    e->time = m_trackTime;
    e->status = 0xFF;
    e->paired = 1;
    m_events.push_back(std::move(e));
    return kSuccess;
}

int CStyleMidiReader::PairNotes(size_t element, size_t variation)
{
    if (element >= kElements || variation >= kVariations) return kBadElementOrVariation;
    const size_t start = elements[element].variations[variation].firstEvent;
    if (start > m_events.size()) return kBadElementOrVariation;
    for (size_t i = start; i < m_events.size(); ++i) {
        CMidiEventBase& off = *m_events[i];
        if (off.paired || !isNoteOff(off)) continue;
        const uint8_t channel = off.status & 0x0F;
        const uint8_t key = eventDataByte(off, 0);
        bool found = false;
        for (size_t j = start; j < i; ++j) {
            CMidiEventBase& on = *m_events[j];
            if (on.paired || !isNoteOn(on) || (on.status & 0x0F) != channel || eventDataByte(on, 0) != key)
                continue;
            if (off.time < on.time) return kNoteOffBeforeNoteOn;
            on.duration = off.time - on.time;
            on.paired = off.paired = 1;
            off.duration = uint32_t(j);
            found = true;
            break;
        }
        if (!found) {
            ++unmatchedNoteOffs;
            off.duration = 0;
        }
    }
    return kSuccess;
}

} // namespace zib
