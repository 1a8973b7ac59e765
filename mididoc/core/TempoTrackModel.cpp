#include "mididoc/core/TempoTrackModel.h"

#include "midi/MidiEventKind.h"
#include "midi/MidiVarLen.h"
#include "mididoc/core/EventSnapshot.h"
#include "mididoc/core/EventTexts.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/RetimeStep.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/TextAppend.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <limits>

namespace zib {

namespace {

constexpr std::array<std::string_view, 6> kTitles = {
    "%s - Master Track - TimeSig Events", "%s - Master Track - Markers",      "%s - Master Track - Tempo Events",
    "%s - Master Track - Lyrics Events",  "%s - Master Track - Sysex Events", "%s - Master Track - All Events"};
constexpr std::array<int, 6> kIcons = {245, 246, 250, 263, 264, 136};

// The denominator code of a note value: 1 -> 0, 2 -> 1 ... 128 -> 7; any other 2
uint8_t denominatorCode(uint8_t noteValue)
{
    for (uint8_t code = 0; code < 8; ++code)
        if (noteValue == (1u << code)) return code;
    return 2;
}

std::vector<uint8_t> metaBytes(uint8_t type, std::span<const uint8_t> data)
{
    uint8_t length[4];
    const int n = WriteMidiVarLen(uint32_t(data.size()), length);
    std::vector<uint8_t> raw(2 + size_t(n) + data.size());
    raw[0] = 0xFF;
    raw[1] = type;
    std::copy(length, length + n, raw.begin() + 2);
    std::copy(data.begin(), data.end(), raw.begin() + 2 + n);
    return raw;
}

std::vector<uint8_t> tempoBytes(uint32_t micros)
{
    const uint8_t data[3] = {uint8_t(micros >> 16), uint8_t(micros >> 8), uint8_t(micros)};
    return metaBytes(0x51, data);
}

uint32_t tempoOf(const CMidiEvent& e)
{
    std::span<const uint8_t> data;
    if (!MetaData(e, data) || data.size() < 3) return 0;
    return uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2];
}

std::string metaText(const CMidiEvent& e)
{
    std::span<const uint8_t> data;
    if (!MetaData(e, data)) return {};
    return std::string(reinterpret_cast<const char*>(data.data()), data.size());
}

} // namespace

const std::array<TempoTrackModel::ColumnDef, 5>& TempoTrackModel::Columns()
{
    static const std::array<ColumnDef, 5> columns = {
        {{70, "Tot Time"}, {80, " M:B:T"}, {80, "Type"}, {400, "Data"}, {40, ""}}};
    return columns;
}

TempoTrackModel::TempoTrackModel(MidiDocModel& doc, int viewKind) : m_doc(doc)
{
    SetViewKind(viewKind);
}

void TempoTrackModel::SetViewKind(int kind)
{
    m_kind = kind >= 0 && kind < kAll ? kind : kAll;
    m_show.fill(0);
    if (m_kind == kAll) {
        m_show.fill(1);
    } else {
        m_show[size_t(m_kind)] = 1;
    }
}

std::string TempoTrackModel::Title(std::string_view documentTitle) const
{
    std::string title(kTitles[size_t(m_kind)]);
    title.replace(title.find("%s"), 2, documentTitle);
    return title;
}

int TempoTrackModel::IconId() const
{
    return kIcons[size_t(m_kind)];
}

bool TempoTrackModel::Matches(const CMidiEvent& e) const
{
    if (m_kind == kAll) return true;
    const int type = MetaType(e);
    switch (m_kind) {
    case kTimeSignatures:
        return type == 0x58;
    case kMarkers:
        return type == 1 || type == 6;
    case kTempo:
        return type == 0x51;
    case kLyrics:
        return type == 5;
    case kSysEx:
        return e.status == 0xF0 || e.status == 0xF7;
    default:
        return true;
    }
}

bool TempoTrackModel::RefillList()
{
    m_rows.clear();
    CMidiParserEx& sequence = m_doc.Sequence();
    for (size_t i = 0; i < sequence.GetEventCount(); ++i) {
        CMidiEvent& e = *sequence.GetEvent(i);
        e.index = uint32_t(i);
        if (e.track != 0) continue;
        e.listVisible = Matches(e) ? m_show[size_t(m_kind)] : 0;
        if (e.listVisible) m_rows.push_back(&e);
    }
    if (m_currentRow > EndRow()) m_currentRow = EndRow();
    return true;
}

