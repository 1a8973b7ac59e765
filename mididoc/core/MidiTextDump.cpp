#include "mididoc/core/MidiTextDump.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
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

void appendRow(std::string& out, std::string& cell, CMidiParserEx& sequence, const CMidiEvent& e)
{
    const bool channel = isChannelStatus(e.status);
    const bool noteOn = channel && isNoteOn(e);
    const bool noteOff = channel && isNoteOff(e);
    // A note-off that closes a note has no row: its note-on carries the note.
    if (noteOff && e.paired) return;

    AppendDumpRowStart(out, e, EventTextStyle::FileDump);

    if (e.status == 0xF0 || e.status == 0xF7) {
        appendSysExLines(out, e);
        out += "  ";
    } else if (!channel) {
        out += "  ";
        AppendMetaDataText(out, e, EventTextStyle::FileDump);
    } else {
        out += "  ";
        AppendChannelDumpText(out, e, 0, false);
    }

    out += "   ";
    if (noteOn || noteOff) {
        cell.clear();
        AppendUnsigned(cell, e.duration, 8);
        AppendPadded(out, cell, 10, true);
        appendEndPosition(out, sequence, uint64_t(e.time) + e.duration);
        if (noteOff) out += "\tNot Resolved";
    } else {
        out.append(10, ' ');
    }
    out += "\r\n";
}

// The text goes to the sink in pieces of about this many bytes
constexpr size_t kPiece = 64 * 1024;

} // namespace

bool MidiTextDump(CMidiParserEx& sequence, uint32_t format, uint32_t fileTrackCount, uint32_t division,
                  std::string_view fileName, const TextSink& sink)
{
    std::string out;
    out.reserve(kPiece + 4096);
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
    // the rows are sorted into their blocks instead, keeping array order:
    // each block's share of one index array, counted first.
    const auto& events = sequence.GetEvents();
    const size_t blocks = size_t(lastBlock) + 1;
    auto blockOf = [format](const CMidiEvent& e) { return format == 1 ? size_t(e.track) : size_t(0); };
    std::vector<uint32_t> starts(blocks + 1, 0);
    for (const auto& ep : events)
        if (const size_t b = blockOf(*ep); b < blocks) ++starts[b + 1];
    for (size_t b = 0; b < blocks; ++b)
        starts[b + 1] += starts[b];
    std::vector<uint32_t> order(starts[blocks]);
    std::vector<uint32_t> fill(starts.begin(), starts.end() - 1);
    for (size_t i = 0; i < events.size(); ++i)
        if (const size_t b = blockOf(*events[i]); b < blocks) order[fill[b]++] = uint32_t(i);

    std::string cell;
    for (size_t k = 0; k < blocks; ++k) {
        out += "\r\n\r\n==================== Track #";
        AppendSigned(out, int32_t(k));
        out += " ====================\r\n\r\n";
        out += kColumns;
        out.append(74, '-');
        out += "\r\n";
        for (uint32_t at = starts[k]; at < starts[k + 1]; ++at) {
            appendRow(out, cell, sequence, *events[order[at]]);
            if (out.size() >= kPiece) {
                if (!sink(out)) return false;
                out.clear();
            }
        }
    }
    out.append(75, '-');
    out += "\r\n\r\nEnd of text dump\r\n";
    return sink(out);
}

std::string MidiTextDump(CMidiParserEx& sequence, uint32_t format, uint32_t fileTrackCount, uint32_t division,
                         std::string_view fileName)
{
    std::string text;
    text.reserve(sequence.GetEventCount() * 96 + 512);
    MidiTextDump(sequence, format, fileTrackCount, division, fileName, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

} // namespace zib
