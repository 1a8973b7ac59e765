#include "mididoc/core/EventListOwner.h"

namespace zib {

EventListOwner::~EventListOwner() = default;

} // namespace zib
