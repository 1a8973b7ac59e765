#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

#include "styles/CWqStyleData.h"
#include "styles/CWqStyleTextDump.h"
#include "styles/StyleNotice.h"

namespace zib {

// The style utilities over one Wq style image: the text dump and the MIDI
// exports of the whole style or of one chord variation.
class CWqStyleFile : public CWqStyleData {
public:
    // Results of the MIDI exports
    static constexpr int kOk = 0;
    static constexpr int kBadArguments = -1; // element, CV or track out of range, or an empty CV
    static constexpr int kFailed = -2;       // out of memory, CV longer than 16 bars, damaged image
                                             // (DumpStyleToMidi: also a failed write)
    static constexpr int kWriteFailed = -3;  // DumpChordVarToMidi: the file could not be written

    // Track argument of DumpChordVarToMidi that selects every track
    static constexpr int kAllTracks = 255;

    CWqStyleFile() = default;
    CWqStyleFile(const uint8_t* image, size_t size, uint32_t model) : CWqStyleData(image, size, model) {}

    // Settings of the exports
    void SetPercOnDrumChannel(bool on) { percOnDrumChannel_ = on; }
    bool GetPercOnDrumChannel() const { return percOnDrumChannel_; }
    void SetNoticeSink(StyleNoticeSink sink) { notices_ = std::move(sink); }

    // Text dump ("Wqstyle Dump Report"); 1 when written, 0 when the image is
    // smaller than its head.
    int DumpToText(std::ostream& out) const { return DumpToText(out, WqDumpDate::Today()); }
    int DumpToText(std::ostream& out, const WqDumpDate& date) const;

    // The whole style as one format-1 MIDI file: a conductor track with the
    // style's text commands and one channel track per style track, the chord
    // variations one after the other from bar 2 on (bar 1 holds the setup).
    // 0 or kFailed; the file is written whole or not at all.
    int DumpStyleToMidi(const std::filesystem::path& path) const;
    int BuildStyleMidi(std::vector<uint8_t>& out) const;

    // One chord variation (all tracks with track 255 or -1, else one track
    // 0-5) as a format-1 MIDI file starting at tick 0: a conductor track with
    // tempo and time signatures only (the CV collector copies the first
    // track's texts), then DRUM ... ACC3 as tracks 1-6, each with its name, its
    // label text ("VAR1CV1_DRUM"), bank select, program, pan and volume at tick
    // 0; a track not asked for holds only its name. Every track ends at the
    // CV's end.
    int DumpChordVarToMidi(uint8_t element, uint8_t cv, int track, const std::filesystem::path& path) const;
    int BuildChordVarMidi(uint8_t element, uint8_t cv, int track, std::vector<uint8_t>& out) const;

private:
    void Notify(StyleNoticeKind kind, const std::string& text) const;
    template <typename Build>
    int RunMidiBuild(Build build) const;

    bool percOnDrumChannel_ = false;
    StyleNoticeSink notices_;
};

} // namespace zib
