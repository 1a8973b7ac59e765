#include "mididoc/core/PositionDlgModels.h"

#include <algorithm>
#include <cstdio>

namespace zib {

std::optional<int32_t> ParseDialogInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    size_t digits = 0;
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        v = v * 10 + (text[i] - '0');
        if (v > int64_t(1) << 32) return std::nullopt;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (digits == 0 || i != text.size()) return std::nullopt;
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return int32_t(v);
}

std::string FormatPositionText(const PositionRecord& p)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%3u:%02u:%03u", p.bar + 1, p.beat + 1, p.tickInBeat);
    return buf;
}

PositionRecord ParsePositionText(std::string_view text, const MeasureContext* context)
{
    text = text.substr(0, text.find_first_of("\r\n"));
    uint32_t parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        size_t colon = text.find(':');
        std::string_view part = text.substr(0, colon);
        if (auto v = ParseDialogInt(part); v && *v > 0) parts[i] = uint32_t(*v);
        if (colon == std::string_view::npos) break;
        text = text.substr(colon + 1);
    }
    PositionRecord p;
    p.bar = parts[0] > 0 ? parts[0] - 1 : 0;
    p.beat = parts[1] > 0 ? parts[1] - 1 : 0;
    p.tickInBeat = parts[2];
    if (!context) return p;
    p.tick = context->ToTick(p.bar, p.beat, p.tickInBeat);
    PositionRecord normal = context->FromTick(p.tick);
    normal.tick = p.tick;
    return normal;
}

int TimeSignatureDlgModel::BeatValueEntry() const
{
    for (size_t i = 0; i < kBeatValues.size(); ++i)
        if (kBeatValues[i] == beatValue) return int(i);
    return -1;
}

void TimeSignatureDlgModel::Ok(std::string_view measureText, std::string_view beatsText, int beatValueEntry)
{
    auto clamped = [](std::string_view text, int hi) {
        return std::clamp(ParseDialogInt(text).value_or(1), 1, hi);
    };
    if (!measureFixed) measure = uint32_t(clamped(measureText, kMaxMeasure) - 1);
    beatsPerMeasure = uint8_t(clamped(beatsText, kMaxBeats));
    if (beatValueEntry >= 0 && beatValueEntry < int(kBeatValues.size()))
        beatValue = uint8_t(1 << beatValueEntry);
}

PositionValueDlgModel::PositionValueDlgModel(int value, int lower, int upper)
    : value_(value), lower_(lower), upper_(upper), start_(value), lastValid_(value)
{
}

PositionValueDlgModel::Layout PositionValueDlgModel::Place(const Rect& cell, int spinWidth, int spinHeight)
{
    const int wider = std::max(0, spinWidth - kSpinWidth);
    const int taller = std::max(0, spinHeight - kSpinHeight);
    Layout l;
    l.dialog = {cell.x, cell.y, std::max(45, cell.width) + wider, std::max(26 + taller, cell.height)};
    l.edit = {2, (l.dialog.height - 16) / 2, l.dialog.width - 20 - wider, 16};
    l.spin = {l.edit.x + l.edit.width + 3, (l.dialog.height - spinHeight) / 2, spinWidth, spinHeight};
    return l;
}

std::optional<std::string> PositionValueDlgModel::EditChanged(std::string_view text)
{
    if (!initialised_) return std::nullopt;
    int n = ParseDialogInt(text).value_or(0);
    if (n > upper_) return std::to_string(lastValid_);
    lastValid_ = n & 0xFF;
    return std::nullopt;
}

bool PositionValueDlgModel::Commit(int spinPosition)
{
    if (cancelled_) return false;
    value_ = std::clamp(spinPosition & 0xFF, lower_, upper_);
    return value_ != start_;
}

void PositionValueDlgModel::Cancel()
{
    cancelled_ = true;
    value_ = start_;
}

} // namespace zib
