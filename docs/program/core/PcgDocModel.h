#pragma once

#include "docs/style/core/CPcgItem.h"
#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zib {

// Outcome of adding one item (import, paste, drop) and of a conversion.
enum class PcgItemResult {
    Added = 0,
    Failed = -1,        // refused or failed; a notice was given where there is one
    CloseDocument = -2, // the document must be closed
};

// The program and drum-kit document without its window: the Wq-series .PCG
// (models '9', '<', 'H': 64 programs, 2 drum kits) and .PRG ('I', 'M': 128
// programs, 8 drum kits), and the Qe-series .PCG, a DASF container whose
// programs sit in banks and positions. It recognises and parses a file image
// into its two item lists, deletes, empties, extracts and imports items,
// converts items between Wq models and builds the whole file again. Every
// message for the user goes to the notice sink.
class PcgDocModel {
public:
    explicit PcgDocModel(StyNoticeSink notify = {});

    // The document's state
    std::vector<CPcgItem> programs;
    std::vector<CPcgItem> drumKits; // Wq series only
    int model = ' ';               // ' ' not yet known, '9', '<', 'H', 'I', 'M' or 'F'
    int fileKind = 0;              // 3 .PCG, 11 .PRG, 0 not recognised
    int importModel = 0;           // model letter of the item being imported or pasted
    bool importBusy = false;
    std::vector<uint8_t> image; // the file as read
    std::string path;
    std::string folder;
    int firstBank = -1;
    std::vector<uint8_t> head; // the Wq file head, kept whole
    int shownList = 1;         // 1 programs, 2 drum kits
    bool modified = false;

    int ProgramCount() const { return int(programs.size()); }
    int DrumKitCount() const { return int(drumKits.size()); }
    bool IsQe() const { return model == 'F' || model == 'X'; }
    // The list the view shows and the commands act on: the programs in Qe
    // documents and while shownList is 1, else the drum kits.
    bool ShowsPrograms() const { return IsQe() || shownList == 1; }
    std::vector<CPcgItem>& ShownItems() { return ShowsPrograms() ? programs : drumKits; }
    const std::vector<CPcgItem>& ShownItems() const { return ShowsPrograms() ? programs : drumKits; }

    // New and open
    // The kind chosen in the New dialog: 1 Wq8 .PCG, 2 Wq41 .PRG, else Qe .PCG.
    void OnNewDocument(int newDocKind);
    // Recognises and parses the whole file; false after the notices (the
    // caller then closes the document).
    bool OpenImage(const std::string& filePath, std::vector<uint8_t> fileImage);
    static int CheckExtension(std::string_view filePath);
    bool ParseFile();
    bool CheckHead();
    bool CheckDasfHead();
    bool ParseWqSerPcg();
    bool ParsePcg();
    void DeleteContents();

    // Item commands. `selected` are the selected rows of the shown list;
    // without any, the focused row (-1: none) is acted on.
    bool DeleteItems(const std::vector<int>& selected, int focused);
    bool EmptyItems(const std::vector<int>& selected, int focused);
    // Writes item `index` of the shown list as an item file.
    bool ExtractItem(int index, const std::filesystem::path& file);
    // Extract All Items: the items with data of the shown list and the file
    // name each is written to (its name made file-safe, a number added when
    // two share a name, the extension .WPF or .WDK).
    std::vector<std::pair<int, std::string>> ExtractAllNames() const;
    // The item file's name offered for item `index`: its name made file-safe.
    std::string ExtractFileName(int index) const;

    // Import of item files (.WPF programs, .WDK drum kits)
    // False, after the limit message, when the shown list is full already.
    bool CanImport();
    // Imports the chosen files in order; false when one failed or was refused.
    // `closeDocument` is set when a failure requires the document to close.
    bool ImportItems(const std::vector<std::string>& files, bool* closeDocument = nullptr);
    PcgItemResult ImportPcg(const std::string& file);
    PcgItemResult ImportDrumKit(const std::string& file);
    // The same for an item file read already.
    PcgItemResult ImportPcgImage(std::span<const uint8_t> bytes);
    PcgItemResult ImportDrumKitImage(std::span<const uint8_t> bytes);

    // Conversions of the item at `index` of the programs or drum kits from
    // model `source` to model `target`, in place: 0 done, -1 no conversion
    // for this pair, -2 refused.
    int ConvertProgram(int source, int target, int index);
    int ConvertDrumKit(int source, int target, int index);
    // The conversions the two dispatchers choose from
    int ConvertPrgWQ8ToWQ41(int index);
    int ConvertPrgWQ8ToWQR65(int index);
    int ConvertPrgWq41ToWqR65(int index);
    int ConvertPrgWqR65ToWq41(int index);
    int ConvertDrmWQ8ToWQ41(int index);
    int ConvertDrmWQ8ToWqR65(int index);
    int ConvertDrmWq41ToWqR65(int index);
    int ConvertDrmWqR65ToWq41(int index);
    static int RefuseConversionToWq8() { return -2; }

    // Save: the whole file of the document; nullopt after a notice when the
    // document cannot be written in its format.
    std::optional<std::vector<uint8_t>> BuildFileImage();

    // Renumbers the list positions of the items of `items` 0, 1, 2 ...
    static void RenumberPositions(std::vector<CPcgItem>& items);

    void Notify(const StyNotice& notice) const
    {
        if (notify_) notify_(notice);
    }
    const StyNoticeSink& NoticeSink() const { return notify_; }

private:
    std::vector<int> MarkedRows(const std::vector<int>& selected, int focused) const;
    // The Qe bank of a new or pasted program: the first bank in use, or 9.
    int BankForNewQeProgram();
    std::vector<uint8_t> ItemFileImage(const CPcgItem& item) const;
    std::optional<std::vector<uint8_t>> BuildQeImage();
    int ConvertPrgWQ8ToFamilyB(int index, int target);
    int ConvertDrmWQ8ToFamilyB(int index, int target);
    int SetDrumKitWord(int index, int target);

    StyNoticeSink notify_;
    size_t headLength_ = 0;
};

} // namespace zib
