#include "tests/support/WqImageBuilder.h"

#include <algorithm>
#include <cstddef>

namespace zib::test {

// Layout A offsets; layout B adds 6 bytes of name and 2 head bytes (fields
// from the tempo on: the origin moves by 6, tempo onwards by 8).
namespace {
constexpr size_t kTempo = 11, kTimeSig = 12, kRetrigger = 13, kWrap = 14, kTension = 18;
constexpr size_t kTracks = 38, kCvs = 62, kChords = 134, kPatterns = 334, kOffsets = 534;
} // namespace

WqImageBuilder::WqImageBuilder(char model) : model_(model), head_(headSize(), 0)
{
    name("NEW STYLE");
    tempo(120);
    timeSig(19);
    // Free pattern entries carry 4/4 and length 0.
    for (int k = 0; k < 100; ++k) head_[shift(kPatterns) + 2 * size_t(k)] = 19;
}

WqImageBuilder WqImageBuilder::fromEmptyItem(char model)
{
    WqImageBuilder b(model);
    std::fill(b.head_.begin(), b.head_.end(), uint8_t(0));
    b.name(b.layoutB() ? "InitStyle" : "empty");
    if (b.layoutB()) b.head_[16] = 15;
    for (int k = 0; k < 100; ++k) {
        b.head_[b.shift(kPatterns) + 2 * size_t(k)] = 0x13;
        b.head_[b.shift(kPatterns) + 2 * size_t(k) + 1] = 0x04;
    }
    return b;
}

WqImageBuilder& WqImageBuilder::name(const std::string& text)
{
    size_t width = layoutB() ? 16 : 10;
    for (size_t i = 0; i < width; ++i) head_[i] = i < text.size() ? uint8_t(text[i]) : uint8_t(' ');
    return *this;
}

WqImageBuilder& WqImageBuilder::origin(uint8_t value)
{
    head_[layoutB() ? 16 : 10] = value;
    return *this;
}

WqImageBuilder& WqImageBuilder::tempo(int bpm)
{
    head_[shift(kTempo)] = uint8_t(bpm - 30);
    return *this;
}

WqImageBuilder& WqImageBuilder::timeSig(uint8_t code, bool lowResolution)
{
    head_[shift(kTimeSig)] = uint8_t((code & 0x7F) | (lowResolution ? 0x80 : 0));
    return *this;
}

WqImageBuilder& WqImageBuilder::retrigger(uint8_t bits)
{
    head_[shift(kRetrigger)] = bits;
    return *this;
}

WqImageBuilder& WqImageBuilder::wrapAround(int index, uint8_t value)
{
    head_[shift(kWrap) + size_t(index)] = value;
    return *this;
}

WqImageBuilder& WqImageBuilder::tension(uint8_t bits)
{
    head_[shift(kTension)] = bits;
    return *this;
}

WqImageBuilder& WqImageBuilder::track(int t, uint16_t soundWord, uint8_t volume, uint8_t pan)
{
    size_t at = shift(kTracks) + 4 * size_t(t);
    head_[at] = uint8_t(soundWord);
    head_[at + 1] = uint8_t(soundWord >> 8);
    head_[at + 2] = volume;
    head_[at + 3] = pan;
    return *this;
}

WqImageBuilder& WqImageBuilder::cv(int element, int c, uint8_t keyByte, uint8_t bars)
{
    size_t at = shift(kCvs) + 2 * size_t(cvIndex(element, c));
    head_[at] = keyByte;
    head_[at + 1] = bars;
    return *this;
}

WqImageBuilder& WqImageBuilder::chordTable(int element, const std::array<uint8_t, 20>& entries)
{
    std::copy(entries.begin(), entries.end(), head_.begin() + std::ptrdiff_t(shift(kChords) + 20 * size_t(element)));
    return *this;
}

WqImageBuilder& WqImageBuilder::slot(int element, int c, int t, const WqEvents& events)
{
    return slotBytes(slotOf(element, c, t), bytesOf(events));
}

WqImageBuilder& WqImageBuilder::slotBytes(int s, const std::vector<uint8_t>& bytes)
{
    slots_[s] = bytes;
    return *this;
}

WqImageBuilder& WqImageBuilder::pattern(int number, uint8_t timeSig, uint8_t bars, const WqEvents& events)
{
    size_t at = shift(kPatterns) + 2 * size_t(number);
    head_[at] = timeSig;
    head_[at + 1] = bars;
    patterns_[number] = bytesOf(events);
    return *this;
}

WqImageBuilder& WqImageBuilder::headByte(size_t offset, uint8_t value)
{
    pokes_[offset] = value;
    return *this;
}

std::vector<uint8_t> WqImageBuilder::bytesOf(const WqEvents& events)
{
    std::vector<uint8_t> bytes;
    for (const WqEv& e : events) bytes.insert(bytes.end(), e.b.begin(), e.b.end());
    return bytes;
}

std::vector<uint8_t> WqImageBuilder::build() const
{
    std::vector<uint8_t> image = head_;
    size_t offsets = shift(kOffsets);
    auto setEntry = [&](int entry, size_t value) {
        image[offsets + 2 * size_t(entry)] = uint8_t(value);
        image[offsets + 2 * size_t(entry) + 1] = uint8_t(value >> 8);
    };
    for (int s = 0; s < 216; ++s) {
        setEntry(s, image.size());
        auto it = slots_.find(s);
        if (it != slots_.end()) image.insert(image.end(), it->second.begin(), it->second.end());
    }
    for (int k = 0; k < 100; ++k) {
        setEntry(216 + k, image.size());
        auto it = patterns_.find(k);
        if (it != patterns_.end()) image.insert(image.end(), it->second.begin(), it->second.end());
    }
    setEntry(316, image.size());
    for (const auto& [offset, value] : pokes_)
        if (offset < image.size()) image[offset] = value;
    return image;
}

} // namespace zib::test
