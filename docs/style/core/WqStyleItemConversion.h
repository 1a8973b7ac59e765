#pragma once

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/StyNotice.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zib {

// Results of every style-item conversion: 0 success; -1 not supported or out
// of memory; -2 the item's data are no longer usable (the caller aborts the
// document); -3 the conversion failed and said why.
enum StyConvertResult : int {
    kStyConvertOk = 0,
    kStyConvertRefused = -1,
    kStyConvertFatal = -2,
    kStyConvertFailedSaid = -3,
};

// Layout changes between the Wq style layouts, on one item in place. Layout A
// ('9', '<', 'H') has a 10-byte name and its body, offset table and events
// at 10, 534 and 1168; layout B ('I', 'M') a 16-byte name, bytes 16-17 (the
// u16 15 after a conversion from A), and the same parts 8 bytes later.
// Program numbers in the track records and events are mapped from `from` to
// `to` (MapProgramNumber). Items whose offset table does not describe runs
// inside the item, and items that would not fit in 16-bit offsets, are
// refused (-1) and left as they were.

// A -> B with the events mapped (model 'M'). An item named "empty..." becomes
// the 1176-byte placeholder "InitStyle" with the digit (listIndex mod 4) + 1.
int ConvertStyWQ8ToWqR65(CStyItem& item, int listIndex, uint32_t from, uint32_t to, const StyNoticeSink& notices);
// The same without mapping the events (WqT517 to WqR65).
int ConvertWQ8ToWqR65(CStyItem& item, int listIndex, uint32_t from, uint32_t to, const StyNoticeSink& notices);
// B -> A (model '9'). An item named "InitStyle..." becomes the 1168-byte "empty" placeholder.
int ConvertWqR65ToWQ8(CStyItem& item, uint32_t from, uint32_t to, const StyNoticeSink& notices);

// The banks (high bytes) of the six track program words of an item in the
// layout of `model`.
std::array<uint8_t, 6> WqTrackBanks(const std::vector<uint8_t>& data, uint32_t model);
// Maps the six track program words in place.
void MapWqTrackPrograms(std::vector<uint8_t>& data, uint32_t model, uint32_t from, uint32_t to);
// Maps the program changes and bank selects of every track run of the 36
// chord variations. A program change becomes the mapped number of its
// track's bank (`trackBanks`, or the bank of a bank select before it in the
// run) and its program byte, in event bytes 2-3; a bank select takes the
// bank of the mapped number of its bank and the program of the next program
// change in the run, when that program is below 255.
void MapWqEventPrograms(std::vector<uint8_t>& data, uint32_t model, uint32_t from, uint32_t to,
                        const std::array<uint8_t, 6>& trackBanks);

// Wq -> Qe: the item's data becomes the payload of a Qe style chunk (model
// 'F'); the caller wraps it in a container before using it as a Qe item.
// -3 after "Style %s not converted - Error no: %ld" or "Tarsk style Zero Size - %s".
int ConvertStyWQ8ToQE4K(CStyItem& item, uint32_t sourceModel, const StyNoticeSink& notices);

} // namespace zib
