// Arrangement-global and global-data files as they come from disk: the size
// and head tests, every row's text and the dialogs' models must stay inside
// the image; OK without edits keeps it, and saving writes it back.
#include "docs/program/core/ArgDocModel.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/core/GblDocModel.h"
#include "docs/program/core/GlobalDataDlgModel.h"
#include "docs/program/core/MidiChannelDlgModel.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void check(bool holds)
{
    if (!holds) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::vector<uint8_t> image(data + 1, data + size);
    if (data[0] & 1) {
        zib::GblDocModel doc;
        if (!doc.OpenImage("fuzz.gbl", image)) return 0;
        check(doc.texts.size() == doc.rows.size());
        zib::GlobalDataDlgModel dlg(doc);
        check(dlg.Ok() == doc.image);
        for (size_t line = 0; line < dlg.pedals.size(); ++line) {
            const auto pedal = dlg.PedalSwDialog(int(line));
            dlg.SetPedalCode(int(line), pedal.Ok());
        }
        const auto scale = dlg.ScaleDialog(0);
        dlg.SetScale(0, scale.Ok());
        check(dlg.Ok() == doc.image);
    } else {
        zib::ArgDocModel doc;
        if (!doc.OpenImage("fuzz.arg", image)) return 0;
        check(doc.texts.size() == doc.rows.size());
        zib::ArgGlobalDlgModel dlg(doc);
        for (size_t r = 0; r < dlg.records.size(); ++r) {
            const zib::MidiChannelDlgModel channel(dlg.records[r].label, dlg.Datum(int(r)));
            dlg.SetChannelDatum(channel.Ok());
        }
        check(dlg.Ok() == doc.image);
    }
    return 0;
}
