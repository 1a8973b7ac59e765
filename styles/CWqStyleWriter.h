#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "styles/CWqStyleData.h"

namespace zib {

// Outcome of trying to store an image patternized.
enum class WqPatternizeResult {
    Written = 0,     // the patternized file was built (and written)
    BadImage,        // the image fails ValidateWqImage or holds patterns already
    NoPattern,       // no two tracks of one track number share their opening bars
    TooManyPatterns, // 200 or more candidate patterns
    NoGain,          // the patternized style would not be smaller
    TooLarge,        // the patternized style would be 65504 bytes or more
    WriteFailed,     // the file could not be written (nothing is left behind)
};

// Stores one Wq style image as a one-style Wq style file after moving track
// bars that repeat the opening bars of another track of the same track number
// into shared patterns (up to 100). A track refers to a pattern by bar events
// marked 11 (first bar) and 10 (further bars) carrying the pattern number; the
// bars a pattern covers hold no other events in the track.
//
// The file is built in memory and written in one go; declining or failing
// leaves no file behind, and the caller then writes the image unpatternized.
class CWqStyleWriter : public CWqStyleData {
public:
    CWqStyleWriter() = default;
    CWqStyleWriter(const uint8_t* image, size_t size, uint32_t model) : CWqStyleData(image, size, model) {}

    // 1 when the patternized file was written (GetNewSize() holds the new image
    // size), 0 when patternization was declined or failed.
    int WriteFile(const std::filesystem::path& path);

    // The same in memory: the whole file (file head + image) into `file`.
    WqPatternizeResult BuildPatternized(std::vector<uint8_t>& file);
    WqPatternizeResult GetLastResult() const { return lastResult_; }
    uint32_t GetNewSize() const { return newSize_; }
    int GetPatternCount() const { return patternCount_; }

    // The file head of a one-style file of this image (96 bytes for layout A,
    // 224 for layout B) and the unpatternized file (head + image).
    static std::vector<uint8_t> MakeFileHead(uint32_t model, std::span<const uint8_t> name, uint32_t imageSize);
    static std::vector<uint8_t> MakeUnpatternizedFile(uint32_t model, std::span<const uint8_t> image);

    // Number of leading bars in which track b repeats track a (0 = share nothing).
    static int CompareBars(std::span<const uint8_t> a, std::span<const uint8_t> b);

private:
    struct SlotPattern {
        int pattern = -1;
        int bars = 0;
    };
    struct PatternEntry {
        int initial = 0;
        int finalNumber = -1;
        int references = 0;
    };

    // Steps of the patternization
    WqPatternizeResult SearchPatterns();
    void ChoosePatterns();
    bool IsWorthIt() const;
    WqPatternizeResult BuildImage(std::vector<uint8_t>& image);

    // Track forms
    static size_t PrefixSize(std::span<const uint8_t> run, int bars);
    static void AppendReferencing(std::vector<uint8_t>& out, std::span<const uint8_t> run, int pattern, int bars);
    static bool AppendPattern(std::vector<uint8_t>& out, std::span<const uint8_t> run, int bars, uint8_t& timeSig);
    int SourceSlotOf(int pattern) const;

    std::array<SlotPattern, 216> slots_{};
    std::vector<PatternEntry> patterns_;
    int patternCount_ = 0;
    uint32_t newSize_ = 0;
    WqPatternizeResult lastResult_ = WqPatternizeResult::NoPattern;
};

} // namespace zib
