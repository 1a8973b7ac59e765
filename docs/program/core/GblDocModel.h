#pragma once

#include "docs/program/core/WqGlobalDoc.h"

namespace zib {

// The global-data document without its window: the 448-byte .GBL file of a
// WqR65 ('M', 49 rows) or Wq41 ('I', 69 rows).
//
//   32 master tune (signed)     34 'M' damper bit 0, joystick X bits 3-5, echo back bits 6-7; 'I' damper
//   35, 36 assignable pedals    38 global MIDI channel      40 status byte     41 MIDI filter byte
//   42-48 'I' EC5 pedals A-E, switches 1 and 2              49, 50 velocity and aftertouch curves
//   51-54 'I' ritardando and accelerando type and beat      60-63 sub and main scale type and key
//   64 + 12k user scales (14 'M', 32 'I')                   'M': 244 velocity input, 245 MIDI-in
//   octaves, 256-260 EC5 pedals A-E
class GblDocModel : public WqGlobalDoc {
public:
    static constexpr size_t kImageSize = 448;

    void FillTexts() override;

protected:
    const char* Extension() const override { return ".GBL"; }
    int KindOf() const override { return 7; }
    size_t ImageSize() const override { return kImageSize; }
    bool Parse() override;
};

} // namespace zib
