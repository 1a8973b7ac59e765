#include "ulvarf/CEncoderSMF0.h"

#include "ulvarf/CDecProp.h"
#include "ulvarf/SoundingNotes.h"
#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace zib::ulvarf {

namespace {

// "MThd", length 6, format 0, one track, 384 ticks per quarter note; then
// "MTrk" with its length, set when the file is closed.
constexpr uint8_t kFileHead[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0x80,
                                 'M', 'T', 'r', 'k', 0, 0, 0, 0};
constexpr size_t kTrackHeaderEnd = sizeof kFileHead;
constexpr size_t kTrackLengthAt = 18;
constexpr uint32_t kMaxTempo = 0xFFFFFF;
// Most events a file may get: patterns of a few ticks repeated over a long
// CV would otherwise be copied without bound.
constexpr uint64_t kMaxEvents = 1u << 22;

uint8_t channelOf(const PropEvent& event)
{
    return event.track & 0x0F;
}

PropEvent tempoEvent(uint32_t tick, uint64_t microseconds)
{
    const auto us = uint32_t(std::clamp<uint64_t>(microseconds, 1, kMaxTempo));
    return PropEvent::MetaEvent(tick, PropMeta::Tempo, {uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
}

// One event of the merged track and where it comes from: the rank orders the
// sources of one tick (0 the header events, 1 the CV's tempo changes, 2 + t
// style track t).
struct Source {
    uint32_t rank;
    PropEvent event;
};

// A meta or sysex event as bytes, to find the same event from another source.
std::string identity(const PropEvent& event)
{
    std::string id{char(event.kind), char(event.metaType)};
    id.append(event.data.begin(), event.data.end());
    return id;
}

// The events of one pattern repeated over `total` ticks, every `period`
// ticks. Of each copy only what starts within the period plays; a note off
// past the period, or past the CV's end, comes at that end when its note is
// still sounding. The pattern's end of track is left out.
void repeatPattern(const std::vector<PropEvent>& events, uint32_t period, uint32_t total, uint8_t channel,
                   uint32_t rank, std::vector<Source>& out)
{
    for (uint64_t start = 0; start < total; start += period) {
        SoundingNotes sounding;
        for (const PropEvent& event : events) {
            if (event.IsEndOfTrack()) continue;
            const bool off = SoundingNotes::IsOff(event);
            uint64_t tick = start + std::min(event.tick, period);
            bool moved = event.tick > period;
            if (event.tick >= period && !off) continue;
            if (tick >= total) {
                if (!off) continue;
                moved = moved || tick > total;
                tick = total;
            }
            if (!sounding.Count(event) && moved) continue;
            Source source{rank, event};
            source.event.tick = uint32_t(tick);
            if (source.event.kind != PropKind::Meta) source.event.track = channel;
            out.push_back(std::move(source));
        }
    }
}

} // namespace

CEncoderSMF0::CEncoderSMF0() : CEncoderBase(true)
{
    Open();
}

void CEncoderSMF0::Open(bool noteOffAsNoteOn)
{
    ResetBase();
    SetExpandDurations(true);
    out_.clear();
    for (uint8_t byte : kFileHead) out_.u8(byte);
    noteOffAsNoteOn_ = noteOffAsNoteOn;
    runningStatus_ = 0;
    writtenTick_ = 0;
    endWritten_ = false;
    for (auto& table : sounding_) table.assign(16 * 128, 0);
}

bool CEncoderSMF0::Close(uint32_t endTick)
{
    if (!endWritten_ && !failed()) PutEvent(PropEvent::EndOfTrack(std::max(endTick, lastTick())));
    if (failed() || !endWritten_) return false;
    out_.patchU32be(kTrackLengthAt, uint32_t(out_.size() - kTrackHeaderEnd));
    return out_.ok();
}

// Writers

bool CEncoderSMF0::writeDelta(uint32_t tick)
{
    VarLenNum(tick - writtenTick_, out_);
    writtenTick_ = tick;
    return out_.ok() || (Fail(), false);
}

void CEncoderSMF0::countNote(size_t table, uint8_t channel, uint8_t key, bool on)
{
    uint16_t& count = sounding_[table][size_t(channel & 0x0F) * 128 + (key & 0x7F)];
    if (on)
        count = uint16_t(count + (count < UINT16_MAX));
    else if (count)
        --count;
}

bool CEncoderSMF0::writeChannel(uint32_t tick, uint8_t status, uint8_t data1, uint8_t data2, bool twoBytes)
{
    if (!writeDelta(tick)) return false;
    if (status != runningStatus_) out_.u8(status);
    runningStatus_ = status;
    out_.u8(data1 & 0x7F);
    if (twoBytes) out_.u8(data2 & 0x7F);
    return out_.ok() || (Fail(), false);
}

bool CEncoderSMF0::writeVexSound(uint32_t tick, bool on, uint8_t channel, uint8_t key, uint8_t velocity)
{
    if (!writeDelta(tick)) return false;
    const uint8_t message[] = {0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, uint8_t(on ? 1 : 0), uint8_t(channel & 0x0F),
                               uint8_t(key & 0x7F), uint8_t(velocity & 0x7F), 0xF7};
    out_.bytes(message, sizeof message);
    runningStatus_ = 0;
    return out_.ok() || (Fail(), false);
}

bool CEncoderSMF0::OnChannelMsg(const PropEvent& event)
{
    const uint8_t channel = channelOf(event);
    switch (event.kind) {
    case PropKind::NoteOff:
        countNote(0, channel, event.data1, false);
        if (noteOffAsNoteOn_) return writeChannel(event.tick, uint8_t(0x90 | channel), event.data1, 0, true);
        return writeChannel(event.tick, uint8_t(0x80 | channel), event.data1, event.data2, true);
    case PropKind::NoteOn:
        countNote(0, channel, event.data1, event.data2 != 0);
        [[fallthrough]];
    case PropKind::PolyPressure:
    case PropKind::PitchBend:
        return writeChannel(event.tick, uint8_t((event.kind + 8) << 4 | channel), event.data1, event.data2, true);
    case PropKind::ControlChange:
    case PropKind::ChannelMode:
        return writeChannel(event.tick, uint8_t(0xB0 | channel), event.data1, event.data2, true);
    case PropKind::ProgramChange:
    case PropKind::ChannelPressure:
        return writeChannel(event.tick, uint8_t((event.kind + 8) << 4 | channel), event.data1, 0, false);
    case PropKind::VexSoundOff:
    case PropKind::VexSoundOn: {
        const bool on = event.kind == PropKind::VexSoundOn;
        countNote(1, channel, event.data1, on);
        return writeVexSound(event.tick, on, channel, event.data1, event.data2);
    }
    default:
        return false;
    }
}

bool CEncoderSMF0::OnMetaEvent(const PropEvent& event)
{
    if (!writeDelta(event.tick)) return false;
    const bool control = event.metaType == PropMeta::Control;
    out_.u8(0xFF);
    out_.u8(control ? PropMeta::SequencerSpecific : event.metaType);
    VarLenNum(uint32_t(event.data.size() + (control ? 2 : 0)), out_);
    if (control) {
        out_.u8(0x42);
        out_.u8(0x60);
    }
    out_.bytes(event.data);
    runningStatus_ = 0;
    if (event.IsEndOfTrack()) endWritten_ = true;
    return out_.ok() || (Fail(), false);
}

bool CEncoderSMF0::OnSysExEvent(const PropEvent& event)
{
    if (!writeDelta(event.tick)) return false;
    const auto& bytes = event.data;
    if (!bytes.empty() && bytes.front() == 0xF0) {
        out_.u8(0xF0);
        VarLenNum(uint32_t(bytes.size() - 1), out_);
        out_.bytes(bytes.data() + 1, bytes.size() - 1);
    } else {
        out_.u8(0xF7);
        VarLenNum(uint32_t(bytes.size()), out_);
        out_.bytes(bytes);
    }
    runningStatus_ = 0;
    return out_.ok() || (Fail(), false);
}

bool CEncoderSMF0::OnEndOfTrack(uint32_t tick)
{
    // Notes that never met their note off end with the track (kept on
    // purpose: a file must not leave notes hanging).
    for (size_t table = 0; table < sounding_.size(); ++table) {
        const uint8_t kind = table == 0 ? PropKind::NoteOff : PropKind::VexSoundOff;
        for (size_t i = 0; i < sounding_[table].size(); ++i) {
            const PropEvent off = PropEvent::Channel(tick, kind, uint8_t(i / 128), uint8_t(i % 128), PropEvent::kDefaultOffVelocity);
            while (sounding_[table][i] > 0)
                if (!OnChannelMsg(off)) return false; // each off counts the note down
        }
    }
    return true;
}

// Export of one chord variation

std::optional<std::vector<uint8_t>> CEncoderSMF0::ExportCv(const SmfExportCv& cv)
{
    const uint32_t bar = cv.signature.BarLength();
    const uint64_t total64 = uint64_t(bar) * std::max<uint32_t>(cv.bars, 1);
    if (bar == 0 || total64 > zib::ByteWriter::kMaxVarLen) {
        TraceMessage("CEncoderSMF0::ExportCv - Chord variation has no length");
        return std::nullopt;
    }
    const auto total = uint32_t(total64);

    std::vector<Source> sources;
    // Tick 0: tempo, time signature and the track records of the created patterns.
    if (cv.tempo > 0) sources.push_back({0, tempoEvent(0, 60000000u / uint32_t(cv.tempo))});
    const uint8_t power = cv.signature.log2Denominator;
    sources.push_back({0, PropEvent::MetaEvent(0, PropMeta::TimeSignature,
                                               {cv.signature.numerator, power, uint8_t(96 >> std::min<uint8_t>(power, 7)), 8})});
    for (size_t t = 0; t < cv.tracks.size(); ++t) {
        const SmfExportTrack& track = cv.tracks[t];
        if (!track.created) continue;
        const uint8_t channel = kStyleTrackChannel[t];
        sources.push_back({0, PropEvent::Channel(0, PropKind::ControlChange, channel, 11, track.setup.expression)});
        sources.push_back({0, PropEvent::Channel(0, PropKind::ControlChange, channel, 0, track.setup.bankMsb)});
        sources.push_back({0, PropEvent::Channel(0, PropKind::ControlChange, channel, 32, track.setup.bankLsb)});
        sources.push_back({0, PropEvent::Channel(0, PropKind::ProgramChange, channel, track.setup.program)});
    }

    // The CV's own tempo changes, in percent of the style tempo, as FF 51
    // events (kept on purpose: without them an edited tempo would be lost).
    std::vector<PropEvent> events;
    if (cv.tempo > 0 && !cv.controlStream.empty()) {
        CDecProp::DecodeEvents(cv.controlStream, events);
        for (const PropEvent& event : events) {
            if (!event.IsMeta(PropMeta::Control) || event.data.size() < 2 || event.data[0] != 2) continue;
            if (event.data[1] == 0 || event.tick >= total) continue;
            const uint64_t scale = uint64_t(cv.tempo) * event.data[1];
            sources.push_back({1, tempoEvent(event.tick, (6000000000ull + scale / 2) / scale)});
        }
    }

    // The patterns, each repeated over the CV on its track's channel.
    for (size_t t = 0; t < cv.tracks.size(); ++t) {
        const SmfExportTrack& track = cv.tracks[t];
        if (!track.created) continue;
        events.clear();
        CDecProp::DecodeEvents(track.stream, events);
        uint32_t period = track.patternLength;
        if (period == 0 || period > total) period = total;
        const uint64_t copies = (uint64_t(total) + period - 1) / period;
        if (sources.size() + copies * events.size() > kMaxEvents) {
            TraceMessage("CEncoderSMF0::ExportCv - Too many events once the patterns are repeated");
            return std::nullopt;
        }
        repeatPattern(events, period, total, kStyleTrackChannel[t], uint32_t(2 + t), sources);
    }
    std::stable_sort(sources.begin(), sources.end(), [](const Source& a, const Source& b) {
        return a.event.tick != b.event.tick ? a.event.tick < b.event.tick : a.rank < b.rank;
    });

    CEncoderSMF0 encoder;
    encoder.Open(cv.noteOffAsNoteOn);
    // Identical meta and sysex events of several tracks at one tick are
    // written once (kept on purpose: the import copies them to all eight
    // tracks, so each round trip would otherwise multiply them eightfold).
    // The meta and sysex events written at the current tick and the source
    // that wrote each: the same bytes from another source are left out.
    std::unordered_map<std::string, uint32_t> written;
    uint32_t writtenAt = 0;
    for (const Source& source : sources) {
        const PropEvent& event = source.event;
        if (event.tick != writtenAt) {
            written.clear();
            writtenAt = event.tick;
        }
        if (!event.IsChannel()) {
            const auto [at, added] = written.try_emplace(identity(event), source.rank);
            if (!added && at->second != source.rank) continue;
        }
        encoder.PutEvent(event);
        if (encoder.failed()) return std::nullopt;
    }
    if (!encoder.Close(total)) return std::nullopt;
    return encoder.Take();
}

} // namespace zib::ulvarf
