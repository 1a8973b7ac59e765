#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

#include "styles/ConversionLogSink.h"

namespace zib {

// Position of a MIDI event as the converters judge it: absolute tick and the
// zero-based measure, beat and tick within the beat.
struct StyleEventPosition {
    uint32_t absTick = 0;
    int measure = 0;
    int beat = 0;
    int tick = 0;

    bool IsFileStart() const { return measure == 0 && beat == 0 && tick == 0; }
    bool IsBarStart() const { return beat == 0 && tick == 0; }
};

// The plain-text log of a conversion: one line per event beginning
// "%-12u | %02d:%02d:%03d | " (absolute tick, measure + 1, beat + 1, tick),
// the start, between-passes and end lines. Without a sink every line is
// dropped. Formats are literals; user text goes in through "%s".
class CConversionLog {
public:
    CConversionLog() = default;
    explicit CConversionLog(IConversionLogSink* sink) : sink_(sink) {}

    void SetSink(IConversionLogSink* sink) { sink_ = sink; }
    bool IsOpen() const { return sink_ != nullptr; }

    // Free text and lines with the position prefix
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void At(const StyleEventPosition& pos, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void AtV(const StyleEventPosition& pos, const char* format, va_list args) __attribute__((format(printf, 3, 0)));
    static std::string Prefix(const StyleEventPosition& pos);

    // Start, track, between-passes and end lines
    void StartQe();
    void StartWq(char model);
    void FileInfo(long fileSize, int format, int tracks, int division);
    void TrackBanner(int track);
    void BetweenPasses();
    void End(int errors, int warnings);

    // Event descriptions
    void Tempo(const StyleEventPosition& pos, unsigned bpm, unsigned long microsPerQuarter);
    void TimeSig(const StyleEventPosition& pos, int numerator, unsigned long denominator, unsigned clocks, unsigned n32);
    void TimeSigWrongPlace(const StyleEventPosition& pos, int numerator, unsigned long denominator, unsigned clocks,
                           unsigned n32);
    void KeySig(const StyleEventPosition& pos, const std::string& keyText);
    void PortNumber(const StyleEventPosition& pos, unsigned port);
    void ChanNumber(const StyleEventPosition& pos, unsigned channel);
    void EndOfTrack(const StyleEventPosition& pos);
    void Controller(const StyleEventPosition& pos, unsigned channel, unsigned controller, unsigned value);
    void PitchWheel(const StyleEventPosition& pos, unsigned channel, unsigned lsb, unsigned msb);
    void Program(const StyleEventPosition& pos, unsigned channel, unsigned program);
    void KeyPress(const StyleEventPosition& pos, unsigned channel, unsigned pitch, unsigned pressure);
    void ChanPress(const StyleEventPosition& pos, unsigned channel, unsigned pressure);
    void NoteOn(const StyleEventPosition& pos, const std::string& key, int volume, int channel);

private:
    void Write(std::string_view text);

    IConversionLogSink* sink_ = nullptr;
};

} // namespace zib
