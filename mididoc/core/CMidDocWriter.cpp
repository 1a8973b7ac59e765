#include "mididoc/core/CMidDocWriter.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TimeSignatureReplay.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <limits>
#include <span>
#include <unordered_map>
#include <utility>

namespace zib {

namespace {

// One track chunk to write: its events in the order written, each with the
// tick it is written at
struct ChunkPlan {
    std::vector<std::pair<const CMidiEvent*, uint32_t>> events;
    uint32_t end = 0;               // end of track as read
    std::span<const uint8_t> raw;   // the chunk's bytes as read, when they are written unchanged
    bool keepRaw = false;

    uint32_t EndTick() const { return events.empty() ? end : std::max(end, events.back().second); }
};

// Format 1: a chunk per track up to the last one in use.
std::vector<ChunkPlan> planTracks(const CMidiParserEx& sequence)
{
    int last = 0;
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        if (sequence.GetTrackTotalEvents(t) > 0 || sequence.GetTrack(t)->rawSize > 0) last = t;
    for (const auto& ep : sequence.GetEvents())
        last = std::max(last, int(ep->track));
    std::vector<ChunkPlan> plans(size_t(last) + 1);
    for (int t = 0; t <= last; ++t) {
        const CMidiParserEx::Track& table = *sequence.GetTrack(t);
        ChunkPlan& plan = plans[size_t(t)];
        plan.end = table.endTime;
        plan.keepRaw = table.modified == 0 && !table.rawBuffer.empty() && table.rawBuffer.size() == table.rawSize &&
                       sequence.GetTrackShift() == 0;
        if (plan.keepRaw) plan.raw = table.rawBuffer;
    }
    for (const auto& ep : sequence.GetEvents())
        plans[ep->track].events.emplace_back(ep.get(), ep->time);
    return plans;
}

// Format 0: a chunk per chunk read, each event in the one it came from. A
// note-off that belongs to a note-on goes with it, so that the two pair
// again when read (notes pair inside their chunk). With `signaturesFirst`
// every time signature goes to the first chunk.
std::vector<ChunkPlan> planChunks(const CMidiParserEx& sequence, bool signaturesFirst)
{
    const std::vector<uint32_t>& ends = sequence.GetChunkEndTimes();
    size_t count = std::max<size_t>(1, ends.size());
    std::unordered_map<int32_t, uint8_t> noteOnChunk;
    for (const auto& ep : sequence.GetEvents()) {
        count = std::max(count, size_t(ep->chunk) + 1);
        if (ep->pairId >= 0 && isNoteOn(*ep)) noteOnChunk.emplace(ep->pairId, ep->chunk);
    }
    std::vector<ChunkPlan> plans(count);
    for (size_t c = 0; c < ends.size(); ++c)
        plans[c].end = ends[c];
    for (const auto& ep : sequence.GetEvents()) {
        size_t chunk = ep->chunk;
        if (ep->pairId >= 0 && isNoteOff(*ep)) {
            if (const auto it = noteOnChunk.find(ep->pairId); it != noteOnChunk.end()) chunk = it->second;
        } else if (signaturesFirst && IsTimeSignatureEvent(*ep)) {
            chunk = 0;
        }
        plans[chunk].events.emplace_back(ep.get(), ep->time);
    }
    return plans;
}

// Reads the chunks as the reader will and moves each time signature that it
// would refuse to the start of its measure. A chunk where one moved is built
// from its events again, in time order. `moved` tells whether any did.
int placeTimeSignatures(uint16_t division, std::vector<ChunkPlan>& plans, bool& moved)
{
    moved = false;
    TimeSignatureReplay replay(division);
    for (ChunkPlan& plan : plans) {
        if (const int rc = replay.StartChunk()) return rc;
        bool movedHere = false;
        for (auto& [event, time] : plan.events) {
            const uint32_t asRead = time;
            if (const int rc = replay.Event(*event, time)) return rc;
            movedHere = movedHere || time != asRead;
        }
        if (movedHere) {
            plan.keepRaw = false;
            std::stable_sort(plan.events.begin(), plan.events.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        }
        if (const int rc = replay.EndOfChunk(plan.EndTick())) return rc;
        moved = moved || movedHere;
    }
    return CMidDocWriter::kOk;
}

// The chunks to write with their time signatures where the reader takes
// them. A format-0 file of several chunks whose time signatures were edited
// may read back only with all of them in the first chunk (the measures after
// an edited signature are laid out from it again); it is written so then.
int planFile(const CMidiParserEx& sequence, uint32_t format, std::vector<ChunkPlan>& plans)
{
    plans = format == 0 ? planChunks(sequence, false) : planTracks(sequence);
    bool moved = false;
    if (const int rc = placeTimeSignatures(sequence.GetDivision(), plans, moved)) return rc;
    if (!moved || format != 0 || plans.size() < 2) return CMidDocWriter::kOk;
    std::vector<ChunkPlan> together = planChunks(sequence, true);
    if (placeTimeSignatures(sequence.GetDivision(), together, moved) == CMidDocWriter::kOk && !moved)
        plans = std::move(together);
    return CMidDocWriter::kOk;
}

// Appends one event with its delta to the previous event of the chunk.
bool writeEvent(ByteWriter& w, const CMidiEvent& e, uint32_t time, uint32_t& previousTime)
{
    if (time < previousTime) return false;
    if (!w.varLen(time - previousTime)) return false;
    previousTime = time;
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

int buildTrack(const ChunkPlan& plan, ByteWriter& track)
{
    if (plan.keepRaw) return track.bytes(plan.raw.data(), plan.raw.size()) ? CMidDocWriter::kOk
                                                                         : CMidDocWriter::kEventDataTooLong;
    uint32_t previous = 0;
    for (const auto& [event, time] : plan.events)
        if (!writeEvent(track, *event, time, previous)) return CMidDocWriter::kBadDeltaTime;
    static const uint8_t kEndOfTrack[] = {0xFF, 0x2F, 0x00};
    if (!track.varLen(plan.EndTick() - previous) || !track.bytes(kEndOfTrack, sizeof kEndOfTrack))
        return CMidDocWriter::kBadDeltaTime;
    return CMidDocWriter::kOk;
}

int writeChunk(ByteWriter& file, uint32_t id, std::span<const uint8_t> payload)
{
    if (payload.size() > std::numeric_limits<uint32_t>::max()) return CMidDocWriter::kEventDataTooLong;
    file.u32be(id);
    file.u32be(uint32_t(payload.size()));
    file.bytes(payload.data(), payload.size());
    return CMidDocWriter::kOk;
}

} // namespace

int CMidDocWriter::Build(const CMidiParserEx& sequence, uint32_t format, std::vector<uint8_t>& out)
{
    std::vector<ChunkPlan> plans;
    if (const int rc = planFile(sequence, format, plans)) return rc;

    ByteWriter file;
    file.u32be(CMidiFile::kChunkMThd);
    file.u32be(6);
    file.u16be(uint16_t(format == 0 ? 0 : 1));
    file.u16be(uint16_t(format == 0 ? 1 : plans.size()));
    file.u16be(sequence.GetDivision());
    const auto& foreign = sequence.GetForeignChunks();
    auto writeForeign = [&](auto stands) {
        for (const CMidiParserEx::ForeignChunk& chunk : foreign)
            if (stands(chunk.beforeTrack))
                if (const int rc = writeChunk(file, chunk.id, chunk.bytes)) return rc;
        return kOk;
    };
    for (size_t k = 0; k < plans.size(); ++k) {
        if (const int rc = writeForeign([k](int before) { return before == int(k); })) return rc;
        ByteWriter track;
        if (const int rc = buildTrack(plans[k], track)) return rc;
        if (const int rc = writeChunk(file, CMidiFile::kChunkMTrk, track.bytes())) return rc;
    }
    const int count = int(plans.size());
    if (const int rc = writeForeign([count](int before) { return before >= count; })) return rc;
    if (!file.ok()) return kEventDataTooLong;
    out = file.take();
    return kOk;
}

} // namespace zib