CMidiEvent* TempoTrackModel::RowEvent(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)] : nullptr;
}

std::string TempoTrackModel::CellText(int row, int column) const
{
    const CMidiEvent* e = RowEvent(row);
    if (!e) return {};
    std::string out;
    const bool channel = isChannelStatus(e->status);
    switch (column) {
    case 0:
        AppendSigned(out, int32_t(e->time), 12);
        break;
    case 1:
        AppendPosition(out, e->measure, e->beat, e->tick);
        break;
    case 2:
        AppendCodeWord(out, *e, EventTextStyle::TempoList);
        break;
    case 3:
        if (channel) {
            out = "???";
        } else {
            AppendMetaDataText(out, *e, EventTextStyle::TempoList);
        }
        break;
    case 4:
        if (channel) out = "???";
        break;
    default:
        break;
    }
    return cp1252ToUtf8(out);
}

// ---- Selection -------------------------------------------------------------

int TempoTrackModel::SelectRowBeforeTick(uint32_t tick)
{
    // A current row after the tick (a new run, a loop) searches from the top.
    if (m_currentRow < 0 || m_currentRow >= int(m_rows.size()) || m_rows[size_t(m_currentRow)]->time > tick)
        m_currentRow = -1;
    for (int r = m_currentRow + 1; r < int(m_rows.size()) && m_rows[size_t(r)]->time <= tick; ++r) m_currentRow = r;
    return m_currentRow;
}

int TempoTrackModel::SelectRowAtEvent(uint32_t eventIndex)
{
    m_currentRow = EndRow();
    for (size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r]->index >= eventIndex) {
            m_currentRow = int(r);
            break;
        }
    return m_currentRow;
}

uint32_t TempoTrackModel::ClickedEventIndex(int row) const
{
    const CMidiEvent* e = RowEvent(row == EndRow() ? row - 1 : row);
    return e ? e->index : 0;
}

const CMidiEvent* TempoTrackModel::FocusEvent(int row) const
{
    return RowEvent(row == EndRow() ? row - 1 : row);
}

uint32_t TempoTrackModel::DefaultTime(int row) const
{
    const CMidiEvent* e = FocusEvent(row);
    return e ? e->time : 0;
}

size_t TempoTrackModel::IndexOf(const CMidiEvent* e) const
{
    const CMidiParserEx& sequence = m_doc.Sequence();
    if (e && e->index < sequence.GetEventCount() && sequence.GetEvent(e->index) == e) return e->index;
    for (size_t i = 0; i < sequence.GetEventCount(); ++i)
        if (sequence.GetEvent(i) == e) return i;
    return sequence.GetEventCount();
}

void TempoTrackModel::Changed()
{
    m_doc.Sequence().SetTrackModified(0, 1);
    m_doc.SetModified(true);
    m_doc.Sequence().Renumber(0);
    RefillList();
    m_doc.Hooks().Views().Redraw();
}

bool TempoTrackModel::DeleteEnabled(int selectedRow) const
{
    if (m_doc.Playing() || !m_doc.HasTrackRecords()) return false;
    return m_kind != kTimeSignatures || selectedRow != 0;
}

bool TempoTrackModel::ShiftEnabled() const
{
    return !m_doc.Playing() && !m_show[kTimeSignatures] && m_kind != kAll;
}

// ---- Creating --------------------------------------------------------------

TempoTrackModel::Creation TempoTrackModel::InsertChoice(int row) const
{
    const CMidiEvent* e = RowEvent(row);
    if (e) {
        if (e->status == 0xF0 || e->status == 0xF7) return Creation::Nothing;
        switch (MetaType(*e)) {
        case 1:
        case 6:
            return Creation::Marker;
        case 5:
            return Creation::Lyric;
        case 0x51:
            return Creation::Tempo;
        case 0x58:
            return Creation::TimeSignature;
        default:
            return Creation::Nothing;
        }
    }
    switch (m_kind) {
    case kTimeSignatures:
        return Creation::TimeSignature;
    case kTempo:
        return Creation::Tempo;
    case kLyrics:
        return Creation::Lyric;
    case kSysEx:
        return Creation::Nothing;
    default:
        return Creation::Marker;
    }
}

