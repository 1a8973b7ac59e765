#include "docs/style/StyleDocTools.h"

namespace zib {

StyleDocTools& GetStyleDocTools()
{
    static StyleDocTools tools;
    return tools;
}

} // namespace zib
