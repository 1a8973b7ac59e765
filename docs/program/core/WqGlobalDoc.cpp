#include "docs/program/core/WqGlobalDoc.h"

#include "docs/program/core/DocPaths.h"
#include "docs/program/core/ItemFileHead.h"

namespace zib {

bool WqGlobalDoc::OnOpenDocument(const std::string& filePath)
{
    std::vector<uint8_t> bytes;
    // Never more than one byte past the fixed size: enough for the size test.
    if (ReadFilePrefix(filePath, ImageSize() + 1, bytes) != FileIoError::None) {
        Notify(DocMessage::Numbered(9, "OnOpenDocument", DocIcon::Stop));
        return false;
    }
    return OpenImage(filePath, bytes);
}

bool WqGlobalDoc::OpenImage(const std::string& filePath, std::span<const uint8_t> bytes)
{
    DeleteContents();
    path = filePath;
    const auto fail = [this] {
        DeleteContents();
        Port().Refill();
        return false;
    };
    if (bytes.empty()) {
        Notify(DocMessage::Numbered(46));
        return fail();
    }
    image.assign(bytes.begin(), bytes.end());
    fileKind = UpperTail(filePath, 4) == Extension() ? KindOf() : 0;
    if (fileKind == 0) return fail();
    // The head test: "DASK" and 'M' or 'I' (a file too short for the letter is no DASK file).
    const auto letter = ReadItemFileHead(image);
    if (!letter) {
        Notify(DocMessage::Numbered(17));
        return fail();
    }
    model = int(int8_t(*letter));
    if (model != 'M' && model != 'I') {
        Notify(DocMessage::Numbered(18));
        return fail();
    }
    if (!Parse()) return fail();
    Port().Refill();
    Opened(fileKind);
    return true;
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

void WqGlobalDoc::ApplyImage(std::vector<uint8_t> changed)
{
    image = std::move(changed);
    modified = true;
    FillTexts();
    Port().RedrawAll();
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
