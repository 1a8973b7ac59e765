#include "devices/core/ConnectorLine.h"

#include <algorithm>

namespace zib {

ConnectorRect ConnectorArea(const ConnectorRect& channelList, const ConnectorRect& instrumentList)
{
    return {channelList.right, std::min(channelList.top, instrumentList.top), instrumentList.left,
            std::max(channelList.bottom, instrumentList.bottom)};
}

std::array<ConnectorPoint, 4> ConnectorLinePoints(const ConnectorRect& channelList, int channelRowMiddle,
                                                  const ConnectorRect& instrumentList, int instrumentRowMiddle)
{
    const int from = std::clamp(channelRowMiddle, channelList.top, std::max(channelList.top, channelList.bottom));
    const int to =
        std::clamp(instrumentRowMiddle, instrumentList.top, std::max(instrumentList.top, instrumentList.bottom));
    const int left = channelList.right + 2;
    const int right = instrumentList.left - 2;
    const int middle = (channelList.right + instrumentList.left) / 2;
    return {{{left, from}, {middle, from}, {middle, to}, {right, to}}};
}

} // namespace zib
