// An edited chord variation written back into a style: any MIDI file read
// as the track editor's sequence, its events marked as VexSound notes by
// the first byte, rebuilt into track bytes and imported into the style
// editor, with the old chord variation given back when the import fails.
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/StyleBufferRebuild.h"
#include "fuzz/docs/style/StyFuzzFixtures.h"
#include "midi/CMidiParserEx.h"

#include <cstddef>
#include <cstdint>

// Byte 0: every n-th event (1-15, 0 none) is a VexSound note; the rest is
// the MIDI file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    static const std::vector<uint8_t> style = zib::fuzz::smallQeStyle(false);
    zib::LibraryQeStyleEditor::Made made = zib::LibraryQeStyleEditor::FromItem(style);
    if (!made.editor) return 0;
    zib::CMidiParserEx sequence;
    if (sequence.ParseImage(data + 1, uint32_t(size - 1)) != 0) return 0;
    if (const int every = data[0] & 15)
        for (size_t i = 0; i < sequence.GetEventCount(); i += size_t(every))
            sequence.GetEvent(i)->flags |= zib::CMidiEvent::kVexNoise;
    sequence.SetTrackModified(0, 1);
    int edited = 0;
    zib::StyleRebuildContext context;
    context.sequence = &sequence;
    context.edited = &edited;
    zib::QeRebuildTarget target;
    target.editor = made.editor.get();
    target.element = 0;
    target.cv = 0;
    target.storeItemData = [](std::vector<uint8_t>) {};
    zib::RecreateQeStyleBuffer(context, target);
    // The style must still export its chord variation afterwards.
    made.editor->ExportSmf(0, 0);
    return 0;
}