EditResult TempoTrackModel::InsertTempoTrackEvent(int row)
{
    switch (InsertChoice(row)) {
    case Creation::Marker:
        return CreateMarkerEvent(row, 6);
    case Creation::Lyric:
        return CreateMarkerEvent(row, 5);
    case Creation::Tempo:
        return CreateTempoEvent(row);
    case Creation::TimeSignature:
        return CreateTimeSigEvent(row, false);
    case Creation::Nothing:
        break;
    }
    return EditResult::Nothing;
}

// A new event of track 0 goes after the events of its time; it is recorded as
// an insert of the master track.
EditResult TempoTrackModel::InsertMasterEvent(std::vector<uint8_t> raw, uint32_t time, const char* caption,
                                              std::shared_ptr<const RetimeStep> retime)
{
    CMidiParserEx& sequence = m_doc.Sequence();
    auto e = MidiDocAllocator::NewEvent();
    std::vector<uint8_t> bytes;
    if (!e || !MidiDocAllocator::Resize(bytes, raw.size())) {
        DocMessage m;
        m.message = kMsgCannotCreateEvent;
        m.caption = caption;
        m_doc.Hooks().Reports().Report(m);
        return EditResult::Failed;
    }
    std::copy(raw.begin(), raw.end(), bytes.begin());
    e->data.swap(bytes);
    e->length = uint32_t(raw.size());
    e->status = 0xFF;
    e->paired = 1;
    e->track = 0;
    e->pairId = -1;
    e->time = time;
    SetEventPosition(sequence, *e);
    const auto& events = sequence.GetEvents();
    const size_t at = size_t(std::upper_bound(events.begin(), events.end(), time,
                                              [](uint32_t t, const auto& ep) { return t < ep->time; }) -
                             events.begin());
    sequence.InsertEvent(at, std::move(e));
    sequence.Renumber(0);
    m_doc.UndoManager().RecordAction(UndoTargetMasterEvent, *sequence.GetEvent(at), UndoInsert, 1, int32_t(at), -1,
                                     std::move(retime));
    Changed();
    m_currentRow = RowOfIndex(at);
    return EditResult::Done;
}

int TempoTrackModel::RowOfIndex(size_t index) const
{
    for (size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r]->index == index) return int(r);
    return -1;
}

EditResult TempoTrackModel::CreateTempoEvent(int row)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    const CMidiEvent* focus = FocusEvent(row);
    TempoDlgValues values;
    values.tick = DefaultTime(row);
    values.bpm = 120;
    if (focus && MetaType(*focus) == 0x51 && tempoOf(*focus) > 0) values.bpm = int(TempoBpm(tempoOf(*focus)));
    const auto chosen = m_doc.Hooks().Dialogs().Tempo(m_doc.Sequence(), values);
    if (!chosen) return EditResult::Cancelled;
    if (chosen->bpm < kMinBpm || chosen->bpm > kMaxBpm) return EditResult::Nothing;
    return InsertMasterEvent(tempoBytes(60000000u / uint32_t(chosen->bpm)), chosen->tick, "CreateTempoEvent");
}

EditResult TempoTrackModel::CreateMarkerEvent(int row, uint8_t type)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    MarkerDlgValues values;
    values.caption = "Create Meta Event - " + std::string(MetaEventDialogName(type));
    values.tick = DefaultTime(row);
    const auto chosen = m_doc.Hooks().Dialogs().Marker(m_doc.Sequence(), values);
    if (!chosen) return EditResult::Cancelled;
    std::string text = utf8ToCp1252(chosen->text);
    return InsertMasterEvent(
        metaBytes(type, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size())),
        chosen->tick, "CreateMarkerEvent");
}

