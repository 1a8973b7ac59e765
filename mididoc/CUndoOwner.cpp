#include "mididoc/CUndoOwner.h"

namespace zib {

CUndoOwner::~CUndoOwner() = default;

} // namespace zib
