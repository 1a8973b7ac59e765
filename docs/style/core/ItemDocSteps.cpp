#include "docs/style/core/ItemDocSteps.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace zib {

std::vector<int> RowsToMark(std::span<const int> selected, int focused, int count)
{
    std::set<int> rows;
    for (int r : selected)
        if (r >= 0 && r < count) rows.insert(r);
    if (rows.empty() && focused >= 0 && focused < count) rows.insert(focused);
    return std::vector<int>(rows.begin(), rows.end());
}

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Utf8Text(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

StyNotice RearrangedNotice()
{
    return StyNotice::Text(
        "Found data resources with incorrect bank/position !!!\n\nParsing function rearranged data resources "
        "trying to display all valid style items\nYou must be aware that displayed item order does not correspond "
        "to what is\nfound inside original file. When saving file, new (rearranged) order will be saved!!!",
        {}, "ParseQESty", StyNoticeIcon::Exclamation);
}

std::string FileErrorCode(FileIoError error)
{
    return std::to_string(int(error));
}

std::optional<std::vector<uint8_t>> ReadItemFileBytes(StyUiPort& port, const std::filesystem::path& path,
                                                      const char* caption)
{
    // Item files are small: a few hundred kilobytes at the most.
    static constexpr uintmax_t kMaxItemFile = uintmax_t(64) << 20;
    std::vector<uint8_t> file;
    const FileIoError error = readWholeFile(path, file, kMaxItemFile);
    if (error == FileIoError::None) return file;
    if (error == FileIoError::OpenFailed)
        port.Message(StyNotice::Text("Cannot open file - %d", {FileErrorCode(error)}, caption, StyNoticeIcon::Stop));
    else if (error == FileIoError::TooLarge)
        port.Message(StyNotice::Numbered(stymsg::GetFileSizeFailed, caption, StyNoticeIcon::Stop));
    else
        port.Message(
            StyNotice::Text("Error reading item format - %d", {FileErrorCode(error)}, caption, StyNoticeIcon::Stop));
    return std::nullopt;
}

std::optional<StyClipboardBlock> ReadClipboardBlock(StyUiPort& port, const char* caption)
{
    const StyClipboardContent content = port.ReadClipboard();
    if (!content.attached) {
        port.Message(StyNotice::Numbered(stymsg::CannotAttachClipboard, caption));
        return std::nullopt;
    }
    if (!content.present) return std::nullopt;
    if (!content.bytes) {
        port.Message(StyNotice::Numbered(stymsg::CannotGetClipboardData, caption));
        return std::nullopt;
    }
    auto block = StyClipboardBlock::Read(*content.bytes);
    if (!block) port.Message(StyNotice::Numbered(stymsg::WrongClipboardSize, caption));
    return block;
}

bool AskSaveModified(StyUiPort& port, bool modified, const std::string& title, const std::function<bool()>& save)
{
    if (!modified) return true;
    switch (port.Ask(StyQuestion::YesNoCancel,
                     StyNotice::Text("Save changes to %s", {title}, {}, StyNoticeIcon::Exclamation))) {
    case StyAnswer::Yes:
    case StyAnswer::YesToAll:
        return save && save();
    case StyAnswer::No:
        return true;
    case StyAnswer::Cancel:
        return false;
    }
    return false;
}

void ExtractAllItems(StyUiPort& port, const std::filesystem::path& startFolder, const ExtractAllSteps& steps)
{
    if (steps.count == 0) return;
    const auto folder = port.ChooseFolder("Select Destination Folder", startFolder);
    if (!folder) return;
    bool yesToAll = false;
    for (int row = 0; row < steps.count; ++row) {
        if (!steps.hasData(row)) continue;
        const std::filesystem::path file = *folder / std::filesystem::u8path(steps.fileName(row) + steps.extension);
        std::error_code ec;
        if (!yesToAll && std::filesystem::exists(file, ec)) {
            const StyAnswer answer = port.ConfirmOverwrite(file);
            if (answer == StyAnswer::Cancel) return;
            if (answer == StyAnswer::No) continue;
            if (answer == StyAnswer::YesToAll) yesToAll = true;
        }
        steps.write(row, file);
    }
}

int DropTargetRow(int dropRow, bool draggedAway, std::span<const int> dragged, int firstPasted)
{
    int target = dropRow;
    if (draggedAway && !dragged.empty() && dropRow > dragged.back()) target = dropRow + 1 - int(dragged.size());
    return std::clamp(target, 0, std::max(firstPasted, 0));
}

bool DropsInsideDraggedRows(int dropRow, bool fromThisView, std::span<const int> dragged)
{
    return fromThisView && dropRow >= 0 && !dragged.empty() && dropRow >= dragged.front() && dropRow <= dragged.back();
}

} // namespace zib
