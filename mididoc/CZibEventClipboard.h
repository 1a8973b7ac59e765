#pragma once

#include "mididoc/core/EventClipboard.h"

namespace zib {

// The system clipboard under the program's private format ("Zib"), as the
// MIDI document and its event lists copy and paste event blocks.
class CZibEventClipboard : public EventClipboard {
public:
    bool HasPrivateFormat() const override;
    Result Put(std::vector<uint8_t> block) override;
    Result Get(std::vector<uint8_t>& block) override;
    // The supplement goes under a format of its own beside "Zib"
    Result PutWithSupplement(std::vector<uint8_t> block, std::vector<uint8_t> supplement) override;
    Result GetWithSupplement(std::vector<uint8_t>& block, std::vector<uint8_t>& supplement) override;

    // Whether the clipboard offers a block under the private format now
    static bool Offers();
    static CZibEventClipboard& Instance();
};

} // namespace zib
