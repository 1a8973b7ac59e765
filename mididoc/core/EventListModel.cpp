#include "mididoc/core/EventListModel.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"
#include "midi/ValueTexts.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/EventListOwner.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/PairIndex.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TextAppend.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace zib {

namespace {

// Per-track marks of a refill walk
struct TrackMarks {
    bool note = false;
    bool program = false;
    bool bankMsb = false;
    bool bankLsb = false;
    bool volume = false;
    bool pan = false;
    bool expression = false;
    bool name = false;
    bool port = false;
};

} // namespace

const std::array<EventListModel::ColumnDef, EventListModel::kColumnCount>& EventListModel::Columns()
{
    static const std::array<ColumnDef, kColumnCount> columns = {{{40, "Track"},
                                                                 {70, "Tot Time"},
                                                                 {80, " M:B:T"},
                                                                 {40, "Ch"},
                                                                 {80, "Code"},
                                                                 {120, "Data"},
                                                                 {40, ""},
                                                                 {80, "(Duration)"},
                                                                 {80, "(End time)"}}};
    return columns;
}

EventListModel::EventListModel(EventListOwner& owner)
    : m_owner(owner), m_policy(EventListPolicy::For(owner.ListDocKind(), owner.ListModelLetter()))
{
    m_categories.fill(1);
}

CMidiParserEx* EventListModel::Sequence() const
{
    return m_owner.ListSequence();
}

bool EventListModel::Refused() const
{
    return m_owner.ListPlaying();
}

void EventListModel::SetShownTracks(const std::array<uint8_t, 65>& shown)
{
    m_shown = shown;
    m_shown[0] = 0;
}

void EventListModel::ShowOnlyTrack(int track)
{
    m_shown.fill(0);
    if (track >= 1 && track <= 64) m_shown[size_t(track)] = 1;
}

int EventListModel::FirstShownTrack() const
{
    for (int t = 1; t <= 64; ++t)
        if (m_shown[size_t(t)]) return t;
    return 0;
}

void EventListModel::ToggleCategory(int category)
{
    if (category < 0 || category >= int(m_categories.size())) return;
    m_categories[size_t(category)] = m_categories[size_t(category)] == 1 ? 0 : 1;
}

void EventListModel::SetCurrentCell(int row, int column)
{
    m_currentRow = row;
    m_currentColumn = column;
}

// ---- Rows ------------------------------------------------------------------

bool EventListModel::RefillRows()
{
    m_rows.clear();
    CMidiParserEx* sequence = Sequence();
    if (!sequence) return true;
    if (m_policy.TrackRowRule() && !m_policy.QeSeries()) m_categories[kTexts] = 0;
    const bool trackRule = m_policy.TrackRowRule();
    const bool qe = m_policy.QeSeries();
    std::array<TrackMarks, 65> marks{};
    const auto& events = sequence->GetEvents();
    m_rows.reserve(events.size());
    // Only fields that change are written, so that a pass over a large song
    // leaves its unchanged events clean.
    for (size_t i = 0; i < events.size(); ++i) {
        sequence->PrefetchAhead(i);
        CMidiEvent& e = *events[i];
        if (e.index != uint32_t(i)) e.index = uint32_t(i);
        if (e.track == 0) continue;
        if (e.track > 64 || !m_shown[e.track]) {
            if (e.listVisible != 0) e.listVisible = 0;
            continue;
        }
        TrackMarks& m = marks[e.track];
        const uint8_t group = e.status & 0xF0;
        uint32_t visible = 0;
        if (e.status >= 0xF0) {
            const int type = MetaType(e);
            if (!trackRule && type == 0x03 && !m.name) {
                m.name = true;
            } else if (!trackRule && type == 0x21 && !m.port) {
                m.port = true;
            } else {
                visible = m_categories[kTexts];
            }
        } else if (isNoteOff(e)) {
            visible = e.paired ? 0 : m_categories[kNotes];
            m.note = true;
        } else if (group == 0x90) {
            visible = m_categories[kNotes];
            m.note = true;
        } else if (group == 0xB0) {
            const uint8_t controller = eventDataByte(e, 0);
            bool* hidden = nullptr;
            bool firstHides = false;
            if (controller == 0 || controller == 32) {
                hidden = controller == 0 ? &m.bankMsb : &m.bankLsb;
                firstHides = trackRule || (!m.note && !m.program);
            } else if (controller == 7 || controller == 10) {
                hidden = controller == 7 ? &m.volume : &m.pan;
                firstHides = trackRule ? !qe : !m.note;
            } else if (controller == 11 && trackRule && qe) {
                hidden = &m.expression;
                firstHides = true;
            }
            if (hidden && firstHides && !*hidden) {
                *hidden = true;
            } else {
                visible = m_categories[kControllers];
            }
        } else if (group == 0xC0) {
            if (!m.program && (trackRule || !m.note)) {
                m.program = true;
            } else {
                visible = m_categories[kPrograms];
            }
        } else if (group == 0xA0) {
            visible = m_categories[kKeyPressure];
        } else if (group == 0xD0) {
            visible = m_categories[kChannelPressure];
        } else if (group == 0xE0) {
            visible = m_categories[kWheel];
        }
        if (e.listVisible != visible) e.listVisible = visible;
        if (visible) m_rows.push_back(&e);
    }
    if (m_currentRow > TrailingRow()) m_currentRow = TrailingRow();
    return true;
}

