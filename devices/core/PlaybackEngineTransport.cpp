// The song position of the bar view: conversions and searches, the
// position and marker texts, the transport commands and the tempo. All on
// the UI thread; the ones that touch what the delivery thread reads take the
// engine's lock.

#include "devices/core/PlaybackEngine.h"

#include "ui/core/PlayerSlot.h"
#include "devices/core/OutStream.h"
#include "devices/core/PlaybackHost.h"
#include "devices/core/PlaybackTexts.h"
#include "devices/core/PlaybackUi.h"
#include "midi/CMidiParserEx.h"

#include <algorithm>
#include <new>

namespace zib {

namespace {

bool isTempoEvent(const CMidiEvent& e)
{
    return e.status == 0xFF && e.length == 6 && e.data.size() >= 6 && e.data[1] == 0x51;
}

uint32_t tempoValue(const CMidiEvent& e)
{
    return uint32_t(e.data[3]) << 16 | uint32_t(e.data[4]) << 8 | e.data[5];
}

// Index of the first event after `tick` (the number of events when none)
int64_t firstEventAfter(const CMidiParserEx& seq, uint32_t tick)
{
    const auto& events = seq.GetEvents();
    const auto it = std::upper_bound(events.begin(), events.end(), tick,
                                     [](uint32_t t, const auto& e) { return t < e->time; });
    return int64_t(it - events.begin());
}

} // namespace

// ---- Conversions and searches -------------------------------------------------------------------

uint32_t PlaybackEngine::TicksPerBeatOfMeasure(uint32_t measure)
{
    const uint8_t den = m_doc.Sequence().GetDenominatorAtMeasure(measure);
    return std::max<uint32_t>(1, Division() * 4 / (den != 0 ? den : 4));
}

uint32_t PlaybackEngine::MbtToTicks(uint32_t measure, uint32_t beat, uint32_t tick)
{
    std::lock_guard lock(m_mutex);
    return m_doc.Sequence().GetMeasureStartTick(measure) + beat * TicksPerBeatOfMeasure(measure) + tick;
}

void PlaybackEngine::TicksToMbt(uint32_t ticks, uint32_t& measure, uint32_t& beat, uint32_t& tick)
{
    std::lock_guard lock(m_mutex);
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
    const uint32_t tpb = TicksPerBeatOfMeasure(m);
    measure = m;
    beat = rest / tpb;
    tick = rest % tpb;
}

int64_t PlaybackEngine::FindEventAtTick(uint32_t tick, int64_t first) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    first = std::max<int64_t>(first, 0);
    if (first >= int64_t(events.size())) return -1;
    const auto it = std::lower_bound(events.begin() + first, events.end(), tick,
                                     [](const auto& e, uint32_t t) { return e->time < t; });
    return it == events.end() ? -1 : int64_t(it - events.begin());
}

int64_t PlaybackEngine::FindEventAfterTick(uint32_t tick, int64_t first) const
{
    const auto& events = m_doc.Sequence().GetEvents();
    first = std::max<int64_t>(first, 0);
    if (first >= int64_t(events.size())) return -1;
    const int64_t i = firstEventAfter(m_doc.Sequence(), tick);
    return i < int64_t(events.size()) ? std::max(i, first) : int64_t(events.size()) - 1;
}

int64_t PlaybackEngine::FindLastPlayableEvent() const
{
    const auto& events = m_doc.Sequence().GetEvents();
    for (int64_t i = int64_t(events.size()) - 1; i > 0; --i)
        if (events[size_t(i)]->track != 0 && events[size_t(i)]->status != 0xFF) return i;
    return -1;
}

bool PlaybackEngine::BuildMeasureTable()
{
    std::lock_guard lock(m_mutex);
    return m_measures.Build(m_doc.Sequence());
}

