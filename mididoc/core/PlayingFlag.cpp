#include "mididoc/core/PlayingFlag.h"

namespace zib {

const std::atomic<int>& NotPlaying()
{
    static const std::atomic<int> never{0};
    return never;
}

} // namespace zib
