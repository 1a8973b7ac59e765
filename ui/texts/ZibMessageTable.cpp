#include "ui/texts/ZibMessageTable.h"

#include "ui/texts/TextTableData.h"

#include <iterator>
#include <vector>

namespace zib {

const std::string& ZibMessage(int message, int language)
{
    static const std::vector<std::string> table(std::begin(texts::data::kMessageTexts),
                                                std::end(texts::data::kMessageTexts));
    static const std::string none;
    // Range-check before the multiplication: any int may come in.
    if (message < 0 || message >= kZibMessageCount) return none;
    return table[size_t(message) * kLanguageCount + size_t(ZibTextLanguage(language))];
}

} // namespace zib
