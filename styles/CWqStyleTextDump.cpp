#include "styles/CWqStyleTextDump.h"

#include <cstdio>
#include <ctime>

#include "midi/ValueTexts.h"
#include "styles/StringPrintf.h"

namespace zib {

namespace {

constexpr const char* kChordShortNames[20] = {"Maj", "M6",  "M7",   "M7b5", "S4", "S2",  "M7S4",
                                              "min", "m6",  "m7",   "m7b5", "mM7", "7",  "7b5",
                                              "7S4", "dim", "dM7", "aug",  "aug7", "aM7"};
constexpr const char* kTableLabels[10] = {"VAR 1", "VAR 2", "VAR 3", "VAR 4", "INT 1",
                                          "INT 2", "END 1", "END 2", "FIL 1", "FIL 2"};
constexpr const char* kRetriggerLabels[4] = {"BASS=", " ACC1=", " ACC2=", " ACC3="};
constexpr const char* kTensionLabels[3] = {"ACC1=", " ACC2=", " ACC3="};

const char* onOff(bool on) { return on ? "ON " : "OFF"; }

// "%d.%02d" of a time in ticks (beat counted from `firstBeat`), or "TIE" when
// the stored value is the tie mark.
void formatTime(char* out, size_t size, uint16_t stored, unsigned ticks, unsigned firstBeat)
{
    if (stored == wq::kTie) std::snprintf(out, size, "TIE");
    else std::snprintf(out, size, "%u.%02u", ticks / wq::kTicksPerQuarter + firstBeat, ticks % wq::kTicksPerQuarter);
}

std::string soundDigits(uint16_t word)
{
    return StringPrintf("%c%c", char('1' + ((word >> 3) & 7)), char('1' + (word & 7)));
}

} // namespace

WqDumpDate WqDumpDate::Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return WqDumpDate{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

// Bank letters by the bank bits of the sound word: mask 0x340 for the older
// models, 0x740 for 'I' and 'M'; drum kits print "Dr" and their digits.
std::string CWqStyleTextDump::GetSoundText(uint32_t model, uint16_t word)
{
    uint8_t number = uint8_t(word & 0xFF);
    if (model == '9' || model == '<' || model == 'H') {
        char letter = 0;
        switch (word & 0x340) {
        case 0x000: letter = 'A'; break;
        case 0x040: letter = 'B'; break;
        case 0x100: letter = 'C'; break;
        case 0x140: letter = 'U'; break;
        case 0x300: letter = model == '9' ? 0 : 'D'; break;
        case 0x340: letter = model == '9' ? 0 : 'E'; break;
        case 0x200: {
            if (model == '9') return number <= 7 ? StringPrintf("Dr%c", char('1' + (word & 7))) : "NUL";
            int lastKit = model == '<' ? 15 : 28;
            return number <= lastKit ? "Dr" + soundDigits(word) : "NUL";
        }
        default: break;
        }
        if (!letter) return "NUL";
        return model == '9' ? letter + soundDigits(word) : letter + soundDigits(word) + " ";
    }
    if (model == 'M' || model == 'I') {
        // Banks A-F of both; 'M' has F at 0x240 too and "Dr" kits, 'I' has G and "R" kits.
        const bool m = model == 'M';
        char letter = '?';
        switch (word & 0x740) {
        case 0x000: letter = 'A'; break;
        case 0x040: letter = 'B'; break;
        case 0x100: letter = 'C'; break;
        case 0x140: letter = 'D'; break;
        case 0x200: letter = 'E'; break;
        case 0x240: letter = m ? 'F' : '?'; break;
        case 0x300: letter = 'F'; break;
        case 0x340: letter = m ? '?' : 'G'; break;
        case 0x400:
            if (m) return "Dr" + soundDigits(word);
            letter = 'R';
            break;
        default: break;
        }
        return letter + soundDigits(word) + " ";
    }
    return "NUL";
}

int CWqStyleTextDump::Write(const WqDumpDate& date)
{
    if (!style_.GetImage() || style_.GetImageSize() < style_.GetHeadSize()) return 0;
    WriteHead(date);
    WriteTables();
    WriteOffsets();
    WriteTrackListing();
    WritePatternDump();
    out_.flush();
    return 1;
}

void CWqStyleTextDump::WriteHead(const WqDumpDate& date)
{
    Line("Wqstyle Dump Report -  Style name: " + style_.GetRawStyleName());
    Line(StringPrintf("Date: %2d/%d/%d", date.day, date.month, date.year));
    switch (style_.GetModel()) {
    case '9': Line("Style format: Dask Wq8"); break;
    case '<': Line("Style format: Dask Wq6Q/M"); break;
    case 'H': Line("Style format: Dask WqT517"); break;
    case 'I': Line("Style format: Dask Wq41"); break;
    case 'M': Line("Style format: Dask WqR65/WqR93/Wq22N/WqR27"); break;
    default: break;
    }
    switch (style_.GetOrigin()) {
    case 0: Line("USER CREATED STYLE"); break;
    case 1: Line("BUILT-IN STYLE"); break;
    case 2: Line("CARD STYLE"); break;
    default: Line(StringPrintf("Author unknown: %d", style_.GetOrigin())); break;
    }
    Line(StringPrintf("TEMPO: %d", style_.GetTempo()));
    Line("TACT: " + GetTimeSignatureText(style_.GetTimeSigCode()) + "\tRESOLUTION: " +
         (style_.IsLowResolution() ? "Low" : "High"));

    std::string line = "NOTE RETRIGGER: ";
    for (int i = 0; i < 4; ++i) line += std::string(kRetriggerLabels[i]) + onOff((style_.GetRetriggerByte() >> (2 + i)) & 1);
    Line(line);
    line = "TENSION: ";
    for (int i = 0; i < 3; ++i) line += std::string(kTensionLabels[i]) + onOff((style_.GetTensionByte() >> (3 + i)) & 1);
    Line(line);
    line = "WRAP AROUND POINTS: ";
    for (uint8_t i = 0; i < 4; ++i)
        line += std::string(kRetriggerLabels[i]) + StringPrintf("%2d", style_.GetWrapAround(i) + 1);
    Line(line);

    for (uint8_t t = 0; t < wq::kTrackCount; ++t) {
        Line(StringPrintf("%s: instr=%s volume=%3d pan=%s", CWqStyleData::GetTrackName(t),
                          GetSoundText(style_.GetModel(), style_.GetTrackWord(0, t)).c_str(),
                          style_.GetTrackParam(0, t), GetPanText(style_.GetTrackPan(t)).c_str()));
    }
}

void CWqStyleTextDump::WriteTables()
{
    Line("CHORDVAR PARAMS:");
    for (uint8_t e = 0; e < wq::kElementCount; ++e) {
        for (uint8_t c = 0; c < wq::cvCountOf(e); ++c) {
            Line(StringPrintf("%12s Length=%2d Key=%s", GetChordVariationName(wq::cvIndexOf(e, c)).c_str(),
                              style_.GetCvLength(e, c), CWqStyleData::GetKeyName(style_.GetCvKeyByte(e, c))));
        }
    }
    std::string line = "CHORDS: ";
    for (const char* name : kChordShortNames) line += StringPrintf("%4s ", name);
    Line(line);
    for (uint8_t e = 0; e < wq::kElementCount; ++e) {
        line = std::string(kTableLabels[e]) + ":   ";
        for (uint8_t i = 0; i < wq::kChordTableSize; ++i)
            line += StringPrintf("%4s ", CWqStyleData::GetCvName(style_.GetElementList(e, i)));
        Line(line);
    }
    for (int k = 0; k < wq::kPatternCount; ++k) {
        Line(StringPrintf("Pattern%2d:   Tact=%s Length=%2d", k, GetTimeSignatureText(style_.GetPatternTimeSig(k)).c_str(),
                          style_.GetPatternLength(k)));
    }
}

void CWqStyleTextDump::WriteOffsets()
{
    auto entryText = [&](int entry) {
        uint16_t value = style_.GetOffsetEntry(entry);
        std::string text = StringPrintf("%04X ", value);
        if (entry > 0 && value < style_.GetOffsetEntry(entry - 1)) text += "???? ";
        return text;
    };
    Line("Track Offsets:");
    for (uint8_t e = 0; e < wq::kElementCount; ++e) {
        for (uint8_t c = 0; c < wq::cvCountOf(e); ++c) {
            std::string line = StringPrintf("%s %s: ", CWqStyleData::GetStyleElementName(e), CWqStyleData::GetCvName(c));
            for (int t = 0; t < wq::kTrackCount; ++t) line += entryText(wq::trackSlotOf(e, c, t));
            Line(line);
        }
    }
    Line("Pattern Offsets:");
    for (int group = 0; group < wq::kPatternCount; group += 10) {
        std::string line = StringPrintf("Pattern %2d: ", group);
        for (int k = group; k < group + 10; ++k) line += entryText(wq::kPatternEntryBase + k);
        Line(line);
    }
    Line("End Offset: " + entryText(wq::kEndEntry));
}

void CWqStyleTextDump::WriteTrackListing()
{
    for (uint8_t e = 0; e < wq::kElementCount; ++e) {
        Line("");
        for (uint8_t c = 0; c < wq::cvCountOf(e); ++c) {
            if (style_.GetCvLength(e, c) == 0) {
                Line(StringPrintf("EMPTY: %s, %s", CWqStyleData::GetStyleElementName(e), CWqStyleData::GetCvName(c)));
                continue;
            }
            for (uint8_t t = 0; t < wq::kTrackCount; ++t) {
                Line("");
                Line(StringPrintf("=== %s, %s, %s ===", CWqStyleData::GetStyleElementName(e), CWqStyleData::GetCvName(c),
                                  CWqStyleData::GetTrackName(t)));
                Line("");
                beatUnit_ = 4;
                repeatCounter_ = 0;
                expandedBars_ = 0;
                ListRun(style_.GetSlotRun(wq::trackSlotOf(e, c, t)), true);
            }
        }
    }
}

void CWqStyleTextDump::WritePatternDump()
{
    Line("");
    Line("");
    Line("========================= PATTERN DUMP ========================");
    Line("");
    Line("");
    for (int k = 0; k < wq::kPatternCount; ++k) {
        auto run = style_.GetPatternRun(k);
        if (run.size() < size_t(wq::kEventSize)) continue;
        Line(StringPrintf("=== Pattern:%02d ===", k));
        beatUnit_ = 4;
        ListRun(run, false);
    }
}

void CWqStyleTextDump::ListRun(std::span<const uint8_t> run, bool expandPatterns)
{
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize)
        if (!ListEvent(WqEvent::fromBytes(run.data() + at), expandPatterns)) return;
}

// The events of the pattern's bar whose number equals the repeat counter,
// as the MIDI export plays them.
void CWqStyleTextDump::ListPatternBar(int pattern)
{
    auto run = style_.GetPatternRun(pattern);
    bool playing = false;
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
        WqEvent event = WqEvent::fromBytes(run.data() + at);
        if (event.isBar()) {
            playing = event.barNumber() == repeatCounter_;
            continue;
        }
        if (event.isEnd()) continue;
        if (playing) ListEvent(event, false);
    }
}

