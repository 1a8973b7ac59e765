#pragma once

// What the fuzz targets of the style and pad documents share: a UI port that
// answers from the input, and small documents to paste into.
#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "docs/style/core/WqEmptyStyle.h"
#include "styles/CWqStyleWriter.h"
#include "ulvarf/ulvarf.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zib::fuzz {

// Shows nothing, holds one clipboard block, selects every row, answers Yes.
class FuzzPort : public StyNullPort {
public:
    std::optional<std::vector<uint8_t>> clipboard;
    int rows = 0;

    StyAnswer Ask(StyQuestion, const StyNotice&) override { return StyAnswer::Yes; }
    StyAnswer ConfirmOverwrite(const std::filesystem::path&) override { return StyAnswer::Yes; }
    std::vector<int> SelectedRows() const override
    {
        std::vector<int> all;
        for (int r = 0; r < rows; ++r)
            all.push_back(r);
        return all;
    }
    int FocusedRow() const override { return rows ? 0 : -1; }
    StyClipboardContent ReadClipboard() override
    {
        StyClipboardContent c;
        c.present = clipboard.has_value();
        c.bytes = clipboard;
        return c;
    }
    bool WriteClipboard(const std::vector<uint8_t>& block) override
    {
        clipboard = block;
        return true;
    }
};

// A serialised Qe style with one chord variation made by the library (or a pad).
inline std::vector<uint8_t> smallQeStyle(bool pad)
{
    static const uint8_t kSmf[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0x80, 'M', 'T', 'r', 'k', 0, 0, 0, 21,
                                   0, 0xFF, 0x58, 4, 4, 2, 24, 8, 0, 0x99, 36, 100, 0x83, 0, 0x89, 36, 0,
                                   0x8B, 0, 0xFF, 0x2F, 0};
    UlsteEditorPtr editor(_ULStECreateInstance(pad ? ULSTE_NEW_PAD : nullptr));
    _ULStEImportSmf(editor.get(), kSmf, sizeof kSmf, 0, 0);
    _ULStESetQeVersion(editor.get(), 0);
    UlrfResInstancePtr resource(_ULStECreateResource(editor.get()));
    std::vector<uint8_t> out(resource ? size_t(_ULRFResInstanceSize(resource.get())) : 0);
    if (resource) _ULRFPutResInstance(resource.get(), out.data(), uint32_t(out.size()));
    return out;
}

// A container image of one style (type 2) or pad (type 9) at bank 3, position 0.
inline std::vector<uint8_t> smallQeFile(bool pad)
{
    const std::vector<uint8_t> style = smallQeStyle(pad);
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    UlrfResInstancePtr resource(_ULRFCreateResInstance(style.data(), uint32_t(style.size())));
    if (!container || !resource) return {};
    const int i = _ULRFInsertResource(container.get(), -1, resource.get());
    _ULRFModifyIndex(container.get(), i, "Fuzz", 3, 0);
    std::vector<uint8_t> image(size_t(_ULRFOutBufferSize(container.get())));
    _ULRFFillOutBuffer(container.get(), image.data());
    return image;
}

// A Wq style file of one empty item of the model.
inline std::vector<uint8_t> smallWqFile(uint32_t model)
{
    return CWqStyleWriter::MakeUnpatternizedFile(model, WqEmptyStyleImage(model, 0));
}

} // namespace zib::fuzz
