#pragma once

#include "docs/style/core/CItemInfo.h"
#include "docs/style/core/CQePrfItem.h"
#include "docs/style/core/CStyItem.h"
#include "docs/style/core/StyNotice.h"
#include "ulvarf/ulvarf.h"

#include <cstdint>
#include <span>

namespace zib {

// Builders that fill an item from a Wq image or from one resource of an open
// Qe container. Each reports its failures through `notices` (caption
// "GetItem" or "GetQEItem") and returns false, leaving the item without data.

// Wq style: a copy of the style image. The name is the first 10 ('9', '<',
// 'H') or 16 ('I', 'M') bytes, or "empty     " / "InitStyle      " for the
// empty placeholders of 1168 / 1176 bytes, trimmed.
bool GetItem(CStyItem& item, std::span<const uint8_t> image, uint32_t model, const StyNoticeSink& notices);

// Wq program (drumKit false): a copy of the 164-byte ('9', '<', 'H') or
// 172-byte ('I', 'M') record. Drum kit: accepted only for file kind 3 with
// '9', '<', 'H' (a 1484-byte block, the record's first 164 bytes copied) or
// file kind 11 with 'I', 'M' (1052 bytes, 172 copied); the caller copies the
// kit's map behind the record. The name is the record's first bytes trimmed
// to the model's width. False for a record too short or a refused pair.
bool GetItem(CItemInfo& item, std::span<const uint8_t> record, uint32_t model, int fileKind, bool drumKit,
             const StyNoticeSink& notices);

// Qe style, STS block or pad (kind 2, 7, 9) from resource `index`: its
// serialised instance (STS decompressed), and for styles and pads the model
// ('F' version 0, 'X' version 1), version, release, signatures and sounds.
// The name is cleared: the caller names the item from its bank entry. A
// style of any other version is refused without a message: the caller says
// that the format is not supported.
enum class QeItemBuild { Built, Failed, UnsupportedVersion };
QeItemBuild GetQEItem(CStyItem& item, ULRFContainer* container, int index, uint32_t kind,
                      const StyNoticeSink& notices);

// Qe program (compressed) and performance (decompressed, type byte 1 put back)
// from resource `index`, with the given model letter.
bool GetQEItem(CItemInfo& item, ULRFContainer* container, int index, uint32_t model, const StyNoticeSink& notices);
bool GetQEItemUnComp(CQePrfItem& item, ULRFContainer* container, int index, uint32_t model,
                     const StyNoticeSink& notices);

// Fills `signatures` and `sounds` from the item's own data (a serialised Qe
// style or pad); 1, or 0 when the resource or the style editor cannot be made.
int AddSoundInfo(CStyItem& item);

// Reads the signatures and sounds of every element through a style editor.
void ReadStyleSummary(ULStEEditor* editor, CStyItem& item);

} // namespace zib
