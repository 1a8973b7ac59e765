#include "docs/style/core/StyCommandRules.h"

#include "docs/style/core/CZibItemDoc.h"

#include <algorithm>

namespace zib {

namespace {

StyListState listState(int items, std::span<const int> selectedRows, int focusedRow)
{
    StyListState s;
    s.items = items;
    s.selected = int(std::count_if(selectedRows.begin(), selectedRows.end(), [items](int r) { return r >= 0 && r < items; }));
    s.focused = focusedRow >= 0 && focusedRow < items ? focusedRow : -1;
    s.focusedSelected = s.focused >= 0 && std::find(selectedRows.begin(), selectedRows.end(), s.focused) != selectedRows.end();
    return s;
}

bool isQe(uint32_t model)
{
    return model == 'F' || model == 'X';
}

bool isWq(uint32_t model)
{
    return model == '9' || model == '<' || model == 'H' || model == 'I' || model == 'M';
}

} // namespace

StyListState StyListState::Of(const CZibItemDoc& doc, std::span<const int> selectedRows, int focusedRow)
{
    StyListState s = listState(doc.RowCount(), selectedRows, focusedRow);
    s.model = doc.m_Model;
    s.fileKind = doc.m_FileKind;
    s.viewMode = doc.StsView() ? 2 : 1;
    s.focusedHasData = s.focused >= 0 && s.focused < doc.ItemCount() && doc.ItemAt(s.focused).Size() != 0;
    return s;
}

bool StyCommandEnabled(StyCommand command, const StyListState& s)
{
    const bool items = s.items > 0;
    const bool qe = isQe(s.model);
    const bool stsView = qe && s.viewMode == 2;
    const bool focused = s.focused >= 0;
    switch (command) {
    case StyCommand::Delete:
        return items && !stsView;
    case StyCommand::Empty:
    case StyCommand::SelectAll:
    case StyCommand::ItemsReport:
        return items;
    case StyCommand::ExtractItem:
    case StyCommand::ImportItems:
    case StyCommand::ExtractAll:
        return true;
    case StyCommand::MoveUp:
    case StyCommand::MoveDown:
        return items && focused && !stsView;
    case StyCommand::Copy:
    case StyCommand::Cut:
        return stsView ? focused && s.focusedHasData : items && s.selected > 0;
    case StyCommand::Paste:
        return stsView ? s.selected > 0 && s.focusedSelected && s.clipboardHasBlock
                       : s.formatRegistered && s.clipboardHasBlock;
    case StyCommand::Rename:
        return focused && (!qe || s.focusedHasData);
    case StyCommand::Properties:
        return focused && (!qe || s.focusedHasData) && !stsView;
    case StyCommand::StsView:
        return qe;
    case StyCommand::StyleToText:
        return items && s.fileKind == 2 && isWq(s.model) && focused;
    case StyCommand::TextDump:
    case StyCommand::DumpToText:
        return items && isWq(s.model) && focused;
    case StyCommand::CleanStyleEvents:
        return items && isWq(s.model) && s.selected > 0 && s.fileKind == 2;
    case StyCommand::ConvertQeToWq:
        // The conversion has no behaviour to run: the entry stays greyed.
        return false;
    case StyCommand::StyleToMidi:
        return items && s.selected > 0 && s.fileKind == 2 && !stsView;
    case StyCommand::StartStopPlayback:
        return items && focused && s.focusedSelected;
    case StyCommand::PadToMidi:
    case StyCommand::PlaybackPadItem:
        return false;
    }
    return false;
}

bool PadCommandEnabled(StyCommand command, const StyListState& s)
{
    const bool items = s.items > 0;
    switch (command) {
    case StyCommand::Delete:
    case StyCommand::Empty:
    case StyCommand::SelectAll:
        return items;
    case StyCommand::ExtractItem:
    case StyCommand::ImportItems:
    case StyCommand::ExtractAll:
        return true;
    case StyCommand::MoveUp:
    case StyCommand::MoveDown:
        return items && s.focused >= 0;
    case StyCommand::Copy:
    case StyCommand::Cut:
        return items && s.selected > 0;
    case StyCommand::Paste:
        return s.formatRegistered && s.clipboardHasBlock;
    case StyCommand::Rename:
    case StyCommand::Properties:
        return s.focused >= 0 && s.focusedHasData;
    case StyCommand::PadToMidi:
        return items && s.selected > 0 && s.fileKind == 5;
    case StyCommand::PlaybackPadItem:
        return items && s.selected > 0 && s.focused >= 0 && s.focusedSelected;
    default:
        return false;
    }
}

bool StyCommandWritesBackFirst(StyCommand command)
{
    switch (command) {
    case StyCommand::SelectAll:
    case StyCommand::Paste:
    // Neither runs anything: there is no Qe-to-Wq conversion, and pads are not played back.
    case StyCommand::ConvertQeToWq:
    case StyCommand::PlaybackPadItem:
        return false;
    default:
        return true;
    }
}

int StsViewCommandText(uint32_t viewMode)
{
    return viewMode == 2 ? stymsg::ShowStyleView : stymsg::ShowStsView;
}

} // namespace zib
