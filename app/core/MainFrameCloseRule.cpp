#include "app/core/MainFrameCloseRule.h"

namespace zib {

CloseDecision MainFrameCloseDecision(ChildKind /*active*/, bool midiPlaying)
{
    return midiPlaying ? CloseDecision::Refuse : CloseDecision::Close;
}

} // namespace zib
