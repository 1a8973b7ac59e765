#include "mididoc/core/MidiTextDump.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "midi/ValueTexts.h"
#include "mididoc/core/EventTexts.h"
#include "mididoc/core/TextAppend.h"

#include <algorithm>

namespace zib {

namespace {

constexpr std::string_view kColumns =
    "TotTime     M:B:T    Ch  Type            Data            Duration  EndTime\r\n";
constexpr size_t kSysExLine = 16;

void appendSysExLines(std::string& out, const CMidiEvent& e)
{
    const size_t held = std::min<size_t>(e.length, e.data.size());
    out += "  Len: ";
    AppendSigned(out, int32_t(e.length));
    out += " bytes\r\n\t";
    for (size_t at = 0; at < held; at += kSysExLine) {
        const size_t n = std::min(kSysExLine, held - at);
        out.push_back('<');
        for (size_t i = 0; i < n; ++i) {
            const uint8_t b = e.data[at + i];
            out.push_back(b >= 0x20 && b <= 0x7E ? char(b) : '.');
        }
        out.push_back('>');
        if (n < kSysExLine) out.append(kSysExLine - n, ' ');
        out.push_back('\t');
        for (size_t i = 0; i < n; ++i) {
            AppendHex2(out, e.data[at + i]);
            out.push_back(' ');
        }
        out += n == kSysExLine ? "\r\n\t" : "\r\n";
    }
}

void appendEndPosition(std::string& out, CMidiParserEx& sequence, uint64_t tick)
{
    uint32_t measure = 0, beat = 0, inBeat = 0;
    const uint32_t t = uint32_t(std::min<uint64_t>(tick, UINT32_MAX));
    if (sequence.TickToMbt(t, measure, beat, inBeat) != 0) {
        out += "???:??:???";
        return;
    }
    AppendPosition(out, measure, beat, inBeat);
}

void appendRow(std::string& out, CMidiParserEx& sequence, const CMidiEvent& e)
{
    const bool channel = isChannelStatus(e.status);
    const bool noteOn = channel && isNoteOn(e);
    const bool noteOff = channel && isNoteOff(e);
    // A note-off that closes a note has no row: its note-on carries the note.
    if (noteOff && e.paired) return;

    AppendDumpRowStart(out, e, EventTextStyle::FileDump);

    std::string data;
    if (e.status == 0xF0 || e.status == 0xF7) {
        appendSysExLines(out, e);
    } else if (!channel) {
        AppendMetaDataText(data, e, EventTextStyle::FileDump);
    } else {
        AppendChannelDumpText(data, e, 0, false);
    }
    out += "  ";
    out += data;

    out += "   ";
    if (noteOn || noteOff) {
        std::string duration;
        AppendUnsigned(duration, e.duration, 8);
        AppendPadded(out, duration, 10, true);
        appendEndPosition(out, sequence, uint64_t(e.time) + e.duration);
        if (noteOff) out += "\tNot Resolved";
    } else {
        out.append(10, ' ');
    }
    out += "\r\n";
}

} // namespace

std::string MidiTextDump(CMidiParserEx& sequence, uint32_t format, uint32_t fileTrackCount, uint32_t division,
                         std::string_view fileName)
{
    std::string out;
    out.reserve(sequence.GetEventCount() * 96 + 512);
    out += "\r\nFileName: ";
    out += fileName;
    out += "\r\nFormat: ";
    AppendSigned(out, int32_t(format));
    out += ", Number of tracks: ";
    AppendSigned(out, int32_t(fileTrackCount));
    out += ", Time division: ";
    AppendSigned(out, int32_t(division));
    out += " PPQN\r\n";

    int lastBlock = 0;
    if (format == 1)
        for (int t = 1; t < CMidiParserEx::kMaxTracks; ++t)
            if (sequence.GetTrackTotalEvents(t) > 0) lastBlock = t;

    // One pass per block for format 1 would read the array up to 65 times;
    // the rows are sorted into their blocks instead, keeping array order.
    std::vector<std::vector<const CMidiEvent*>> blocks(size_t(lastBlock) + 1);
    for (const auto& ep : sequence.GetEvents()) {
        const size_t block = format == 1 ? ep->track : 0;
        if (block < blocks.size()) blocks[block].push_back(ep.get());
    }
    for (size_t k = 0; k < blocks.size(); ++k) {
        out += "\r\n\r\n==================== Track #";
        AppendSigned(out, int32_t(k));
        out += " ====================\r\n\r\n";
        out += kColumns;
        out.append(74, '-');
        out += "\r\n";
        for (const CMidiEvent* e : blocks[k])
            appendRow(out, sequence, *e);
    }
    out.append(75, '-');
    out += "\r\n\r\nEnd of text dump\r\n";
    return out;
}

} // namespace zib
