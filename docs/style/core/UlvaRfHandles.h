#pragma once

#include "ulvarf/ulvarf.h"

#include <memory>

namespace zib {

// Owning handles of UlvaRf's container, resource instance and style editor:
// each is deleted with the library's own delete call.
struct UlrfContainerDeleter {
    void operator()(ULRFContainer* c) const { _ULRFDeleteInstance(c); }
};
struct UlrfResInstanceDeleter {
    void operator()(ULRFResInstance* r) const { _ULRFDelResInstance(r); }
};
struct UlsteEditorDeleter {
    void operator()(ULStEEditor* e) const { _ULStEDeleteInstance(e); }
};

using UlrfContainerPtr = std::unique_ptr<ULRFContainer, UlrfContainerDeleter>;
using UlrfResInstancePtr = std::unique_ptr<ULRFResInstance, UlrfResInstanceDeleter>;
using UlsteEditorPtr = std::unique_ptr<ULStEEditor, UlsteEditorDeleter>;

} // namespace zib
