#include "mididoc/CTrackInfo.h"

namespace zib {

CTrackInfo::~CTrackInfo() = default;

} // namespace zib
