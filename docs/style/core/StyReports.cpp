#include "docs/style/core/StyReports.h"

#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeValueHelpers.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/ProgramNames.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "styles/CWqStyleFile.h"
#include "styles/WqStyleLayout.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <sstream>

namespace zib {

namespace {

std::string format(const char* pattern, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, pattern);
    const int n = std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return n < 0 ? std::string() : std::string(buffer, std::min<size_t>(size_t(n), sizeof buffer - 1));
}

void wqReport(std::string& out, const CZibStyDoc& doc)
{
    out += "Name             Size   Tact  Drum             Perc             Bass             Acc1             Acc2  "
           "           Acc3            \n";
    out += std::string(130, '-') + "\n\n";
    const bool familyB = IsWqFamilyB(doc.m_Model);
    const size_t placeholder = familyB ? 1176 : 1168;
    const StyleDocumentNames names = doc.ProgramNameSource();
    for (const CStyItem& item : doc.m_StyItems) {
        if (item.Size() <= placeholder) {
            out += "Empty Item\n";
            continue;
        }
        const size_t tact = familyB ? 20 : 12;
        const std::string time = GetTimeSignatureText(item.data[tact] & 127);
        std::string programs[6];
        for (size_t t = 0; t < 6; ++t)
            programs[t] = GetItemProgramName(names, LittleWordAt(item.data, (familyB ? 46 : 38) + 4 * t));
        out += format("%-16.16s %5d %5s  %-16.16s %-16.16s %-16.16s %-16.16s %-16.16s %-16.16s\n",
                      item.NameText().c_str(), int(item.Size()), time.c_str(), programs[0].c_str(),
                      programs[1].c_str(), programs[2].c_str(), programs[3].c_str(), programs[4].c_str(),
                      programs[5].c_str());
    }
}

void qeReport(std::string& out, const CZibStyDoc& doc)
{
    for (const CStyItem& item : doc.m_StyItems) {
        if (item.Size() == 0) {
            out += format("\n\nBank/Pos: %d/%d - EMPTY ITEM\n", doc.m_FirstBank + 1, int(item.position));
            continue;
        }
        UlrfResInstancePtr resource(_ULRFCreateResInstance(item.data.data(), uint32_t(item.data.size())));
        if (!resource) {
            out += "Error:Cannot create QE Resource Handle";
            return;
        }
        UlsteEditorPtr editor(_ULStECreateInstance(resource.get()));
        resource.reset();
        if (!editor) {
            out += "Error: Cannot create QE Edit Handle";
            return;
        }
        out += format("\n\nBank/Pos: %d/%d, StyleName: %s, Size: %6u\n", doc.m_FirstBank + 1, int(item.position),
                      item.NameText().c_str(), unsigned(item.Size()));
        out += "\nStyle element    Tact   Drum             Perc             Bass             Acc1             Acc2   "
               "          Acc3             Acc4             Acc5            \n";
        out += std::string(153, '-') + "\n\n";
        for (int e = 0; e < 10; ++e) {
            if (_ULStEQueryStyleElem(editor.get(), e) != 2) continue;
            uint8_t signature = 0;
            _ULStEGetSignature(editor.get(), e, &signature);
            std::string line = format("%-16.16s %-5s", GetQeElementName(e).c_str(), GetQeSignatureText(signature).c_str());
            for (size_t t = 0; t < 8; ++t)
                line += format(" %-16.16s", GetQeSoundName(item.sounds[size_t(e)][t], int(item.version)).c_str());
            out += line + "\n";
        }
    }
}

} // namespace

std::string WqStyleDumpText(const CStyItem& item, uint32_t model, const WqDumpDate& date)
{
    CWqStyleFile style(item.data.data(), item.data.size(), model);
    std::ostringstream out;
    if (!style.DumpToText(out, date)) return {};
    return out.str();
}

std::string ItemsReportText(const CZibStyDoc& doc, const std::string& reportPath)
{
    std::string out = "\nZibwerk items list\n";
    out += "FileName: " + reportPath + "\n\n";
    if (doc.IsQe())
        qeReport(out, doc);
    else
        wqReport(out, doc);
    return out;
}

int CleanWqStyleEvents(std::vector<uint8_t>& data, uint32_t model, const CleanEventsChoice& choice)
{
    const wq::Layout& layout = wq::layoutOf(model);
    const size_t head = layout.headSize;
    const size_t table = layout.offsetTable;
    if (data.size() < head) return 0;
    auto dropped = [&choice](const uint8_t* e) {
        switch (e[1] & 0xF0) {
        case 0x10:
            return choice.pitchBend;
        case 0x20:
            return choice.channelPressure;
        case 0x30:
            return choice.programChange;
        case 0x40:
            return choice.control && (choice.controller == 255 || choice.controller == e[2]);
        case 0x50:
            return choice.polyPressure;
        default:
            return false;
        }
    };
    std::vector<uint8_t> out = data;
    std::array<uint16_t, wq::kOffsetEntryCount> original{};
    for (size_t i = 0; i < original.size(); ++i)
        original[i] = LittleWordAt(data, table + 2 * i);
    std::array<uint16_t, wq::kOffsetEntryCount> entries = original;
    int removed = 0;
    // Each sequence is read from the image as it was and written to the
    // copy at its start less 4 bytes per event removed before it; the
    // table's later entries are lowered once per sequence.
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        const size_t start = std::clamp<size_t>(original[i], head, data.size());
        const size_t end = std::min<size_t>(original[i + 1], data.size());
        size_t write = std::max(head, start - std::min<size_t>(start, 4 * size_t(removed)));
        const int before = removed;
        for (size_t at = start; at + 4 <= end; at += 4) {
            const uint8_t* e = data.data() + at;
            if (dropped(e)) {
                ++removed;
                continue;
            }
            std::copy(e, e + 4, out.begin() + ptrdiff_t(write));
            write += 4;
        }
        if (removed != before)
            for (size_t k = i + 1; k < entries.size(); ++k)
                entries[k] = uint16_t(entries[k] - std::min<uint16_t>(entries[k], uint16_t(4 * (removed - before))));
    }
    if (removed == 0) return 0;
    out.resize(data.size() - std::min<size_t>(data.size() - head, 4 * size_t(removed)));
    for (size_t i = 0; i < entries.size(); ++i) {
        out[table + 2 * i] = uint8_t(entries[i]);
        out[table + 2 * i + 1] = uint8_t(entries[i] >> 8);
    }
    data.swap(out);
    return removed;
}

} // namespace zib
