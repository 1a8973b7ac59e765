// STS data as a style's STS item holds it: the accessor's checks, the typed
// access, the tree and every copy and paste of whole data and single blocks.
#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/CStsTreeModel.h"
#include "fuzz/docs/style/StyFuzzFixtures.h"

#include <cstddef>
#include <cstdint>

// Byte 0: the slot of the single-block operations. The rest is the STS data.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    static const std::vector<uint8_t> qe = zib::fuzz::smallQeFile(false);
    const int slot = data[0] % 4;
    std::vector<uint8_t> sts(data + 1, data + size);

    zib::CStsItemAccessor accessor;
    if (accessor.Parse(sts) == 0) {
        for (int k = 0; k < 4; ++k)
            for (int r = 0; r < 4; ++r)
                zib::StsTrackRecord::RealtimeTrack(sts, accessor.SlotOffset(k), r).Sound();
        std::vector<uint8_t> block(261, uint8_t(slot));
        accessor.ReplaceSts(slot, block);
    }
    for (int t = 0; t < 8; ++t)
        zib::StsTrackRecord::StyleTrack(sts, t).SetVolume(100);

    zib::fuzz::FuzzPort port;
    zib::CZibStyDoc doc;
    doc.SetPort(&port);
    if (!doc.OpenImage(qe, "/fuzz/s.sty")) return 0;
    doc.m_StsItems[0].data = sts;
    zib::CStsTreeModel tree(doc, 0);
    tree.FillStsTree("tree");
    tree.CopyStsToClipboard(slot);
    tree.PasteSts((slot + 1) % 4);
    tree.CopyStsChunkToClipboard();
    tree.PasteStsChunk();
    // A single block of the data pasted into itself.
    port.clipboard = zib::CStsTreeModel::SingleStsBlock(doc, 0, std::vector<uint8_t>(261, uint8_t(slot)));
    tree.PasteSts(slot);
    return 0;
}
