#include "styles/CConversionLog.h"

#include <cstdarg>

#include "styles/StringPrintf.h"

namespace zib {

void CConversionLog::Write(std::string_view text)
{
    if (sink_) sink_->Write(text);
}

void CConversionLog::Printf(const char* format, ...)
{
    if (!sink_) return;
    va_list args;
    va_start(args, format);
    Write(StringPrintfV(format, args));
    va_end(args);
}

std::string CConversionLog::Prefix(const StyleEventPosition& pos)
{
    return StringPrintf("%-12u | %02d:%02d:%03d | ", pos.absTick, pos.measure + 1, pos.beat + 1, pos.tick);
}

void CConversionLog::At(const StyleEventPosition& pos, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AtV(pos, format, args);
    va_end(args);
}

void CConversionLog::AtV(const StyleEventPosition& pos, const char* format, va_list args)
{
    if (sink_) Write(Prefix(pos) + StringPrintfV(format, args));
}

// Start, track, between-passes and end lines

void CConversionLog::StartQe() { Printf("Converting MIDI file to dask QE4K style\n\n"); }

void CConversionLog::StartWq(char model) { Printf("Converting MIDI file to wq-series style of format DASK%c\n\n", model); }

void CConversionLog::FileInfo(long fileSize, int format, int tracks, int division)
{
    Printf("MIDI File size: %ld\n", fileSize);
    Printf("Format: %d, Num of tracks: %d, Division: %d\n\n", format, tracks, division);
}

void CConversionLog::TrackBanner(int track) { Printf("\n==================== Track #%d ====================\n\n", track); }

void CConversionLog::BetweenPasses() { Printf("\nEnd of MIDI file parsing. Starting conversion procedure.\n\n"); }

void CConversionLog::End(int errors, int warnings)
{
    Printf("\n\nEnd of parsing\nNumber of errors found: %d\n", errors);
    Printf("Number of warnings found: %d\n", warnings);
}

// Event descriptions

void CConversionLog::Tempo(const StyleEventPosition& pos, unsigned bpm, unsigned long microsPerQuarter)
{
    At(pos, "Tempo       | BPM=%-6u| micros/quarter=%lu\n", bpm, microsPerQuarter);
}

void CConversionLog::TimeSig(const StyleEventPosition& pos, int numerator, unsigned long denominator, unsigned clocks,
                             unsigned n32)
{
    At(pos, "Time sig    | %2d/%-7lu| MIDI-clocks/click=%u | 32nds/quarter=%u\n", numerator, denominator, clocks, n32);
}

void CConversionLog::TimeSigWrongPlace(const StyleEventPosition& pos, int numerator, unsigned long denominator,
                                       unsigned clocks, unsigned n32)
{
    At(pos, "ERROR: Time sig out of wright place    | %2d/%-7lu| MIDI-clocks/click=%u | 32nds/quarter=%u\n", numerator,
       denominator, clocks, n32);
}

void CConversionLog::KeySig(const StyleEventPosition& pos, const std::string& keyText)
{
    At(pos, "Key sig     | %s    |\n", keyText.c_str());
}

void CConversionLog::PortNumber(const StyleEventPosition& pos, unsigned port)
{
    At(pos, "Port Number | Port Number = %u\n", port);
}

void CConversionLog::ChanNumber(const StyleEventPosition& pos, unsigned channel)
{
    At(pos, "Chan Number | Chan Number = %u\n", channel);
}

void CConversionLog::EndOfTrack(const StyleEventPosition& pos) { At(pos, "End of track\n"); }

void CConversionLog::Controller(const StyleEventPosition& pos, unsigned channel, unsigned controller, unsigned value)
{
    At(pos, "Controller  | chan=%2u   | contr #%-3u | value=%u\n", channel, controller, value);
}

void CConversionLog::PitchWheel(const StyleEventPosition& pos, unsigned channel, unsigned lsb, unsigned msb)
{
    At(pos, "Pitch Wheel | chan=%2u   | LSB=%u MSB=%u\n", channel, lsb, msb);
}

void CConversionLog::Program(const StyleEventPosition& pos, unsigned channel, unsigned program)
{
    At(pos, "Program     | chan=%2u   | pgm #=%u\n", channel, program);
}

void CConversionLog::KeyPress(const StyleEventPosition& pos, unsigned channel, unsigned pitch, unsigned pressure)
{
    At(pos, "Key Press   | chan=%2u   | pitch= %-3u | press=%u\n", channel, pitch, pressure);
}

void CConversionLog::ChanPress(const StyleEventPosition& pos, unsigned channel, unsigned pressure)
{
    At(pos, "Chan Press  | chan=%2u   | press= %-3u\n", channel, pressure);
}

void CConversionLog::NoteOn(const StyleEventPosition& pos, const std::string& key, int volume, int channel)
{
    At(pos, "Note ON Event (Key= %-4s, Vol= %03d) found at channel: %d\n", key.c_str(), volume, channel);
}

} // namespace zib