CMidiEvent* EventListModel::RowEvent(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : nullptr;
}

int EventListModel::RowOfEvent(const CMidiEvent* event) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), event);
    return it == m_rows.end() ? -1 : int(it - m_rows.begin());
}

// ---- Cell texts and colours ------------------------------------------------

std::string EventListModel::DataText(const CMidiEvent& e) const
{
    std::string out;
    const uint8_t group = e.status & 0xF0;
    if (e.status >= 0xF0) {
        AppendMetaDataText(out, e, m_policy.CellStyle());
        return out;
    }
    const uint8_t note = eventDataByte(e, 0);
    switch (group) {
    case 0x80:
    case 0x90:
        if (m_policy.InstrumentNames()) {
            const CMidiParserEx::Track* table = Sequence()->GetTrack(e.track);
            const int bank = table && table->bankMsbSeen && table->bankLsbSeen
                                 ? int(table->bankMsb) * 128 + table->bankLsb
                                 : -1;
            const int program = table && table->programSeen ? int(table->program) : -1;
            out = m_owner.ListHooks().Names().NoteName(table ? table->port : 0, e.status & 0x0F, bank, program, note);
        } else {
            AppendPadded(out, GetNoteOctaveText(note, m_owner.ListKeyAlphabet()), 5, true);
        }
        break;
    case 0xA0:
        AppendPadded(out, GetNoteOctaveText(note, m_policy.InstrumentNames() ? 0 : m_owner.ListKeyAlphabet()), 5,
                     true);
        break;
    case 0xB0:
        if (m_policy.InstrumentNames()) {
            const MidiDocModel* doc = m_owner.ListDocument();
            const CTrackInfo* record = doc ? doc->TrackRecord(e.track - 1) : nullptr;
            out = m_owner.ListHooks().Names().ControllerName(record ? record->port : 0,
                                                             record ? record->channel : (e.status & 0x0F), note);
        } else {
            out = GetControllerName(note);
        }
        break;
    case 0xC0:
    case 0xD0:
        AppendUnsigned(out, note, 5, true);
        break;
    default:
        AppendUnsigned(out, uint32_t(eventDataByte(e, 1)) * 128 + note);
        break;
    }
    return out;
}

