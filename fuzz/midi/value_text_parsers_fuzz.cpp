// Feeds arbitrary text to every text parser of the value texts and to the
// name-table loader, and checks the results stay in their ranges.

#include "midi/NameTableLoader.h"
#include "midi/ProgramNames.h"
#include "midi/ValueTexts.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace zib;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    int note = ParseNoteName(text);
    check(note >= -1 && note <= 127);
    if (note >= 12) check(ParseNoteName(FormatNoteName(note, -1)) == note);

    for (int model : {57, 60, 72, 73, 77, size ? int(data[0]) : 0}) {
        int number = ParseProgramPosition(text, model);
        check(number >= -1 && number <= 0x4FF);
        if (number >= 0) {
            GetProgramPositionText(model, uint16_t(number));
            GetBankedProgramName(model, uint16_t(number));
        }
    }

    ParseOctaveShiftText(text);
    ParseMidiChannelText(text);
    ParseOneToTwelveOrStyText(text);
    check(ParseIntExtBothText(text) >= 0 && ParseIntExtBothText(text) <= 3);
    ParsePlayMuteSoloText(text);
    check(ParseEnsembleText(text) >= 0 && ParseEnsembleText(text) <= 9);
    check(ParseVariationPairText(text) >= 0 && ParseVariationPairText(text) <= 12);
    ParseVariationChangeText(text);
    ParseOctaveFeetText(text);

    std::string name(text);
    MakeValidFileName(name);
    for (unsigned char c : name)
        check(c == 0 || (c >= 0x20 && c <= 0x7E &&
                         std::string_view("\\/:*?\"><|.").find(char(c)) == std::string_view::npos));

    for (auto kind : {NameTableLoader::FileKind::ProgramBanks, NameTableLoader::FileKind::Multisamples,
                      NameTableLoader::FileKind::StyleNames, NameTableLoader::FileKind::ProgramMaps}) {
        NameTables tables;
        NameTableLoader::loadText(kind, text, tables);
        for (int model : {57, 60, 72, 73, 77})
            for (uint16_t n : {uint16_t(0), uint16_t(0x0100), uint16_t(0x0203), uint16_t(0x0400)}) {
                check(GetBankedProgramName(model, n, tables).size() <= 28);
                MapProgramNumber(model, 73, n, tables);
                MapProgramNumber(73, 57, n, tables);
            }
    }
    return 0;
}