void PlaybackEngine::TempoAtIndex(int64_t from, int64_t to)
{
    std::lock_guard lock(m_mutex);
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

void PlaybackEngine::TempoTrackChanged()
{
    {
        std::lock_guard lock(m_mutex);
        m_initialTempo = m_doc.Sequence().GetInitialTempo();
    }
    TempoAtIndex(0, firstEventAfter(m_doc.Sequence(), MbtToTicks(m_posMeasure, m_posBeat, m_posTick)));
    ShowTempo();
}

// ---- Texts and cursor -------------------------------------------------------------------------------

void PlaybackEngine::UpdatePositionText()
{
    m_ui.SetPositionText(FormatPositionText(m_posMeasure, m_posBeat, m_posTick));
}

void PlaybackEngine::UpdateStartMarkerText(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(tick, m, b, t);
    m_ui.SetFromText(FormatPositionText(m, b, t));
}

void PlaybackEngine::UpdateEndMarkerText(uint32_t tick)
{
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(tick, m, b, t);
    m_ui.SetThruText(FormatPositionText(m, b, t));
}

void PlaybackEngine::UpdateMarkerTexts()
{
    uint32_t m = 0, b = 0, t = 0;
    TicksToMbt(m_from.tick, m, b, t);
    m_ui.SetFromText(FormatMarkerText(m, b, t));
    TicksToMbt(m_thru.tick, m, b, t);
    m_ui.SetThruText(FormatMarkerText(m, b, t));
}

void PlaybackEngine::DrawPositionCursor()
{
    {
        std::lock_guard lock(m_mutex);
        if (!IsPlaying()) m_cursorTick = MbtToTicks(m_posMeasure, m_posBeat, m_posTick);
    }
    m_ui.DrawCursor();
}

// ---- Moving the position ------------------------------------------------------------------------------

void PlaybackEngine::SetPositionFromTick(uint32_t tick)
{
    TicksToMbt(tick, m_posMeasure, m_posBeat, m_posTick);
    m_posIndex = FindEventAtTick(tick, 0);
}

void PlaybackEngine::SetCurrentPosition(uint32_t measure, uint32_t beat, uint32_t tick)
{
    m_posMeasure = measure;
    m_posBeat = beat;
    m_posTick = tick;
    m_posIndex = FindEventAtTick(MbtToTicks(measure, beat, tick), 0);
    DrawPositionCursor();
    UpdatePositionText();
    ChaseTrackState(m_posIndex < 0 ? int64_t(m_doc.Sequence().GetEventCount()) : m_posIndex);
}

void PlaybackEngine::JumpToMbt(uint32_t measure, uint32_t beat, uint32_t tick)
{
    SetCurrentPosition(measure, beat, tick);
    m_ui.EditorsToEventIndex(m_posIndex);
    TempoAtIndex(0, firstEventAfter(m_doc.Sequence(), MbtToTicks(measure, beat, tick)));
    ShowTempo();
}

void PlaybackEngine::GoToBarRow(int64_t index)
{
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
    DrawPositionCursor();
    UpdatePositionText();
    ChaseTrackState(index);
}

void PlaybackEngine::SelectBarRow(int64_t index)
{
    if (IsPlaying()) return;
    const int64_t count = int64_t(m_doc.Sequence().GetEventCount());
    if (index >= count) index = count - 2;
    if (index < 0) return;
    TempoAtIndex(0, index + 1);
    ShowTempo();
}

void PlaybackEngine::GoToMeasureColumn(uint32_t measure, bool rightHalf)
{
    if (IsPlaying()) return;
    JumpToMbt(measure + (rightHalf ? 1 : 0), 0, 0);
}

void PlaybackEngine::Rewind()
{
    if (IsPlaying()) return;
    m_posMeasure = m_posBeat = m_posTick = 0;
    m_posIndex = 0;
    DrawPositionCursor();
    UpdatePositionText();
    m_ui.EditorsToEventIndex(0);
    {
        std::lock_guard lock(m_mutex);
        m_tempoShown = m_initialTempo;
        ResetChaseToFirstValues();
    }
    ShowTempo();
}

void PlaybackEngine::GoToEnd()
{
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
        // No events: the end is the start, 1:01:000.
        m_posMeasure = m_posBeat = m_posTick = 0;
        std::lock_guard lock(m_mutex);
        m_tempoShown = m_initialTempo;
    }
    DrawPositionCursor();
    UpdatePositionText();
    m_ui.EditorsToEventIndex(index);
    ShowTempo();
}