std::string EventListModel::CellText(int row, int column) const
{
    const CMidiEvent* e = RowEvent(row);
    if (!e || !Sequence()) return {};
    std::string out;
    const bool channel = isChannelStatus(e->status);
    const uint8_t group = e->status & 0xF0;
    switch (column) {
    case kTrackColumn:
        AppendSigned(out, e->track, 8, true);
        break;
    case kTimeColumn:
        AppendSigned(out, int32_t(e->time), 12);
        break;
    case kPositionColumn:
        AppendPosition(out, e->measure, e->beat, e->tick);
        break;
    case kChannelColumn:
        if (channel) {
            AppendSigned(out, (e->status & 0x0F) + 1, 2);
        } else {
            out = "---";
        }
        break;
    case kCodeColumn:
        AppendCodeWord(out, *e, m_policy.CellStyle());
        break;
    case kDataColumn:
        out = DataText(*e);
        break;
    case kValueColumn:
        if (group == 0x80 || group == 0x90 || group == 0xA0 || group == 0xB0) AppendUnsigned(out, eventDataByte(*e, 1), 4);
        break;
    case kDurationColumn:
        if (group == 0x80 || group == 0x90) AppendUnsigned(out, e->duration, 12);
        break;
    case kEndColumn:
        if (group == 0x90 && isNoteOn(*e)) {
            uint32_t measure = 0, beat = 0, tick = 0;
            const uint64_t end = std::min<uint64_t>(uint64_t(e->time) + e->duration, UINT32_MAX);
            if (Sequence()->TickToMbt(uint32_t(end), measure, beat, tick) == 0) AppendPosition(out, measure, beat, tick);
        }
        break;
    default:
        break;
    }
    return cp1252ToUtf8(out);
}

uint32_t EventListModel::CellTextColor(int row) const
{
    const CMidiEvent* e = RowEvent(row);
    if (!e) return kDefaultColor;
    switch (e->status & 0xF0) {
    case 0x80:
        return 0x0000FF;
    case 0x90:
        return eventDataByte(*e, 1) == 0 || (e->flags & CMidiEvent::kVexNoise) ? 0x0000FF : 0x000000;
    case 0xA0:
        return 0xAA5AA0;
    case 0xB0:
        return 0x7F7F00;
    case 0xC0:
        return 0xFA0F28;
    case 0xD0:
        return 0xC86A6A;
    case 0xE0:
        return 0xDE47EB;
    case 0xF0:
        return 0x7864CE;
    default:
        return kDefaultColor;
    }
}

uint32_t EventListModel::RowBackColor() const
{
    return m_rows.empty() || m_currentRow == TrailingRow() ? kRed : kDefaultColor;
}

uint32_t EventListModel::CellBackColor(int row, int column, bool focused) const
{
    if (m_rows.empty() || m_currentRow == TrailingRow()) return kDefaultColor;
    return focused && row == m_currentRow && column == m_currentColumn && m_currentColumn >= 1 ? kYellow
                                                                                              : kDefaultColor;
}

// ---- Double click ----------------------------------------------------------

EventListModel::CellEditStart EventListModel::DoubleClickCell(int row, int column)
{
    CellEditStart start;
    if (m_policy.WholeFile() && Refused()) return start;
    SetCurrentCell(row, column);
    CMidiEvent* e = RowEvent(row);
    if (m_policy.FollowsPlayer() && row >= 0) {
        const CMidiEvent* at = RowEvent(row == TrailingRow() ? row - 1 : row);
        m_owner.ListHooks().Views().GoToPosition(at && row > 0 ? at->time : 0);
    }
    if (!e || column < 0) return start;
    if ((e->flags & CMidiEvent::kVexNoise) && !m_policy.WholeFile()) return start;
    const bool meta = e->status == 0xFF;
    const int type = MetaType(*e);
    if (e->status == 0xF0 || e->status == 0xF7) return start;
    if (e->status > 0xF0 && !meta) return start;
    if (meta && (type < 1 || type > 6)) return start;
    if (meta && column == kChannelColumn) return start;
    if (column == kEndColumn) return start;
    start.row = row;
    start.column = column;
    if (column == kCodeColumn) {
        start.what = CellEditStart::What::EventCode;
        return start;
    }
    const uint8_t group = e->status & 0xF0;
    if (!meta) {
        if ((group == 0xC0 || group == 0xD0 || group == 0xE0) && column >= kValueColumn) return start;
        if (group != 0x80 && group != 0x90 && column >= kDurationColumn) return start;
    }
    start.what = CellEditStart::What::Editor;
    start.statusClass = meta ? e->status : group;
    start.channel = uint8_t((e->status & 0x0F) + 1);
    start.time = e->time;
    start.data1 = eventDataByte(*e, 0);
    start.data2 = eventDataByte(*e, 1);
    start.duration = e->duration;
    if (meta) {
        start.metaType = uint8_t(type);
        std::span<const uint8_t> text;
        if (MetaData(*e, text)) {
            start.textLength = uint32_t(text.size());
            // The editor holds 255 characters: a longer text starts as its
            // first 252 and "...".
            std::string bytes(reinterpret_cast<const char*>(text.data()), text.size());
            if (bytes.size() >= 255) bytes = bytes.substr(0, 252) + "...";
            start.text = cp1252ToUtf8(bytes);
        }
    }
    return start;
}

