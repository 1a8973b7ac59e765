#include "docs/program/core/ScaleDlgModel.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace zib {

ScaleDlgModel::ScaleDlgModel(int scale, const std::array<uint8_t, 12>& bytes) : scale_(scale)
{
    for (size_t i = 0; i < 12; ++i)
        values_[i] = int8_t(bytes[i]);
}

std::string ScaleDlgModel::Label() const
{
    char text[24];
    std::snprintf(text, sizeof text, "UserScale %02d", scale_ + 1);
    return text;
}

bool ScaleDlgModel::SetText(int note, const std::string& text)
{
    int v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || v < -128 || v > 127) return false;
    values_[size_t(note)] = v;
    return true;
}

void ScaleDlgModel::SetValue(int note, int value)
{
    values_[size_t(note)] = std::clamp(value, -128, 127);
}

std::array<uint8_t, 12> ScaleDlgModel::Ok() const
{
    std::array<uint8_t, 12> out{};
    for (size_t i = 0; i < 12; ++i)
        out[i] = uint8_t(int8_t(values_[i]));
    return out;
}

} // namespace zib
