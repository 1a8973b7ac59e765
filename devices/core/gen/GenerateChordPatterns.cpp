// Build step: compiles data/chords/chord-patterns.tsv into the C++ source of
// the chord pattern table.
//
//   zib_chord_patterns_gen <chord-patterns.tsv> <output.cpp>
//
// Any fault in the table is printed as "<file>:<line>: error: ..." and fails
// the build; the output file is then left as it was.

#include "devices/core/ChordPatternReader.h"
#include "platform/FileIo.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <chord-patterns.tsv> <output.cpp>\n", argv[0]);
        return 2;
    }
    std::vector<uint8_t> bytes;
    if (zib::readWholeFile(argv[1], bytes, uintmax_t(1) << 20) != zib::FileIoError::None) {
        std::fprintf(stderr, "%s: error: cannot read the file\n", argv[1]);
        return 1;
    }
    const std::string content(bytes.begin(), bytes.end());
    const zib::ChordPatternRead read = zib::readChordPatternTable(content, argv[1]);
    for (const std::string& error : read.errors)
        std::fprintf(stderr, "%s\n", error.c_str());
    if (!read.ok()) return 1;
    if (zib::writeFileAtomically(argv[2], zib::chordPatternTableSource(read.rows)) != zib::FileIoError::None) {
        std::fprintf(stderr, "%s: error: cannot write the file\n", argv[2]);
        return 1;
    }
    return 0;
}
