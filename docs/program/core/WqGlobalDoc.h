#pragma once

#include "docs/program/core/ProgramDocBase.h"
#include "docs/style/core/CItemInfo.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

// One display row of the arrangement-global and global-data documents: a
// parameter's name (headings are upper case, indented by six blanks) and its
// value text ("----------" for headings).
struct ParameterRow {
    std::string name;
    std::string value;
};

// What the arrangement-global (.ARG, 80 bytes) and global-data (.GBL, 448
// bytes) documents share: the whole file held as one image of a fixed size,
// "DASK" and the model letter 'M' or 'I' in its 32-byte head, one row per
// parameter, and the image written back whole by Save.
class WqGlobalDoc : public ProgramDocBase {
public:
    std::vector<uint8_t> image;
    int model = ' ';  // 'M' or 'I'; ' ' none
    int fileKind = 0; // 8 .ARG, 7 .GBL
    std::vector<uint8_t> head;
    std::vector<CItemInfo> rows; // position = row, model, size 0
    std::vector<ParameterRow> texts;

    int RowCount() const { return int(rows.size()); }

    // Reads at most the image size + 1 bytes and parses; false after the messages.
    bool OnOpenDocument(const std::string& filePath) override;
    bool OpenImage(const std::string& filePath, std::span<const uint8_t> bytes);
    void DeleteContents() override;
    // A dialog's OK: an image that differs from the document's becomes it
    // (the document modified), the texts are made again and the rows
    // redrawn; false, changing nothing, for the image as it was.
    bool ApplyImage(std::vector<uint8_t> changed);

    std::optional<std::vector<uint8_t>> BuildFileImage() override;
    // The texts of every row for the document's model.
    virtual void FillTexts() = 0;

protected:
    virtual const char* Extension() const = 0; // ".ARG", ".GBL"
    virtual int KindOf() const = 0;            // 8, 7
    virtual size_t ImageSize() const = 0;      // 80, 448
    // The size test and the rows; false after its message.
    virtual bool Parse() = 0;
    // The rows of the model: `count` parameter rows.
    void MakeRows(int count);
    // The texts of the next row: a parameter, or a heading ("      NAME"
    // with "----------").
    void AddText(std::string name, std::string value) { texts.push_back({std::move(name), std::move(value)}); }
    void AddHeading(const char* name) { AddText(std::string(6, ' ') + name, "----------"); }
};

} // namespace zib
