#include "mididoc/core/CMidDocListener.h"

namespace zib {

CMidDocListener::~CMidDocListener() = default;

} // namespace zib