bool CWqStyleTextDump::ListEvent(const WqEvent& event, bool expandPatterns)
{
    // Event lines are many (a pattern plays in every track that refers to
    // it): they are formatted into one stack buffer each.
    char position[16], line[160];
    uint16_t time = event.time();
    formatTime(position, sizeof position, time, time, 1);
    switch (event.kind()) {
    case WqEventKind::Note: {
        char notePosition[16], length[16];
        formatTime(notePosition, sizeof notePosition, time, unsigned(time) * unsigned(beatUnit_) / 4, 1);
        formatTime(length, sizeof length, event.duration(), event.duration(), 0);
        std::snprintf(line, sizeof line, "  %5s %3s   V%03d  %5s", notePosition,
                      CWqStyleData::GetNoteName(event.noteNumber()).c_str(), event.velocity(), length);
        Line(line);
        return true;
    }
    case WqEventKind::PitchBend:
        std::snprintf(line, sizeof line, "  %5s PITCH %4d", position, event.b[3] * 128 + event.b[2]);
        Line(line);
        return true;
    case WqEventKind::Aftertouch:
        std::snprintf(line, sizeof line, "  %5s AFTT %3d", position, event.b[2]);
        Line(line);
        return true;
    case WqEventKind::ProgramChange:
        std::snprintf(line, sizeof line, "  %5s PROG %s", position, GetSoundText(style_.GetModel(), event.w1()).c_str());
        Line(line);
        return true;
    case WqEventKind::ControlChange:
        std::snprintf(line, sizeof line, "  %5s CTRL %3d %3d", position, event.b[2], event.b[3]);
        Line(line);
        return true;
    case WqEventKind::PolyAftertouch:
        std::snprintf(line, sizeof line, "  %5s POLY %3d %3d", position, event.b[2], event.b[3]);
        Line(line);
        return true;
    case WqEventKind::End:
        std::snprintf(line, sizeof line, "  %5s** END TRACK ** %u", position, event.w1());
        Line(line);
        return true;
    case WqEventKind::Other:
        std::snprintf(line, sizeof line, "  %5s  OTHER %02X %02X %02X %02X", position, event.b[0], event.b[1], event.b[2],
                      event.b[3]);
        Line(line);
        return true;
    case WqEventKind::Bar:
        break;
    }

    // Bar event
    uint8_t code = event.barTimeSig();
    if (wq::isValidTimeSigCode(code)) beatUnit_ = wq::timeSigBeatUnit(code);
    std::string bar = StringPrintf("    MEASURE %2d at beat of %s", event.barNumber() + 1, GetTimeSignatureText(code).c_str());
    WqBarMark mark = event.barMark();
    if (mark != WqBarMark::Start && mark != WqBarMark::Continued) {
        Line(bar);
        return true;
    }
    int pattern = event.barPattern();
    if (pattern >= wq::kPatternCount) {
        Line(bar);
        Line(StringPrintf("ERROR: Fault pattern number: %d!!!!!!!!!", pattern));
        return !expandPatterns;
    }
    Line(bar + StringPrintf(" - PATTERN %02d (%s), %s", pattern, GetTimeSignatureText(style_.GetPatternTimeSig(pattern)).c_str(),
                             mark == WqBarMark::Start ? "START" : "CONTINUED"));
    if (!expandPatterns) return true;
    repeatCounter_ = mark == WqBarMark::Start ? 0 : repeatCounter_ + 1;
    // A track plays at most 16 bars; the references of a damaged track past
    // them are listed but not expanded, so that a small image cannot make a
    // listing of billions of lines.
    if (expandedBars_ < wq::kMaxCvBars) {
        ++expandedBars_;
        ListPatternBar(pattern);
    }
    return true;
}

} // namespace zib
