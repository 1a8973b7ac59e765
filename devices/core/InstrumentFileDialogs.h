#pragma once

#include <string>
#include <string_view>

namespace zib {

// The file dialogs of the Configure Instruments dialog. The filters take both
// letter cases of the extension: the file chooser tells them apart.
inline constexpr std::string_view kImportInstrumentTitle = "Import Instrument";
inline constexpr std::string_view kImportInstrumentFilter = "Instrument definition files (*.ins)|*.INS;*.ins";
inline constexpr std::string_view kExtractInstrumentTitle = "Extract Instrument definition";
inline constexpr std::string_view kExtractInstrumentFilter = "Instrument definition files (*.INS)|*.INS;*.ins";
inline constexpr std::string_view kInstrumentFileExtension = "INS";

// The folder both dialogs start in, from the last-opened-directory setting:
// the folder itself when it names one, else its text up to the last "/"
// (the whole text without one); empty, the system's default, for an empty setting.
std::string InstrumentDialogFolder(std::string_view lastOpenedDirectory);

// The file name an instrument is extracted to: its name made a valid file
// name, with the .INS extension.
std::string ExtractFileName(std::string_view instrumentName);

} // namespace zib
