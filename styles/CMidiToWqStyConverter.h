#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "styles/CMidiToWqStyReader.h"
#include "styles/CStyleTextCommands.h"
#include "styles/WqStyleLayout.h"

namespace zib {

// The conversion settings the MIDI-to-Wq-style converter reads at the start
// of every run (KeyChord... and Midi2StyIgnoreFlags of the program's settings).
struct WqStyleConvertSettings {
    // 0: the CV keys come from keyChord; else from the file's CV commands.
    int keyChordDetermination = 1;
    // 36 letters, one per CV (VAR1 CV1-6 ... VAR4 CV1-6, then INT1, INT2,
    // END1, END2, FILL1, FILL2 with CV1-2 each): 'A' + key 0-23.
    std::string keyChord;
    // 0: the chord tables come from chordTable; else from Table commands.
    int chordDetermination = 1;
    // 10 elements x 20 chord types: 'A' + the CV that plays the chord
    // (0-5 for VAR1-VAR4, 0-1 for the other elements).
    std::string chordTable;
    // WqIgnoreFlag bits: kinds of events left out of the tracks.
    int ignoreFlags = 0;
};

// Turns one format-1 Standard MIDI File that carries the style text commands
// into a Wq-series style file for one model ('9', '<', 'H', 'I', 'M').
//
// Pass 1 reads the whole file: it checks the header and the time signatures,
// runs the text commands of the first track chunk, takes each track's setup
// values (bank select, program, volume, pan) from the first measure, finds
// the element and CV of every channel event of the later chunks and counts
// the notes of each element x CV x track. Pass 2 reads the file once more
// and gives each channel event to the track it belongs to; the tracks are
// then written in slot order into the Wq style image, which gets the style's
// head values, CV keys and lengths and chord tables. The image is stored
// patternized when that makes it smaller, else as it is; the file is built
// in memory and written whole, so a failed run leaves no file.
//
// Every run returns 0 or an error code: below 100 the MIDI reader's, 100-146
// the converter's (StyleConvertError), formatted by ReportError.
class CMidiToWqStyConverter : public CMidiToWqStyReader {
public:
    // The largest image the offset table can address
    static constexpr uint32_t kMaxImageSize = 0xFFFF;

    CMidiToWqStyConverter();
    ~CMidiToWqStyConverter() override;

    // Error text: the reader's below 100, "CMidiFile error: %d - %s" for 100-146
    int ReportError(char* buffer, size_t size, int code) override;

    // Run set-up, before Convert
    void SetOutputFile(const std::filesystem::path& path) { m_outputFile = path; }
    void SetModel(uint32_t model) { m_model = model; }
    void SetSettings(const WqStyleConvertSettings& settings) { m_settings = settings; }
    uint32_t GetModel() const { return m_model; }

    // Conversion of a file image into the output file. The log (the
    // caller's, may be null) gets the conversion log; its end lines are
    // written on every way out.
    int Convert(const uint8_t* image, uint32_t length, std::ostream* log);
    // The same without writing a file: the finished style file.
    int ConvertToImage(const uint8_t* image, uint32_t length, std::ostream* log, std::vector<uint8_t>& file);
    // Frees the image and the tracks of the last run.
    void Reset();

    // What the last run made and found
    const std::vector<uint8_t>& GetStyleImage() const { return m_image; } // unpatternized
    bool IsPatternized() const { return m_patternized; }
    const StyleCommandState& CommandState() const { return m_commands.State(); }
    int ErrorCount() const override { return m_errors + m_commands.State().errors; }
    int WarningCount() const override { return m_warnings + m_commands.State().warnings; }

protected:
    void LogStart() override;
    int CollectChannelEvent(int track, const StyleEventPosition& pos) override;
    int CollectText(const StyleEventPosition& pos, uint8_t type, std::span<const uint8_t> text) override;
    CWqPatternBuilder* BuilderFor(int track, int measure) override;

private:
    int ConvertAndLog(const uint8_t* image, uint32_t length, std::ostream* log, std::vector<uint8_t>& file,
                      bool save);
    int RunGuarded(const uint8_t* image, uint32_t length, std::ostream* log, std::vector<uint8_t>& file);
    int Run(const uint8_t* image, uint32_t length, std::ostream* log, std::vector<uint8_t>& file);
    int CheckSettings();
    int BuildImage();
    int BuildEvents(std::vector<uint8_t>& head);
    int FinishCv(int element, int cv, std::vector<uint8_t>& head);
    int WriteStyle(std::vector<uint8_t>& file);
    bool FindCv(int track, int measure, bool openLastCv, int& element, int& cv) const;
    uint16_t FitSoundWord(int bank, int program) const;

    WqStyleConvertSettings m_settings;
    std::filesystem::path m_outputFile;
    uint32_t m_model = wq::kModelWq8;
    CStyleTextCommands m_commands;
    std::array<std::unique_ptr<CWqPatternBuilder>, wq::kTrackSlotCount> m_builders;
    struct LastCv {
        int slot = -1;
        int firstMeasure = 0;
        int lastMeasure = -1;
    };
    std::array<LastCv, kTracks> m_lastCv{};
    std::vector<uint8_t> m_image;
    bool m_patternized = false;
};

// Result of one conversion: the code and its error text ("" on success).
struct MidiToWqStyleResult {
    int code = 0;
    std::string errorText;
};

// The one entry point of the "MIDI To wq-series Style" command: converts the
// MIDI file image into the style file `outputFile` of the model (written
// whole or not at all) with the given settings, writing the conversion log
// to `log` (may be null).
MidiToWqStyleResult ConvertMidiToWqStyle(std::span<const uint8_t> midiImage,
                                         const std::filesystem::path& outputFile, uint32_t model,
                                         const WqStyleConvertSettings& settings, std::ostream* log);

} // namespace zib
