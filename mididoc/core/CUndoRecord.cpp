#include "mididoc/core/CUndoRecord.h"

namespace zib {

CUndoRecord::~CUndoRecord() = default;

} // namespace zib
