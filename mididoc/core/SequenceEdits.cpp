#include "mididoc/core/SequenceEdits.h"

#include "midi/CMidiParserEx.h"
#include "mididoc/core/PositionWalk.h"
#include "midi/MidiVarLen.h"

#include <algorithm>

namespace zib {

int MetaType(const CMidiEvent& e)
{
    if (e.status != 0xFF || e.length < 2 || e.data.size() < 2) return -1;
    return e.data[1];
}

bool MetaData(const CMidiEvent& e, std::span<const uint8_t>& data)
{
    const size_t held = std::min<size_t>(e.length, e.data.size());
    const size_t lengthAt = e.status == 0xFF ? 2 : 1; // meta: FF type len; sysex: F0 len
    if (held <= lengthAt) return false;
    uint32_t count = 0;
    const uint32_t n = ReadMidiVarLen(e.data.data() + lengthAt, held - lengthAt, count);
    if (count == 0 || n > held - lengthAt - count) return false;
    data = std::span<const uint8_t>(e.data.data() + lengthAt + count, n);
    return true;
}

bool IsTimeSignatureEvent(const CMidiEvent& e)
{
    return MetaType(e) == 0x58;
}

uint8_t TimeSignatureDenominator(uint8_t power)
{
    return power >= 1 && power <= 7 ? uint8_t(1u << power) : 4;
}

bool TimeSignatureOf(const CMidiEvent& e, uint8_t& numerator, uint8_t& denominator)
{
    std::span<const uint8_t> data;
    if (!IsTimeSignatureEvent(e) || !MetaData(e, data) || data.size() < 4 || data[0] == 0) return false;
    numerator = data[0];
    denominator = TimeSignatureDenominator(data[1]);
    return true;
}

bool SetEventPosition(CMidiParserEx& sequence, CMidiEvent& e)
{
    uint32_t measure = 0, beat = 0, tick = 0;
    if (sequence.TickToMbt(e.time, measure, beat, tick) != 0) return false;
    e.measure = measure;
    e.beat = beat;
    e.tick = tick;
    return true;
}

size_t MoveEventToSortedPlace(CMidiParserEx& sequence, size_t index, uint32_t oldTick, uint32_t newTick)
{
    const size_t count = sequence.GetEventCount();
    if (count == 0) return 0;
    if (index >= count) return count - 1;
    auto swapAt = [&](size_t a, size_t b) {
        sequence.SwapEvents(a, b);
        sequence.GetEvent(a)->index = uint32_t(a);
        sequence.GetEvent(b)->index = uint32_t(b);
    };
    size_t i = index;
    if (newTick <= oldTick) {
        while (i > 0 && sequence.GetEvent(i - 1)->time > newTick) {
            swapAt(i - 1, i);
            --i;
        }
    } else {
        while (i + 1 < count && sequence.GetEvent(i + 1)->time < newTick) {
            swapAt(i, i + 1);
            ++i;
        }
    }
    return i;
}

int32_t NextTimeSignatureMeasure(const CMidiParserEx& sequence, size_t from)
{
    for (size_t i = from; i < sequence.GetEventCount(); ++i) {
        const CMidiEvent& e = *sequence.GetEvent(i);
        if (e.track == 0 && IsTimeSignatureEvent(e)) return int32_t(e.measure);
    }
    return -1;
}

bool RetimeSequence(CMidiParserEx& sequence, std::vector<RetimeMove>* moves)
{
    PositionWalk walk(sequence);
    size_t i = 0;
    while (i < sequence.GetEventCount()) {
        CMidiEvent& e = *sequence.GetEvent(i);
        if (IsTimeSignatureEvent(e)) {
            const uint32_t oldTick = e.time, oldBeat = e.beat, oldTickInBeat = e.tick;
            const uint32_t newTick = sequence.GetMeasureStartTick(e.measure);
            e.time = newTick;
            e.beat = 0;
            e.tick = 0;
            const size_t moved = MoveEventToSortedPlace(sequence, i, oldTick, newTick);
            if (moves && (moved != i || oldTick != newTick || oldBeat != 0 || oldTickInBeat != 0))
                moves->push_back({uint32_t(i), uint32_t(moved), oldTick, oldBeat, oldTickInBeat, newTick});
            // Moved later: the event now at i is a new one; moved earlier:
            // the events it passed were placed already.
            if (moved <= i) i = i + 1;
            continue;
        }
        if (!walk.Place(e)) return false;
        ++i;
    }
    return true;
}

void MoveEventTo(CMidiParserEx& sequence, size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
        sequence.SwapEvents(i, i + 1);
    for (size_t i = from; i > to; --i)
        sequence.SwapEvents(i - 1, i);
    for (size_t i = std::min(from, to); i <= std::max(from, to) && i < sequence.GetEventCount(); ++i)
        sequence.GetEvent(i)->index = uint32_t(i);
}

bool RepositionEvents(CMidiParserEx& sequence)
{
    PositionWalk walk(sequence);
    const auto& events = sequence.GetEvents();
    for (size_t i = 0; i < events.size(); ++i) {
        sequence.PrefetchAhead(i);
        CMidiEvent& e = *events[i];
        if (!IsTimeSignatureEvent(e) && !walk.Place(e)) return false;
        e.index = uint32_t(i);
        e.state = 0;
    }
    return true;
}

} // namespace zib
