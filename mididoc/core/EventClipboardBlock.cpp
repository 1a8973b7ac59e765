#include "mididoc/core/EventClipboardBlock.h"

#include "midi/MidiVarLen.h"
#include "platform/ByteCursor.h"

#include <algorithm>

namespace zib {

namespace {

void putU16(std::vector<uint8_t>& out, size_t at, uint16_t v)
{
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}

void putU32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (size_t i = 0; i < 4; ++i)
        out[at + i] = uint8_t(v >> (8 * i));
}

// Whether the raw bytes hold what their status needs: one or two data bytes
// for a channel event, and for meta and system-exclusive events their length
// number and that many bytes.
bool recordHolds(uint8_t status, std::span<const uint8_t> data)
{
    if (status < 0x80) return false;
    if (status < 0xF0) return data.size() >= ((status & 0xE0) == 0xC0 ? 1u : 2u);
    size_t lengthAt = 0;
    if (status == 0xFF) {
        if (data.size() < 3 || data[0] != 0xFF) return false;
        lengthAt = 2;
    } else if (status == 0xF0 || status == 0xF7) {
        if (data.size() < 2 || data[0] != status) return false;
        lengthAt = 1;
    } else {
        return false;
    }
    uint32_t count = 0;
    const uint32_t n = ReadMidiVarLen(data.data() + lengthAt, data.size() - lengthAt, count);
    return count != 0 && n <= data.size() - lengthAt - count;
}

} // namespace

size_t EventClipboardBlock::EncodedSize() const
{
    size_t size = kHeadSize + kTrackHeaderSize * headers.size();
    for (const auto& r : records)
        size += kRecordHeadSize + r.data.size();
    return size;
}

std::vector<uint8_t> EventClipboardBlock::Encode() const
{
    std::vector<uint8_t> out(EncodedSize(), 0);
    size_t recordBytes = 0;
    for (const auto& r : records)
        recordBytes += kRecordHeadSize + r.data.size();
    out[0] = kMark;
    putU32(out, 1, kKind);
    putU32(out, 13, uint32_t(records.size()));
    putU32(out, 19, uint32_t(recordBytes));
    out[23] = oneTrack;
    out[24] = trackEvents;
    out[25] = markers;
    out[26] = tempo;
    out[27] = tact;
    putU32(out, 28, uint32_t(headers.size()));
    size_t at = kHeadSize;
    for (const auto& h : headers) {
        const size_t n = std::min<size_t>(h.name.size(), 256);
        std::copy(h.name.begin(), h.name.begin() + std::ptrdiff_t(n), out.begin() + std::ptrdiff_t(at));
        putU32(out, at + 257, h.trackIndex);
        out[at + 261] = h.port;
        out[at + 262] = h.channel;
        putU16(out, at + 263, h.bank);
        out[at + 265] = h.program;
        out[at + 266] = h.volume;
        out[at + 267] = h.pan;
        at += kTrackHeaderSize;
    }
    for (const auto& r : records) {
        putU32(out, at, r.time);
        out[at + 4] = r.status;
        putU16(out, at + 5, uint16_t(r.data.size()));
        putU32(out, at + 7, r.paired);
        putU32(out, at + 11, r.duration);
        out[at + 15] = r.track;
        out[at + 16] = r.flags;
        std::copy(r.data.begin(), r.data.end(), out.begin() + std::ptrdiff_t(at + kRecordHeadSize));
        at += kRecordHeadSize + r.data.size();
    }
    return out;
}

EventClipboardBlock::Decoded EventClipboardBlock::Decode(std::span<const uint8_t> block, EventClipboardBlock& out)
{
    ByteCursor head(block);
    if (block.size() < 5 || head.u8() != kMark || head.u32le() != kKind) return Decoded::NotEventBlock;
    if (block.size() < kHeadSize) return Decoded::Malformed;
    EventClipboardBlock b;
    head.seek(13);
    const uint32_t recordCount = head.u32le();
    head.seek(23);
    b.oneTrack = head.u8() != 0;
    b.trackEvents = head.u8() != 0;
    b.markers = head.u8() != 0;
    b.tempo = head.u8() != 0;
    b.tact = head.u8() != 0;
    const uint32_t headerCount = head.u32le();

    // The counts must fit the bytes before anything is sized from them.
    const size_t rest = block.size() - kHeadSize;
    if (uint64_t(headerCount) * kTrackHeaderSize > rest) return Decoded::Malformed;
    const size_t recordArea = rest - size_t(headerCount) * kTrackHeaderSize;
    if (uint64_t(recordCount) * kRecordHeadSize > recordArea) return Decoded::Malformed;

    ByteCursor in(block);
    in.seek(kHeadSize);
    b.headers.reserve(headerCount);
    for (uint32_t k = 0; k < headerCount; ++k) {
        ByteCursor h = in.sub(kTrackHeaderSize);
        ClipboardTrackHeader header;
        const auto name = h.bytes(257);
        const auto end = std::find(name.begin(), name.begin() + 256, uint8_t(0));
        header.name.assign(name.begin(), end);
        header.trackIndex = h.u32le();
        header.port = h.u8();
        header.channel = h.u8();
        header.bank = h.u16le();
        header.program = h.u8();
        header.volume = h.u8();
        header.pan = h.u8();
        b.headers.push_back(std::move(header));
    }
    b.records.reserve(recordCount);
    for (uint32_t k = 0; k < recordCount; ++k) {
        if (!in.has(kRecordHeadSize)) return Decoded::Malformed;
        ClipboardEventRecord r;
        r.time = in.u32le();
        r.status = in.u8();
        const uint16_t n = in.u16le();
        r.paired = in.u32le();
        r.duration = in.u32le();
        r.track = in.u8();
        r.flags = in.u8();
        if (!in.has(n)) return Decoded::Malformed;
        const auto data = in.bytes(n);
        if (!recordHolds(r.status, data)) return Decoded::Malformed;
        r.data.assign(data.begin(), data.end());
        b.records.push_back(std::move(r));
    }
    if (in.failed()) return Decoded::Malformed;
    out = std::move(b);
    return Decoded::Ok;
}

} // namespace zib
