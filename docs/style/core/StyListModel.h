#pragma once

#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

class CZibStyDoc;
class CZibPadDoc;

// What the style and pad lists show: the column sets, the cell texts (in
// Windows-1252 bytes, as the items hold them), the row images and the
// too-large marks of Wq files.
struct StyColumn {
    const char* title;
    int width;
};

// Wq documents: 10 columns; Qe documents: 13 in the style view, 5 in the STS view.
std::vector<StyColumn> StyColumnSet(const CZibStyDoc& doc);
// The pad list: always the 13 columns of a Qe style view.
std::vector<StyColumn> PadColumnSet();

// The text of a cell; `element` is the style element (0-9) whose data the
// per-element columns of Qe rows show.
std::string StyCellText(const CZibStyDoc& doc, int row, int column, int element);
std::string PadCellText(const CZibPadDoc& doc, int row, int column, int element);

// Row images: Qe rows 1 for a Qe9z item (version not 0), else 0; Wq rows
// their own row index (every image of a Wq list is the model icon).
int StyRowImage(const CZibStyDoc& doc, int row);
int PadRowImage(const CZibPadDoc& doc, int row);

// The icon resource of a model letter: '9' 129, 'I' 130, 'M' 131, '<' 132,
// 'H' 133, 'F'/'X' 189, otherwise 116.
int ModelIconId(uint32_t model);

// The too-large marks of a Wq style file: rows in blocks of four whose sizes
// add up to more than 65504 get the mark; the rows of a last incomplete block
// that is too large are also selected. With `check`, the total of all items
// must not exceed the model's limit (Wq8 family 65504, Wq41 786048, WqR65
// 262016). Qe documents and files that are no .STY pass at once.
struct FileSizeCheck {
    bool ok = true;
    std::vector<bool> tooLarge;    // per row
    std::vector<int> select;       // rows to select
    StyNotice notice;              // why the file cannot be written
};
FileSizeCheck CheckFileSize(const CZibStyDoc& doc, bool check);

} // namespace zib