void PlaybackEngine::GoToStartMarker()
{
    SetPositionFromTick(m_from.tick);
    DrawPositionCursor();
    UpdatePositionText();
    m_ui.EditorsToEventIndex(m_posIndex);
    TempoAtIndex(0, firstEventAfter(m_doc.Sequence(), m_from.tick));
    ShowTempo();
    ChaseTrackState(m_posIndex < 0 ? int64_t(m_doc.Sequence().GetEventCount()) : m_posIndex);
}

void PlaybackEngine::GoToEndMarker()
{
    SetPositionFromTick(m_thru.tick);
    DrawPositionCursor();
    UpdatePositionText();
    m_ui.EditorsToEventIndex(m_posIndex);
    TempoAtIndex(0, firstEventAfter(m_doc.Sequence(), m_thru.tick));
    ShowTempo();
    ChaseTrackState(m_posIndex < 0 ? int64_t(m_doc.Sequence().GetEventCount()) : m_posIndex);
}

void PlaybackEngine::NextBar()
{
    if (IsPlaying()) return;
    JumpToMbt(m_posMeasure + 1, 0, 0);
}

void PlaybackEngine::PrevBar()
{
    if (IsPlaying()) return;
    JumpToMbt(m_posMeasure > 0 ? m_posMeasure - 1 : 0, 0, 0);
}

// ---- Markers ---------------------------------------------------------------------------------------------

void PlaybackEngine::SetMarker(Marker& marker, uint32_t tick, int64_t index)
{
    uint32_t b = 0, t = 0;
    TicksToMbt(tick, marker.measure, b, t);
    marker.tick = tick;
    marker.index = index;
}

void PlaybackEngine::AfterMarkerChange()
{
    UpdateStartMarkerText(m_from.tick);
    UpdateEndMarkerText(m_thru.tick);
    m_ui.RefreshEventEditor();
    DrawPositionCursor();
}

void PlaybackEngine::SetFromAtPosition()
{
    if (IsPlaying()) return;
    {
        std::lock_guard lock(m_mutex);
        SetMarker(m_from, MbtToTicks(m_posMeasure, m_posBeat, m_posTick), m_posIndex);
        if (m_from.tick > m_thru.tick) m_thru = m_from;
    }
    AfterMarkerChange();
}

void PlaybackEngine::SetThruAtPosition()
{
    if (IsPlaying()) return;
    {
        std::lock_guard lock(m_mutex);
        SetMarker(m_thru, MbtToTicks(m_posMeasure, m_posBeat, m_posTick), m_posIndex);
        if (m_thru.tick < m_from.tick) m_from = m_thru;
    }
    AfterMarkerChange();
}

void PlaybackEngine::SetThruBeforeMeasure()
{
    if (IsPlaying()) return;
    {
        std::lock_guard lock(m_mutex);
        if (m_posMeasure == 0) {
            m_thru = Marker{};
        } else {
            const uint32_t start = m_doc.Sequence().GetMeasureStartTick(m_posMeasure);
            m_thru.measure = m_posMeasure - 1;
            m_thru.tick = start > 0 ? start - 1 : 0;
            m_thru.index = std::max<int64_t>(m_posIndex - 1, 0);
        }
        if (m_thru.tick < m_from.tick) m_from = m_thru;
    }
    AfterMarkerChange();
}

void PlaybackEngine::SetStartMarker(uint32_t measure, uint32_t beat, uint32_t tick)
{
    {
        std::lock_guard lock(m_mutex);
        const uint32_t at = MbtToTicks(measure, beat, tick);
        SetMarker(m_from, at, FindEventAtTick(at, 0));
        if (m_from.tick > m_thru.tick) m_thru = m_from;
    }
    AfterMarkerChange();
}

void PlaybackEngine::SetEndMarker(uint32_t measure, uint32_t beat, uint32_t tick)
{
    {
        std::lock_guard lock(m_mutex);
        const uint32_t at = MbtToTicks(measure, beat, tick);
        SetMarker(m_thru, at, FindEventAtTick(at, 0));
        if (m_thru.tick < m_from.tick) m_from = m_thru;
    }
    AfterMarkerChange();
}

void PlaybackEngine::ToggleLoop()
{
    bool on = false;
    {
        std::lock_guard lock(m_mutex);
        on = !m_doc.LoopFlag();
        if (IsPlaying() && m_host.Player().Active() == this) {
            // While playing the loop comes on only before the fill has passed Thru.
            if (on && (m_fillTick >= m_thru.tick || m_thru.tick <= m_from.tick)) on = false;
            m_loopFlag = on;
            m_loopEnd = false;
        }
        m_doc.SetLoopFlag(on);
    }
    m_ui.SetLoopButton(on);
}

