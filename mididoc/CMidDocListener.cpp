#include "mididoc/CMidDocListener.h"

namespace zib {

CMidDocListener::~CMidDocListener() = default;

} // namespace zib
