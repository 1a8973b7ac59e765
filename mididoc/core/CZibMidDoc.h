#pragma once

#include "midi/CMidiParserEx.h"
#include "mididoc/core/CMidDocListener.h"
#include "mididoc/core/CTrackInfo.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/CUndoOwner.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// One Standard MIDI File opened or created by the user: the whole file image,
// the editable sequence parsed from it, 64 track records (record i describes
// sequence track i + 1) and one for the master track, the undo manager, and
// the per-track and transport values that the track list, the bar view and
// the player share. GUI-free: the program's document adapter shows its
// messages and owns its windows.
class CZibMidDoc : public CUndoOwner {
public:
    static constexpr int kTrackRecordCount = 64;
    // Files above this size are refused before they are parsed
    static constexpr uintmax_t kMaxFileSize = uintmax_t(64) << 20;
    // The format before a file is parsed
    static constexpr uint32_t kNoFormat = 32;

    // The file a new document starts from
    enum class NewTemplate { Normal = 0, SixteenTracks = 1 };

    // How opening, creating or saving a file ended (the adapter picks the message)
    enum class Result {
        Ok,
        ReadFailed,     // the file cannot be read
        TooLarge,       // the file is larger than kMaxFileSize
        EmptyFile,      // "File possibly corrupted - empty file"
        NotMidiPath,    // the path does not end in ".MID": the document closes without a message
        ParseError,     // "ERROR! %s" with ParseErrorText(), caption "ParseMidi"
        TemplateFailed, // "Cannot create new midi template"
        BuildFailed,    // the sequence cannot be written as a file image
        WriteFailed,    // the file cannot be written (the old file stays as it was)
    };

    CZibMidDoc();
    ~CZibMidDoc() override;
    CZibMidDoc(const CZibMidDoc&) = delete;
    CZibMidDoc& operator=(const CZibMidDoc&) = delete;

    // Opening and creating
    // 1 when the last four characters of the path, upper-cased, are ".MID"
    static uint32_t MidiExtensionTest(std::string_view path);
    // Reads the file whole, then as LoadImage
    Result OpenFile(const std::string& path);
    // Takes the image of the file at `path`: refuses an empty image, runs the
    // extension test (its result is the MIDI flag) and parses the image
    Result LoadImage(const std::string& path, std::vector<uint8_t> image);
    // A new file of the template in `folder` (path "<folder>/NewFile"), with
    // the author in its copyright text; the year is the current one when empty
    Result NewDocument(NewTemplate tmpl, const std::string& folder, const std::string& author,
                       const std::string& year = {});
    // Fills the sequence and the 64 track records from the raw image; false
    // (and everything freed) when the MIDI flag is not 1 or the parse fails
    bool ParseMidi();
    const std::string& ParseErrorText() const { return m_parseError; }
    // Frees the image, the events, the track records and the undo history
    void DeleteContents();

    // Writing the file back: an unchanged document writes its image as read;
    // a changed one is built from the sequence (format-1 tracks that were not
    // changed keep their bytes)
    Result BuildFileImage(std::vector<uint8_t>& out) const;
    // Written whole or not at all; afterwards the document is unchanged and has this path
    Result SaveAs(const std::string& path);

    // The text dump of the sequence ("Cannot open report file" when it fails: -1)
    int DumpMidiToTextFile(const std::filesystem::path& output, std::string_view fileName);