EditResult TempoTrackModel::CreateTimeSigEvent(int row, bool edit)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx& sequence = m_doc.Sequence();
    const CMidiEvent* focus = FocusEvent(row);
    TimeSigDlgValues values;
    values.edit = edit;
    if (focus) {
        values.measure = focus->measure;
        values.numerator = sequence.GetNumeratorAtMeasure(focus->measure);
        values.denominator = sequence.GetDenominatorAtMeasure(focus->measure);
    }
    const auto chosen = m_doc.Hooks().Dialogs().TimeSignature(sequence, values);
    if (!chosen) return EditResult::Cancelled;
    const uint32_t m = chosen->measure;
    // Numerator 0, a denominator that is no power of two up to 128, or a
    // measure past the 999th are refused.
    const uint8_t d = chosen->denominator;
    if (chosen->numerator == 0 || m >= 999 || d == 0 || (d & (d - 1)) != 0) return EditResult::Nothing;

    // The signature at measure m is modified, a new one made otherwise; the
    // next signature ends the range.
    CMidiEvent* existing = nullptr;
    int32_t end = -1;
    for (const auto& ep : sequence.GetEvents()) {
        if (ep->track != 0 || !IsTimeSignatureEvent(*ep)) continue;
        if (ep->measure == m && !existing) existing = ep.get();
        if (ep->measure > m) {
            end = int32_t(ep->measure);
            break;
        }
    }
    if (existing && m == values.measure && chosen->numerator == values.numerator &&
        chosen->denominator == values.denominator)
        return EditResult::Nothing;

    WaitCursor wait(m_doc.Hooks().Reports());
    m_doc.Hooks().Views().Freeze();
    EditResult result = EditResult::Done;
    // The record carries the map's change and the signatures it moved, so
    // that Undo puts each back in its place among the events of its tick.
    EventSnapshot before;
    const bool recorded = existing && EventSnapshot::Take(*existing, before);
    if (existing && !recorded) m_doc.UndoManager().ClearAll();
    auto retime = std::make_shared<RetimeStep>(sequence);
    if (!sequence.SetTimeSignature(int32_t(m), chosen->numerator, chosen->denominator, end) ||
        !retime->Retime(sequence)) {
        result = EditResult::Failed;
    } else if (existing) {
        std::span<const uint8_t> data;
        if (MetaData(*existing, data) && data.size() >= 2) {
            const size_t offset = size_t(data.data() - existing->data.data());
            existing->data[offset] = chosen->numerator;
            existing->data[offset + 1] = denominatorCode(chosen->denominator);
        }
        SetEventPosition(sequence, *existing);
    } else {
        const uint8_t data[4] = {chosen->numerator, denominatorCode(chosen->denominator), 24, 8};
        result = InsertMasterEvent(metaBytes(0x58, data), sequence.GetMeasureStartTick(m), "CreateTimeSigEvent",
                                   retime);
    }
    if (recorded) {
        const size_t at = IndexOf(existing);
        m_doc.UndoManager().RecordSnapshot(UndoTargetMasterEvent, before, UndoModify, 1, int32_t(at), int32_t(at),
                                           retime);
    }
    m_doc.Hooks().Views().Thaw();
    Changed();
    m_doc.Hooks().Views().RebuildBarList();
    m_doc.Hooks().Views().Refill();
    return result;
}

// ---- Editing ---------------------------------------------------------------

EditResult TempoTrackModel::EditTempoTrackEvent(int row)
{
    CMidiEvent* e = RowEvent(row);
    if (!e) {
        DocMessage m;
        m.message = kMsgNoFocusedItem;
        m.caption = "EditTempoTrackEvent";
        m_doc.Hooks().Reports().Report(m);
        return EditResult::Nothing;
    }
    const int type = MetaType(*e);
    if (type == 0x51) return EditTempoEvent(row);
    if (type == 0x58) return CreateTimeSigEvent(row, true);
    if (type >= 0 && type < 10) return EditMarker(row, uint8_t(type));
    return EditResult::Nothing;
}

EditResult TempoTrackModel::EditTempoEvent(int row)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    CMidiEvent* e = RowEvent(row);
    if (!e || MetaType(*e) != 0x51) return EditResult::Nothing;
    CMidiParserEx& sequence = m_doc.Sequence();
    const uint32_t oldMicros = tempoOf(*e);
    TempoDlgValues values;
    values.tick = e->time;
    // The dialog shows a whole BPM within its limits, which for most tempos
    // is not the event's own value: the BPM it gives back unchanged keeps the
    // microseconds, so an untouched OK changes nothing.
    values.bpm = std::clamp(int(TempoBpm(oldMicros)), kMinBpm, kMaxBpm);
    const auto chosen = m_doc.Hooks().Dialogs().Tempo(sequence, values);
    if (!chosen) return EditResult::Cancelled;
    if (chosen->bpm < kMinBpm || chosen->bpm > kMaxBpm) return EditResult::Nothing;
    const uint32_t micros = chosen->bpm == values.bpm ? oldMicros : 60000000u / uint32_t(chosen->bpm);
    if (micros == oldMicros && chosen->tick == e->time) return EditResult::Nothing;
    std::span<const uint8_t> data;
    if (!MetaData(*e, data) || data.size() < 3) return EditResult::Nothing;
    const size_t index = IndexOf(e);
    EventSnapshot before;
    const bool recorded = EventSnapshot::Take(*e, before);
    if (!recorded) m_doc.UndoManager().ClearAll();
    const size_t offset = size_t(data.data() - e->data.data());
    e->data[offset] = uint8_t(micros >> 16);
    e->data[offset + 1] = uint8_t(micros >> 8);
    e->data[offset + 2] = uint8_t(micros);
    return FinishEdit(*e, index, recorded ? &before : nullptr, chosen->tick);
}

