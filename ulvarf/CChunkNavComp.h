#pragma once

#include "ulvarf/CChunkNav.h"

namespace zib::ulvarf {

// The cursor over a chunk that a container entry or a resource instance owns
// (normally compressed). It differs from CChunkNav only in its type.
class CChunkNavComp : public CChunkNav {
public:
    using CChunkNav::CChunkNav;
};

} // namespace zib::ulvarf
