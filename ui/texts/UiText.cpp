#include "ui/texts/UiText.h"

#include "ui/texts/TextTableData.h"

#include <array>
#include <functional>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

namespace zib {

namespace {

// The compiled catalogue as strings, indexed by the English key.
class UiTextCatalogue {
public:
    UiTextCatalogue()
    {
        rows_.reserve(texts::data::kUiTexts.size());
        for (const auto& data : texts::data::kUiTexts) {
            auto& row = rows_.emplace_back();
            for (size_t language = 0; language < row.size(); ++language)
                row[language] = std::string(data.texts[language]);
        }
        // rows_ is never resized again, so the keys may view into it.
        for (size_t i = 0; i < rows_.size(); ++i)
            byEnglish_.emplace(rows_[i][0], i);
    }

    const std::string* find(std::string_view english, int language) const
    {
        const auto it = byEnglish_.find(english);
        return it == byEnglish_.end() ? nullptr : &rows_[it->second][size_t(language)];
    }

private:
    std::vector<std::array<std::string, kLanguageCount>> rows_;
    std::unordered_map<std::string_view, size_t> byEnglish_;
};

const UiTextCatalogue& catalogue()
{
    static const UiTextCatalogue instance;
    return instance;
}

// Keys without an entry, kept so that a reference to them can be returned.
const std::string& keepUnknownText(std::string_view english)
{
    static std::mutex mutex;
    static std::set<std::string, std::less<>> unknown;
    const std::lock_guard lock(mutex);
    auto it = unknown.find(english);
    if (it == unknown.end()) it = unknown.emplace(english).first;
    return *it;
}

} // namespace

const std::string& UiText(std::string_view english, int language)
{
    if (const std::string* text = catalogue().find(english, ZibTextLanguage(language))) return *text;
    return keepUnknownText(english);
}

bool HasUiText(std::string_view english)
{
    return catalogue().find(english, kLanguageEnglish) != nullptr;
}

} // namespace zib
