#include "ulvarf/CNstPattern.h"

#include "ulvarf/CPropEventList.h"

#include "platform/ByteWriter.h"

namespace zib::ulvarf {

void CNstPattern::SetStream(std::vector<uint8_t> bytes)
{
    empty = CPropEventList::IsEmptyStream(bytes);
    stream = std::move(bytes);
}

void CNstPattern::Clear()
{
    stream = ClearedStream();
    length = kClearedEnd;
    empty = true;
    notCreated = true;
}

std::vector<uint8_t> CNstPattern::ClearedStream()
{
    zib::ByteWriter out;
    CPropEventList().Encode(kClearedEnd, out);
    return out.take();
}

} // namespace zib::ulvarf
