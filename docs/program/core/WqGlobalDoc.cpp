#include "docs/program/core/WqGlobalDoc.h"

#include "docs/program/core/DocPaths.h"
#include "docs/style/core/SheetOk.h"

namespace zib {

bool WqGlobalDoc::OnOpenDocument(const std::string& filePath)
{
    std::vector<uint8_t> bytes;
    // Never more than one byte past the fixed size: enough for the size test.
    return ReadForOpen(filePath, ImageSize() + 1, bytes) && OpenImage(filePath, bytes);
}

bool WqGlobalDoc::OpenImage(const std::string& filePath, std::span<const uint8_t> bytes)
{
    return OpenWith(filePath, bytes, [this, &filePath](std::span<const uint8_t> file) {
        image.assign(file.begin(), file.end());
        fileKind = UpperTail(filePath, 4) == Extension() ? KindOf() : 0;
        if (fileKind == 0) return 0;
        // The head test: "DASK" and 'M' or 'I' (a file too short for the letter is no DASK file).
        model = CheckDaskHead(image, "MI");
        return model != 0 && Parse() ? fileKind : 0;
    });
}

void WqGlobalDoc::MakeRows(int count)
{
    head.assign(image.begin(), image.begin() + 32);
    rows.clear();
    for (int i = 0; i < count; ++i) {
        CItemInfo row;
        row.position = uint32_t(i);
        row.model = uint32_t(model);
        rows.push_back(std::move(row));
    }
    FillTexts();
}

void WqGlobalDoc::DeleteContents()
{
    image.clear();
    head.clear();
    rows.clear();
    texts.clear();
}

bool WqGlobalDoc::ApplyImage(std::vector<uint8_t> changed)
{
    if (!PutBackWhenChanged(image, std::move(changed))) return false;
    modified = true;
    FillTexts();
    Port().RedrawAll();
    return true;
}

std::optional<std::vector<uint8_t>> WqGlobalDoc::BuildFileImage()
{
    if (image.size() != ImageSize()) {
        Notify(DocMessage::Numbered(47, "OnSaveDocument", DocIcon::Stop));
        return std::nullopt;
    }
    return image;
}

} // namespace zib
