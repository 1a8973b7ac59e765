#pragma once

#include "docs/program/core/ProgramDocBase.h"
#include "docs/style/core/CQePrfItem.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

// Outcome of adding one performance (import, paste, drop).
enum class PrfItemResult {
    Added = 0,
    Failed = -1,        // skipped or refused, after its message
    CloseDocument = -2, // the document must be closed
};

// The performance document without its window: a Qe performance file (.PRF),
// a DASF container whose performances sit in a bank index. Each performance's
// data has the layout of an STS item: arranger info, eight style track
// records and STS blocks whose four tracks are the realtime tracks.
//
// Performance item file (.WFF):
//   0 "DASK" | 4 model letter | 5 u32 LE data size n | 9 char[18] name | 27 n bytes of data
class PrfDocModel : public ProgramDocBase {
public:
    static constexpr int kMaxItems = 64;

    // The document's state
    std::vector<CQePrfItem> items;
    int model = 'F';  // 'F' Qe4k, 'X' Qe9z (the bank index's model code)
    int fileKind = 4; // 4 .PRF, 0 not recognised
    bool importing = false;
    int sourceModel = 0;
    int bank = -1; // the category of the performances with data

    int Count() const { return int(items.size()); }

    // New and open
    void OnNewDocument();
    bool OnOpenDocument(const std::string& filePath);
    bool OpenImage(const std::string& filePath, std::span<const uint8_t> image);
    bool ParseQePrf(std::span<const uint8_t> image);
    void DeleteContents();

    // Item commands on the view's selection (else its focused row)
    void OnEditDelete();
    void OnEditEmpty();
    void OnEditExtract();
    void OnEditExtractAll();
    void OnEditSelectAll();
    bool DeleteItems();
    bool EmptyItems();
    bool ExtractItem(int index, const std::string& file);
    std::vector<uint8_t> ItemFileImage(int index) const;

    // Import of .WFF item files
    void ImportItem();
    void OnEditImport() { ImportItem(); }
    bool ImportFiles(const std::vector<std::string>& files);
    bool ImportPerf(const std::string& file);
    PrfItemResult ImportPerfImage(std::span<const uint8_t> bytes);

    // Appends a performance (import, paste, drop): position, kind 1, the
    // category of the document (17 for an empty one, which takes it).
    PrfItemResult AddPerformance(std::vector<uint8_t> data, std::span<const char> name, int itemModel);

    // Save: a new container, one resource per performance with data at its
    // row's position; empty rows stay gaps.
    std::optional<std::vector<uint8_t>> BuildFileImage() override;

private:
    bool Failed(const DocMessage& message) const;
};

// The parts of a performance's data that the document reads and changes.
namespace prf {
inline constexpr size_t kStyleBank = 38, kStylePosition = 39, kTempo = 41, kInitialVariation = 42;
inline constexpr size_t kInitialElement = 43, kFill1 = 45, kFill2 = 46;
inline constexpr size_t kStyleTracks = 136, kTrackSize = 37, kStsBlocks = 432, kStsSize = 261, kStsHead = 113;
inline constexpr size_t kReadable = kStsBlocks + kStsSize; // 693: one STS block at least
// Whether a performance's data holds what the conversion and the sheet
// read: 693 bytes, at least one STS block, and a data length (the
// big-endian u32 at 24) within the buffer.
bool Readable(std::span<const uint8_t> data);
} // namespace prf

} // namespace zib
