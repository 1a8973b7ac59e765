#include "app/core/CopyrightDlgModel.h"

#include "ui/core/FormatText.h"
#include "ui/texts/UiText.h"

namespace zib {

std::string CopyrightDlgModel::Caption(std::string_view appName, int language)
{
    return FormatText(UiText("%s - Copyright Dialog", language), {appName});
}

bool CopyrightDlgModel::Ok(std::string_view typed)
{
    const std::string_view blanks = " \t\r\n\v\f";
    size_t first = typed.find_first_not_of(blanks);
    if (first == std::string_view::npos) return false;
    size_t last = typed.find_last_not_of(blanks);
    name_ = std::string(typed.substr(first, last - first + 1));
    return true;
}

} // namespace zib
