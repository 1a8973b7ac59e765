#pragma once

#include <array>

namespace zib {

// The red line of the relation dialog between the current channel and the
// selected instrument, in dialog coordinates.
struct ConnectorRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
struct ConnectorPoint {
    int x = 0, y = 0;
    bool operator==(const ConnectorPoint&) const = default;
};

// The area between the two lists that is cleared before the line is drawn:
// from the channel list's right edge to the instrument list's left edge, from
// the higher top to the lower bottom.
ConnectorRect ConnectorArea(const ConnectorRect& channelList, const ConnectorRect& instrumentList);

// The three segments: from 2 pixels right of the channel list at the middle of
// the channel's row, across to the middle of the gap, up or down to the
// instrument's row, across to 2 pixels left of the instrument list. A row
// outside its list's visible part moves its end to the list's top or bottom.
std::array<ConnectorPoint, 4> ConnectorLinePoints(const ConnectorRect& channelList, int channelRowMiddle,
                                                  const ConnectorRect& instrumentList, int instrumentRowMiddle);

} // namespace zib
