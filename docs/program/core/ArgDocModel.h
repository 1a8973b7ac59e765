#pragma once

#include "docs/program/core/WqGlobalDoc.h"

namespace zib {

// The arrangement-global document without its window: the 80-byte .ARG file
// of a WqR65 ('M', 22 rows) or Wq41 ('I', 36 rows): the MIDI channel of every
// part and a few switches, shown as parameter rows.
//
//   32-47  channels (32-42 0-15; 43-47 signed, -1 OFF)
//   'M'    68 chord recognition (low nibble) and trigger (high nibble),
//          69 auto chord scan, 70 lower memory type (bits 0-1) and target (bits 2-3)
//   'I'    48 chord memory, 49 sound memory (bit 0) and harmony type (bit 4),
//          50 bass inversion, 52 tempo lock, 53 keyboard lock, 54 ensemble,
//          56 synchro start / stop (bits 0, 1), 57 dynamic backing,
//          58 velocity control, 59 split point lock, 64 chord sound synchro,
//          68 chord recognition mode
class ArgDocModel : public WqGlobalDoc {
public:
    static constexpr size_t kImageSize = 80;

    void FillTexts() override;

protected:
    const char* Extension() const override { return ".ARG"; }
    int KindOf() const override { return 8; }
    size_t ImageSize() const override { return kImageSize; }
    bool Parse() override;
};

} // namespace zib
