#include "midi/CMidiEventBase.h"

namespace zib {

CMidiEventBase::CMidiEventBase()
{
    status = 0xFF;
}

CMidiEventBase::~CMidiEventBase() = default;

} // namespace zib
