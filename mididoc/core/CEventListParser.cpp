#include "mididoc/core/CEventListParser.h"

#include "midi/DaskMidiId.h"
#include "midi/MidiVarLen.h"
#include "mididoc/core/MidiDocAllocator.h"

namespace zib {

namespace {

constexpr size_t kVexDataBytes = 8;
constexpr uint32_t kVexRawLength = 11;

} // namespace

CEventListParser::CEventListParser() = default;

CEventListParser::~CEventListParser() = default;

int CEventListParser::OnSysEx()
{
    if (!IsStoringPass() || m_format == 1) return kSuccess;
    // The message as it stands: status, length, data
    const auto raw = GetEventRawBytes();
    if (raw.size() < 2) return kSuccess;
    uint32_t count = 0;
    const uint32_t length = ReadMidiVarLen(raw.data() + 1, raw.size() - 1, count);
    if (count == 0 || length > raw.size() - 1 - count) return kSuccess;
    const uint8_t* d = raw.data() + 1 + count;
    if (length < kVexDataBytes || d[0] != DaskMidiId || d[1] != 0x3F || d[2] != 0x78) return kSuccess;
    if (d[4] > 1 || d[5] > 15) return kSuccess;

    auto e = MidiDocAllocator::NewEvent();
    if (!e) return kCannotAllocateEvents;
    if (!MidiDocAllocator::Resize(e->data, kVexRawLength)) return kCannotAllocateEvents;
    e->time = m_eventTime;
    e->measure = GetLastMeasure();
    e->beat = GetLastBeat();
    e->tick = GetLastTick();
    e->status = uint8_t((d[4] == 1 ? 0x90 : 0x80) | d[5]);
    e->data[0] = d[6];
    e->data[1] = d[7];
    e->length = kVexRawLength;
    e->flags = CMidiEvent::kVexNoise;
    // Counted, tracked by channel and paired as a channel note of channel c
    StoreEvent(std::move(e));
    return kSuccess;
}

} // namespace zib
