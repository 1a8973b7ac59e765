#include "devices/core/InstrumentFileDialogs.h"

#include "midi/ValueTexts.h"

#include <filesystem>
#include <system_error>

namespace zib {

std::string InstrumentDialogFolder(std::string_view lastOpenedDirectory)
{
    std::string folder(lastOpenedDirectory);
    if (folder.empty()) return folder;
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return folder;
    const size_t slash = folder.rfind('/');
    return slash == std::string::npos ? folder : folder.substr(0, slash == 0 ? 1 : slash);
}

std::string ExtractFileName(std::string_view instrumentName)
{
    std::string name(instrumentName);
    MakeValidFileName(name);
    return name + "." + std::string(kInstrumentFileExtension);
}

} // namespace zib
