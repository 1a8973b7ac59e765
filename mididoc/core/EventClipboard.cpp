#include "mididoc/core/EventClipboard.h"

namespace zib {

EventClipboard::~EventClipboard() = default;

EventClipboard& NoClipboard()
{
    static EventClipboard none;
    return none;
}

} // namespace zib
