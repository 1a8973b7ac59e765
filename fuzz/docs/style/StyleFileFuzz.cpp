// Style and pad files as they come from disk (Wq style images and DASF
// containers): open, every row text of both views, the item-list report, the
// row images, and writing the file back must stay inside what was read.
#include "docs/style/core/StyListModel.h"
#include "docs/style/core/StyReports.h"
#include "fuzz/docs/style/StyFuzzFixtures.h"

#include <cstddef>
#include <cstdint>

// Byte 0: bit 0 pad file, bit 1 save. The rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const bool pad = data[0] & 1;
    const bool save = data[0] & 2;
    std::vector<uint8_t> image(data + 1, data + size);
    zib::fuzz::FuzzPort port;
    if (pad) {
        zib::CZibPadDoc doc;
        doc.SetPort(&port);
        if (!doc.OpenImage(std::move(image), "/fuzz/f.pad")) return 0;
        for (int r = 0; r < doc.PadCount(); ++r)
            for (int c = 0; c < 13; ++c)
                zib::PadCellText(doc, r, c, r % 10);
        if (save) doc.BuildFileImage();
        return 0;
    }
    zib::CZibStyDoc doc;
    doc.SetPort(&port);
    if (!doc.OpenImage(std::move(image), "/fuzz/f.sty")) return 0;
    for (int view = 0; view < 2; ++view) {
        const int rows = doc.StsView() ? doc.StsCount() : doc.StyCount();
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < 13; ++c)
                zib::StyCellText(doc, r, c, r % 10);
            zib::StyRowImage(doc, r);
        }
        doc.ToggleViewMode();
    }
    zib::CheckFileSize(doc, true);
    zib::ItemsReportText(doc, "report");
    if (save) doc.BuildFileImage();
    return 0;
}
