#pragma once

namespace zib {

// Tells when the program has settled: the X server has handled every request
// it was sent, no event of the window system and no posted call is waiting,
// and every window has painted what it was asked to. The program is looked
// at between turns of its main loop; it counts as settled once it was found
// quiet at several looks in a row, since a paint or a size change made at
// one look may post more work for the next.
class SettleWatch {
public:
    // One look; true once the program was quiet at enough looks in a row.
    bool Look();
    // Starts counting again (a new wait begins).
    void Reset() { quietLooks_ = 0; }

private:
    int quietLooks_ = 0;
};

} // namespace zib
