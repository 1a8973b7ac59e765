#include "docs/style/core/StyListCommands.h"

#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyWindowCommandIds.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zib {

namespace {

constexpr std::array<std::pair<int, StyCommand>, 24> kCommands{{
    {stycmd::DeleteItems, StyCommand::Delete},
    {stycmd::EmptyItem, StyCommand::Empty},
    {stycmd::ExtractItem, StyCommand::ExtractItem},
    {stycmd::ImportItems, StyCommand::ImportItems},
    {stycmd::SelectAll, StyCommand::SelectAll},
    {stycmd::MoveItemUp, StyCommand::MoveUp},
    {stycmd::MoveItemDown, StyCommand::MoveDown},
    {stycmd::EditCopy, StyCommand::Copy},
    {stycmd::EditCut, StyCommand::Cut},
    {stycmd::EditPaste, StyCommand::Paste},
    {stycmd::RenameItem, StyCommand::Rename},
    {stycmd::Properties, StyCommand::Properties},
    {stycmd::StsView, StyCommand::StsView},
    {stycmd::StyleToText, StyCommand::StyleToText},
    {stycmd::TextDump, StyCommand::TextDump},
    {stycmd::DumpToText, StyCommand::DumpToText},
    {stycmd::CleanStyleEvents, StyCommand::CleanStyleEvents},
    {stycmd::ItemsReport, StyCommand::ItemsReport},
    {stycmd::ExtractAll, StyCommand::ExtractAll},
    {stycmd::ConvertQeToWq, StyCommand::ConvertQeToWq},
    {stycmd::StyleToMidi, StyCommand::StyleToMidi},
    {stycmd::StartStopPlayback, StyCommand::StartStopPlayback},
    {stycmd::PadToMidi, StyCommand::PadToMidi},
    {stycmd::PlaybackPadItem, StyCommand::PlaybackPadItem},
}};

} // namespace

std::optional<StyCommand> StyCommandOfId(int id)
{
    // The pad's "Playback Pad item" shares 32784 with the style's playback;
    // the id gives the style's command and the pad list maps it itself.
    for (const auto& [i, c] : kCommands)
        if (i == id) return c;
    return std::nullopt;
}

int StyIdOfCommand(StyCommand command)
{
    for (const auto& [i, c] : kCommands)
        if (c == command) return i;
    return 0;
}

std::vector<int> StyListCommandIds()
{
    std::vector<int> ids;
    for (const auto& [i, c] : kCommands)
        if (std::find(ids.begin(), ids.end(), i) == ids.end()) ids.push_back(i);
    return ids;
}

bool StyPopupEnabled(StyCommand command, const StyListState& s)
{
    const bool items = s.items > 0;
    const bool selected = items && s.selected > 0;
    const bool focused = items && s.focused >= 0;
    const bool qe = s.model == 'F' || s.model == 'X';
    const bool stsView = qe && s.viewMode == 2;
    switch (command) {
    case StyCommand::Paste:
        return s.clipboardHasBlock;
    case StyCommand::Copy:
    case StyCommand::Empty:
    case StyCommand::Properties:
        return selected;
    case StyCommand::Cut:
    case StyCommand::Delete:
    case StyCommand::ExtractItem:
        return selected && !stsView;
    case StyCommand::ImportItems:
        return !stsView;
    case StyCommand::Rename:
        return focused;
    case StyCommand::StyleToText:
        return focused && !qe;
    case StyCommand::StyleToMidi:
        return selected && focused && !stsView;
    case StyCommand::ConvertQeToWq:
        return false;
    default:
        return StyCommandEnabled(command, s);
    }
}

} // namespace zib
