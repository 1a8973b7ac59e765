#pragma once

#include "ui/texts/ZibMessageTable.h"

#include <span>
#include <string_view>

// The tables compiled from data/lang/*.tsv by the build (ZibTextData.cpp in
// the build folder). Read them through ZibMessage and UiText.
namespace zib::texts::data {

// One catalogue row: English key, Italian, German.
struct UiTextData {
    std::string_view texts[kLanguageCount];
};

// Entry message x 3 + language; empty where a message has no text.
extern const std::string_view kMessageTexts[kZibMessageCount * kLanguageCount];

// Every catalogue row, in file order.
extern const std::span<const UiTextData> kUiTexts;

} // namespace zib::texts::data
