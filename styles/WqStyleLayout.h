#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "styles/StyleSeriesTraits.h"

namespace zib {

// Numbering and byte layout of a Wq-series style image.
//
// Two layouts share one structure; layout B (models 'I', 'M') has a 16-byte
// name and two more head bytes, so every field from the track records on lies
// 8 bytes later than in layout A (every other model letter):
//
//   field                          A      B     size
//   style name                     0      0     10 / 16
//   origin                         10     16    u8
//   tempo - 30                     11     19    u8
//   time-signature code | res.     12     20    u8 (bit 7: low resolution)
//   note retrigger bits 2-5        13     21    u8
//   wrap-around BASS..ACC3         14     22    4 x u8
//   tension bits 3-5               18     26    u8
//   track records 0-5              38     46    6 x {u16 sound, u8 vol, u8 pan}
//   CV records by cvIndex          62     70    36 x {u8 key, u8 bars}
//   chord tables per element       134    142   10 x 20
//   pattern table                  334    342   100 x {u8 tsig, u8 bars}
//   offset table                   534    542   317 x u16
//   event data                     1168   1176
//
// All numbers are little-endian. Events are 4 bytes each.
namespace wq {

// Model letters
constexpr uint32_t kModelWq8 = '9';
constexpr uint32_t kModelWq6 = '<';
constexpr uint32_t kModelWqT517 = 'H';
constexpr uint32_t kModelWq41 = 'I';
constexpr uint32_t kModelWqR65 = 'M';
constexpr std::array<uint32_t, 5> kModels = {kModelWq8, kModelWq6, kModelWqT517, kModelWq41, kModelWqR65};

// Counts
constexpr int kElementCount = 10;
constexpr int kCvSlotCount = 36;
constexpr int kTrackCount = 6;
constexpr int kTrackSlotCount = kCvSlotCount * kTrackCount; // 216
constexpr int kPatternCount = 100;
constexpr int kOffsetEntryCount = kTrackSlotCount + kPatternCount + 1; // 317
constexpr int kPatternEntryBase = kTrackSlotCount;                     // 216
constexpr int kEndEntry = kOffsetEntryCount - 1;                      // 316
constexpr int kChordTableSize = 20;
constexpr int kMaxCvBars = 16;
constexpr int kEventSize = 4;

// Event times: ticks from the bar start at 96 per quarter note; 510 marks a tie.
constexpr int kTicksPerQuarter = 96;
constexpr uint16_t kTie = 510;

// Largest style a keyboard accepts (file-head size fields are 16 bits).
constexpr uint32_t kMaxStyleSize = 0xFFE0;

struct Layout {
    uint32_t nameWidth;
    uint32_t origin;
    uint32_t tempo;
    uint32_t timeSig;
    uint32_t retrigger;
    uint32_t wrapAround;
    uint32_t tension;
    uint32_t trackRecords;
    uint32_t cvRecords;
    uint32_t chordTables;
    uint32_t patternTable;
    uint32_t offsetTable;
    uint32_t headSize;
};

constexpr Layout kLayoutA{10, 10, 11, 12, 13, 14, 18, 38, 62, 134, 334, 534, 1168};
constexpr Layout kLayoutB{16, 16, 19, 20, 21, 22, 26, 46, 70, 142, 342, 542, 1176};

constexpr bool isLayoutA(uint32_t model) { return model == kModelWq8 || model == kModelWq6 || model == kModelWqT517; }
constexpr bool isLayoutB(uint32_t model) { return model == kModelWq41 || model == kModelWqR65; }
constexpr bool isKnownModel(uint32_t model) { return isLayoutA(model) || isLayoutB(model); }
constexpr const Layout& layoutOf(uint32_t model) { return isLayoutB(model) ? kLayoutB : kLayoutA; }
constexpr uint32_t headSizeOf(uint32_t model) { return layoutOf(model).headSize; }

// Style elements 0-3 (variations) have 6 CVs, the others 2.
constexpr int cvCountOf(int element) { return StyleSeriesTraits::CvCountOf(element); }
constexpr bool isValidElement(int element) { return element >= 0 && element < kElementCount; }
constexpr bool isValidCv(int element, int cv) { return isValidElement(element) && cv >= 0 && cv < cvCountOf(element); }
constexpr bool isValidTrack(int track) { return track >= 0 && track < kTrackCount; }

// Flat CV number 0-35 and track slot 0-215.
constexpr int cvIndexOf(int element, int cv) { return StyleSeriesTraits::CvSlotOf(element, cv); }
constexpr int trackSlotOf(int element, int cv, int track) { return cvIndexOf(element, cv) * kTrackCount + track; }

// Time-signature code: 16-24 = n/4, 32-47 = n/8, 48-63 = n/16.
constexpr bool isValidTimeSigCode(int code)
{
    return (code >= 16 && code <= 24) || (code >= 32 && code <= 47) || (code >= 48 && code <= 63);
}
constexpr int timeSigNumerator(int code) { return (code & 0x0F) + 1; }
constexpr int timeSigBeatUnit(int code) { return code >= 48 ? 16 : code >= 32 ? 8 : 4; }
constexpr uint8_t kTimeSig44 = 19;

} // namespace wq

// Result of checking an image before its events are walked.
enum class WqImageError {
    None = 0,
    TooSmall,          // smaller than the head of its layout
    EntryInsideHead,   // an offset entry points into the head
    EntriesDecrease,   // an offset entry is smaller than the one before
    EndBeyondImage,    // the end entry lies past the image size
};

const char* WqImageErrorText(WqImageError error);

// Checks that an image's offset table describes runs inside the image: size at
// least the head size, every entry at least the head size, entries
// non-decreasing, the last entry within the size.
WqImageError ValidateWqImage(const uint8_t* image, size_t size, uint32_t model);

} // namespace zib
