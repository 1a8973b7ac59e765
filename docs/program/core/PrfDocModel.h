#pragma once

#include "docs/program/core/ItemDocBase.h"
#include "docs/style/core/CQeBank.h"
#include "docs/style/core/CQePrfItem.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

using PrfItemResult = ItemResult;

// The performance document without its window: a Qe performance file (.PRF),
// a DASF container whose performances sit in a bank index. Each performance's
// data has the layout of an STS item: arranger info, eight style track
// records and STS blocks whose four tracks are the realtime tracks.
//
// Performance item file (.WFF):
//   0 "DASK" | 4 model letter | 5 u32 LE data size n | 9 char[18] name | 27 n bytes of data
class PrfDocModel : public ItemDocBase {
public:
    static constexpr uint32_t kResourceType = 1; // the resource kind of a performance
    // A position each: a performance file has 16.
    static constexpr int kMaxItems = CQeBank::PositionLimit(kResourceType, false);

    // The document's state
    std::vector<CQePrfItem> items;
    int model = 'F';  // 'F' Qe4k, 'X' Qe9z (the bank index's model code)
    int fileKind = 4; // 4 .PRF, 0 not recognised
    int bank = -1; // the category of the performances with data

    int Count() const { return int(items.size()); }

    // New and open
    void OnNewDocument();
    bool OnOpenDocument(const std::string& filePath) override;
    bool OpenImage(const std::string& filePath, std::span<const uint8_t> image);
    bool ParseQePrf(std::span<const uint8_t> image);
    void DeleteContents() override;

    // Item commands on the view's selection (else its focused row)
    bool DeleteItems() override;
    bool EmptyItems() override;
    std::vector<uint8_t> ItemFileImage(int index) const override;

    // Import of .WFF item files
    PrfItemResult ImportPerf(const std::string& file);
    PrfItemResult ImportPerfImage(std::span<const uint8_t> bytes);

    // Appends a performance (import, paste, drop): position, kind 1, the
    // category of the document (17 for an empty one, which takes it).
    PrfItemResult AddPerformance(std::vector<uint8_t> data, std::span<const char> name, int itemModel);

    // Whether a performance's data (StsItemData) holds what the conversion
    // and the sheet read: at least one STS block, present (693 bytes), and a
    // data length (at 24) within the buffer.
    static bool Readable(std::span<const uint8_t> data);

    // Save: a new container, one resource per performance with data at its
    // row's position; empty rows stay gaps.
    std::optional<std::vector<uint8_t>> BuildFileImage() override;

    int ItemLimit() const override { return kMaxItems; }

protected:
    int ShownCount() const override { return Count(); }
    const CItemInfo& ShownItem(int index) const override { return items[size_t(index)]; }
    const ItemFileKind& ShownFileKind() const override;
    ItemResult ImportItemFile(const std::string& file) override;
};


} // namespace zib
