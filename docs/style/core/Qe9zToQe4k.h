#pragma once

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/StyNotice.h"

#include <cstdint>
#include <span>

namespace zib {

// The Qe4k form of a Qe9z style. Both passes take the style's uncompressed
// serialised instance (8-byte instance head, wrapper chunk 06, style
// container 01 with the version in byte 17 and the release in byte 18,
// header record, pattern container with its pattern list and pattern chunks,
// element chunks) and walk it with the same checks; a failed check gives no
// result. The Qe4k form keeps elements 0-9 (mask bits 10-15 cleared, the
// chunks of elements 10 and 11 left out), cuts the pattern list to the R
// uses that the chord variations of elements 0-9 count, carries over only
// the pattern chunks those uses name (renumbered in their new order so that
// every use still finds its chunk), re-encodes them without VexSound events
// (CSmfTrackReader), and corrects every track sound to the Qe4k sounds
// (ValidateQeSoundAddress). A named chunk of which the re-encoding keeps no
// event is left out like an unnamed one, and the uses that named it become 0
// (no pattern).

// The 16-bit element mask of a style wrapper chunk (the chunk at instance
// offset 8, to the end of the instance): 0 when it is compressed (flag bit
// 0x20) or too short to hold its header record's mask.
uint16_t GetStyleElementMask(std::span<const uint8_t> chunk);

// The length of the Qe4k form, 0 when the input is not as expected.
uint32_t GetQe9zToQe4kSize(std::span<const uint8_t> instance);

// Writes the Qe4k form into `out`; `newLength` must be what the size pass
// returned and `out` at least that long. 1 when written, 0 when not.
int BuildQe4kStyleChunk(std::span<const uint8_t> instance, std::span<uint8_t> out, uint32_t newLength);

// A Qe9z style (serialised resource instance, compressed or not) in its
// Qe4k form: the two passes over its uncompressed instance, then a fresh
// resource from the style editor. Empty when the style cannot be rewritten.
std::vector<uint8_t> ConvertQe9zStyleToQe4k(std::span<const uint8_t> style);

// The item conversion 'X' -> 'F': nothing for a Qe4k item (model 'F' or
// version 0); -1 for a model other than 'X'; -3 when the style cannot be
// rewritten, the item as it was (the caller says "Error while converting
// item!"). On success the item holds the new style, compressed, with model
// 'F' and version 0.
int ConvertQe9zToQE4K(CStyItem& item, const StyNoticeSink& notices);

} // namespace zib
