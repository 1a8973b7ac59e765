#include "docs/style/gui/StyleDocTools.h"

namespace zib {

StyleDocTools& GetStyleDocTools()
{
    static StyleDocTools tools;
    return tools;
}

} // namespace zib
