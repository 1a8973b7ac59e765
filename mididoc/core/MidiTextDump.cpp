#include "mididoc/core/MidiTextDump.h"

#include "midi/MidiEventKind.h"
#include "midi/MidiVarLen.h"
#include "mididoc/core/CZibMidDoc.h"
#include "styles/CWqStyleData.h"
#include "styles/StringPrintf.h"

#include <algorithm>
#include <array>

namespace zib {

namespace {

constexpr size_t kLongText = 99; // longer texts show their first 96 characters and "..."
constexpr size_t kShownText = 96;
constexpr size_t kSysExLine = 16;

const std::array<const char*, 10> kTextMetaNames = {"Seq. Num",   "Text",   "Copyright", "Track Name", "Instrument",
                                                    "Lyric",      "Marker", "Cue Point", "Prog Name",  "Port Name"};

const std::array<const char*, 15> kKeyNames = {"Cb", "Gb", "Db", "Ab", "Eb", "Bb", " F", " C",
                                               " G", " D", " A", " E", " B", "F#", "C#"};

uint8_t metaType(const CMidiEvent& e)
{
    return eventDataByte(e, 1);
}

// The data of a meta or system-exclusive event after its variable-length
// size (which starts at `at`), bounded by the bytes the event holds.
std::string_view eventPayload(const CMidiEvent& e, size_t at)
{
    const size_t held = std::min<size_t>(e.length, e.data.size());
    if (held <= at) return {};
    uint32_t count = 0;
    const uint32_t length = ReadMidiVarLen(e.data.data() + at, held - at, count);
    if (count == 0) return {};
    const size_t start = at + count;
    const size_t n = std::min<size_t>(length, held - start);
    return std::string_view(reinterpret_cast<const char*>(e.data.data()) + start, n);
}

bool isPairedNoteOff(const CMidiEvent& e)
{
    return isNoteOff(e) && e.paired != 0;
}

std::string position(uint32_t measure, uint32_t beat, uint32_t tick)
{
    return StringPrintf("%3d:%02d:%03d", int(measure + 1), int(beat + 1), int(tick));
}

std::string typeWord(const CMidiEvent& e)
{
    switch (e.status & 0xF0) {
    case 0x80:
        return "NoteOFF";
    case 0x90:
        return eventDataByte(e, 1) > 0 ? "Note" : "NoteOff";
    case 0xA0:
        return "KeyPress";
    case 0xB0:
        return "Ctrl";
    case 0xC0:
        return "Prog";
    case 0xD0:
        return "ChnAft";
    case 0xE0:
        return "Wheel";
    default:
        break;
    }
    if (e.status == 0xF0 || e.status == 0xF7) return StringPrintf("Sysex 0x%02X", e.status);
    if (e.status != 0xFF) return "";
    const uint8_t type = metaType(e);
    if (type < kTextMetaNames.size()) return kTextMetaNames[type];
    switch (type) {
    case 0x20:
        return "MIDI Channel";
    case 0x21:
        return "MIDI Port";
    case 0x51:
        return "Tempo";
    case 0x54:
        return "SMPTE Offset";
    case 0x58:
        return "TimeSignature";
    case 0x59:
        return "Key Signature";
    case 0x7F:
        return "Proprietary";
    default:
        return type < 0x80 ? "Unknown Meta" : "";
    }
}

std::string metaDataText(const CMidiEvent& e)
{
    const uint8_t type = metaType(e);
    const std::string_view payload = eventPayload(e, 2);
    auto byte = [&payload](size_t i) { return i < payload.size() ? uint8_t(payload[i]) : uint8_t(0); };
    if (type <= 9) {
        // Control bytes (a sequence number's among them) show as dots: the
        // listing stays one line per event and readable as text.
        std::string text(payload.substr(0, payload.size() > kLongText ? kShownText : payload.size()));
        for (char& c : text)
            if (uint8_t(c) < 0x20 || uint8_t(c) == 0x7F) c = '.';
        return payload.size() > kLongText ? text + "..." : text;
    }
    switch (type) {
    case 0x20:
    case 0x21:
        return StringPrintf("%d", int(byte(0)) + 1);
    case 0x51: {
        const uint32_t tempo = uint32_t(byte(0)) << 16 | uint32_t(byte(1)) << 8 | byte(2);
        const uint32_t bpm = tempo ? 60000000u / tempo : 0;
        return StringPrintf("BPM=%-6u| micros/quarter=%lu", bpm, static_cast<unsigned long>(tempo));
    }
    case 0x58: {
        const uint8_t power = byte(1);
        if (power == 0 || power > 7) return "???";
        return StringPrintf("%2d/%-7lu| MIDI-clocks/click=%u | 32nds/quarter=%u", int(byte(0)),
                            1ul << power, unsigned(byte(2)), unsigned(byte(3)));
    }
    case 0x59: {
        const int sharps = int8_t(byte(0));
        return sharps >= -7 && sharps <= 7 ? kKeyNames[size_t(sharps + 7)] : "??";
    }
    case 0x7F:
        return "...";
    default:
        return "??";
    }
}

// "  Len: %d bytes" and the bytes of a system-exclusive event, 16 to a line:
// the printable characters between < and >, then the bytes in hex.
std::string sysExLines(const CMidiEvent& e)
{
    const size_t held = std::min<size_t>(e.length, e.data.size());
    std::string out = StringPrintf("  Len: %d bytes\r\n\t", int(e.length));
    auto chars = [&](size_t from, size_t n) {
        std::string s = "<";
        for (size_t i = 0; i < n; ++i) {
            const uint8_t c = e.data[from + i];
            s += (c >= 0x20 && c <= 0x7E) ? char(c) : '.';
        }
        return s;
    };
    auto hex = [&](size_t from, size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += StringPrintf("%02x ", e.data[from + i]);
        return s;
    };
    size_t at = 0;
    for (; held - at >= kSysExLine; at += kSysExLine)
        out += chars(at, kSysExLine) + ">\t" + hex(at, kSysExLine) + "\r\n\t";
    if (const size_t n = held - at; n > 0)
        out += chars(at, n) + ">" + std::string(kSysExLine - n, ' ') + "\t" + hex(at, n) + "\r\n";
    return out;
}

std::string eventRow(CMidiParserEx& sequence, const CMidiEvent& e)
{
    const bool noteOn = isNoteOn(e);
    const bool unpairedOff = isNoteOff(e) && e.paired == 0;
    const uint8_t d1 = eventDataByte(e, 0);
    const uint8_t d2 = eventDataByte(e, 1);

    std::string row = StringPrintf("%8ld", long(e.time));
    row += " " + position(e.measure, e.beat, e.tick);
    row += e.status >= 0xF0 ? std::string("  --") : StringPrintf("  %2d", (e.status & 0x0F) + 1);
    row += StringPrintf("   %-13s", typeWord(e).c_str());

    std::string data;
    switch (e.status & 0xF0) {
    case 0x80:
    case 0x90:
    case 0xA0:
        data = StringPrintf("%-5s  %4u", CWqStyleData::GetNoteName(d1).c_str(), unsigned(d2));
        break;
    case 0xB0:
        data = StringPrintf("%-5u  %4u", unsigned(d1), unsigned(d2));
        break;
    case 0xC0:
    case 0xD0:
        data = StringPrintf("%-5u", unsigned(d1));
        break;
    case 0xE0:
        data = StringPrintf("%-u", unsigned(d2) * 128 + d1);
        break;
    default:
        if (e.status == 0xFF) data = metaDataText(e);
        if (e.status == 0xF0 || e.status == 0xF7) row += sysExLines(e);
        break;
    }
    row += "  " + data;

    const std::string duration = noteOn || (unpairedOff && (e.status & 0xF0) == 0x80)
                                     ? StringPrintf("%8u", unsigned(e.duration))
                                     : std::string();
    row += StringPrintf("   %-10s", duration.c_str());

    if (noteOn || unpairedOff) {
        uint32_t measure = 0, beat = 0, tick = 0;
        sequence.TickToMbt(e.time + e.duration, measure, beat, tick);
        row += position(measure, beat, tick);
        if (unpairedOff) row += "\tNot Resolved";
    }
    return row + "\r\n";
}

} // namespace

std::string MidiTextDump(CZibMidDoc& doc, std::string_view fileName)
{
    CMidiParserEx& sequence = doc.Sequence();
    std::string out = "\r\nFileName: ";
    out += fileName;
    out += "\r\n";
    out += StringPrintf("Format: %d, Number of tracks: %d, Time division: %d PPQN\r\n", int(doc.Format()),
                        int(doc.FileTrackCount()), int(doc.Division()));

    int lastBlock = 0;
    if (doc.Format() == 1)
        for (int row = 0; row < doc.TrackRecordCount(); ++row)
            if (doc.TrackRecord(row)->totalEvents > 0) lastBlock = row + 1;

    for (int block = 0; block <= lastBlock; ++block) {
        out += StringPrintf("\r\n\r\n==================== Track #%d ====================\r\n\r\n", block);
        out += "TotTime     M:B:T    Ch  Type            Data            Duration  EndTime\r\n";
        out += std::string(74, '-') + "\r\n";
        for (size_t i = 0; i < sequence.GetEventCount(); ++i) {
            const CMidiEvent& e = *sequence.GetEvent(i);
            if (doc.Format() == 1 && e.track != block) continue;
            if (isPairedNoteOff(e)) continue;
            out += eventRow(sequence, e);
        }
    }
    out += std::string(75, '-') + "\r\n";
    out += "\r\nEnd of text dump\r\n";
    return out;
}

} // namespace zib
