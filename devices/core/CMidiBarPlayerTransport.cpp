// The song position of the bar view: conversions, searches, the position
// and marker texts, the transport commands and tempo changes.

#include "devices/core/CMidiBarPlayer.h"

#include "devices/core/IPlayerView.h"
#include "devices/core/PlaybackTexts.h"
#include "midi/CMidiParserEx.h"
#include "devices/core/CMidiStream.h"

#include <algorithm>
#include <new>

namespace zib {

namespace {

constexpr int kUndoModify = 0;
constexpr int kUndoInsert = 1;
constexpr int kUndoTargetMasterEvent = 1;

bool isTempoEvent(const CMidiEvent& e)
{
    return e.status == 0xFF && e.length == 6 && e.data.size() >= 6 && e.data[1] == 0x51;
}

uint32_t tempoValue(const CMidiEvent& e)
{
    return uint32_t(e.data[3]) << 16 | uint32_t(e.data[4]) << 8 | e.data[5];
}

} // namespace

// ---- Conversions and searches ------------------------------------------------------------

uint32_t CMidiBarPlayer::MbtToTicks(uint32_t measure, uint32_t beat, uint32_t tick) const
{
    const CMidiParserEx& seq = m_doc.Sequence();
    const uint8_t den = seq.GetDenominatorAtMeasure(measure);
    const uint32_t tpb = SequenceDivision() * 4 / (den != 0 ? den : 4);
    return seq.GetMeasureStartTick(measure) + beat * tpb + tick;
}

void CMidiBarPlayer::TicksToMbt(uint32_t ticks, uint32_t& measure, uint32_t& beat, uint32_t& tick) const
{
    const CMidiParserEx& seq = m_doc.Sequence();
    const auto& map = seq.GetTimeSigMap();
    uint32_t m = 0;
    if (!map.empty() && ticks >= map.back().startTick) {
        // Past the map the last signature continues.
        m = uint32_t(map.size() - 1);
        const uint32_t len = seq.GetMeasureLength(m);
        if (len > 0) m += (ticks - map.back().startTick) / len;
    } else if (!map.empty()) {
        const auto it = std::upper_bound(map.begin(), map.end(), ticks,
                                         [](uint32_t t, const CTimeSigRecord& r) { return t < r.startTick; });
        m = it == map.begin() ? 0 : uint32_t(it - map.begin()) - 1;
    } else {
        const uint32_t len = seq.GetMeasureLength(0);
        m = len > 0 ? ticks / len : 0;
    }
    const uint32_t rest = ticks - std::min(ticks, seq.GetMeasureStartTick(m));
    const uint8_t den = seq.GetDenominatorAtMeasure(m);
    const uint32_t tpb = std::max<uint32_t>(1, SequenceDivision() * 4 / (den != 0 ? den : 4));
    measure = m;
    beat = rest / tpb;
    tick = rest % tpb;
}

int64_t CMidiBarPlayer::FindEventAtTick(uint32_t tick, int64_t first) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    first = std::max<int64_t>(first, 0);
    if (first >= int64_t(events.size())) return -1;
    const auto it = std::lower_bound(events.begin() + first, events.end(), tick,
                                     [](const auto& e, uint32_t t) { return e->time < t; });
    return it == events.end() ? -1 : int64_t(it - events.begin());
}

int64_t CMidiBarPlayer::FindEventAfterTick(uint32_t tick, int64_t first) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    if (first < 0) first = 0;
    if (first >= int64_t(events.size())) return -1;
    const int64_t i = FirstEventAfter(tick);
    return i < int64_t(events.size()) ? std::max(i, first) : int64_t(events.size()) - 1;
}

int64_t CMidiBarPlayer::FirstEventAfter(uint32_t tick) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    const auto it = std::upper_bound(events.begin(), events.end(), tick,
                                     [](uint32_t t, const auto& e) { return t < e->time; });
    return int64_t(it - events.begin());
}

int64_t CMidiBarPlayer::FindLastPlayableEvent() const
{
    const auto& events = m_doc.Sequence().GetEvents();
    for (int64_t i = int64_t(events.size()) - 1; i > 0; --i)
        if (events[size_t(i)]->track != 0 && events[size_t(i)]->status != 0xFF) return i;
    return -1;
}

bool CMidiBarPlayer::BuildMeasureTable()
{
    std::lock_guard lock(m_mutex);
    return m_measures.Build(m_doc.Sequence());
}

