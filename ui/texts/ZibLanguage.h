#pragma once

#include <array>
#include <string_view>

namespace zib {

// UI languages. The index is stored in the setting AppLanguage and selects the
// column of the message table and of the UI text catalogue.
inline constexpr int kLanguageEnglish = 0;
inline constexpr int kLanguageItalian = 1;
inline constexpr int kLanguageGerman = 2;
inline constexpr int kLanguageCount = 3; // columns of the text tables

// Commands of the "View Other Language" popup.
inline constexpr int kLanguageCommandFirst = 32993;
inline constexpr int kLanguageCommandLast = 32996;

// One entry of the "View Other Language" popup.
struct ZibLanguageInfo {
    int index;                   // language index; French (3) reads as English
    int commandId;               // 32993 .. 32996
    std::string_view menuText;   // English menu label; translate with UiText
    int localeId;                // Windows locale id the language stands for
    std::string_view localeName; // the same locale as a POSIX name
    bool selectable;             // false: the item is always greyed
};

inline constexpr std::array<ZibLanguageInfo, 4> kZibLanguages{{
    {kLanguageEnglish, 32993, "&English", 2057, "en_GB", true},
    {kLanguageItalian, 32994, "Italian", 1040, "it_IT", true},
    {kLanguageGerman, 32995, "German", 1031, "de_DE", true},
    {3, 32996, "French", 2057, "en_GB", false},
}};

// The text column a stored language index reads: 0..2 as they are, anything
// else (a stored 3 or 4, a negative value) English, so no lookup ever leaves
// its column.
constexpr int ZibTextLanguage(int language)
{
    return language >= 0 && language < kLanguageCount ? language : kLanguageEnglish;
}

// The language a command of the popup selects: 32993..32995 their own, French
// and every other id English.
constexpr int ZibLanguageForCommand(int commandId)
{
    if (commandId < kLanguageCommandFirst || commandId > kLanguageCommandLast) return kLanguageEnglish;
    return ZibTextLanguage(commandId - kLanguageCommandFirst);
}

} // namespace zib
