#include "mididoc/core/CMidDocWriter.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <limits>

namespace zib {

namespace {

// Appends one event with its delta to the previous event of the chunk.
bool writeEvent(ByteWriter& w, const CMidiEvent& e, uint32_t& previousTime)
{
    if (e.time < previousTime) return false;
    if (!w.varLen(e.time - previousTime)) return false;
    previousTime = e.time;
    const size_t held = std::min<size_t>(e.length, e.data.size());
    if (isChannelStatus(e.status)) {
        // Channel events hold their data bytes only: one for program change
        // and channel pressure, two for the others. They are written as read
        // (a file may carry bytes with bit 7 set); the status always goes
        // first, so they read back the same.
        const size_t n = (e.status & 0xE0) == 0xC0 ? 1 : 2;
        w.u8(e.status);
        for (size_t i = 0; i < n; ++i)
            w.u8(i < held ? e.data[i] : 0);
        return w.ok();
    }
    // System exclusive and meta events hold their bytes as in the file.
    return w.bytes(e.data.data(), held);
}

int writeChunk(ByteWriter& file, const ByteWriter& track)
{
    if (track.size() > std::numeric_limits<uint32_t>::max()) return CMidDocWriter::kEventDataTooLong;
    file.u32be(CMidiFile::kChunkMTrk);
    file.u32be(uint32_t(track.size()));
    file.bytes(track.bytes());
    return CMidDocWriter::kOk;
}

const uint8_t kEndOfTrack[] = {0x00, 0xFF, 0x2F, 0x00};

} // namespace

int CMidDocWriter::Build(const CMidiParserEx& sequence, uint32_t format, std::vector<uint8_t>& out)
{
    // Which chunks there are, and which keep their bytes as read
    int last = 0;
    if (format != 0) {
        for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
            if (sequence.GetTrackTotalEvents(t) > 0 || sequence.GetTrack(t)->rawSize > 0) last = t;
        for (const auto& ep : sequence.GetEvents())
            last = std::max(last, int(ep->track));
    }
    const size_t count = size_t(last) + 1;
    std::vector<ByteWriter> chunks(count);
    std::vector<uint8_t> keepRaw(count, 0);
    if (format != 0) {
        for (int t = 0; t <= last; ++t) {
            const CMidiParserEx::Track& table = *sequence.GetTrack(t);
            keepRaw[size_t(t)] = table.modified == 0 && !table.rawBuffer.empty() &&
                                 table.rawBuffer.size() == table.rawSize && sequence.GetTrackShift() == 0;
            if (keepRaw[size_t(t)]) chunks[size_t(t)].bytes(table.rawBuffer);
        }
    }

    // Every other chunk from its events, in one pass over the sequence
    std::vector<uint32_t> previous(count, 0);
    for (const auto& ep : sequence.GetEvents()) {
        const size_t t = format == 0 ? 0 : size_t(ep->track);
        if (keepRaw[t]) continue;
        if (!writeEvent(chunks[t], *ep, previous[t])) return kBadDeltaTime;
    }
    for (size_t t = 0; t < count; ++t)
        if (!keepRaw[t] && !chunks[t].bytes(kEndOfTrack, sizeof kEndOfTrack)) return kBadDeltaTime;

    ByteWriter file;
    file.u32be(CMidiFile::kChunkMThd);
    file.u32be(6);
    file.u16be(uint16_t(format == 0 ? 0 : 1));
    file.u16be(uint16_t(chunks.size()));
    file.u16be(sequence.GetDivision());
    for (const ByteWriter& chunk : chunks)
        if (int rc = writeChunk(file, chunk)) return rc;
    out = file.take();
    return kOk;
}

} // namespace zib
