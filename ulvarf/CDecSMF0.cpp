#include "ulvarf/CDecSMF0.h"

#include "ulvarf/CDecProp.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/SoundingNotes.h"
#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace zib::ulvarf {

namespace {

constexpr uint32_t kMaxImportBars = 32;
// Most events a pattern may hold once repeated over its CV: a pattern of a
// few ticks in a long CV would otherwise be copied without bound.
constexpr uint64_t kMaxRepeatedEvents = 1u << 20;

uint32_t cutTo32(uint64_t tick)
{
    return uint32_t(std::min<uint64_t>(tick, std::numeric_limits<uint32_t>::max()));
}

// F0 42 3x 78 01 b c d e [F7]: a VexSound off (b = 0) or on (b = 1).
bool isVexSound(std::span<const uint8_t> data)
{
    const bool closed = data.size() == 9 && data[8] == 0xF7;
    if (data.size() != 8 && !closed) return false;
    return data[0] == 0x42 && (data[1] & 0xF0) == 0x30 && data[2] == 0x78 && data[3] == 0x01 && data[4] <= 1 &&
           data[5] < 16 && data[6] < 0x80 && data[7] < 0x80;
}

// Microseconds per quarter note of a tempo event; 0 for one that is too
// short or says 0 (both are ignored).
uint32_t tempoOf(const PropEvent& event)
{
    if (!event.IsMeta(PropMeta::Tempo) || event.data.size() < 3) return 0;
    return uint32_t(event.data[0]) << 16 | uint32_t(event.data[1]) << 8 | event.data[2];
}

// Bytes 0-3 of a track record (slots 0-3) and the events that set them:
// controllers 11, 0 and 32 and the program change.
constexpr int kProgramSlot = 3;
constexpr int kExpressionSlot = 0;

// The slot an event sets, or -1.
int setupSlot(const PropEvent& event)
{
    if (event.kind == PropKind::ProgramChange) return kProgramSlot;
    if (event.kind != PropKind::ControlChange) return -1;
    switch (event.data1) {
    case 11:
        return kExpressionSlot;
    case 0:
        return 1;
    case 32:
        return 2;
    default:
        return -1;
    }
}

// The record byte of a slot.
uint8_t& setupField(SmfTrackSetup& setup, int slot)
{
    switch (slot) {
    case 0:
        return setup.expression;
    case 1:
        return setup.bankMsb;
    case 2:
        return setup.bankLsb;
    default:
        return setup.program;
    }
}

uint8_t setupValue(const PropEvent& event)
{
    return event.kind == PropKind::ProgramChange ? event.data1 : event.data2;
}

uint32_t barsOf(uint32_t ticks, uint32_t bar)
{
    return uint32_t((uint64_t(ticks) + bar - 1) / bar);
}

// A pattern stream repeated from its end over `length` ticks: copy k plays
// at k x period; what would start at or after `length` is left out, and
// notes still sounding there end there.
std::optional<std::vector<uint8_t>> repeatStream(std::span<const uint8_t> stream, uint32_t period, uint32_t length,
                                                 uint8_t track)
{
    std::vector<PropEvent> events;
    CDecProp::DecodeEvents(stream, events);
    const uint64_t copies = period ? (uint64_t(length) + period - 1) / period : 1;
    if (copies * events.size() > kMaxRepeatedEvents) {
        TraceMessage("CDecSMF0::ImportCv - Pattern too long once repeated over the CV");
        return std::nullopt;
    }
    std::vector<PropEvent> out;
    out.reserve(size_t(copies * events.size()) + 1);
    SoundingNotes sounding;
    for (uint64_t start = 0; start < length; start += period) {
        for (const PropEvent& event : events) {
            if (event.IsEndOfTrack()) continue;
            const uint64_t tick = start + event.tick;
            if (tick >= length) {
                if (SoundingNotes::IsOff(event) && sounding.Count(event)) {
                    out.push_back(event);
                    out.back().tick = length;
                }
                continue;
            }
            sounding.Count(event);
            out.push_back(event);
            out.back().tick = uint32_t(tick);
        }
        if (period == 0) break;
    }
    for (PropEvent& off : sounding.Offs(length, track)) out.push_back(std::move(off));
    out.push_back(PropEvent::EndOfTrack(length));
    return CEncoderProp::EncodeEvents(out, PropSwitches::BothOff());
}

} // namespace

CDecSMF0::CDecSMF0(std::span<const uint8_t> image) : image_(image) {}

void CDecSMF0::Trace(const char* text) const
{
    if (traces_) TraceMessage("%s", text);
}

// Header

