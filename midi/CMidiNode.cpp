#include "midi/CMidiNode.h"

#include <algorithm>

namespace zib {

CMidiNode::~CMidiNode() = default;

void CMidiNode::SetData(const uint8_t* bytes, uint32_t n, uint32_t allocate)
{
    data.assign(std::max(n, allocate), 0);
    if (n) std::copy(bytes, bytes + n, data.begin());
    length = n;
}

} // namespace zib