void CMidiBarPlayer::TempoAtIndex(int64_t from, int64_t to)
{
    const auto& events = m_doc.Sequence().GetEvents();
    to = std::min<int64_t>(to, int64_t(events.size()));
    if (from <= 0) {
        from = 0;
        m_tempoShown = m_initialTempo;
    }
    for (int64_t i = from; i < to; ++i) {
        const CMidiEvent& e = *events[size_t(i)];
        if (!isTempoEvent(e)) continue;
        if (const uint32_t t = tempoValue(e)) m_tempoShown = 60000000u / t;
        m_lastTempoIndex = i;
    }
}

// ---- Texts ------------------------------------------------------------------------------

void CMidiBarPlayer::UpdatePositionText()
{
    m_view.SetPositionText(FormatPositionText(m_posMeasure, m_posBeat, m_posTick));
}

void CMidiBarPlayer::UpdateStartMarkerText(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(tick, m, b, t);
    m_view.SetFromText(FormatPositionText(m, b, t));
}

void CMidiBarPlayer::UpdateEndMarkerText(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(tick, m, b, t);
    m_view.SetThruText(FormatPositionText(m, b, t));
}

void CMidiBarPlayer::UpdateMarkerTexts()
{
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(m_from.tick, m, b, t);
    m_view.SetFromText(FormatMarkerText(m, b, t));
    TicksToMbt(m_thru.tick, m, b, t);
    m_view.SetThruText(FormatMarkerText(m, b, t));
}

// ---- Moving the position ----------------------------------------------------------------------

void CMidiBarPlayer::SetPositionFromTick(uint32_t tick)
{
    TicksToMbt(tick, m_posMeasure, m_posBeat, m_posTick);
    m_posIndex = FindEventAtTick(tick, 0);
}

void CMidiBarPlayer::SetCurrentPosition(uint32_t measure, uint32_t beat, uint32_t tick)
{
    std::lock_guard lock(m_mutex);
    m_posMeasure = measure;
    m_posBeat = beat;
    m_posTick = tick;
    m_posIndex = FindEventAtTick(MbtToTicks(measure, beat, tick), 0);
    m_view.DrawPositionCursor();
    UpdatePositionText();
    ChaseTrackState(m_posIndex < 0 ? int64_t(m_doc.Sequence().GetEventCount()) : m_posIndex);
}

void CMidiBarPlayer::JumpToMbt(uint32_t measure, uint32_t beat, uint32_t tick)
{
    std::lock_guard lock(m_mutex);
    SetCurrentPosition(measure, beat, tick);
    m_view.EditorsToEventIndex(m_posIndex);
    TempoAtIndex(0, FirstEventAfter(MbtToTicks(measure, beat, tick)));
    ShowTempo();
}

void CMidiBarPlayer::GoToBarRow(int64_t index)
{
    std::lock_guard lock(m_mutex);
    const auto& events = m_doc.Sequence().GetEvents();
    if (index < 0 || index >= int64_t(events.size())) index = 0;
    if (!events.empty()) {
        const CMidiEvent& e = *events[size_t(index)];
        m_posMeasure = e.measure;
        m_posBeat = e.beat;
        m_posTick = e.tick;
    } else {
        m_posMeasure = m_posBeat = m_posTick = 0;
    }
    m_posIndex = index;
    m_view.DrawPositionCursor();
    UpdatePositionText();
    ChaseTrackState(index);
}

void CMidiBarPlayer::SelectBarRow(int64_t index)
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    const int64_t count = int64_t(m_doc.Sequence().GetEventCount());
    if (index >= count) index = count - 2;
    if (index < 0) return;
    TempoAtIndex(0, index + 1);
    ShowTempo();
}

void CMidiBarPlayer::GoToMeasureColumn(uint32_t measure, bool rightHalf)
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    JumpToMbt(std::min(measure + (rightHalf ? 1 : 0), CMeasureTable::kMaxMeasures - 1), 0, 0);
}

void CMidiBarPlayer::Rewind()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    m_posMeasure = m_posBeat = m_posTick = 0;
    m_posIndex = 0;
    m_view.DrawPositionCursor();
    UpdatePositionText();
    m_view.EditorsToEventIndex(0);
    m_tempoShown = m_initialTempo;
    ShowTempo();
    ResetChaseToFirstValues();
}

