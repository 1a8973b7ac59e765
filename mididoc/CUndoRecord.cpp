#include "mididoc/CUndoRecord.h"

namespace zib {

CUndoRecord::~CUndoRecord() = default;

} // namespace zib
