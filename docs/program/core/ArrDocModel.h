#pragma once

#include "docs/program/core/CArrItem.h"
#include "docs/program/core/ItemDocBase.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// The most arrangements a clipboard block holds, and the list of a document
// without a model; a document with one takes what its layout keeps.
inline constexpr int kArrMaxItems = 138;

using ArrItemResult = ItemResult;

// The arrangement document without its window: a Wq arrangement file
// (.ARR) of one of four layouts, checked by exact size:
//
//   '9', '<', 'H'       head 672 | 64 x 131                      9056 bytes
//   'M'                 head 32  | 64 x 164                     10528
//   'I', record mode 1  head 32  | 128 x 164                    21024
//   'I', record mode 2  head 32  | 128 x 164 | 128 tails of 30  24864
//
// The head is kept whole; in record mode 2 tail i becomes bytes 164-193 of
// record i. Beside the file it reads the user style names ("%s.sty") and
// user program names ("%s.pcg" / "%s.prg") for the view and the pages.
class ArrDocModel : public ItemDocBase {
public:
    using UserName = std::array<char, 17>; // 16 characters and a NUL

    // The document's state
    std::vector<CArrItem> items;
    int model = ' ';    // ' ' none yet; a new document is '9'
    int fileKind = 0;   // 6 .ARR
    int recordMode = 1; // 'I' only: 1 records of 164 bytes, 2 of 194
    std::vector<uint8_t> head;
    std::array<UserName, 128> userProgramNames{};
    std::array<UserName, 48> userStyleNames{};
    bool userProgramNamesRead = false;
    bool userStyleNamesRead = false;

    int Count() const { return int(items.size()); }
    bool FamilyA() const { return model == '9' || model == '<' || model == 'H'; }

    // New and open
    void OnNewDocument();
    // Reads (never more than the largest layout + 1 bytes) and parses the
    // file; false after the messages.
    bool OnOpenDocument(const std::string& filePath) override;
    bool OpenImage(const std::string& filePath, std::span<const uint8_t> image);
    bool ParseArr(std::span<const uint8_t> image);
    // The sibling files' names: false, with the table cleared, when the file
    // is missing, of another model, or too short for what it must hold.
    bool GetUserStyleNames(const std::string& arrPath);
    bool GetUserProgNames(const std::string& arrPath);
    // The same on a sibling file read already.
    bool ReadUserStyleNames(std::span<const uint8_t> file);
    bool ReadUserProgNames(std::span<const uint8_t> file);
    void DeleteContents() override;

    // Item commands on the view's selection (else its focused row)
    bool DeleteItems() override;
    bool EmptyItems() override;
    std::vector<uint8_t> ItemFileImage(int index) const override;

    // Import of .WAF item files
    ArrItemResult ImportArr(const std::string& file);
    ArrItemResult ImportArrImage(std::span<const uint8_t> bytes);

    // Adds a record of model `itemModel` (import, paste, drop): the size
    // the document keeps for it, an empty document taking its model (and,
    // for 'I', the record mode), the name, the conversion. `caption` names the
    // operation in the messages.
    ArrItemResult AddRecord(std::span<const uint8_t> record, int itemModel, const char* caption);

    // Converts the record of item `index` from model `from` to model `to`
    // in place: 0, or -1 for a pair without a conversion.
    int ConvertArrItem(int from, int to, int index);

    // Save: head, records in list order (a shorter list filled with emptied
    // records), then in record mode 2 the tails.
    std::optional<std::vector<uint8_t>> BuildFileImage() override;

    // A record emptied as Empty Item leaves it: zero, with "EMPTYARR" as its name.
    std::vector<uint8_t> EmptyRecord() const;
    // The layout of the document's model: head length, records and their size.
    struct Layout {
        size_t head;
        int records;
        size_t record;
    };
    static std::optional<Layout> LayoutOf(int model, int recordMode);

    // The records of the model's layout: 64, or 128 for 'I'.
    int ItemLimit() const override;

protected:
    int ShownCount() const override { return Count(); }
    const CItemInfo& ShownItem(int index) const override { return items[size_t(index)]; }
    const ItemFileKind& ShownFileKind() const override;
    ItemResult ImportItemFile(const std::string& file) override { return ImportArr(file); }
};

} // namespace zib