bool CDecSMF0::Open()
{
    open_ = done_ = false;
    runningStatus_ = 0;
    tick_ = carry_ = 0;
    image_.seek(0);
    if (image_.size() == 0) {
        Trace("\nCDecSMF0::WaitStreamOpened() - Failed to open CIn");
        return false;
    }
    if (!image_.match("MThd")) {
        Trace("\nCDecSMF0::Open() - Not a Standard MIDI File");
        return false;
    }
    const uint32_t headerLength = image_.u32be();
    if (image_.failed() || headerLength < 6 || !image_.has(headerLength)) {
        Trace("\nCDecSMF0::Open() - Bad header chunk");
        return false;
    }
    const uint16_t format = image_.u16be();
    const uint16_t tracks = image_.u16be();
    division_ = image_.u16be();
    image_.skip(headerLength - 6);
    if (format != 0 || tracks != 1) {
        Trace("\nCDecSMF0::Open() - Only format 0 with one track can be decoded");
        return false;
    }
    if (division_ & 0x8000) {
        Trace("\nCDecSMF0::Open() - SMPTE time division not supported");
        return false;
    }
    if (!image_.match("MTrk")) {
        Trace("\nCDecSMF0::Open() - Track chunk not found");
        return false;
    }
    const uint32_t trackLength = image_.u32be();
    if (image_.failed()) {
        unexpectedEnd();
        return false;
    }
    // A track cut short by the file's end is decoded as far as it goes.
    track_ = image_.sub(std::min<size_t>(trackLength, image_.remaining()));
    trackEnd_ = image_.pos();
    open_ = true;
    return true;
}

bool CDecSMF0::HasSecondTrack()
{
    zib::ByteCursor rest(image_.data(), image_.size());
    rest.seek(trackEnd_);
    while (rest.has(8)) {
        if (rest.match("MTrk")) {
            Trace("\nCDecSMF0::SetChunkDontWait() - Cannot decode more than one chunk");
            return true;
        }
        rest.skip(4);
        if (!rest.skip(rest.u32be())) break;
    }
    return false;
}

// Events

SmfExtract CDecSMF0::unexpectedEnd()
{
    Trace("\nCDecSMF0::OnExtract() - Unexpected end of file reached");
    done_ = true;
    open_ = false;
    return SmfExtract::Error;
}

SmfExtract CDecSMF0::ExtractEvent(PropEvent& event)
{
    if (!open_) return SmfExtract::Error;
    if (done_) return SmfExtract::End;
    for (;;) {
        if (track_.atEnd()) {
            // A track without its end of track: every event in it was whole.
            Trace("\nCDecSMF0::OnExtract() - Unexpected end of file reached");
            done_ = true;
            return SmfExtract::End;
        }
        const uint32_t delta = track_.varLen();
        if (track_.failed()) return unexpectedEnd();
        if (division_ == 0) {
            tick_ += delta;
        } else {
            const uint64_t scaled = uint64_t(delta) * kQeTicksPerQuarter + carry_;
            tick_ += scaled / division_;
            carry_ = scaled % division_;
        }
        if (!track_.has(1)) return unexpectedEnd();

        uint8_t status = track_.peek();
        if (status & 0x80) {
            track_.u8();
        } else if (runningStatus_) {
            status = runningStatus_;
        } else {
            Trace("\nCDecSMF0::OnExtractEvent() - Missing status byte");
            done_ = true;
            open_ = false;
            return SmfExtract::Error;
        }

        event = PropEvent();
        event.tick = cutTo32(tick_);
        SmfExtract step = SmfExtract::Event;
        if (status == 0xFF) {
            bool keep = true;
            if (!extractMeta(event, keep, step)) return step;
            if (keep) return SmfExtract::Event;
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            if (!extractSysEx(status, event, step)) return step;
            return SmfExtract::Event;
        }
        if (status > 0xF0) {
            Trace("\nCDecSMF0::OnExtractEvent() - Illegal status code");
            done_ = true;
            open_ = false;
            return SmfExtract::Error;
        }
        runningStatus_ = status;
        if (!extractChannel(status, event, step)) return step;
        return SmfExtract::Event;
    }
}

