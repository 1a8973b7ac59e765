#pragma once

#include "ui/core/WqStyleDlgModels.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace zib {

// How the property sheets and dialogs of the style and program documents
// end with OK: what their controls hold is written into the item's bytes,
// and the document is marked modified only when the bytes differ
// afterwards. An OK that changes nothing (pages looked at, a value put back
// as it was) so leaves the document unmarked and its bytes as they were.

// Runs `write` on `bytes` in place; true when they differ afterwards.
bool WriteChangesBytes(std::span<uint8_t> bytes, const std::function<void(std::span<uint8_t>)>& write);

// Puts `edited`, a working copy of `record`, into it when the two differ;
// true when it did.
bool PutBackWhenChanged(std::vector<uint8_t>& record, std::vector<uint8_t> edited);

// The Wq style item the kit's two Wq style dialogs (chord table, CV
// parameters) edit in place: their OK writes, then calls `setModified`,
// which here runs only when the item's bytes changed.
WqStyleItemRef WqDialogItemRef(uint32_t modelLetter, std::vector<uint8_t>& data,
                               std::function<void()> setModified);

} // namespace zib
