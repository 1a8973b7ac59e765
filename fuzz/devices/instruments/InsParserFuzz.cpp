// Instrument definition files of any content (a user's .INS file or the
// program's own Zib.icf, which the same parser reads): both passes run
// without fault, and whatever was loaded survives the trip through the
// program's own instrument file unchanged.
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/InsFileWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

zib::InsFileResult loadAll(zib::InstrumentArray& instruments, std::string_view text)
{
    zib::CInstrumentDefs defs(instruments);
    if (auto r = defs.CollectNamesFromText(text); r != zib::InsFileResult::Ok) return r;
    return defs.LoadSelectedFromText(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    zib::InstrumentArray instruments{std::make_shared<zib::CInsInstrument>("default")};
    if (loadAll(instruments, text) == zib::InsFileResult::Ok) {
        const std::string icf = zib::FormatInstrumentDefinitions(instruments, "Zib");
        zib::InstrumentArray back{std::make_shared<zib::CInsInstrument>("default")};
        if (loadAll(back, icf) != zib::InsFileResult::Ok) std::abort();
        if (zib::FormatInstrumentDefinitions(back, "Zib") != icf) std::abort();
        for (const auto& instrument : instruments)
            (void)zib::FormatInstrumentExport(*instrument);
    }
    return 0;
}