void CMidiBarPlayer::GoToEnd()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    const CMidiParserEx& seq = m_doc.Sequence();
    int64_t index = seq.GetLastEventIndex();
    if (index >= int64_t(seq.GetEventCount())) index = -1;
    m_posIndex = index;
    if (index >= 0) {
        const CMidiEvent& e = *seq.GetEvent(size_t(index));
        m_posMeasure = e.measure;
        m_posBeat = e.beat;
        m_posTick = e.tick;
        TempoAtIndex(0, index);
    } else {
        // No events: the end is the start.
        m_posMeasure = m_posBeat = m_posTick = 0;
        m_tempoShown = m_initialTempo;
    }
    m_view.DrawPositionCursor();
    UpdatePositionText();
    m_view.EditorsToEventIndex(index);
    ShowTempo();
}

void CMidiBarPlayer::GoToStartMarker()
{
    std::lock_guard lock(m_mutex);
    SetPositionFromTick(m_from.tick);
    m_view.DrawPositionCursor();
    UpdatePositionText();
    m_view.EditorsToEventIndex(m_posIndex);
    TempoAtIndex(0, FirstEventAfter(m_from.tick));
    ShowTempo();
    ChaseTrackState(m_posIndex < 0 ? int64_t(m_doc.Sequence().GetEventCount()) : m_posIndex);
}

void CMidiBarPlayer::GoToEndMarker()
{
    std::lock_guard lock(m_mutex);
    SetPositionFromTick(m_thru.tick);
    m_view.DrawPositionCursor();
    UpdatePositionText();
    m_view.EditorsToEventIndex(m_posIndex);
    TempoAtIndex(0, FirstEventAfter(m_thru.tick));
    ShowTempo();
    ChaseTrackState(m_posIndex < 0 ? int64_t(m_doc.Sequence().GetEventCount()) : m_posIndex);
}

void CMidiBarPlayer::NextBar()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    JumpToMbt(std::min(m_posMeasure + 1, CMeasureTable::kMaxMeasures - 1), 0, 0);
}

void CMidiBarPlayer::PrevBar()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    JumpToMbt(m_posMeasure > 0 ? m_posMeasure - 1 : 0, 0, 0);
}

// ---- Markers ------------------------------------------------------------------------------------

void CMidiBarPlayer::SetMarker(Marker& marker, uint32_t tick, int64_t index)
{
    uint32_t b = 0, t = 0;
    TicksToMbt(tick, marker.measure, b, t);
    marker.tick = tick;
    marker.index = index;
}

void CMidiBarPlayer::AfterMarkerChange()
{
    UpdateStartMarkerText(m_from.tick);
    UpdateEndMarkerText(m_thru.tick);
    m_view.RefreshEventEditor();
    m_view.DrawPositionCursor();
}

void CMidiBarPlayer::SetFromAtPosition()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    SetMarker(m_from, MbtToTicks(m_posMeasure, m_posBeat, m_posTick), m_posIndex);
    if (m_from.tick > m_thru.tick) m_thru = m_from;
    AfterMarkerChange();
}

void CMidiBarPlayer::SetThruAtPosition()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    SetMarker(m_thru, MbtToTicks(m_posMeasure, m_posBeat, m_posTick), m_posIndex);
    if (m_thru.tick < m_from.tick) m_from = m_thru;
    AfterMarkerChange();
}

void CMidiBarPlayer::SetThruBeforeMeasure()
{
    std::lock_guard lock(m_mutex);
    if (IsPlaying()) return;
    if (m_posMeasure == 0) {
        m_thru = Marker{};
    } else {
        const uint32_t start = m_doc.Sequence().GetMeasureStartTick(m_posMeasure);
        m_thru.measure = m_posMeasure - 1;
        m_thru.tick = start > 0 ? start - 1 : 0;
        m_thru.index = std::max<int64_t>(m_posIndex - 1, 0);
    }
    if (m_thru.tick < m_from.tick) m_from = m_thru;
    AfterMarkerChange();
}

void CMidiBarPlayer::SetStartMarker(uint32_t measure, uint32_t beat, uint32_t tick)
{
    std::lock_guard lock(m_mutex);
    const uint32_t at = MbtToTicks(measure, beat, tick);
    SetMarker(m_from, at, FindEventAtTick(at, 0));
    if (m_from.tick > m_thru.tick) m_thru = m_from;
    AfterMarkerChange();
}

