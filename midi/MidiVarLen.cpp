#include "midi/MidiVarLen.h"

namespace zib {

int WriteMidiVarLen(uint32_t value, uint8_t* bytes)
{
    const int n = MidiVarLenSize(value);
    if (n == 0 || bytes == nullptr) return 0;
    for (int i = n - 1; i >= 0; --i) {
        bytes[i] = uint8_t((value & 0x7F) | (i == n - 1 ? 0x00 : 0x80));
        value >>= 7;
    }
    return n;
}

int MidiVarLenSize(uint32_t value)
{
    if (value < 0x80) return 1;
    if (value < 0x4000) return 2;
    if (value < 0x200000) return 3;
    if (value < kMidiVarLenLimit) return 4;
    return 0;
}

uint32_t ReadMidiVarLen(const uint8_t* bytes, size_t available, uint32_t& count)
{
    count = 0;
    if (bytes == nullptr) return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && i < available; ++i) {
        value = (value << 7) | (bytes[i] & 0x7F);
        if (!(bytes[i] & 0x80)) {
            count = uint32_t(i + 1);
            return value;
        }
    }
    return 0;
}

} // namespace zib
