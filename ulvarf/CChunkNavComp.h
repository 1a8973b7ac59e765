#pragma once

#include "ulvarf/CChunkNav.h"

namespace zib::ulvarf {

// The cursor over a chunk that a container entry or a resource instance owns
// (normally compressed).
class CChunkNavComp : public CChunkNav {
public:
    using CChunkNav::CChunkNav;

    // Stores the chunk the way the library keeps resources: compressed with
    // COComp version 3, level 2 when that makes it smaller (then the buffer
    // shrinks to the chunk), plain otherwise.
    void StoreCompressed()
    {
        if (Compress(3, 2)) ShrinkToUsed();
    }
};

} // namespace zib::ulvarf
