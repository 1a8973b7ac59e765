#pragma once

#include "docs/style/core/StyClipboardBlock.h"
#include "docs/style/core/StyUiPort.h"
#include "platform/FileIo.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// Steps the style and pad documents take alike.

// The rows an item command acts on: the selected ones in order, else the
// focused one; rows outside 0..count-1 are left out.
std::vector<int> RowsToMark(std::span<const int> selected, int focused, int count);

// The text in capitals (ASCII), for extension tests.
std::string UpperAscii(std::string text);
// A path as UTF-8 text, for messages.
std::string Utf8Text(const std::filesystem::path& path);

// The block of the private format on the clipboard; nullopt after the
// message under `caption` ("Cannot attach to clipboard", "Cannot get
// clipboard data", "Wrong clipboard data size" for a block that does not
// hold what its head says), or silently when the clipboard holds none.
std::optional<StyClipboardBlock> ReadClipboardBlock(StyUiPort& port, const char* caption);

// "Save changes to <title>" for a modified document: Yes saves through
// `save` (its result), No gives true, Cancel false.
bool AskSaveModified(StyUiPort& port, bool modified, const std::string& title, const std::function<bool()>& save);

// The warning after the bank index had to rearrange banks or positions
// (caption "ParseQESty").
StyNotice RearrangedNotice();

// The cause code of a file error as message text.
std::string FileErrorCode(FileIoError error);
// An item file read whole for an import; nullopt after the message under
// `caption` ("Cannot open file - %d", "GetFileSize failed!" for a file too
// large to be an item, "Error reading item format - %d").
std::optional<std::vector<uint8_t>> ReadItemFileBytes(StyUiPort& port, const std::filesystem::path& path,
                                                      const char* caption);

// Extract All: one item file per row with data, named after the item, in a
// folder the user chooses; an existing file is asked about (Yes, Yes To All,
// No skips it, Cancel stops).
struct ExtractAllSteps {
    int count = 0;
    std::string extension; // ".WSF", ".ZPF"
    std::function<bool(int row)> hasData;
    std::function<std::string(int row)> fileName; // UTF-8, without extension
    std::function<int(int row, const std::filesystem::path&)> write;
};
void ExtractAllItems(StyUiPort& port, const std::filesystem::path& startFolder, const ExtractAllSteps& steps);

// Where the pasted rows of a drop go: the drop row, or, when the rows were
// dragged from this list with the move effect and the drop row lies below
// them, drop row + 1 - the number of dragged rows; never past `firstPasted`.
int DropTargetRow(int dropRow, bool draggedAway, std::span<const int> dragged, int firstPasted);
// A drop onto the dragged rows or between the first and the last of them.
bool DropsInsideDraggedRows(int dropRow, bool fromThisView, std::span<const int> dragged);

} // namespace zib
