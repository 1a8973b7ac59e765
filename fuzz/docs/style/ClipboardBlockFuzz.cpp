// Clipboard blocks of every content code pasted and dropped into the style
// list (both series and the STS view), the pad list and the STS tree: a
// block that does not hold what its head says changes nothing.
#include "docs/style/core/CStsTreeModel.h"
#include "fuzz/docs/style/StyFuzzFixtures.h"

#include <cstddef>
#include <cstdint>

// Byte 0 picks the receiver; byte 1 the drop row; the rest is the block.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    static const std::vector<uint8_t> qe = zib::fuzz::smallQeFile(false);
    static const std::vector<uint8_t> pads = zib::fuzz::smallQeFile(true);
    static const std::vector<uint8_t> wq8 = zib::fuzz::smallWqFile('9');
    const std::vector<uint8_t> block(data + 2, data + size);
    const int dropRow = int(data[1] % 4) - 1;
    zib::fuzz::FuzzPort port;
    port.clipboard = block;
    port.rows = 1;
    switch (data[0] % 7) {
    case 0:
    case 1:
    case 2: {
        zib::CZibStyDoc doc;
        doc.SetPort(&port);
        if (!doc.OpenImage(data[0] % 7 == 1 ? wq8 : qe, "/fuzz/s.sty")) return 0;
        if (data[0] % 7 == 2) doc.ToggleViewMode();
        doc.OnEditPaste();
        doc.OnDrop(block, dropRow, data[1] & 0x80, data[1] & 0x40, std::vector<int>{0});
        if (doc.StyCount()) doc.BuildFileImage();
        break;
    }
    case 3:
    case 4: {
        zib::CZibPadDoc doc;
        doc.SetPort(&port);
        if (!doc.OpenImage(pads, "/fuzz/p.pad")) return 0;
        if (data[0] % 7 == 3)
            doc.OnEditPaste();
        else
            doc.OnDrop(block, dropRow, data[1] & 0x80, data[1] & 0x40, std::vector<int>{0});
        break;
    }
    default: {
        zib::CZibStyDoc doc;
        doc.SetPort(&port);
        if (!doc.OpenImage(qe, "/fuzz/s.sty")) return 0;
        zib::CStsTreeModel tree(doc, 0);
        if (data[0] % 7 == 5)
            tree.PasteStsChunk();
        else
            tree.PasteSts(data[1] % 4);
        tree.FillStsTree("tree");
        break;
    }
    }
    return 0;
}