void PlaybackEngine::RefreshEventEditor()
{
    m_ui.RefreshEventEditor();
}

void PlaybackEngine::SyncEditorsToTick(uint32_t tick)
{
    if (IsPlaying()) return;
    m_ui.SyncEditorsToTick(tick);
}

// ---- Tempo ------------------------------------------------------------------------------------------------

void PlaybackEngine::ChangeCurrentTempo(uint32_t bpm)
{
    bool failed = false;
    {
        std::lock_guard lock(m_mutex);
        if (bpm == 0 || bpm > 255 || bpm == m_tempoShown) return;
        const uint32_t tempo = 60000000u / bpm;
        CMidiParserEx& seq = m_doc.Sequence();
        const auto& events = seq.GetEvents();
        const bool playing = IsPlaying() && m_host.Player().Active() == this;
        int64_t found = -1;
        if (!playing) {
            int64_t i = firstEventAfter(seq, MbtToTicks(m_posMeasure, m_posBeat, m_posTick));
            if (i >= int64_t(events.size())) i = int64_t(events.size()) - 1;
            for (; i >= 0; --i)
                if (isTempoEvent(*events[size_t(i)])) {
                    found = i;
                    break;
                }
        } else {
            // At once on every stream: they share the session's clock.
            for (auto& s : m_streams)
                if (s) {
                    s->SetTempo(tempo);
                    break;
                }
            if (m_lastTempoIndex >= 0 && m_lastTempoIndex < int64_t(events.size()) &&
                isTempoEvent(*events[size_t(m_lastTempoIndex)]))
                found = m_lastTempoIndex;
        }

        if (found >= 0) {
            CMidiEvent& e = *events[size_t(found)];
            m_doc.RecordUndo(PlaybackUndoTarget::MasterTrackEvent, e, PlaybackUndoOperation::Modify, true,
                             int32_t(found), int32_t(found));
            e.data[3] = uint8_t(tempo >> 16);
            e.data[4] = uint8_t(tempo >> 8);
            e.data[5] = uint8_t(tempo);
            m_tempoShown = bpm;
            seq.SetTrackModified(e.track, 1);
            m_doc.SetModified();
            bool first = true;
            for (int64_t i = 0; i < found && first; ++i)
                if (isTempoEvent(*events[size_t(i)])) first = false;
            if (first) m_initialTempo = bpm;
        } else {
            // No tempo event yet: a new one at the position, after the events of its tick.
            std::unique_ptr<CMidiEvent> e(new (std::nothrow) CMidiEvent);
            if (!e) {
                failed = true;
            } else {
                const uint32_t at = playing ? m_playedTick : MbtToTicks(m_posMeasure, m_posBeat, m_posTick);
                const uint8_t bytes[6] = {0xFF, 0x51, 0x03, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)};
                e->SetData(bytes, 6);
                e->status = 0xFF;
                e->track = 0;
                e->paired = 1;
                e->time = at;
                uint32_t m = 0, b = 0, t = 0;
                TicksToMbt(at, m, b, t);
                e->measure = m;
                e->beat = b;
                e->tick = t;
                const size_t index = size_t(firstEventAfter(seq, at));
                CMidiEvent* inserted = e.get();
                if (playing) {
                    InsertRecorded(index, std::move(e));
                    m_lastTempoIndex = int64_t(index);
                } else {
                    seq.InsertEvent(index, std::move(e));
                }
                seq.Renumber(0);
                seq.SetTrackModified(0, 1);
                m_doc.SetModified();
                m_doc.RecordUndo(PlaybackUndoTarget::MasterTrackEvent, *inserted, PlaybackUndoOperation::Insert, true,
                                 int32_t(index), -1);
                m_tempoShown = m_initialTempo = bpm;
            }
        }
    }
    if (failed) {
        m_ui.ShowMessage(kMsgCreateTempoEvent, "ChangeCurrentTempo", PlaybackIcon::Exclamation);
        return;
    }
    m_ui.RefreshTempoEditor();
    ShowTempo();
}

} // namespace zib
