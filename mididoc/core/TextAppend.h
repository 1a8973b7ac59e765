#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zib {

// printf-style pieces appended to one text buffer, for the dumps and cell
// texts that write many numbers (std::to_chars underneath, no format parsing).

// "%*d" / "%-*d" / "%0*d" of a signed value; width 0 = no padding
void AppendSigned(std::string& out, int64_t value, int width = 0, bool left = false, bool zeros = false);
// "%*u" / "%-*u" / "%0*u" of an unsigned value
void AppendUnsigned(std::string& out, uint64_t value, int width = 0, bool left = false, bool zeros = false);
// "%*s" / "%-*s"
void AppendPadded(std::string& out, std::string_view text, int width, bool left);
// "%02x" / "%02X"
void AppendHex2(std::string& out, uint8_t value, bool upper = false);
// "%3d:%02d:%03d" of measure + 1, beat + 1 and tick (all counted from 0)
void AppendPosition(std::string& out, uint32_t measure, uint32_t beat, uint32_t tick);

} // namespace zib
