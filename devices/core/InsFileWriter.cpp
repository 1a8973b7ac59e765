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

// The range a..b that numbers `names` as NumberInsNames does ("0..127" or
// "1..128"); empty when the names are no such numbering.
std::string numberingRange(const InsNameArray& names)
{
    for (int first : {0, 1}) {
        bool numbered = true;
        for (int i = 0; i < 128 && numbered; ++i)
            numbered = names[size_t(i)] == std::to_string(i + first);
        if (numbered) return std::to_string(first) + ".." + std::to_string(127 + first);
    }
    return {};
}

// "key=name" for one list. The "default" instrument never takes names from
// the name-list sections, so a numbered list of it is written as the range
// that numbers it, followed by its name when that is another.
void writeListLine(InsText& text, bool isDefault, const std::string& key, const std::string& name,
                   const InsNameArray& names)
{
    if (isDefault) {
        if (const std::string range = numberingRange(names); !range.empty()) {
            text.Line(key + "=" + range);
            if (name == range) return;
        }
    }
    text.Line(key + "=" + name);
}

void writeBlock(InsText& text, const CInsInstrument& instrument)
{
    const bool isDefault = instrument.name == CInsInstrument::kDefaultName;
    text.Line();
    text.Line("[" + instrument.name + "]");
    for (const auto& list : instrument.controllerLists)
        writeListLine(text, isDefault, "Controller", list.name, list.names);
    for (const auto& list : instrument.patchLists)
        writeListLine(text, isDefault, "Patch[" + list.bankText + "]", list.name, list.names);
    for (const auto& list : instrument.noteLists)
        writeListLine(text, isDefault, "Key[" + list.keyText + "]", list.name, list.names);
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
