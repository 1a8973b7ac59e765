#include "docs/style/core/StyNotice.h"

#include "ui/core/FormatText.h"
#include "ui/texts/UiText.h"
#include "ui/texts/ZibMessageTable.h"

namespace zib {

std::string StyNotice::Localized(int language) const
{
    if (message >= 0) return ZibMessage(message, language);
    // No text of the documents takes more than three values.
    auto arg = [this](size_t i) { return i < args.size() ? std::string_view(args[i]) : std::string_view(); };
    return FormatText(UiText(text, language), {arg(0), arg(1), arg(2), arg(3)});
}

} // namespace zib
