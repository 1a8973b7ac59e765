#include "ui/CMultiExtDocTemplate.h"

namespace zib {

std::string CMultiExtDocTemplate::GetDocString(DocStringIndex index) const
{
    return MultiExtDocStringField(docString_, index);
}

} // namespace zib
