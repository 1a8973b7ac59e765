#pragma once

#include <cstdint>
#include <span>

namespace zib::ulvarf {

class CNstStyle;
struct CQeStyleTree;

// Builds the style model from a style chunk. The reader never refuses a
// style: missing chunks leave the model's defaults, and what does not fit
// the model is repaired or ignored, with a trace:
//
// - element chunks are matched in order to the set bits 0-11 of the element
//   mask, CV records to the set bits 0-5 of their CV mask; chunks beyond the
//   set bits are ignored;
// - each pattern use finds its chunk through the pattern map (the next chunk
//   in order where the map has no value); a map value naming no chunk, and a
//   pair naming a track above 7 or a type above 2, leave the use ignored;
// - a numerator of 0 reads as 4/4; a CV length beyond what a stream can
//   span (2^28 - 1 ticks) is cut there;
// - a use whose pair type + 2 differs from its chunk's id traces
//   "Warning! Pattern type && use in CV are inconsistent!";
// - a use that runs to the CV's end but plays less than one chunk length
//   makes the CV length its start + the chunk length, once per CV ("Warning!
//   Uncorrect CV length found!\nForced to Pattern length.");
// - a use whose playing time is not a whole multiple of its chunk's length
//   sets that length to the playing time ("Warning! Uncorrect Pattern
//   length(s) found!\nForced to CV length.", once);
// - CVs that play several chunks on one track, stop a chunk or repeat one
//   are merged (CPropPattMerge), so shared, split and repeated patterns read
//   back as one pattern per track.
class CQeStyleReader {
public:
    // Reads a style chunk (head included) into `style`; false only when the
    // chunk's head does not fit the bytes.
    static bool Read(std::span<const uint8_t> styleChunk, CNstStyle& style);
    static void Read(CQeStyleTree& tree, CNstStyle& style);
};

} // namespace zib::ulvarf