void CMidiBarPlayer::SetEndMarker(uint32_t measure, uint32_t beat, uint32_t tick)
{
    std::lock_guard lock(m_mutex);
    const uint32_t at = MbtToTicks(measure, beat, tick);
    SetMarker(m_thru, at, FindEventAtTick(at, 0));
    if (m_thru.tick < m_from.tick) m_from = m_thru;
    AfterMarkerChange();
}

void CMidiBarPlayer::ToggleLoop()
{
    std::lock_guard lock(m_mutex);
    bool on = m_doc.LoopFlag() == 0;
    // While playing, the loop can only come on before the fill has passed Thru.
    if (on && IsPlaying() && m_fillTick >= m_thru.tick) on = false;
    m_doc.SetLoopFlag(on ? 1 : 0);
    if (on && IsPlaying()) {
        m_loopRun = m_thru.tick > m_from.tick;
        m_loopEnd = false;
        m_tempoAtFrom = TempoInEffectAt(m_from.tick);
    }
    m_view.SetLoopButton(on);
}

void CMidiBarPlayer::RefreshEventEditor()
{
    m_view.RefreshEventEditor();
}

void CMidiBarPlayer::SyncEditorsToTick(uint32_t tick)
{
    if (IsPlaying()) return;
    m_view.SyncEditorsToTick(tick);
}

// ---- Tempo ------------------------------------------------------------------------------------------

void CMidiBarPlayer::ChangeCurrentTempo(uint32_t bpm)
{
    std::lock_guard lock(m_mutex);
    if (bpm == 0 || bpm > 255 || bpm == m_tempoShown) return;
    const uint32_t tempo = 60000000u / bpm;
    CMidiParserEx& seq = m_doc.Sequence();
    const auto& events = seq.GetEvents();
    int64_t found = -1;
    if (!IsPlaying()) {
        int64_t i = FirstEventAfter(MbtToTicks(m_posMeasure, m_posBeat, m_posTick));
        if (i >= int64_t(events.size())) i = int64_t(events.size()) - 1;
        for (; i >= 0; --i)
            if (isTempoEvent(*events[size_t(i)])) {
                found = i;
                break;
            }
    } else {
        for (auto& s : m_streams)
            if (s) s->SetTempo(tempo);
        m_streamTempo = tempo;
        if (m_lastTempoIndex >= 0 && m_lastTempoIndex < int64_t(events.size()) &&
            isTempoEvent(*events[size_t(m_lastTempoIndex)]))
            found = m_lastTempoIndex;
    }

    if (found >= 0) {
        CMidiEvent& e = *events[size_t(found)];
        m_doc.RecordUndoAction(kUndoTargetMasterEvent, e, kUndoModify, 1, int32_t(found), int32_t(found));
        e.data[3] = uint8_t(tempo >> 16);
        e.data[4] = uint8_t(tempo >> 8);
        e.data[5] = uint8_t(tempo);
        m_tempoShown = bpm;
        seq.SetTrackModified(e.track, 1);
        m_doc.SetModified();
        bool first = true;
        for (int64_t i = 0; i < found; ++i)
            if (isTempoEvent(*events[size_t(i)])) first = false;
        if (first) m_initialTempo = bpm;
        m_view.RefreshTempoEditor();
        ShowTempo();
        return;
    }

    // No tempo event to change: a new one at the position, after the events of its tick.
    try {
        auto e = std::make_unique<CMidiEvent>();
        const uint32_t at = MbtToTicks(m_posMeasure, m_posBeat, m_posTick);
        const uint8_t bytes[6] = {0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)};
        e->SetData(bytes, 6);
        e->status = 0xFF;
        e->track = 0;
        e->paired = 1;
        e->time = at;
        TicksToMbt(at, e->measure, e->beat, e->tick);
        const size_t index = size_t(FirstEventAfter(at));
        CMidiEvent* inserted = e.get();
        if (seq.InsertEvent(index, std::move(e)) < 0) throw std::bad_alloc();
        if (IsPlaying()) ShiftIndexesForInsert(index);
        RenumberFrom(0);
        seq.SetTrackModified(0, 1);
        m_doc.SetModified();
        m_doc.RecordUndoAction(kUndoTargetMasterEvent, *inserted, kUndoInsert, 1, int32_t(index), -1);
        m_tempoShown = m_initialTempo = bpm;
        m_view.RefreshTempoEditor();
        ShowTempo();
    } catch (const std::bad_alloc&) {
        m_view.ShowMessage(kMsgCreateTempoEvent, "ChangeCurrentTempo", PlayerIcon::Exclamation);
    }
}

} // namespace zib
