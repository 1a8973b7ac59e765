#include "styles/CWqStyleFile.h"

#include <new>

#include "platform/FileIo.h"
#include "styles/CWqStyleMidiWriter.h"
#include "styles/StringPrintf.h"

namespace zib {

int CWqStyleFile::DumpToText(std::ostream& out, const WqDumpDate& date) const
{
    CWqStyleTextDump dump(*this, out);
    return dump.Write(date);
}

void CWqStyleFile::Notify(StyleNoticeKind kind, const std::string& text) const
{
    if (notices_) notices_(StyleNotice{kind, text, "DumpStyleToMidi"});
}

// Runs one build of the MIDI writer and turns its result into the exports'
// codes and notices. Running out of memory is reported, never thrown.
template <typename Build>
int CWqStyleFile::RunMidiBuild(Build build) const
{
    try {
        CWqStyleMidiWriter writer(*this, percOnDrumChannel_);
        switch (build(writer)) {
        case CWqStyleMidiWriter::Result::Ok:
            return kOk;
        case CWqStyleMidiWriter::Result::BadArguments:
            return kBadArguments;
        case CWqStyleMidiWriter::Result::DamagedImage:
            Notify(StyleNoticeKind::DamagedData, "Fatal error: data are damaged!");
            return kFailed;
        case CWqStyleMidiWriter::Result::CvTooLong:
            Notify(StyleNoticeKind::CvTooLong,
                   StringPrintf("Fatal error: Chord variation length greater then 16!\nStyleName: %s, SE:%s, CV:%s",
                                GetStyleName().c_str(), GetStyleElementName(writer.FailedElement()),
                                GetCvName(writer.FailedCv())));
            return kFailed;
        }
    } catch (const std::bad_alloc&) {
        Notify(StyleNoticeKind::MemoryAllocationFailed, "Memory allocation failed!");
    }
    return kFailed;
}

int CWqStyleFile::BuildStyleMidi(std::vector<uint8_t>& out) const
{
    return RunMidiBuild([&](CWqStyleMidiWriter& writer) { return writer.BuildStyle(out); });
}

int CWqStyleFile::BuildChordVarMidi(uint8_t element, uint8_t cv, int track, std::vector<uint8_t>& out) const
{
    return RunMidiBuild([&](CWqStyleMidiWriter& writer) { return writer.BuildChordVar(element, cv, track, out); });
}

int CWqStyleFile::DumpStyleToMidi(const std::filesystem::path& path) const
{
    std::vector<uint8_t> file;
    int result = BuildStyleMidi(file);
    if (result != kOk) return kFailed;
    return writeFileAtomically(path, file) == FileIoError::None ? kOk : kFailed;
}

int CWqStyleFile::DumpChordVarToMidi(uint8_t element, uint8_t cv, int track, const std::filesystem::path& path) const
{
    std::vector<uint8_t> file;
    int result = BuildChordVarMidi(element, cv, track, file);
    if (result != kOk) return result;
    return writeFileAtomically(path, file) == FileIoError::None ? kOk : kWriteFailed;
}

} // namespace zib
