#pragma once

#include "ui/texts/ZibLanguage.h"

#include <string>

namespace zib {

// Run-time messages of every subsystem, numbered 0 to 120, each in English,
// Italian and German (entry message x 3 + language). Numbers without a text
// read as an empty string. The caller shows the text in a message box whose
// caption names the failing operation.
inline constexpr int kZibMessageCount = 121;

// Text of `message` in `language`. A language outside 0..2 reads English; a
// number outside 0..120 reads "". The reference stays valid for the whole run.
const std::string& ZibMessage(int message, int language);

} // namespace zib
