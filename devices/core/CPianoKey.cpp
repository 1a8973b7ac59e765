#include "devices/core/CPianoKey.h"

namespace zib {

namespace {

constexpr PianoColour kBlackAtRest{0, 0, 0};
constexpr PianoColour kBlackInMarkedOctave{4, 0, 0};
constexpr PianoColour kWhiteAtRest{255, 255, 255};
constexpr PianoColour kWhiteInMarkedOctave{128, 255, 255};
constexpr PianoColour kBlackPressed{255, 64, 128};
constexpr PianoColour kWhitePressed{255, 128, 0};
constexpr PianoColour kMarkedKey{255, 0, 0};

} // namespace

CPianoKey::CPianoKey(char shape, int left, int top, int unit, uint8_t note) : m_shape(shape), m_note(note)
{
    const int u = unit;
    const int g = unit / 3;
    const CPianoRect lower(left, top + 10 * u, 4 * u, 6 * u);
    switch (shape) {
    case 'A':
        m_upper = {left, top, 3 * u, 10 * u};
        m_lower = lower;
        break;
    case 'B':
        m_upper = {left + u, top, 2 * u, 10 * u};
        m_lower = lower;
        break;
    case 'C':
        m_upper = {left + u, top, 3 * u, 10 * u};
        m_lower = lower;
        break;
    default:
        m_shape = 'D';
        m_upper = {left, top, 2 * u, 10 * u - g};
        break;
    }
}

PianoColour CPianoKey::Colour(const Look& look) const
{
    if (look.marked) return kMarkedKey;
    if (look.pressed) return IsBlack() ? kBlackPressed : kWhitePressed;
    if (IsBlack()) return look.inMarkedOctave ? kBlackInMarkedOctave : kBlackAtRest;
    return look.inMarkedOctave ? kWhiteInMarkedOctave : kWhiteAtRest;
}

} // namespace zib
