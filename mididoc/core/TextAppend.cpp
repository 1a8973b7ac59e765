#include "mididoc/core/TextAppend.h"

#include <charconv>

namespace zib {

namespace {

void appendDigits(std::string& out, std::string_view digits, bool negative, int width, bool left, bool zeros)
{
    const int length = int(digits.size()) + (negative ? 1 : 0);
    const int fill = width > length ? width - length : 0;
    if (!left && !zeros) out.append(size_t(fill), ' ');
    if (negative) out.push_back('-');
    if (!left && zeros) out.append(size_t(fill), '0');
    out.append(digits);
    if (left) out.append(size_t(fill), ' ');
}

} // namespace

void AppendSigned(std::string& out, int64_t value, int width, bool left, bool zeros)
{
    char buffer[24];
    const uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr;
    appendDigits(out, std::string_view(buffer, size_t(end - buffer)), value < 0, width, left, zeros);
}

void AppendUnsigned(std::string& out, uint64_t value, int width, bool left, bool zeros)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    appendDigits(out, std::string_view(buffer, size_t(end - buffer)), false, width, left, zeros);
}

void AppendPadded(std::string& out, std::string_view text, int width, bool left)
{
    const int fill = width > int(text.size()) ? width - int(text.size()) : 0;
    if (!left) out.append(size_t(fill), ' ');
    out.append(text);
    if (left) out.append(size_t(fill), ' ');
}

void AppendHex2(std::string& out, uint8_t value, bool upper)
{
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    out.push_back(digits[value >> 4]);
    out.push_back(digits[value & 15]);
}

void AppendPosition(std::string& out, uint32_t measure, uint32_t beat, uint32_t tick)
{
    // As "%d" takes them: 32-bit signed
    AppendSigned(out, int32_t(measure + 1), 3);
    out.push_back(':');
    AppendSigned(out, int32_t(beat + 1), 2, false, true);
    out.push_back(':');
    AppendSigned(out, int32_t(tick), 3, false, true);
}

} // namespace zib
