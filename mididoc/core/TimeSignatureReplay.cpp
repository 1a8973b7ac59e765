#include "mididoc/core/TimeSignatureReplay.h"

#include "midi/CMidiEvent.h"
#include "midi/MidiEventKind.h"
#include "mididoc/core/SequenceEdits.h"

namespace zib {

namespace {

// The events the reader locates in the map before it hands them on: channel
// and system-exclusive events, and the meta events it knows.
bool readerLocates(const CMidiEvent& e)
{
    if (e.status != 0xFF) return isChannelStatus(e.status) || e.status == 0xF0 || e.status == 0xF7;
    const int type = MetaType(e);
    switch (type) {
    case 0x00:
    case 0x20:
    case 0x21:
    case 0x2F:
    case 0x51:
    case 0x54:
    case 0x58:
    case 0x59:
    case 0x7F:
        return true;
    default:
        return type >= 0x01 && type <= 0x09;
    }
}

} // namespace

TimeSignatureReplay::TimeSignatureReplay(uint16_t division)
{
    m_division = division;
    ResetTimeSigMap();
}

int TimeSignatureReplay::StartChunk()
{
    return BeforeTrack();
}

int TimeSignatureReplay::TimeSignatureAt(uint32_t t, uint8_t numerator, uint8_t denominatorPower)
{
    m_trackTime = t;
    m_eventData[1] = numerator;
    m_eventData[2] = denominatorPower;
    return BeforeTimeSignature();
}

int TimeSignatureReplay::Event(const CMidiEvent& event, uint32_t& t)
{
    if (!readerLocates(event)) return kSuccess;
    if (IsTimeSignatureEvent(event)) {
        std::span<const uint8_t> data;
        if (!MetaData(event, data) || data.size() != 4) return kBadMetaEventLen;
        int rc = TimeSignatureAt(t, data[0], data[1]);
        if (rc == kTimeSigWrongPlace) {
            if ((rc = ConvertTick(t))) return rc;
            t = GetMeasureStartTick(GetLastMeasure());
            rc = TimeSignatureAt(t, data[0], data[1]);
        }
        if (rc) return rc;
    }
    m_trackTime = t;
    return BeforeEvent();
}

int TimeSignatureReplay::EndOfChunk(uint32_t t)
{
    m_trackTime = t;
    return BeforeEvent();
}

} // namespace zib
