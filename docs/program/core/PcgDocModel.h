#pragma once

#include "docs/program/core/ItemDocBase.h"
#include "docs/program/core/CPcgItem.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

using PcgItemResult = ItemResult;

// The program and drum-kit document without its window: the Wq-series .PCG
// (models '9', '<', 'H': 64 programs, 2 drum kits) and .PRG ('I', 'M': 128
// programs, 8 drum kits), and the Qe-series .PCG, a DASF container whose
// programs sit in banks and positions. It recognises and parses a file into
// its two item lists, deletes, empties, extracts and imports items, converts
// items between Wq models and builds the whole file again. It reaches the
// user and its list view through its port.
class PcgDocModel : public ItemDocBase {
public:
    // The document's state
    std::vector<CPcgItem> programs;
    std::vector<CPcgItem> drumKits; // Wq series only
    int model = ' ';                // ' ' not yet known, '9', '<', 'H', 'I', 'M' or 'F'
    int fileKind = 0;               // 3 .PCG, 11 .PRG, 0 not recognised
    std::vector<uint8_t> image; // the file as read
    int firstBank = -1;
    std::vector<uint8_t> head; // the Wq file head, kept whole
    int shownList = 1;         // 1 programs, 2 drum kits

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
    // Reads and parses the file (a Wq file is never read past its layout's
    // size + 1); false after the messages, with the view's list emptied.
    bool OnOpenDocument(const std::string& filePath) override;
    // The same on a file image held already.
    bool OpenImage(const std::string& filePath, std::vector<uint8_t> fileImage);
    static int CheckExtension(std::string_view filePath);
    bool ParseFile();
    // Whether the image is a Wq program file or a DASF container (setting
    // the model); otherwise one message says why not.
    bool CheckHead();
    // Whether the image is a DASF container (the model becomes 'F'); says nothing.
    bool CheckDasfHead();
    bool ParseWqSerPcg();
    bool ParsePcg();
    void DeleteContents() override;

    // Item commands on the view's selection (else its focused row)
    bool DeleteItems() override;
    bool EmptyItems() override;
    // The bytes of the item file of item `index` of the shown list.
    std::vector<uint8_t> ItemFileImage(int index) const override;

    // Import of item files (.WPF programs, .WDK drum kits)
    PcgItemResult ImportPcg(const std::string& file);
    PcgItemResult ImportDrumKit(const std::string& file);
    // The same for an item file read already (`bytes` is the whole file).
    PcgItemResult ImportPcgImage(std::span<const uint8_t> bytes);
    PcgItemResult ImportDrumKitImage(std::span<const uint8_t> bytes);

    // Conversions of the item at `index` of the programs or drum kits from
    // model `source` to model `target`, in place: 0 done, -1 no conversion
    // for this pair, -2 refused.
    int ConvertProgram(int source, int target, int index);
    int ConvertDrumKit(int source, int target, int index);
    int ConvertPrgWQ8ToWQ41(int index);
    int ConvertPrgWQ8ToWQR65(int index);
    int ConvertPrgWq41ToWqR65(int index);
    int ConvertPrgWqR65ToWq41(int index);
    int ConvertDrmWQ8ToWQ41(int index);
    int ConvertDrmWQ8ToWqR65(int index);
    int ConvertDrmWq41ToWqR65(int index);
    int ConvertDrmWqR65ToWq41(int index);
    static int RefuseConversionToWq8() { return -2; }

    // An empty document (no model yet, or no items) takes the model of the
    // item added to it, and with it the file kind of the model's family.
    void AdoptModelIfEmpty(int itemModel);
    // The Qe bank of a new program: the first bank in use, or 9.
    int BankForNewQeProgram();

    // The items the shown list's file keeps: 128 programs in a Qe file, the
    // records of the Wq layout (64 or 128 programs, 2 or 8 drum kits).
    int ItemLimit() const override;

    // Save: the whole file of the document; nullopt after a message when the
    // document cannot be written in its format.
    std::optional<std::vector<uint8_t>> BuildFileImage() override;

protected:
    int ShownCount() const override { return int(ShownItems().size()); }
    const CItemInfo& ShownItem(int index) const override { return ShownItems()[size_t(index)]; }
    const ItemFileKind& ShownFileKind() const override;
    ItemResult ImportItemFile(const std::string& file) override;

private:
    PcgItemResult Refused(const DocMessage& message) const;
    int ConvertPrgWQ8ToFamilyB(int index, int target);
    int ConvertDrmWQ8ToFamilyB(int index, int target);
    int SetDrumKitWord(int index, int target);
    std::optional<std::vector<uint8_t>> BuildWqImage();
    std::optional<std::vector<uint8_t>> BuildQeImage();
};

} // namespace zib
