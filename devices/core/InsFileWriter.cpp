#include "devices/core/InsFileWriter.h"

#include "ui/core/AsciiCase.h"

#include <unordered_set>

namespace zib {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

class InsText {
public:
    void Line(std::string_view text = {})
    {
        out_ += text;
        out_ += kLineEnd;
    }
    // The separator before every section: "; " and 79 hyphens, then an empty line.
    void Separator()
    {
        Line("; " + std::string(79, '-'));
        Line();
    }
    template <class List>
    void NameList(const List& list)
    {
        Line("[" + list.name + "]");
        for (size_t n = 0; n < list.names.size(); ++n)
            if (!list.names[n].empty()) Line(std::to_string(n) + "=" + list.names[n]);
        Line();
    }
    std::string& Text() { return out_; }

private:
    std::string out_;
};

// Writes each list of one kind of the instruments once, by name.
template <class List>
void writeSection(InsText& text, std::string_view heading, const std::vector<const CInsInstrument*>& instruments,
                  std::vector<List> CInsInstrument::*lists)
{
    text.Separator();
    text.Line(heading);
    text.Line();
    std::unordered_set<std::string> written; // case-folded names already written
    for (const CInsInstrument* instrument : instruments)
        for (const auto& list : instrument->*lists)
            if (written.insert(LowerAscii(list.name)).second) text.NameList(list);
}

void writeBlock(InsText& text, const CInsInstrument& instrument)
{
    text.Line();
    text.Line("[" + instrument.name + "]");
    for (const auto& list : instrument.controllerLists)
        text.Line("Controller=" + list.name);
    for (const auto& list : instrument.patchLists)
        text.Line("Patch[" + list.bankText + "]=" + list.name);
    for (const auto& list : instrument.noteLists)
        text.Line("Key[" + list.keyText + "]=" + list.name);
    for (const auto& drum : instrument.drums)
        text.Line("Drum[" + drum.keyText + "]=1");
}

void writeBody(InsText& text, const std::vector<const CInsInstrument*>& instruments)
{
    writeSection(text, ".Patch Names", instruments, &CInsInstrument::patchLists);
    writeSection(text, ".Note Names", instruments, &CInsInstrument::noteLists);
    writeSection(text, ".Controller Names", instruments, &CInsInstrument::controllerLists);
    text.Separator();
    text.Line(".RPN Names");
    text.Line();
    text.Separator();
    text.Line(".NRPN Names");
    text.Line();
    text.Separator();
    text.Line(".Instrument Definitions");
    for (const CInsInstrument* instrument : instruments)
        writeBlock(text, *instrument);
}

} // namespace

std::string FormatInstrumentDefinitions(const InstrumentArray& instruments, std::string_view applicationName)
{
    InsText text;
    text.Line("; Instrument definition file for " + std::string(applicationName) + " application");
    text.Line();
    std::vector<const CInsInstrument*> all;
    for (const auto& instrument : instruments)
        if (instrument) all.push_back(instrument.get());
    if (!all.empty()) writeBody(text, all);
    return std::move(text.Text());
}

std::string FormatInstrumentExport(const CInsInstrument& instrument)
{
    InsText text;
    text.Line("; Instrument definition file for instrument: " + instrument.name + " ");
    text.Line();
    writeBody(text, {&instrument});
    return std::move(text.Text());
}

} // namespace zib