bool CDecSMF0::extractChannel(uint8_t status, PropEvent& event, SmfExtract& step)
{
    uint8_t kind = uint8_t((status >> 4) - 8);
    const uint8_t channel = status & 0x0F;
    const bool twoBytes = kind != PropKind::ProgramChange && kind != PropKind::ChannelPressure;

    auto dataByte = [&](uint8_t& value, bool optional) {
        if (!track_.has(1)) {
            step = unexpectedEnd();
            return false;
        }
        if (track_.peek() & 0x80) {
            if (optional) return true; // a status byte follows: the value stays as given
            Trace("\nCDecSMF0::OnExtractEvent() - Missing data byte");
            done_ = true;
            open_ = false;
            step = SmfExtract::Error;
            return false;
        }
        value = track_.u8();
        return true;
    };

    uint8_t data1 = 0;
    uint8_t data2 = PropEvent::kDefaultOffVelocity;
    if (!dataByte(data1, false)) return false;
    if (twoBytes && !dataByte(data2, kind == PropKind::NoteOff)) return false;
    if (!twoBytes) data2 = 0;

    if (kind == PropKind::NoteOn && data2 == 0) {
        kind = PropKind::NoteOff;
        data2 = PropEvent::kDefaultOffVelocity;
    }
    if (kind == PropKind::ControlChange && data1 >= 120) kind = PropKind::ChannelMode;
    const uint32_t tick = event.tick;
    event = PropEvent::Channel(tick, kind, channel, data1, data2);
    return true;
}

bool CDecSMF0::extractMeta(PropEvent& event, bool& keep, SmfExtract& step)
{
    if (!track_.has(1)) return step = unexpectedEnd(), false;
    const uint8_t type = track_.u8();
    const uint32_t length = track_.varLen();
    auto data = track_.bytes(length);
    if (track_.failed()) return step = unexpectedEnd(), false;

    const uint32_t tick = event.tick;
    if (type == PropMeta::EndOfTrack) {
        event = PropEvent::EndOfTrack(tick);
        done_ = true;
        step = SmfExtract::End;
        return false;
    }
    if (type == PropMeta::Control) {
        keep = false;
        return true;
    }
    if (type == PropMeta::SequencerSpecific && data.size() >= 3 && data[0] == 0x42 && data[1] == 0x60) {
        // The library's control events travel as FF 7F 42 60 s ...
        const uint8_t s = data[2];
        size_t count = 0;
        switch (s) {
        case 5:
        case 6:
            keep = false;
            return true;
        case 7:
            count = data.size() - 3;
            break;
        case 8:
            count = 4;
            break;
        case 9:
        case 11:
            count = 1;
            break;
        case 10:
            count = 3;
            break;
        default:
            event = PropEvent::MetaEvent(tick, type, {data.begin(), data.end()});
            return true;
        }
        std::vector<uint8_t> control(count + 1, 0);
        control[0] = s;
        for (size_t i = 0; i < count && 3 + i < data.size(); ++i) control[1 + i] = data[3 + i];
        event = PropEvent::Control(tick, std::move(control));
        return true;
    }
    event = PropEvent::MetaEvent(tick, type, {data.begin(), data.end()});
    return true;
}

