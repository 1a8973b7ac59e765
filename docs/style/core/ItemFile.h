#pragma once

#include "docs/style/core/CStyItem.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The size header of Qe item files, clipboard parts and pad files (60 bytes,
// little-endian u32):
//
//   0   style data size        (pads: the pad's data size)
//   4   style version          8   style release
//   12  STS data size          16  STS version (header word A)
//   20  STS release            (pads: 12 zero bytes from 12)
//   24  style name, 18 bytes   42  STS name, 18 bytes (pads: zero)
//
// Older 'F' files carry 44 bytes: style size, STS size, style name, STS name.
struct QeItemSizeHeader {
    static constexpr size_t kSize = 60;
    static constexpr size_t kOldSize = 44;

    uint32_t styleSize = 0;
    uint32_t styleVersion = 0;
    uint32_t styleRelease = 0;
    uint32_t stsSize = 0;
    uint32_t stsVersion = 0;
    uint32_t stsRelease = 0;
    std::array<char, 18> styleName{};
    std::array<char, 18> stsName{};

    // The header of a style item and its STS item (null: none, as for pads).
    static QeItemSizeHeader Of(const CStyItem& style, const CStyItem* sts);
    std::array<uint8_t, kSize> Bytes() const;
    // Reads 60 bytes (`old` false) or the 44 bytes of an older 'F' file.
    static QeItemSizeHeader Read(std::span<const uint8_t> bytes, bool old);
};

// What an item file holds, as read by the importers.
struct ItemFileContent {
    uint32_t letter = 0;        // the model letter of the head
    QeItemSizeHeader header;    // Qe letters only
    std::vector<uint8_t> data;  // the style or pad data
    std::vector<uint8_t> sts;   // the STS data (styles only; may be empty)
};

enum class ItemFileError {
    None,
    NotExpectedFormat, // no "DASK" head, a letter no item file uses, or Wq data of an impossible size
    HeaderShort,       // the file ends inside its Qe size header
    DataShort,         // the header promises more data than the file holds
    StsShort,          // the header promises more STS data than the file holds
};

// Reads a style (.WSF) or pad (.ZPF) item file: "DASK" and the model letter;
// Wq letters: the rest is the style data (1168 bytes or more for '9', '<',
// 'H', 1176 for 'I', 'M', at most 65504); 'X': the 60-byte header, the data
// and (styles) the STS data; 'F': the 44-byte header, then the same. Sizes
// are checked against the file before anything is copied. `withSts` reads
// the STS block of style files; pads have none.
ItemFileError ReadItemFile(std::span<const uint8_t> file, bool withSts, ItemFileContent& content);

// The style item file of one item: "DASK" and the document's model letter,
// or "DASKX" for Qe items with the 60-byte header, then the style data and
// (Qe) the STS data.
std::vector<uint8_t> StyleItemFileBytes(uint32_t documentModel, const CStyItem& style, const CStyItem* sts);

// The pad item file: "DASKX", the 60-byte header (name and the pad's version
// and release; the name only for a Qe document), then the pad data.
std::vector<uint8_t> PadItemFileBytes(uint32_t documentModel, const CStyItem& pad);

} // namespace zib
