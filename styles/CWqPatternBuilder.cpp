#include "styles/CWqPatternBuilder.h"

#include <algorithm>
#include <cstdarg>

#include "styles/CWqStyleData.h"
#include "styles/WqStyleLayout.h"

namespace zib {

namespace {

// Event types by the high nibble of byte 1 (the Wq event encoding).
constexpr uint8_t kPitchBend = 1;
constexpr uint8_t kAftertouch = 2;
constexpr uint8_t kProgramChange = 3;
constexpr uint8_t kControlChange = 4;
constexpr uint8_t kPolyAftertouch = 5;
constexpr uint16_t kBarWord = 0x6000;
constexpr uint16_t kEndWord = 0x7000;
constexpr uint16_t kNoteFlag = 0x8000;

} // namespace

void WqTrackHeader::Capture(uint8_t status, uint8_t data1, uint8_t data2)
{
    auto first = [](bool& found, uint8_t& field, uint8_t value) {
        if (!found) {
            found = true;
            field = value;
        }
    };
    switch (status & 0xF0) {
    case 0xB0:
        if (data1 == 0)
            first(bankMsbFound, bankMsb, data2);
        else if (data1 == 32)
            first(bankLsbFound, bankLsb, data2);
        else if (data1 == 7)
            first(volumeFound, volume, data2);
        else if (data1 == 10)
            first(panFound, pan, data2);
        break;
    case 0xC0:
        first(programFound, program, data1);
        break;
    default:
        break;
    }
}

CWqPatternBuilder::CWqPatternBuilder(const CMidiFileEx& map, int firstMeasure, int lastMeasure,
                                     const WqTrackHeader& header, int ignoreFlags, int channel, bool logging)
    : map_(map), division_(map.GetDivision() ? map.GetDivision() : 96), firstMeasure_(firstMeasure),
      lastMeasure_(lastMeasure), startTick_(map.GetMeasureStartTick(uint32_t(firstMeasure))),
      endTick_(map.GetMeasureStartTick(uint32_t(lastMeasure + 1))), header_(header),
      ignoreFlags_(ignoreFlags), channel_(channel)
{
    if (logging) log_.SetSink(&sink_);
}

int CWqPatternBuilder::TimeSigCode(int numerator, int denominator)
{
    switch (denominator) {
    case 4:
        return numerator >= 1 && numerator <= 9 ? 15 + numerator : -1;
    case 8:
        return numerator >= 1 && numerator <= 16 ? 31 + numerator : -1;
    case 16:
        return numerator >= 1 && numerator <= 16 ? 47 + numerator : -1;
    default:
        return -1;
    }
}

// File ticks to 96 per quarter note, rounded half up.
uint32_t CWqPatternBuilder::Scale(uint32_t ticks) const
{
    return uint32_t((uint64_t(ticks) * 96 * 2 + division_) / (2 * uint64_t(division_)));
}

uint32_t CWqPatternBuilder::BarLength(int measure) const
{
    return BarTicks(map_.GetNumeratorAtMeasure(uint32_t(measure)),
                    map_.GetDenominatorAtMeasure(uint32_t(measure)));
}

uint16_t CWqPatternBuilder::BarTime(const StyleEventPosition& pos)
{
    return CheckedTime(pos, Scale(pos.absTick - map_.GetMeasureStartTick(uint32_t(pos.measure))));
}

// Times and lengths have 9 bits, and 510 marks a tie: a bar longer than
// that (6/4 and up) cannot hold an event late in it.
uint16_t CWqPatternBuilder::CheckedTime(const StyleEventPosition& pos, uint32_t value)
{
    if (value <= kMaxTime) return uint16_t(value);
    Error(pos, "Error: Event time (%u) does not fit a wq-series style bar\n", value);
    return kMaxTime;
}

void CWqPatternBuilder::Error(const StyleEventPosition& pos, const char* format, ...)
{
    ++errors_;
    va_list args;
    va_start(args, format);
    log_.AtV(pos, format, args);
    va_end(args);
}

void CWqPatternBuilder::Add(int measure, bool tiedIn, uint32_t tick, uint32_t seq, uint16_t w0, uint16_t w1)
{
    WqEvent e{{uint8_t(w0), uint8_t(w0 >> 8), uint8_t(w1), uint8_t(w1 >> 8)}};
    records_.push_back(Record{measure - firstMeasure_, tiedIn, tick, seq, e});
}

void CWqPatternBuilder::Keep(const StyleEventPosition& pos, uint8_t type, uint8_t byte2, uint8_t byte3)
{
    uint16_t time = BarTime(pos);
    Add(pos.measure, false, pos.absTick, nextSeq_++, uint16_t(type << 12 | time),
        uint16_t(byte2 | byte3 << 8));
    latestTick_ = std::max(latestTick_, pos.absTick);
}

// True when the value is dropped: it equals the header value and nothing of
// its kind has gone into the track yet.
bool CWqPatternBuilder::FirstValueDropped(Kind kind, int value, int headerValue)
{
    if (!kindInTrack_[kind] && value == headerValue) return true;
    kindInTrack_[kind] = true;
    return false;
}

// Events

int CWqPatternBuilder::NoteOn(const StyleEventPosition& on, uint8_t key, uint8_t velocity)
{
    notes_.push_back(OpenNote{on, key, velocity, nextSeq_++});
    return int(notes_.size() - 1);
}

void CWqPatternBuilder::NoteOff(int handle, const StyleEventPosition* off, uint8_t offVelocity)
{
    if (handle < 0 || size_t(handle) >= notes_.size()) return;
    const OpenNote& note = notes_[size_t(handle)];
    const StyleEventPosition& on = note.on;
    std::string name = log_.IsOpen() ? CWqStyleData::GetNoteName(note.key) : std::string();
    uint16_t onTime = BarTime(on);
    // Without a note-off the note lasts to the end of its bar.
    int offMeasure = on.measure;
    uint32_t offTime = BarLength(on.measure);
    uint32_t offTick = on.absTick;
    if (!off) {
        ++warnings_;
        log_.At(on,
                "Warning: Found NoteON (Key= %-4s, Vol= %03d) without corresponding NoteOFF. Ended at the "
                "end of its bar\n",
                name.c_str(), note.velocity);
    } else {
        log_.At(*off, "Note OFF Event resolved (Key= %-4s, Vol= %03d) at channel: %d\n", name.c_str(),
                offVelocity, channel_);
        offMeasure = off->measure;
        uint32_t offStart = map_.GetMeasureStartTick(uint32_t(offMeasure));
        if (off->absTick == offStart && off->absTick > on.absTick && offMeasure > 0) {
            --offMeasure; // ends on the bar line: the end of the bar before
            offTime = BarLength(offMeasure);
        } else {
            offTime = Scale(off->absTick - offStart);
        }
        offTick = off->absTick;
        if (offMeasure > lastMeasure_) {
            Error(*off, "Error: Note OFF relative bar position (%d) differs from relative CV position (%d)\n",
                  offMeasure - firstMeasure_, lastMeasure_ - firstMeasure_);
            offMeasure = lastMeasure_;
            offTime = BarLength(lastMeasure_);
            offTick = endTick_;
        }
    }
    latestTick_ = std::max({latestTick_, on.absTick, offTick});

    const StyleEventPosition& end = off ? *off : on;
    uint16_t w0 = uint16_t(kNoteFlag | (note.velocity >> 1) << 9);
    uint16_t key = uint16_t(note.key << 9);
    if (offMeasure == on.measure) {
        uint16_t length = CheckedTime(end, offTime > onTime ? offTime - onTime : 0);
        Add(on.measure, false, on.absTick, note.seq, uint16_t(w0 | onTime), uint16_t(key | length));
        return;
    }
    Add(on.measure, false, on.absTick, note.seq, uint16_t(w0 | onTime), uint16_t(key | wq::kTie));
    for (int m = on.measure + 1; m < offMeasure; ++m)
        Add(m, true, map_.GetMeasureStartTick(uint32_t(m)), note.seq, uint16_t(w0 | wq::kTie),
            uint16_t(key | wq::kTie));
    Add(offMeasure, true, map_.GetMeasureStartTick(uint32_t(offMeasure)), note.seq, uint16_t(w0 | wq::kTie),
        uint16_t(key | CheckedTime(end, offTime)));
}

void CWqPatternBuilder::AddController(const StyleEventPosition& pos, uint8_t controller, uint8_t value)
{
    bool dropped = false;
    switch (controller) {
    case 0:
        dropped = (ignoreFlags_ & kWqIgnoreBank) || FirstValueDropped(kBankMsb, value, header_.bankMsb);
        break;
    case 32:
        dropped = (ignoreFlags_ & kWqIgnoreBank) || FirstValueDropped(kBankLsb, value, header_.bankLsb);
        break;
    case 7:
        dropped = (ignoreFlags_ & kWqIgnoreVolume) || FirstValueDropped(kVolume, value, header_.volume);
        break;
    case 10:
        dropped = (ignoreFlags_ & kWqIgnorePan) || FirstValueDropped(kPan, value, header_.pan);
        break;
    default:
        break;
    }
    if (dropped) return;
    log_.Controller(pos, unsigned(channel_), controller, value);
    Keep(pos, kControlChange, controller, value);
}

void CWqPatternBuilder::AddProgram(const StyleEventPosition& pos, uint8_t program, uint16_t soundWord)
{
    if ((ignoreFlags_ & kWqIgnoreProgram) || FirstValueDropped(kProgram, soundWord, header_.Word())) return;
    log_.Program(pos, unsigned(channel_), program);
    Keep(pos, kProgramChange, uint8_t(soundWord), uint8_t(soundWord >> 8));
}

void CWqPatternBuilder::AddKeyPressure(const StyleEventPosition& pos, uint8_t key, uint8_t value)
{
    log_.KeyPress(pos, unsigned(channel_), key, value);
    Keep(pos, kPolyAftertouch, key, value);
}

void CWqPatternBuilder::AddChannelPressure(const StyleEventPosition& pos, uint8_t value)
{
    log_.ChanPress(pos, unsigned(channel_), value);
    Keep(pos, kAftertouch, value, 0);
}

void CWqPatternBuilder::AddPitchWheel(const StyleEventPosition& pos, uint8_t lsb, uint8_t msb)
{
    log_.PitchWheel(pos, unsigned(channel_), lsb, msb);
    Keep(pos, kPitchBend, lsb, msb);
}

void CWqPatternBuilder::NoteOffWithoutNoteOn(const StyleEventPosition& pos, uint8_t key, uint8_t velocity)
{
    ++warnings_;
    log_.At(pos, "Warning: Found NoteOFF (Key= %-4s, Vol= %03d) without corresponding NoteON. Discarded\n",
            CWqStyleData::GetNoteName(key).c_str(), velocity);
}

// Writing

CWqPatternBuilder::Result CWqPatternBuilder::Finish(ByteWriter& out)
{
    if (records_.empty()) return Result::Ok;
    std::sort(records_.begin(), records_.end(), [](const Record& a, const Record& b) {
        if (a.bar != b.bar) return a.bar < b.bar;
        if (a.tiedIn != b.tiedIn) return a.tiedIn;
        if (a.tick != b.tick) return a.tick < b.tick;
        return a.seq < b.seq;
    });
    auto put = [&](uint16_t w0, uint16_t w1) {
        out.u16le(w0);
        out.u16le(w1);
    };
    int bar = -1;
    for (const Record& r : records_) {
        while (bar < r.bar) {
            ++bar;
            if (bar >= wq::kMaxCvBars) {
                failedBar_ = bar;
                return Result::TooManyBars;
            }
            uint32_t measure = uint32_t(firstMeasure_ + bar);
            int code =
                TimeSigCode(map_.GetNumeratorAtMeasure(measure), map_.GetDenominatorAtMeasure(measure));
            put(uint16_t(kBarWord | bar), uint16_t((code < 0 ? wq::kTimeSig44 : code) << 8));
        }
        out.bytes(r.event.b);
    }
    put(kEndWord, uint16_t(bar));
    return out.ok() ? Result::Ok : Result::Overflow;
}

} // namespace zib
