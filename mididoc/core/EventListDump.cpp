#include "mididoc/core/EventListDump.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "midi/ValueTexts.h"
#include "mididoc/core/TextAppend.h"

#include <algorithm>

namespace zib {

std::string EventListTextDump(CMidiParserEx& sequence, std::string_view title, EventTextStyle style,
                              int keyAlphabet)
{
    std::string out;
    out.reserve(sequence.GetEventCount() * 80 + 256);
    out += "\r\n";
    out += title;
    out += " text dump\r\n\r\n";
    out += "TotTime     M:B:T    Ch  Type            Data            Duration  EndTime\r\n";
    out.append(74, '-');
    out += "\r\n";
    std::string cell;
    for (const auto& ep : sequence.GetEvents()) {
        const CMidiEvent& e = *ep;
        if (e.track == 0 || e.listVisible == 0) continue;
        const bool channel = isChannelStatus(e.status);
        const uint8_t group = e.status & 0xF0;
        AppendDumpRowStart(out, e, style);
        out += "  ";
        if (!channel) {
            AppendMetaDataText(out, e, style);
        } else {
            AppendChannelDumpText(out, e, keyAlphabet, true);
        }
        out += "   ";
        if (group == 0x90 && channel) {
            cell.clear();
            AppendUnsigned(cell, e.duration, 8);
            AppendPadded(out, cell, 10, true);
            uint32_t measure = 0, beat = 0, tick = 0;
            const uint64_t end = std::min<uint64_t>(uint64_t(e.time) + e.duration, UINT32_MAX);
            if (sequence.TickToMbt(uint32_t(end), measure, beat, tick) == 0) {
                AppendPosition(out, measure, beat, tick);
            } else {
                out += "???:??:???";
            }
        } else {
            out.append(10, ' ');
        }
        out += "\r\n";
    }
    out.append(75, '-');
    out += "\r\n\r\nEnd of text dump\r\n";
    return out;
}

} // namespace zib