EditResult TempoTrackModel::EditMarker(int row, uint8_t type)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    CMidiEvent* e = RowEvent(row);
    if (!e || type == 3 || MetaType(*e) != type) return EditResult::Nothing;
    CMidiParserEx& sequence = m_doc.Sequence();
    MarkerDlgValues values;
    values.caption = "Edit Meta Event - " + std::string(MetaEventDialogName(type));
    values.text = cp1252ToUtf8(metaText(*e));
    values.tick = e->time;
    const auto chosen = m_doc.Hooks().Dialogs().Marker(sequence, values);
    if (!chosen) return EditResult::Cancelled;
    const std::string text = utf8ToCp1252(chosen->text);
    if (text == metaText(*e) && chosen->tick == e->time) return EditResult::Nothing;
    std::vector<uint8_t> raw =
        metaBytes(type, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    std::vector<uint8_t> bytes;
    if (!MidiDocAllocator::Resize(bytes, raw.size())) {
        DocMessage m;
        m.message = kMsgNoMemory;
        m.caption = "EditMarker";
        m.icon = DocMessage::Icon::Stop;
        m_doc.Hooks().Reports().Report(m);
        return EditResult::Failed;
    }
    std::copy(raw.begin(), raw.end(), bytes.begin());
    const size_t index = IndexOf(e);
    EventSnapshot before;
    const bool recorded = EventSnapshot::Take(*e, before);
    if (!recorded) m_doc.UndoManager().ClearAll();
    e->data.swap(bytes);
    e->length = uint32_t(raw.size());
    return FinishEdit(*e, index, recorded ? &before : nullptr, chosen->tick);
}

// An edited event takes its new time and its sorted place; the edit is
// recorded as a modify from its old to its new position.
EditResult TempoTrackModel::FinishEdit(CMidiEvent& e, size_t index, const EventSnapshot* before, uint32_t tick)
{
    CMidiParserEx& sequence = m_doc.Sequence();
    size_t final = index;
    if (tick != e.time) {
        const uint32_t old = e.time;
        e.time = tick;
        SetEventPosition(sequence, e);
        final = MoveEventToSortedPlace(sequence, index, old, tick);
        sequence.Renumber(0);
    }
    if (before)
        m_doc.UndoManager().RecordSnapshot(UndoTargetMasterEvent, *before, UndoModify, 1, int32_t(index),
                                           int32_t(final));
    Changed();
    return EditResult::Done;
}

// ---- Delete and shift ------------------------------------------------------

