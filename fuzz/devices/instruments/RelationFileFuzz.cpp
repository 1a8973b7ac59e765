// Relation files (zibinstr.ini) of any content: the reader takes only lines
// of port 0-127, channel 0-15 and a name, and what it takes is written and
// read back unchanged.
#include "devices/core/CInstrumentFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zib::RelationArray relations;
    zib::CInstrumentFile file;
    if (file.ReadRelationsFromText(text, relations) != zib::InsFileResult::Ok) return 0;
    for (const auto& r : relations)
        if (r->port < 0 || r->port > 127 || r->channel < 0 || r->channel > 15 || r->instrumentName.empty())
            std::abort();

    const std::string written = zib::CInstrumentFile::FormatRelations(relations, "Zib");
    zib::RelationArray back;
    if (file.ReadRelationsFromText(written, back) != zib::InsFileResult::Ok ||
        back.size() != relations.size())
        std::abort();
    for (size_t i = 0; i < back.size(); ++i)
        if (back[i]->port != relations[i]->port || back[i]->channel != relations[i]->channel ||
            back[i]->instrumentName != relations[i]->instrumentName)
            std::abort();
    return 0;
}