// ---- Event-order helpers ---------------------------------------------------

void EventListModel::ExchangeContents(CMidiEvent& a, CMidiEvent& b)
{
    std::swap(a.time, b.time);
    std::swap(a.length, b.length);
    std::swap(a.state, b.state);
    std::swap(a.status, b.status);
    std::swap(a.data, b.data);
    std::swap(a.paired, b.paired);
    std::swap(a.track, b.track);
    std::swap(a.listVisible, b.listVisible);
    std::swap(a.duration, b.duration);
    std::swap(a.measure, b.measure);
    std::swap(a.beat, b.beat);
    std::swap(a.tick, b.tick);
    std::swap(a.pairId, b.pairId);
    std::swap(a.flags, b.flags);
}

size_t EventListModel::MoveEventToTime(size_t index, uint32_t oldTime, uint32_t newTime)
{
    CMidiParserEx* sequence = Sequence();
    const size_t count = sequence ? sequence->GetEventCount() : 0;
    if (count == 0) return 0;
    if (index >= count) return count - 1;
    // Two listed events of tracks above 0 keep their objects (their rows
    // point at them) and trade their contents; any other pair trades places.
    auto exchange = [&](size_t a, size_t b) {
        CMidiEvent& x = *sequence->GetEvent(a);
        CMidiEvent& y = *sequence->GetEvent(b);
        if (x.listVisible && y.listVisible && x.track > 0 && y.track > 0) {
            ExchangeContents(x, y);
        } else {
            sequence->SwapEvents(a, b);
        }
        sequence->GetEvent(a)->index = uint32_t(a);
        sequence->GetEvent(b)->index = uint32_t(b);
    };
    size_t i = index;
    if (newTime <= oldTime) {
        while (i > 0 && sequence->GetEvent(i - 1)->time > newTime) {
            exchange(i - 1, i);
            --i;
        }
    } else {
        while (i + 1 < count && sequence->GetEvent(i + 1)->time < newTime) {
            exchange(i, i + 1);
            ++i;
        }
    }
    return i;
}

int64_t EventListModel::FindPartnerEvent(size_t index) const
{
    CMidiParserEx* sequence = Sequence();
    const CMidiEvent* e = sequence ? sequence->GetEvent(index) : nullptr;
    if (!e || e->paired == 0) return -1;
    size_t start = index;
    if (m_owner.ListSortMethod() == 0)
        while (start > 0 && sequence->GetEvent(start - 1)->time == e->time)
            --start;
    for (size_t i = start; i < sequence->GetEventCount(); ++i)
        if (i != index && sequence->GetEvent(i)->pairId == e->pairId) return int64_t(i);
    return -1;
}

int64_t EventListModel::PartnerOf(size_t index, const PairIndex* pairs) const
{
    return pairs ? pairs->Partner(index, m_owner.ListSortMethod()) : FindPartnerEvent(index);
}

// ---- Row look-ups ----------------------------------------------------------

int EventListModel::SelectEventRow(uint32_t eventIndex)
{
    int row = TrailingRow();
    for (size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r]->index >= eventIndex) {
            row = int(r);
            break;
        }
    SetCurrentCell(row, 0);
    return row;
}

int EventListModel::RowBeforeTick(uint32_t tick) const
{
    // The rows are in time order.
    const auto later = std::upper_bound(m_rows.begin(), m_rows.end(), tick,
                                        [](uint32_t t, const CMidiEvent* e) { return t < e->time; });
    return std::max(0, int(later - m_rows.begin()) - 1);
}

int EventListModel::FollowTick(uint32_t tick)
{
    if (tick == m_followTick) return m_currentRow;
    m_followTick = tick;
    m_currentRow = RowBeforeTick(tick);
    return m_currentRow;
}

int EventListModel::SelectMarkedRow()
{
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r]->state == kMarkSelectAgain) {
            m_rows[r]->state = 0;
            SetCurrentCell(int(r), 0);
            return int(r);
        }
    }
    return -1;
}

} // namespace zib