EditResult TempoTrackModel::DeleteSelectedEvents(const std::vector<int>& rows)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx& sequence = m_doc.Sequence();
    // The first time-signature row of the list is never deleted.
    const CMidiEvent* protectedRow = nullptr;
    for (const CMidiEvent* e : m_rows)
        if (IsTimeSignatureEvent(*e)) {
            protectedRow = e;
            break;
        }
    std::vector<CMidiEvent*> chosen;
    for (int row : rows)
        if (CMidiEvent* e = RowEvent(row); e && e != protectedRow) chosen.push_back(e);
    if (chosen.empty()) return EditResult::Nothing;
    std::sort(chosen.begin(), chosen.end(), [](const CMidiEvent* a, const CMidiEvent* b) { return a->index < b->index; });
    WaitCursor wait(m_doc.Hooks().Reports());
    m_doc.Hooks().Views().Freeze();
    uint32_t groupStart = 1;
    bool mapChanged = false;
    for (CMidiEvent* e : chosen) {
        size_t index = IndexOf(e);
        if (index >= sequence.GetEventCount()) continue;
        // A signature's record carries the map's change and the signatures
        // it moved, for Undo to put back exactly.
        std::shared_ptr<RetimeStep> retime;
        if (IsTimeSignatureEvent(*e)) {
            // Its measures take the signature of the measure before it.
            const uint32_t m = e->measure;
            const uint8_t numerator = m > 0 ? sequence.GetNumeratorAtMeasure(m - 1) : 4;
            const uint8_t denominator = m > 0 ? sequence.GetDenominatorAtMeasure(m - 1) : 4;
            int32_t end = -1;
            for (size_t i = index + 1; i < sequence.GetEventCount(); ++i) {
                const CMidiEvent& next = *sequence.GetEvent(i);
                if (next.track == 0 && IsTimeSignatureEvent(next) && next.measure > m) {
                    end = int32_t(next.measure);
                    break;
                }
            }
            retime = std::make_shared<RetimeStep>(sequence);
            sequence.SetTimeSignature(int32_t(m), numerator, denominator, end);
            retime->Retime(sequence);
            mapChanged = true;
            index = IndexOf(e);
        }
        m_doc.UndoManager().RecordAction(UndoTargetMasterEvent, *e, UndoDelete, groupStart, int32_t(index), -1,
                                         std::move(retime));
        groupStart = 0;
        sequence.RemoveEvent(index);
        sequence.Renumber(0);
    }
    m_doc.Hooks().Views().Thaw();
    Changed();
    if (mapChanged) m_doc.Hooks().Views().RebuildBarList();
    m_doc.Hooks().Views().Refill();
    return EditResult::Done;
}

EditResult TempoTrackModel::ShiftEvents(const std::vector<int>& rows)
{
    if (m_doc.Playing()) return EditResult::RefusedWhilePlaying;
    if (m_show[kTimeSignatures] || m_kind == kAll || rows.empty()) return EditResult::Nothing;
    const CMidiEvent* first = RowEvent(*std::min_element(rows.begin(), rows.end()));
    if (!first) return EditResult::Nothing;
    CMidiParserEx& sequence = m_doc.Sequence();
    const uint32_t from = first->time;
    const auto to = m_doc.Hooks().Dialogs().ShiftTo(sequence, from, from);
    if (!to) return EditResult::Cancelled;
    int64_t distance = int64_t(*to) - int64_t(from);
    if (distance == 0) return EditResult::Nothing;
    std::vector<CMidiEvent*> marked;
    for (int row : rows)
        if (CMidiEvent* e = RowEvent(row); e && !IsTimeSignatureEvent(*e)) marked.push_back(e);
    if (marked.empty()) return EditResult::Nothing;
    std::sort(marked.begin(), marked.end(), [](const CMidiEvent* a, const CMidiEvent* b) { return a->index < b->index; });
    uint32_t earliest = std::numeric_limits<uint32_t>::max(), latest = 0;
    for (const CMidiEvent* e : marked) {
        earliest = std::min(earliest, e->time);
        latest = std::max(latest, e->time);
    }
    distance = std::clamp<int64_t>(distance, -int64_t(earliest), int64_t(std::numeric_limits<uint32_t>::max() - latest));
    if (distance > 0) std::reverse(marked.begin(), marked.end());
    WaitCursor wait(m_doc.Hooks().Reports());
    m_doc.Hooks().Views().Freeze();
    uint32_t groupStart = 1;
    EditResult result = EditResult::Done;
    for (CMidiEvent* e : marked) {
        const size_t index = IndexOf(e);
        EventSnapshot before;
        if (!EventSnapshot::Take(*e, before)) {
            DocMessage m;
            m.message = kMsgCannotShift;
            m.caption = "ShiftEvents";
            m.icon = DocMessage::Icon::Stop;
            m_doc.Hooks().Reports().Report(m);
            result = EditResult::Failed;
            break;
        }
        const uint32_t old = e->time;
        e->time = uint32_t(int64_t(old) + distance);
        SetEventPosition(sequence, *e);
        const size_t final = MoveEventToSortedPlace(sequence, index, old, e->time);
        sequence.Renumber(0);
        m_doc.UndoManager().RecordSnapshot(UndoTargetMasterEvent, before, UndoModify, groupStart, int32_t(index),
                                           int32_t(final));
        groupStart = 0;
    }
    m_doc.Hooks().Views().Thaw();
    Changed();
    m_doc.Hooks().Views().Refill();
    return result;
}

} // namespace zib
