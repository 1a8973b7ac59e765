#pragma once

#include "docs/style/core/StyUiPort.h"
#include "styles/CWqStyleTextDump.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

class CStyItem;
class CZibStyDoc;

// The texts the style document writes about its items, and the cleaning of
// Wq style sequences.

// The Wq style dump report of one item ("Wqstyle Dump Report"); empty when
// the image is smaller than its head.
std::string WqStyleDumpText(const CStyItem& item, uint32_t model, const WqDumpDate& date);

// The item-list report of a document, written to `reportPath`:
// "\nZibwerk items list\n", "FileName: <path>\n\n", then for a Wq document a
// header line, 130 '-' and one line per item (name, size, time signature,
// six program names; "Empty Item" for a placeholder); for a Qe document per
// item its bank and position, name and size and one line per element with
// data (element name, time signature, eight sound names), or "EMPTY ITEM".
// Names and sounds are padded and cut to 16 characters.
std::string ItemsReportText(const CZibStyDoc& doc, const std::string& reportPath);

// Removes the chosen kinds of channel events from every sequence of a Wq
// style image in place: pitch bend (event kind 0x10), channel pressure
// (0x20), program change (0x30), control change (0x40; one controller or
// 255 for all) and polyphonic pressure (0x50). Each sequence after a removal
// starts 4 bytes earlier per event removed before it, and the image shrinks
// by 4 bytes per event. Sequences whose table entries leave the image are
// cut at its end; a sequence's last bytes short of an event are not read.
// Returns the number of events removed.
int CleanWqStyleEvents(std::vector<uint8_t>& data, uint32_t model, const CleanEventsChoice& choice);

} // namespace zib
