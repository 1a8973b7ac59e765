#pragma once

#include "docs/style/core/CItemInfo.h"

#include <cstdint>
#include <span>

namespace zib {

// An arrangement of a Wq arrangement file: the item base with one record as
// its data (131 bytes for '9', '<', 'H'; 164 for 'M'; 164 or 194 for 'I').
class CArrItem : public CItemInfo {};

// Record size of an arrangement of the model: 131 for '9', '<', 'H', 164 for
// 'M', for 'I' 164 in record mode 1 and 194 in mode 2; 0 for other models.
size_t ArrRecordSize(int model, int recordMode);

// Fills `item` from a record of a loaded image: a copy of the model's record
// size (0 for no Wq model: false), its first 18 bytes as the name, trimmed
// to the model's width, model and size set. False when the record is shorter.
bool GetArrItem(CArrItem& item, std::span<const uint8_t> record, int model, int recordMode);

} // namespace zib
