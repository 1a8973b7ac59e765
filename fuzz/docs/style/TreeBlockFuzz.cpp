// Chord-variation and style-element blocks pasted into a style editor: the
// counts and sizes of a block are checked before anything is deleted.
#include "docs/style/core/CQeStyleTreeEdits.h"
#include "docs/style/core/CStyItem.h"
#include "fuzz/docs/style/StyFuzzFixtures.h"

#include <cstddef>
#include <cstdint>

// Byte 0: the selected element (low nibble) and CV (high nibble, 15 = the
// element node); byte 1 bit 0 a Qe4k document. The rest is the block.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) return 0;
    static const std::vector<uint8_t> style = zib::fuzz::smallQeStyle(false);
    zib::UlrfResInstancePtr resource(_ULRFCreateResInstance(style.data(), uint32_t(style.size())));
    zib::UlsteEditorPtr editor(resource ? _ULStECreateInstance(resource.get()) : nullptr);
    if (!editor) return 0;
    zib::fuzz::FuzzPort port;
    port.clipboard = std::vector<uint8_t>(data + 2, data + size);
    zib::CStyItem item;
    zib::CQeStyleTreeEdits edits(editor.get(), port, data[1] & 1 ? 'F' : 'X', &item);
    const uint8_t element = data[0] & 15;
    const uint8_t cv = data[0] >> 4;
    edits.selection = {uint8_t(element % 12), uint8_t(cv == 15 ? 255 : cv % 6), 255};
    edits.PasteSelection();
    edits.OnQeAddCv();
    edits.CopySelection();
    return 0;
}
