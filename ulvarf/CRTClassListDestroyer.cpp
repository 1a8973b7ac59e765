#include "ulvarf/CRTClassListDestroyer.h"

#include "ulvarf/CRTClassList.h"

namespace zib::ulvarf {

int CRTClassListDestroyer::OnDetached()
{
    classes_.Clear();
    return 0;
}

} // namespace zib::ulvarf
