#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "ulvarf/ulvarf.h"

namespace zib::test {

// Owners of the library's handles, each released with its own export
struct ContainerDeleter {
    void operator()(ULRFContainer* container) const { _ULRFDeleteInstance(container); }
};
struct ResourceDeleter {
    void operator()(ULRFResInstance* resource) const { _ULRFDelResInstance(resource); }
};
struct EditorDeleter {
    void operator()(ULStEEditor* editor) const { _ULStEDeleteInstance(editor); }
};
using ContainerPtr = std::unique_ptr<ULRFContainer, ContainerDeleter>;
using ResourcePtr = std::unique_ptr<ULRFResInstance, ResourceDeleter>;
using EditorPtr = std::unique_ptr<ULStEEditor, EditorDeleter>;

// A container image opened in the library the way the program opens a
// converted style: the container, one of its resources and a style editor
// over it. A step that fails leaves the later ones null.
class LibraryStyle {
public:
    explicit LibraryStyle(std::span<const uint8_t> image, int resource = 0);

    ULRFContainer* container() const { return container_.get(); }
    ULStEEditor* editor() const { return editor_.get(); }

    // The MIDI file the library exports for one CV; empty when it cannot
    std::vector<uint8_t> ExportCv(int element, int cv) const;

private:
    ContainerPtr container_;
    ResourcePtr resource_;
    EditorPtr editor_;
};

} // namespace zib::test
