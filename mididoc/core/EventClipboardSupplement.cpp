#include "mididoc/core/EventClipboardSupplement.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "mididoc/core/PairIndex.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <optional>

namespace zib {

namespace {

// Ticks per quarter note; a division in SMPTE frames has no quarter to scale by
uint16_t quarterDivision(uint16_t division)
{
    return (division & 0x8000) ? 0 : division;
}

bool isNoteOffBytes(uint8_t status, uint8_t velocity)
{
    return velocity < 0x80 && ((status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && velocity == 0));
}

} // namespace

EventClipboardSupplement EventClipboardSupplement::Of(const CMidiParserEx& sequence,
                                                      std::span<const CMidiEvent* const> copied)
{
    EventClipboardSupplement s;
    s.division = quarterDivision(sequence.GetDivision());
    std::optional<PairIndex> pairs;
    for (size_t k = 0; k < copied.size(); ++k) {
        const CMidiEvent* on = copied[k];
        if (!on || !on->paired || on->pairId < 0 || !isChannelStatus(on->status) || !isNoteOn(*on)) continue;
        if (sequence.GetEvent(on->index) != on) continue; // not where its number says: no partner to find
        if (!pairs) pairs.emplace(sequence);
        const int64_t at = pairs->LaterPartner(on->index);
        if (at < 0) continue;
        const CMidiEvent& off = *sequence.GetEvent(size_t(at));
        if (!isChannelStatus(off.status) || !isNoteOff(off)) continue;
        s.noteOffs.push_back({uint32_t(k), off.status, eventDataByte(off, 1)});
    }
    return s;
}

std::vector<uint8_t> EventClipboardSupplement::Encode(size_t blockSize, size_t recordCount) const
{
    ByteWriter out;
    out.reserve(kHeadSize + kNoteOffSize * noteOffs.size());
    out.u32le(kKind);
    out.u32le(uint32_t(blockSize));
    out.u32le(uint32_t(recordCount));
    out.u16le(division);
    out.u32le(uint32_t(noteOffs.size()));
    for (const NoteOff& n : noteOffs) {
        out.u32le(n.record);
        out.u8(n.status);
        out.u8(n.velocity);
    }
    return out.take();
}

EventClipboardSupplement EventClipboardSupplement::Decode(std::span<const uint8_t> bytes, size_t blockSize,
                                                          size_t recordCount)
{
    ByteCursor in(bytes);
    if (in.u32le() != kKind || in.u32le() != blockSize || in.u32le() != recordCount || in.failed()) return {};
    EventClipboardSupplement s;
    s.division = quarterDivision(in.u16le());
    const uint32_t count = in.u32le();
    if (in.failed() || uint64_t(count) * kNoteOffSize > in.remaining()) return {};
    s.noteOffs.reserve(count);
    for (uint32_t k = 0; k < count; ++k) {
        NoteOff n;
        n.record = in.u32le();
        n.status = in.u8();
        n.velocity = in.u8();
        const bool rising = s.noteOffs.empty() || n.record > s.noteOffs.back().record;
        if (!rising || n.record >= recordCount || !isNoteOffBytes(n.status, n.velocity)) return {};
        s.noteOffs.push_back(n);
    }
    return s;
}

const EventClipboardSupplement::NoteOff* EventClipboardSupplement::NoteOffOf(uint32_t record,
                                                                             size_t& from) const
{
    while (from < noteOffs.size() && noteOffs[from].record < record)
        ++from;
    return from < noteOffs.size() && noteOffs[from].record == record ? &noteOffs[from] : nullptr;
}

} // namespace zib
