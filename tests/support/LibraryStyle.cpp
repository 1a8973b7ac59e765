#include "tests/support/LibraryStyle.h"

namespace zib::test {

LibraryStyle::LibraryStyle(std::span<const uint8_t> image, int resource)
{
    container_.reset(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    if (container_) resource_.reset(_ULRFExtractResource(container_.get(), resource));
    // Without a resource the editor would make a new, empty style.
    if (resource_) editor_.reset(_ULStECreateInstance(resource_.get()));
}

std::vector<uint8_t> LibraryStyle::ExportCv(int element, int cv) const
{
    const int size = editor_ ? _ULStEExportSmfPrepare(editor_.get(), element, cv) : 0;
    if (size <= 0) return {};
    std::vector<uint8_t> smf(static_cast<size_t>(size));
    if (!_ULStEExportSmfFill(editor_.get(), smf.data(), uint32_t(smf.size()))) return {};
    return smf;
}

} // namespace zib::test
