#pragma once

#include "midi/CMidiEventBase.h"
#include "midi/CMidiFileEx.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace zib {

// Track-type byte of a style track: (channel - 1) & 15 plus 0x00, 0x10,
// 0x20 or 0x30 for the kinds 1, 2, 4 and 8, and 0x40 for any other kind.
uint8_t MakeTrackTypeByte(int channel, int kind);

// Reads the one-track (format 0) MIDI files of a style's chord variations
// into one event list on one time line, and holds the style's tables that
// the playback console reads. The style document fills the tables, stores
// each chord variation's first event index before reading its file, then
// calls ReadImage and PairNotes for it. Each file's events end with an
// end-of-track event of raw length 0.
class CStyleMidiReader : public CMidiFileEx {
public:
    // Error codes of the reader (texts in CStyleMidiReader.cpp)
    enum ReaderError : int {
        kNotFormat0 = 101,
        kCannotAllocateEvent = 102,
        kNotOneTrack = 104,
        kNoteOffBeforeNoteOn = 105,
        kBadElementOrVariation = 106,
        kTimeSigInsideMeasure = 107, // the measure layer's 101, which here names the format
    };

    static constexpr size_t kElements = 10;
    static constexpr size_t kVariations = 6;
    static constexpr size_t kStyleTracks = 8;

    // Per element and style track
    struct TrackProgram {
        uint32_t program = 0xFFFFFFFF;   // byte 0 program, byte 2 bank LSB, byte 3 bank MSB; -1 none
        uint16_t programNumber = 0xFFFF; // Wq 16-bit program number; -1 none
        uint8_t expression = 255;        // 255 none
    };
    // Per element and chord variation
    struct ChordVariation {
        uint32_t firstEvent = 0;                   // index of its first event in the list
        uint32_t startTick = 0;                    // where it starts on the style's time line
        uint32_t length = 0;                       // ticks
        uint32_t measures = 0;                     // bar count (Wq styles)
        std::array<uint8_t, 16> timeSignatures{};  // per bar, Qe time-signature bytes
        std::array<uint8_t, kStyleTracks> key{};   // recorded key per track
        std::array<uint8_t, kStyleTracks> chord{}; // recorded chord type per track
    };
    struct Element {
        uint32_t present = 0;
        std::array<uint8_t, 20> chordVariations{}; // the element's chord-variation list
        uint8_t timeSignature = 0;                 // Qe time-signature byte
        std::array<uint8_t, 22> chordAssign{};
        uint8_t ntt = 0;
        std::array<TrackProgram, kStyleTracks> tracks{};
        std::array<ChordVariation, kVariations> variations{};
    };

    CStyleMidiReader();
    ~CStyleMidiReader() override;

    int ReportError(char* buffer, size_t size, int code) override;
    // A time signature off a measure start stops the read with 107, the
    // reader's own code: 101 is its "format 1" refusal
    int ApplyTimeSignature(uint32_t t) override;

    // Reads one format-0 file and appends its events. With a log stream (the
    // caller's), what is read is logged under the name set with SetName. On
    // failure the map and all events (of earlier files too) are cleared.
    int ReadImage(const uint8_t* image, uint32_t size, std::FILE* log = nullptr);
    // Pairs the notes from the start of that element's chord variation on
    int PairNotes(size_t element, size_t variation);
    int ResolveNoteDurations(size_t element, size_t variation) { return PairNotes(element, variation); }
    // Clears the style tables and per-channel flags; division 96, 4/4
    void ResetElements();
    // Empties the map and frees all events
    void Clear();

    void SetName(std::string name) { m_name = std::move(name); }
    const std::vector<std::unique_ptr<CMidiEventBase>>& GetEvents() const { return m_events; }
    size_t GetEventCount() const { return m_events.size(); }

    // The style's tables, filled by the style document
    uint32_t modelCode = 0; // 70 for a Qe-series style, else the Wq model letter
    std::array<uint8_t, 6> headerFlags{};
    std::array<uint8_t, kStyleTracks> trackTension{};
    std::array<Element, kElements> elements{};
    uint32_t unmatchedNoteOffs = 0;

    // The PlayPercOnDrumChan setting: percussion notes (channel 11) move to the drum channel (10)
    bool playPercussionOnDrumChannel = false;

protected:
    int OnHeader() override;
    int OnTrackStart() override;
    int OnChannelEvent() override;
    int OnMetaTime() override;
    int OnMetaEndOfTrack() override;

private:
    void Log(const char* format, ...);

    std::string m_name;
    std::FILE* m_log = nullptr;
    uint32_t m_imageSize = 0;
    // Per channel: first bank MSB, bank LSB, controller 11, program and volume seen
    std::array<std::array<uint8_t, 5>, 16> m_firstSeen{};
    std::vector<std::unique_ptr<CMidiEventBase>> m_events;
};

} // namespace zib