    // What the document holds
    CMidiParserEx& Sequence() { return m_sequence; }
    const CMidiParserEx& Sequence() const { return m_sequence; }
    int TrackRecordCount() const { return int(m_tracks.size()); }
    bool HasTrackRecords() const { return !m_tracks.empty(); }
    CTrackInfo* TrackRecord(int row) { return row >= 0 && row < TrackRecordCount() ? m_tracks[size_t(row)].get() : nullptr; }
    const CTrackInfo* TrackRecord(int row) const
    {
        return row >= 0 && row < TrackRecordCount() ? m_tracks[size_t(row)].get() : nullptr;
    }
    const CTrackInfo& MasterTrackRecord() const { return m_masterTrack; }
    CUndoManager& UndoManager() { return m_undo; }
    const std::vector<uint8_t>& RawImage() const { return m_rawImage; }
    const std::string& Path() const { return m_path; }
    const std::string& Folder() const { return m_folder; }
    void SetFolder(std::string folder) { m_folder = std::move(folder); }
    uint32_t Format() const { return m_format; }
    uint32_t MidiFlag() const { return m_midiFlag; }
    uint16_t FileTrackCount() const { return m_fileTrackCount; }
    void SetFileTrackCount(uint16_t count) { m_fileTrackCount = count; }
    uint16_t Division() const { return m_division; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // Undo and redo of the document's edits (the document is changed afterwards)
    int Undo();
    int Redo();

    // Events: after an event's time changed, moves it to its sorted place
    // (after equal times when it moved earlier, before them when it moved
    // later) and returns its new index
    size_t MoveEventToSortedPlace(size_t index, uint32_t oldTick, uint32_t newTick);

    // Track slots. Removing slot r drops record r and sequence track r + 1
    // (whose events must be gone) and moves the later tracks one down;
    // inserting puts the record at r and moves the later tracks one up
    // (refused while track 64 holds events, which would have nowhere to go).
    // Both keep 64 records; the file's track count is the caller's.
    bool RemoveTrackSlot(int row);
    bool InsertTrackSlot(int row, std::unique_ptr<CTrackInfo> record);

    // Mix switches of the track list (rows 0..63; others do nothing). Each
    // keeps the soloed-track and muted-track flags of the player current.
    void SetTrackRecordFlag(int row, int value);
    void SetTrackSolo(int row, int value);
    void SetTrackPlay(int row, int value);
    void RecomputeMixFlags();

    // Time signatures for the bar view
    uint32_t MeasureCount() const { return m_sequence.GetTimeSigCount(); }
    uint8_t NumeratorAt(uint32_t measure) const { return m_sequence.GetNumeratorAtMeasure(measure); }
    uint8_t DenominatorAt(uint32_t measure) const { return m_sequence.GetDenominatorAtMeasure(measure); }

    // Windows that show the document
    void AddListener(CMidDocListener* listener);
    void RemoveListener(CMidDocListener* listener);

    // Values shared with the track list, the bar view and the player
    uint32_t m_LoopFlag = 0;   // loop between From and Thru
    uint32_t m_RecordFlag = 0; // recording switch
    std::array<uint8_t, kTrackRecordCount> m_RowSelected{}; // rows selected in the bar view
    std::array<uint8_t, kTrackRecordCount> m_LiveVolume{};  // last volume sent while playing (100)
    std::array<uint8_t, kTrackRecordCount> m_LivePan{};     // last pan sent while playing (0)
    uint16_t m_RecordEchoChannels = 0xFFFF; // bit n: channel n + 1 is echoed while recording
    uint8_t m_SoloedTrackFlag = 0;          // some track is soloed
    uint8_t m_MutedTrackFlag = 0;           // some track with events is muted

    // CUndoOwner
    int UndoFileFormat() const override { return int(m_format); }
    CTrackInfo* UndoTrackRecord(int row) override { return TrackRecord(row); }
    bool UndoRemoveTrack(int row) override;
    bool UndoInsertTrack(int row, std::unique_ptr<CTrackInfo> record) override;
    void UndoFreezeViews() override;
    void UndoRefreshViews(bool tracksApplied) override;
    void UndoMasterEventRemoving(size_t index) override;
    void UndoMasterEventInserted(size_t index) override;
    void UndoTimeSignaturesChanged() override;

private:
    void MakeTrackRecords();
    void RenumberTrackRecords();
    bool TrackHasEvents(int track) const;

    CMidiParserEx m_sequence;
    std::vector<std::unique_ptr<CTrackInfo>> m_tracks;
    CTrackInfo m_masterTrack;
    CUndoManager m_undo;
    std::vector<CMidDocListener*> m_listeners;

    // The file
    std::vector<uint8_t> m_rawImage;
    std::string m_path;
    std::string m_folder;
    std::string m_parseError;
    uint32_t m_format = kNoFormat;
    uint32_t m_midiFlag = 0;
    uint16_t m_fileTrackCount = 0;
    uint16_t m_division = 0;
    bool m_modified = false;
};

} // namespace zib
