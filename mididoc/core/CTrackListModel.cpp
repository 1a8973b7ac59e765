#include "mididoc/core/CTrackListModel.h"

#include "ui/core/CTrackNameSource.h"
#include "mididoc/core/MidiDocModel.h"
#include "styles/StringPrintf.h"

#include <algorithm>

namespace zib {

const std::array<CTrackListModel::ColumnDef, CTrackListModel::kColumnCount>& CTrackListModel::Columns()
{
    static const std::array<ColumnDef, kColumnCount> columns = {{
        {"", 26, Align::Left},
        {"Track name", 70, Align::Left},
        {"", 22, Align::Center},
        {"", 22, Align::Center},
        {"", 22, Align::Left},
        {"Ch", 25, Align::Left},
        {"In Port", 50, Align::Left},
        {"Out Port", 55, Align::Left},
        {"Bank", 43, Align::Left},
        {"Patch", 43, Align::Left},
        {"Vol", 35, Align::Left},
        {"Pan", 35, Align::Left},
        {"Size", 55, Align::Left},
        {"", 100, Align::Left},
    }};
    return columns;
}

int CTrackListModel::RowCount() const
{
    return m_doc.TrackRecordCount();
}

std::string CTrackListModel::InPortText(uint32_t code)
{
    const uint32_t kind = code & 0xFFFF;
    if (kind >= 1 && kind <= 16) return StringPrintf("MIDI Chan: %d", int(kind));
    if (kind == CTrackInfo::kRecordOmni) return "MIDI Omni";
    if (kind == CTrackInfo::kRecordChannels) {
        std::string text = "MIDI Chan: ";
        const uint32_t mask = code >> 16;
        for (int c = 0; c < 16; ++c)
            if (mask & (1u << c)) text += StringPrintf("%d, ", c + 1);
        return text;
    }
    return "";
}

std::string CTrackListModel::CellText(int row, int column) const
{
    const CTrackInfo* t = m_doc.TrackRecord(row);
    if (!t) return "";
    if (column == kNumberColumn) return StringPrintf("%-4d", int(t->index) + 1);
    if (!t->hasEvents) return "";
    const CMidiParserEx::Track& table = *m_doc.Sequence().GetTrack(row + 1);
    const int bankNumber = (t->BankMsb() == 0xFF ? 0 : t->BankMsb()) * 128 + t->BankLsb();
    switch (column) {
    case kNameColumn:
        return t->name;
    case kSoloColumn:
        return "S";
    case kMuteColumn:
        return "M";
    case kRecordColumn:
        return "R";
    case kChannelColumn:
        return t->channel == 0xFF ? "---" : StringPrintf("%d", t->channel + 1);
    case kInPortColumn:
        return InPortText(t->recordChannel);
    case kOutPortColumn:
        return m_names.OutPortName(t->port, t->channel);
    case kBankColumn:
        if (!table.bankMsbSeen && !table.bankLsbSeen) return "---";
        return m_names.BankName(t->port, t->channel, bankNumber);
    case kPatchColumn:
        if (!table.programSeen) return "---";
        if (t->program == 0xFF) return "<Undefined>";
        return m_names.PatchName(t->port, t->channel, bankNumber, t->program);
    case kVolumeColumn:
        return table.volumeSeen ? StringPrintf("%d", t->volume) : "---";
    case kPanColumn:
        return table.panSeen ? StringPrintf("%d", t->pan) : "---";
    case kSizeColumn:
        return StringPrintf("%lu", static_cast<unsigned long>(t->listedEvents));
    default:
        return "";
    }
}

uint32_t CTrackListModel::CellBackColor(int row, int column) const
{
    const CTrackInfo* t = m_doc.TrackRecord(row);
    if (!t || !t->hasEvents) return kDefaultColor;
    switch (column) {
    case kRecordColumn:
        return t->record ? kArmedColor : kDefaultColor;
    case kSoloColumn:
        return t->solo ? kSoloedColor : kDefaultColor;
    case kMuteColumn:
        return t->play ? kDefaultColor : kMutedColor;
    default:
        return kDefaultColor;
    }
}

CTrackListModel::ClickAction CTrackListModel::Click(int row, int column, bool playing)
{
    CTrackInfo* t = m_doc.TrackRecord(row);
    if (!t || column < 0 || column >= kColumnCount) return ClickAction::None;
    if (playing) {
        if (!t->hasEvents) return ClickAction::None;
        if (column == kVolumeColumn) return ClickAction::LiveVolume;
        if (column == kPanColumn) return ClickAction::LivePan;
        return ClickAction::None;
    }
    if (column == kNumberColumn) return ClickAction::OpenEventEditor;
    if (column == kSoloColumn || column == kMuteColumn || column == kRecordColumn) {
        if (t->hasEvents) return ClickAction::None;
        // A new track for recording: the switches of an empty row bring it
        // into use, sounding (it has nothing that could be muted yet).
        t->hasEvents = 1;
        t->play = 1;
        return ClickAction::Redraw;
    }
    return ClickAction::TrackProperties;
}

bool CTrackListModel::DoubleClick(int row, int column)
{
    CTrackInfo* t = m_doc.TrackRecord(row);
    if (!t || !t->hasEvents) return false;
    switch (column) {
    case kSoloColumn:
        if (t->totalEvents == 0) return false;
        m_doc.SetTrackSolo(row, t->solo ? 0 : 1);
        return true;
    case kMuteColumn:
        if (t->totalEvents == 0) return false;
        m_doc.SetTrackPlay(row, t->play ? 0 : 1);
        return true;
    case kRecordColumn:
        m_doc.SetTrackRecordFlag(row, t->record ? 0 : 1);
        if (t->record && t->recordChannel == 0) t->recordChannel = CTrackInfo::kRecordOmni;
        return true;
    default:
        return false;
    }
}

void CTrackListModel::NoteSelectedRows(const std::vector<int>& rows)
{
    m_doc.m_RowSelected.fill(0);
    for (int r : rows)
        if (r >= 0 && r < MidiDocModel::kTrackRecordCount) m_doc.m_RowSelected[size_t(r)] = 1;
}

void CTrackListModel::ApplyLiveValue(int row, int column, int value)
{
    CTrackInfo* t = m_doc.TrackRecord(row);
    if (!t) return;
    const uint8_t v = uint8_t(std::clamp(value, 0, 127));
    CMidiParserEx::Track& table = *m_doc.Sequence().GetTrack(row + 1);
    if (column == kVolumeColumn) {
        t->volume = v;
        table.volume = v;
        table.volumeSeen = 1;
        m_doc.m_LiveVolume[size_t(row)] = v;
    } else if (column == kPanColumn) {
        t->pan = v;
        table.pan = v;
        table.panSeen = 1;
        m_doc.m_LivePan[size_t(row)] = v;
    }
}

} // namespace zib