bool CDecSMF0::extractSysEx(uint8_t status, PropEvent& event, SmfExtract& step)
{
    const uint32_t length = track_.varLen();
    auto data = track_.bytes(length);
    if (track_.failed()) return step = unexpectedEnd(), false;
    const uint32_t tick = event.tick;
    if (status == 0xF0 && isVexSound(data)) {
        event = PropEvent::Channel(tick, data[4] ? PropKind::VexSoundOn : PropKind::VexSoundOff, data[5], data[6],
                                   data[7]);
        return true;
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(data.size() + 1);
    if (status == 0xF0) bytes.push_back(0xF0);
    bytes.insert(bytes.end(), data.begin(), data.end());
    event = PropEvent::SysExEvent(tick, 0, std::move(bytes));
    return true;
}

// Import of one chord variation.
//
// Only a refused header fails the import. A decoding fault (a cut-off
// event, a missing or illegal status, a second track chunk) is traced and
// ends the decoding; what was decoded before it is imported.
//
// First pass, over the whole file: the first valid tempo becomes the style
// tempo; when the element held no data, the last valid time signature
// becomes its signature and the last controllers 11, 0, 32 and program
// change of each style track's channel its track record. Tempo 0, short
// tempo or signature events and signatures the style cannot store are
// ignored.
//
// Second pass, up to the file's end or 32 bars, whichever comes first:
// - channel events go to the style track of their channel (other channels
//   are ignored), except a controller 11 at tick 0: the track record holds
//   it and the exporter writes it before the patterns;
// - tempo events become the CV's tempo changes (percent of the style tempo,
//   1-255, one per change) and time signatures are the element's (first
//   pass); neither is copied into the patterns, or every CV imported from a
//   file with a tempo would claim all eight tracks;
// - every other meta and system-exclusive event goes to every style track,
//   so such an event alone makes the patterns;
// - a style track whose stream received nothing keeps no pattern;
// - notes still sounding at the end end there.
// Every stream ends at the end tick; the CV gets that many whole bars (at
// least one). When the element held no data, a pattern shorter than the CV
// is repeated to the CV length.
bool CDecSMF0::ImportCv(std::span<const uint8_t> smf, const SmfImportTarget& target, SmfImportResult& result)
{
    SmfImportResult r;
    r.signature = target.signature.BarLength() ? target.signature : SmfSignature{};
    r.setups = target.setups;
    const bool takeElement = !target.elementHasData;

    CDecSMF0 first(smf);
    if (!first.Open()) return false;
    uint32_t firstTempo = 0;
    PropEvent event;
    while (first.ExtractEvent(event) == SmfExtract::Event) {
        if (!firstTempo) firstTempo = tempoOf(event);
        if (!takeElement) continue;
        if (event.IsMeta(PropMeta::TimeSignature) && event.data.size() >= 4) {
            const SmfSignature signature{event.data[0], event.data[1]};
            if (signature.IsValid())
                r.signature = signature;
            else
                TraceMessage("CDecSMF0::ImportCv - Time signature %d/2^%d ignored", int(signature.numerator),
                             int(signature.log2Denominator));
        }
        const int slot = event.IsChannel() ? setupSlot(event) : -1;
        const int t = slot < 0 ? -1 : StyleTrackOfChannel(event.track);
        if (t >= 0) setupField(r.setups[size_t(t)], slot) = setupValue(event);
    }
    first.HasSecondTrack(); // traced; the first track is what is imported

    const uint32_t bar = r.signature.BarLength();
    const uint64_t limit = uint64_t(kMaxImportBars) * bar;
    const bool cut = first.tick() > limit;
    const auto end = uint32_t(cut ? limit : first.tick());
    r.bars = std::max<uint32_t>(1, barsOf(end, bar));
    r.length = r.bars * bar;
    if (firstTempo) r.tempo = int(std::max<uint32_t>(1, 60000000u / firstTempo));
    const int styleTempo = r.tempo.value_or(target.tempo);

    // Second pass: the per-track encoders (both switches off) and the CV's control stream.
    std::array<CEncoderProp, 8> tracks;
    std::array<bool, 8> received{};
    std::array<SoundingNotes, 8> sounding;
    CEncoderProp control;

    for (CEncoderProp& track : tracks) track.Open(PropSwitches::BothOff());
    control.Open(PropSwitches::BothOff());
    {
        // The second decoder stops where the first one did, whose traces were given.
        CDecSMF0 second(smf);
        second.traces_ = false;
        second.Open();
        int percent = 100;
        while (second.ExtractEvent(event) == SmfExtract::Event) {
            if (second.tick() > end || (cut && second.tick() == end)) break;

            if (event.IsChannel()) {
                const int t = StyleTrackOfChannel(event.track);
                if (t < 0) continue;
                if (event.tick == 0 && setupSlot(event) == kExpressionSlot) continue;
                const size_t ti = size_t(t);
                sounding[ti].Count(event);
                tracks[ti].PutEvent(event);
                received[ti] = true;
                continue;
            }
            if (event.IsMeta(PropMeta::Tempo)) {
                const uint32_t tempo = tempoOf(event);
                if (!tempo || styleTempo <= 0) continue;
                const uint64_t scale = uint64_t(tempo) * uint64_t(styleTempo);
                const auto p = int(std::clamp<uint64_t>((6000000000ull + scale / 2) / scale, 1, 255));
                if (p != percent) control.PutEvent(PropEvent::Control(event.tick, {2, uint8_t(p)}));
                percent = p;
                continue;
            }
            // Signatures are the element's (first pass).
            if (event.IsMeta(PropMeta::TimeSignature)) continue;
            for (size_t t = 0; t < tracks.size(); ++t) {
                if (event.kind == PropKind::SysEx) event.track = kStyleTrackChannel[t];
                tracks[t].PutEvent(event);
                received[t] = true;
            }
        }
    }

    for (size_t t = 0; t < tracks.size(); ++t) {
        SmfImportTrack& track = r.tracks[t];
        if (!received[t]) continue;
        for (const PropEvent& off : sounding[t].Offs(end, kStyleTrackChannel[t])) tracks[t].PutEvent(off);
        tracks[t].PutEvent(PropEvent::EndOfTrack(end));
        if (!tracks[t].Close()) return false;
        track.created = true;
        track.stream = tracks[t].Take();
        track.length = end;
        if (takeElement && end < r.length) {
            auto repeated = repeatStream(track.stream, end, r.length, kStyleTrackChannel[t]);
            if (!repeated) return false;
            track.stream = std::move(*repeated);
            track.length = r.length;
        }
        track.bars = std::max<uint32_t>(1, barsOf(track.length, bar));
    }
    control.PutEvent(PropEvent::EndOfTrack(r.length));
    if (!control.Close()) return false;
    r.controlStream = control.Take();

    result = std::move(r);
    return true;
}

} // namespace zib::ulvarf
