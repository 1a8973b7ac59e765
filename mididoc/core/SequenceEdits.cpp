#include "mididoc/core/SequenceEdits.h"

#include "midi/CMidiParserEx.h"
#include "midi/MidiEventKind.h"

namespace zib {

size_t MoveEventToSortedPlace(CMidiParserEx& sequence, size_t index, uint32_t oldTick, uint32_t newTick)
{
    const size_t count = sequence.GetEventCount();
    if (count == 0) return 0;
    if (index >= count) return count - 1;
    auto swapAt = [&sequence](size_t a, size_t b) {
        sequence.SwapEvents(a, b);
        sequence.GetEvent(a)->index = uint32_t(a);
        sequence.GetEvent(b)->index = uint32_t(b);
    };
    size_t i = index;
    if (newTick <= oldTick) {
        while (i >= 1 && sequence.GetEvent(i - 1)->time > newTick) {
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

bool IsTimeSignatureEvent(const CMidiEvent& e)
{
    return e.status == 0xFF && eventDataByte(e, 1) == 0x58;
}

uint8_t TimeSignatureDenominator(uint8_t power)
{
    return power >= 1 && power <= 7 ? uint8_t(1u << power) : 4;
}

} // namespace zib
