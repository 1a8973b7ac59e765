#include "mididoc/core/EventCellEditModel.h"

#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"

#include <algorithm>
#include <cstdio>

namespace zib {

namespace {

constexpr uint32_t kMaxTime = 0x7FFFFFFF;
constexpr int kMaxWheel = 16383;
constexpr uint32_t kDurationMeasures = 16; // a duration step keeps the end inside the first 16 measures
constexpr size_t kTextLimit = 255;
constexpr size_t kCommittedTextLimit = 256;
constexpr size_t kShortenedText = 252;

std::string leftAligned(uint64_t value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%-*llu", width, static_cast<unsigned long long>(value));
    return buffer;
}

// The number at the start of at most `maxChars` characters of the text, as a
// C library reads it: leading blanks, then digits. 0 when there is none.
uint64_t leadingNumber(std::string_view text, size_t maxChars)
{
    text = text.substr(0, maxChars);
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + uint64_t(text[i] - '0');
    return value;
}

bool isDigit(char32_t c)
{
    return c >= '0' && c <= '9';
}

bool isEnter(char32_t c)
{
    return c == '\r' || c == '\n';
}

constexpr char32_t kBackspace = 8;

} // namespace

EventCellEditModel::EventCellEditModel(const CellEditStart& start, const MeasureContext* context)
    : start_(start), context_(context), time_(start.time), channel_(start.channel), data1_(start.data1),
      data2_(start.data2), wheel_(start.data2 * 128 + start.data1), duration_(start.duration)
{
}

bool EventCellEditModel::isText() const
{
    return start_.column == 5 && start_.statusClass >= 0xF0;
}

bool EventCellEditModel::isPitchWheel() const
{
    return start_.column == 5 && start_.statusClass == 0xE0;
}

bool EventCellEditModel::isNote() const
{
    return start_.column == 5 && (start_.statusClass == 0x80 || start_.statusClass == 0x90);
}

std::string EventCellEditModel::endText(uint32_t endTick) const
{
    if (!context_) return {};
    const PositionRecord end = context_->FromTick(endTick);
    if (start_.ownerKind == 2 && end.bar >= kDurationMeasures) return "???:??:???";
    return FormatPositionText(end);
}

std::optional<EventCellEditModel> EventCellEditModel::Start(const CellEditStart& start, const MeasureContext* context)
{
    EventCellEditModel m(start, context);
    switch (start.column) {
    case 1:
        m.text_ = leftAligned(start.time, 8);
        m.limit_ = 8;
        m.hasSpin_ = true;
        m.spinMax_ = int(kMaxTime);
        m.spinPosition_ = int(start.time & 0xFFFF);
        break;
    case 2:
        if (!context) return std::nullopt;
        m.text_ = FormatPositionText(context->FromTick(start.time));
        m.limit_ = 10;
        m.hasSpin_ = true;
        m.spinMax_ = int(kMaxTime);
        break;
    case 3:
        m.text_ = leftAligned(start.channel, 2);
        m.limit_ = 2;
        m.readOnly_ = true;
        m.hasSpin_ = true;
        m.spinMin_ = 1;
        m.spinMax_ = 16;
        m.spinPosition_ = start.channel;
        break;
    case 5:
        if (m.isText()) {
            // A long text is shown shortened; the start text tells the list
            // that an unchanged Enter changes nothing.
            const std::string& bytes = start.dataBytes;
            m.startText_ = bytes.size() >= kTextLimit ? bytes.substr(0, kShortenedText) + "..." : bytes;
            m.text_ = cp1252ToUtf8(m.startText_);
            m.limit_ = kTextLimit;
        } else if (m.isNote()) {
            m.text_ = GetNoteOctaveText(start.data1, 0);
            m.readOnly_ = true;
            m.hasSpin_ = true;
            m.spinMax_ = 127;
            m.spinPosition_ = start.data1;
        } else if (m.isPitchWheel()) {
            m.text_ = std::to_string(m.wheel_);
            m.hasSpin_ = true;
            m.spinMax_ = kMaxWheel;
            m.spinPosition_ = m.wheel_;
        } else {
            m.text_ = leftAligned(start.data1, 3);
            m.limit_ = 3;
            m.hasSpin_ = true;
            m.spinMax_ = 127;
            m.spinPosition_ = start.data1;
        }
        break;
    case 6:
        m.text_ = leftAligned(start.data2, 3);
        m.limit_ = 3;
        m.hasSpin_ = true;
        m.spinMax_ = 127;
        m.spinPosition_ = start.data2;
        break;
    case 7:
        if (!context) return std::nullopt;
        m.text_ = leftAligned(start.duration, 8);
        m.limit_ = 8;
        m.hasSpin_ = true;
        m.spinMax_ = int(kMaxTime);
        m.spinPosition_ = int(start.duration & 0xFFFF);
        break;
    default:
        return std::nullopt;
    }
    return m;
}

bool EventCellEditModel::AcceptsChar(char32_t c) const
{
    if (start_.column == 2) return isDigit(c) || c == ':' || c == kBackspace || isEnter(c);
    if (isText()) return true;
    return isDigit(c) || c == kBackspace || isEnter(c);
}

std::optional<EventCellEditModel::Correction> EventCellEditModel::TextChanged(std::string_view text)
{
    if (start_.column == 1) {
        const uint64_t value = leadingNumber(text, 9);
        if (value < kMaxTime) time_ = uint32_t(value);
        spinPosition_ = int(time_ & 0xFFFF);
        return std::nullopt;
    }
    if (isPitchWheel()) {
        const uint64_t value = leadingNumber(text, 5);
        if (value <= uint64_t(kMaxWheel)) {
            wheel_ = int(value);
            spinPosition_ = wheel_;
            return std::nullopt;
        }
        // Over the wheel's range: cut to four characters, which always fit.
        Correction cut{std::string(text.substr(0, 4)), true};
        wheel_ = int(leadingNumber(cut.text, 4));
        spinPosition_ = wheel_;
        return cut;
    }
    const bool dataByte = (start_.column == 5 && !isText() && !isNote()) || start_.column == 6;
    if (!dataByte) return std::nullopt;
    int& value = start_.column == 6 ? data2_ : data1_;
    const uint64_t typed = leadingNumber(text, 3);
    if (typed <= 127) {
        value = int(typed);
        spinPosition_ = value;
        return std::nullopt;
    }
    // Over 127: the last character goes ("200" leaves "20").
    Correction cut{std::string(text.substr(0, text.empty() ? 0 : text.size() - 1)), true};
    value = int(std::min<uint64_t>(leadingNumber(cut.text, 3), 127));
    spinPosition_ = value;
    return cut;
}

std::string EventCellEditModel::Spin(int step, std::string_view text)
{
    const bool up = step > 0;
    switch (start_.column) {
    case 1: {
        const uint64_t t = leadingNumber(text, 9);
        time_ = uint32_t(up ? std::min<uint64_t>(t + 1, kMaxTime) : (t > 0 ? t - 1 : 0));
        return leftAligned(time_, 8);
    }
    case 2: {
        if (!context_) return std::string(text);
        const PositionRecord p = ParsePositionText(text, context_);
        time_ = up ? std::min(p.tick + 1, kMaxTime) : (p.tick > 0 ? p.tick - 1 : 0);
        return FormatPositionText(context_->FromTick(time_));
    }
    case 3:
        channel_ = std::clamp(channel_ + (up ? 1 : -1), 1, 16);
        spinPosition_ = channel_;
        return leftAligned(uint64_t(channel_), 2);
    case 5:
        if (isText()) return std::string(text);
        if (isNote()) {
            data1_ = std::clamp(spinPosition_ + (up ? 1 : -1), 0, 127);
            spinPosition_ = data1_;
            return GetNoteOctaveText(data1_, 0);
        }
        if (isPitchWheel()) {
            wheel_ = int(std::clamp<int64_t>(int64_t(leadingNumber(text, 5)) + (up ? 1 : -1), 0, kMaxWheel));
            spinPosition_ = wheel_;
            return leftAligned(uint64_t(wheel_), 5);
        }
        data1_ = int(std::clamp<int64_t>(int64_t(leadingNumber(text, 3)) + (up ? 1 : -1), 0, 127));
        spinPosition_ = data1_;
        return leftAligned(uint64_t(data1_), 2);
    case 6:
        data2_ = int(std::clamp<int64_t>(int64_t(leadingNumber(text, 3)) + (up ? 1 : -1), 0, 127));
        spinPosition_ = data2_;
        return leftAligned(uint64_t(data2_), 2);
    case 7: {
        uint64_t d = leadingNumber(text, 9);
        if (up) {
            const uint64_t next = uint64_t(start_.time) + d + 1;
            if (context_ && next <= kMaxTime && context_->FromTick(uint32_t(next)).bar < kDurationMeasures) ++d;
        } else if (d > 0) {
            --d;
        }
        duration_ = uint32_t(std::min<uint64_t>(d, kMaxTime));
        spinPosition_ = int(duration_ & 0xFFFF);
        durationEnd_ = endText(uint32_t(std::min<uint64_t>(uint64_t(start_.time) + duration_, kMaxTime)));
        return leftAligned(duration_, 8);
    }
    default:
        return std::string(text);
    }
}

bool EventCellEditModel::Parses(std::string_view text) const
{
    // Text events take any text; the channel and note cells are only stepped.
    if (readOnly_ || isText()) return true;
    return std::any_of(text.begin(), text.end(), [](char c) { return isDigit(char32_t(c)); });
}

CellEditResult EventCellEditModel::Ok(std::string_view text) const
{
    CellEditResult r;
    r.row = start_.row;
    r.column = start_.column;
    r.time = start_.time;
    r.channel = uint8_t(channel_);
    r.data1 = uint8_t(data1_);
    r.data2 = uint8_t(data2_);
    r.duration = duration_;
    switch (start_.column) {
    case 1:
        r.time = uint32_t(std::min<uint64_t>(leadingNumber(text, 9), kMaxTime));
        break;
    case 2:
        if (context_) r.time = ParsePositionText(text.substr(0, 10), context_).tick;
        break;
    case 5:
        if (isText()) {
            r.startText = startText_;
            r.text = utf8ToCp1252(text).substr(0, kCommittedTextLimit);
        } else if (isPitchWheel()) {
            const int value = int(std::min<uint64_t>(leadingNumber(text, 6), uint64_t(kMaxWheel)));
            r.data1 = uint8_t(value & 127);
            r.data2 = uint8_t((value >> 7) & 127);
        } else if (!isNote()) {
            r.data1 = uint8_t(std::min<uint64_t>(leadingNumber(text, 4), 127));
        }
        break;
    case 6:
        r.data2 = uint8_t(std::min<uint64_t>(leadingNumber(text, 4), 127));
        break;
    case 7:
        // The typed duration counts as well as a stepped one.
        r.duration = uint32_t(std::min<uint64_t>(leadingNumber(text, 9), kMaxTime));
        break;
    default:
        break;
    }
    return r;
}

} // namespace zib
