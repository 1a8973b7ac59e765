#include "mididoc/core/CTrackInfo.h"

namespace zib {

CTrackInfo::~CTrackInfo() = default;

} // namespace zib
