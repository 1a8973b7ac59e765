#include "mididoc/core/CUndoRecord.h"

namespace zib {

// Small enough for the event pool
static_assert(sizeof(CUndoRecord) <= EventPool::kMaxBlock);

CUndoRecord::~CUndoRecord() = default;

} // namespace zib
