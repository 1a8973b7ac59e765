#pragma once

#include "platform/ByteWriter.h"

#include <cstdint>
#include <optional>
#include <span>

namespace zib {

// The head of every item file: "DASK" and a model letter (5 bytes).
inline constexpr size_t kItemFileHeadSize = 5;

// The largest item container read for opening or import (far above 2000 programs).
inline constexpr size_t kMaxItemContainer = 256u << 20;

// The model letter of an item file; nullopt when the bytes are shorter than
// the head or do not begin with "DASK".
std::optional<uint8_t> ReadItemFileHead(std::span<const uint8_t> bytes);
void WriteItemFileHead(ByteWriter& out, uint8_t modelLetter);

} // namespace zib
