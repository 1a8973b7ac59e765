#include "ulvarf/CEncoderProp.h"

#include "ulvarf/CDecProp.h"

#include "ulvarf/CNoteInfoPool.h"
#include "ulvarf/GlobalObjects.h"
#include "ulvarf/TraceMessage.h"

#include <algorithm>

namespace zib::ulvarf {

namespace {

constexpr uint8_t kTrackChange = 0x40;
constexpr uint8_t kLastByte = 0x80;

bool isNoteKind(uint8_t kind)
{
    return kind == PropKind::Note || kind == PropKind::VexSound;
}

} // namespace

CEncoderProp::CEncoderProp(size_t limit) : CEncoderProp(GlobalNoteInfoPool(), limit) {}

CEncoderProp::CEncoderProp(CNoteInfoPool& notes, size_t limit) : CEncoderBase(true), notes_(notes), out_(0, limit)
{
    Open();
}

CEncoderProp::~CEncoderProp()
{
    freeTracer(noteTracer_);
    freeTracer(soundTracer_);
}

void CEncoderProp::Open(PropSwitches switches)
{
    freeTracer(noteTracer_);
    freeTracer(soundTracer_);
    out_.Take();
    out_.ClearError();
    ResetBase();
    switches_ = switches;
    SetExpandDurations(!switches.keepDurations);
    durationLimit_ = 0;
    track_ = 0;
    writtenTick_ = 0;
    lastWasEnd_ = false;
}

// Encoding single events

bool CEncoderProp::EncodeEvent(const PropEvent& event, std::vector<uint8_t>& out)
{
    out.clear();
    switch (event.kind) {
    case PropKind::ProgramChange:
    case PropKind::ChannelPressure:
        out = {event.kind, uint8_t(event.data1 | kLastByte)};
        return true;
    case PropKind::NoteOff:
    case PropKind::NoteOn:
    case PropKind::PolyPressure:
    case PropKind::ControlChange:
    case PropKind::PitchBend:
    case PropKind::ChannelMode:
    case PropKind::VexSoundOff:
    case PropKind::VexSoundOn:
        out = {event.kind, uint8_t(event.data1 & 0x7F), uint8_t(event.data2 | kLastByte)};
        return true;
    case PropKind::Note:
    case PropKind::VexSound: {
        const uint16_t code = PropEvent::DurationCode(event.duration);
        out = {event.kind, uint8_t(event.data1 & 0x7F), uint8_t(event.data2 & 0x7F), uint8_t(code >> 7),
               uint8_t(code & 0x7F), uint8_t(event.offVelocity | kLastByte)};
        return true;
    }
    case PropKind::Meta: {
        if (event.data.size() > PropEvent::kMaxDataLength) return false;
        const size_t n = event.data.size();
        out = {PropKind::Meta, event.metaType, uint8_t(n >> 7), uint8_t(n & 0x7F)};
        out.insert(out.end(), event.data.begin(), event.data.end());
        return true;
    }
    case PropKind::SysEx: {
        // Mode: 0 F0 ... F7, 1 F0 only, 2 neither, 3 F7 only; the F0 and F7
        // are not stored.
        const auto& bytes = event.data;
        const bool startsF0 = !bytes.empty() && bytes.front() == 0xF0;
        const bool endsF7 = bytes.size() > (startsF0 ? 1u : 0u) && bytes.back() == 0xF7;
        const uint8_t mode = startsF0 ? (endsF7 ? 0 : 1) : (endsF7 ? 3 : 2);
        const size_t first = startsF0 ? 1 : 0;
        const size_t n = bytes.size() - first - (endsF7 ? 1 : 0);
        if (n > PropEvent::kMaxDataLength) return false;
        out = {PropKind::SysEx, mode, uint8_t(n >> 7), uint8_t(n & 0x7F)};
        out.insert(out.end(), bytes.begin() + long(first), bytes.begin() + long(first + n));
        if (n) out.back() |= kLastByte;
        return true;
    }
    default:
        return false;
    }
}

bool CEncoderProp::PropFormEncodeDelta(uint32_t delta, std::vector<uint8_t>& out)
{
    if (delta > PropFrame::kMaxDelta) {
        TraceMessage("PropFormEncodeDelta - Tick out of range");
        return false;
    }
    uint8_t bytes[4];
    out.insert(out.end(), bytes, bytes + PropFrame::DeltaForm(delta, bytes));
    return true;
}

bool CEncoderProp::writeEvent(uint32_t tick, uint8_t kind, std::span<const uint8_t> payload, bool carriesTrack,
                              uint8_t track, size_t* payloadPos)
{
    scratch_.clear();
    if (!PropFormEncodeDelta(tick - writtenTick_, scratch_)) return Fail(), false;
    track &= 0x7F;
    kind &= 0x1F;
    const bool change = carriesTrack && track != track_;
    scratch_.push_back(uint8_t(kind | (change ? kTrackChange : 0)));
    if (change) scratch_.push_back(uint8_t((track - track_) & 0x7F));
    const size_t payloadAt = out_.size() + scratch_.size();
    if (!out_.Write(scratch_.data(), scratch_.size()) || !out_.Write(payload.data(), payload.size()))
        return Fail(), false;
    if (change) track_ = track;
    writtenTick_ = tick;
    lastWasEnd_ = kind == PropKind::Meta && !payload.empty() && payload[0] == PropMeta::EndOfTrack;
    if (payloadPos) *payloadPos = payloadAt;
    return true;
}

bool CEncoderProp::writeEncoded(uint32_t tick, const std::vector<uint8_t>& encoded, bool carriesTrack, uint8_t track,
                                size_t* payloadPos)
{
    return writeEvent(tick, encoded[0], std::span<const uint8_t>(encoded).subspan(1), carriesTrack, track, payloadPos);
}

// Note pairing

bool CEncoderProp::openNote(const PropEvent& event, CNoteInfo*& tracer)
{
    // The cell first: without it the duration could never be filled in.
    CNoteInfo* note = notes_.GetNewNote();
    if (!note) return Fail(), false;
    const bool vex = event.kind == PropKind::VexSoundOn;
    EncodeEvent(PropEvent::NoteWithDuration(event.tick, event.track, event.data1, event.data2, 0, 0, vex), encoded_);
    size_t payload = 0;
    if (!writeEncoded(event.tick, encoded_, true, event.track, &payload)) {
        notes_.FreeNote(note);
        return false;
    }
    note->key = event.data1 & 0x7F;
    note->track = event.track & 0x7F;
    note->streamPos = payload + 2; // the duration bytes follow key and velocity
    note->startTick = event.tick;
    note->next = tracer;
    tracer = note;
    return true;
}

bool CEncoderProp::closeNote(const PropEvent& event, CNoteInfo*& tracer, const char* redundantText)
{
    CNoteInfo** link = &tracer;
    while (*link && ((*link)->key != (event.data1 & 0x7F) || (*link)->track != (event.track & 0x7F)))
        link = &(*link)->next;
    if (!*link) {
        TraceMessage("%s", redundantText);
        return false;
    }
    CNoteInfo* note = *link;
    uint32_t duration = event.tick - note->startTick;
    if (durationLimit_) duration = std::min(duration, durationLimit_);
    const uint16_t code = PropEvent::DurationCode(duration);
    const uint8_t bytes[3] = {uint8_t(code >> 7), uint8_t(code & 0x7F), uint8_t(event.data2 | kLastByte)};
    const size_t at = note->streamPos;
    *link = note->next;
    notes_.FreeNote(note);
    if (!out_.Patch(at, bytes, 3)) return Fail(), false;
    return true;
}

void CEncoderProp::shutTracer(CNoteInfo*& tracer, uint32_t tick, const char* format)
{
    while (tracer) {
        const CNoteInfo note = *tracer;
        TraceMessage(format, unsigned(note.key), int(note.track), int(note.startTick), int(tick));
        closeNote(PropEvent::Channel(tick, PropKind::NoteOff, note.track, note.key, PropEvent::kDefaultOffVelocity),
                  tracer, "");
    }
}

void CEncoderProp::freeTracer(CNoteInfo*& tracer)
{
    while (tracer) {
        CNoteInfo* next = tracer->next;
        notes_.FreeNote(tracer);
        tracer = next;
    }
}

void CEncoderProp::ShutNotes(uint32_t tick)
{
    shutTracer(noteTracer_, tick, "CEncoderProp::ShutNotes() - NOTE Shut: Key=0x%X Trk=%d On=%d Off=%d");
    shutTracer(soundTracer_, tick, "CEncoderProp::ShutNotes() - SOUND Shut: Key=0x%X Trk=%d On=%d Off=%d");
}

// Writers

bool CEncoderProp::OnChannelMsg(const PropEvent& event)
{
    if (switches_.notePairing) {
        switch (event.kind) {
        case PropKind::NoteOn:
            return openNote(event, noteTracer_);
        case PropKind::VexSoundOn:
            return openNote(event, soundTracer_);
        case PropKind::NoteOff:
            return closeNote(event, noteTracer_, "CEncoderProp::OnChannelMsg - Redundant Note-Off not encoded.");
        case PropKind::VexSoundOff:
            return closeNote(event, soundTracer_, "CEncoderProp::OnChannelMsg - Redundant Sound-Off not encoded.");
        default:
            break;
        }
    } else if (isNoteKind(event.kind)) {
        TraceMessage("CEncoderProp::OnChannelMsg - Note with duration not encoded.");
        return false;
    }
    if (!EncodeEvent(event, encoded_)) return false;
    return writeEncoded(event.tick, encoded_, true, event.track);
}

bool CEncoderProp::OnMetaEvent(const PropEvent& event)
{
    if (!EncodeEvent(event, encoded_)) {
        TraceMessage("CEncoderProp::OnMetaEvent - Event too long; not encoded");
        return false;
    }
    return writeEncoded(event.tick, encoded_, false, 0);
}

bool CEncoderProp::OnSysExEvent(const PropEvent& event)
{
    if (!EncodeEvent(event, encoded_)) {
        TraceMessage("CEncoderProp::OnSysExEvent - Event too long; not encoded");
        return false;
    }
    return writeEncoded(event.tick, encoded_, true, event.track);
}

bool CEncoderProp::OnEndOfTrack(uint32_t tick)
{
    ShutNotes(tick);
    return !failed();
}

bool CEncoderProp::CopyEncodedEvent(uint32_t tick, std::span<const uint8_t> event, uint8_t track)
{
    if (event.empty()) return false;
    const bool change = (event[0] & kTrackChange) != 0;
    if (change && event.size() < 2) return false;
    const uint8_t kind = event[0] & 0x1F;
    const std::span<const uint8_t> payload = event.subspan(change ? 2 : 1);
    if (kind == PropKind::Meta && payload.size() >= 3 && payload[0] == PropMeta::EndOfTrack)
        return PutEvent(PropEvent::MetaEvent(tick, PropMeta::EndOfTrack, {payload.begin() + 3, payload.end()}));
    if (!AdvanceTo(tick)) return false;
    return writeEvent(tick, kind, payload, kind != PropKind::Meta, track);
}

bool CEncoderProp::Close()
{
    if (failed()) return false;
    if (!ended()) FlushPending();
    if (noteTracer_) TraceMessage("CEncoderProp::OnClose() - Note Tracer is not empty");
    if (soundTracer_) TraceMessage("CEncoderProp::OnClose() - Sound Tracer is not empty");
    ShutNotes(writtenTick_);
    if (!lastWasEnd_) TraceMessage("CEncoderProp::Close() - EOT not found");
    return !failed();
}

// Whole lists

std::optional<std::vector<uint8_t>> CEncoderProp::EncodeEvents(std::span<const PropEvent> events,
                                                               PropSwitches switches)
{
    CEncoderProp encoder;
    encoder.Open(switches);
    for (const PropEvent& event : events) {
        encoder.PutEvent(event);
        if (encoder.failed()) return std::nullopt;
    }
    if (!encoder.Close()) return std::nullopt;
    return encoder.Take();
}

std::optional<std::vector<uint8_t>> CEncoderProp::ReEncode(std::span<const uint8_t> stream)
{
    std::vector<PropEvent> events;
    if (!CDecProp::DecodeEvents(stream, events)) return std::nullopt;
    return EncodeEvents(events, PropSwitches::BothOff());
}

std::optional<std::vector<uint8_t>> CEncoderProp::CopyEvents(std::span<const PropEvent> events)
{
    CEncoderProp encoder;
    encoder.Open(PropSwitches::BothOff());
    std::vector<uint8_t> encoded;
    encoded.reserve(64);
    for (const PropEvent& event : events) {
        if (!EncodeEvent(event, encoded)) {
            TraceMessage("CEncoderProp::CopyEvents - Event cannot be stored");
            return std::nullopt;
        }
        if (!encoder.CopyEncodedEvent(event.tick, encoded, event.track)) return std::nullopt;
    }
    if (!encoder.Close()) return std::nullopt;
    return encoder.Take();
}

} // namespace zib::ulvarf
