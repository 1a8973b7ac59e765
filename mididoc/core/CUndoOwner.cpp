#include "mididoc/core/CUndoOwner.h"

namespace zib {

CUndoOwner::~CUndoOwner() = default;

} // namespace zib
