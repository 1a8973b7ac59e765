#include "midi/CMidiEvent.h"

namespace zib {

CMidiEvent::CMidiEvent() = default;

CMidiEvent::~CMidiEvent() = default;

} // namespace zib
