#pragma once

#include "ui/texts/TextTableReader.h"

#include <string>
#include <vector>

namespace zib::texts {

// The C++ source that defines the tables of TextTableData.h from the rows of
// messages.tsv and ui.tsv. Message numbers without a row get empty texts.
std::string textTablesSource(const std::vector<MessageRow>& messages, const std::vector<UiTextRow>& uiTexts);

} // namespace zib::texts
