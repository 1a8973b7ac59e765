#include "docs/style/core/StyTreeMidiFiles.h"

#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/StyleMidiExport.h"
#include "midi/CMidiFileParser.h"
#include "platform/FileIo.h"
#include "styles/CWqStyleFile.h"

#include <cstdio>

namespace zib {

namespace {

constexpr int kCannotCreateSmfBuffer = 75;
constexpr size_t kErrorTextSize = 80;

} // namespace

int CreateMidiFromQeCvOrTrack(QeStyleEditor& editor, int element, int cv, int track,
                              const std::filesystem::path& file, bool percussionOnDrumChannel,
                              const StyNoticeSink& notify)
{
    const std::vector<uint8_t> image = editor.ExportSmf(element, cv);
    if (image.empty()) return 0;
    CMidiFileParser parser;
    parser.SetTrackFilter(uint8_t(track < 0 || track > 7 ? CMidiFileParser::kAllTracks : track));
    parser.SetPercussionOnDrumChannel(percussionOnDrumChannel);
    uint32_t size = 0;
    int rc = parser.ParseFormat0(image.data(), uint32_t(image.size()), size);
    std::vector<uint8_t> format0;
    if (rc == 0) {
        format0.resize(size);
        rc = parser.ConvertToFormat0(image.data(), uint32_t(image.size()), format0.data(), size);
    }
    if (rc != 0) {
        char text[kErrorTextSize] = {};
        parser.ReportError(text, sizeof text, rc);
        if (notify)
            notify(StyNotice::Text("ERROR! %s", {text}, "CreateMidiFromQeCvOrTrack", StyNoticeIcon::Exclamation));
        return 0;
    }
    const FileIoError written = writeFileAtomically(file, format0);
    if (written != FileIoError::None) {
        if (notify)
            notify(StyNotice::Text("Cannot open file - %d", {std::to_string(int(written))}, "CreateMidiFromQeCvOrTr",
                                   StyNoticeIcon::Stop));
        return 0;
    }
    return 1;
}

std::vector<uint8_t> WqCvImage(const CWqStyleFile& style, int element, int cv, const std::filesystem::path& folder,
                               const StyNoticeSink& notify)
{
    const std::filesystem::path file = UniqueTempFile(folder, "TmpRary");
    if (style.DumpChordVarToMidi(uint8_t(element), uint8_t(cv), CWqStyleFile::kAllTracks, file) != 0) return {};
    std::vector<uint8_t> image;
    const FileIoError read = readWholeFile(file, image);
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (read != FileIoError::None || image.empty()) {
        if (notify)
            notify(StyNotice::Numbered(kCannotCreateSmfBuffer, "OnOldStyTrackMidiEdit", StyNoticeIcon::Stop));
        return {};
    }
    return image;
}

} // namespace zib
