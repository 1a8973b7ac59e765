#pragma once

#include "midi/CMidiParserEx.h"
#include "mididoc/core/CTrackInfo.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/CUndoOwner.h"
#include "mididoc/core/EditResult.h"
#include "mididoc/core/EventListOwner.h"
#include "mididoc/core/MidiDocHooks.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

class ZibSettings;

// One Standard MIDI File opened or created by the user, without windows: the
// whole file image, the editable sequence parsed from it, no track records or
// exactly 64 (record i describes sequence track i + 1) and one for the master
// track, the undo manager, and the per-track and transport values that the
// track list, the bar view and the player share. It opens, creates, saves and
// closes the file, runs the editing commands of whole tracks and of the
// From-Thru stretch, the text dumps and the MIDI-to-style conversions, and
// reports through its hooks (views, dialogs, clipboard, message boxes).
//
// The playing guard: while the playing flag (ShellServices::Playing) is set,
// every edit command, Undo and Redo return RefusedWhilePlaying and change
// nothing. All of it runs on the UI thread.
class MidiDocModel : public CUndoOwner, public EventListOwner {
public:
    static constexpr int kTrackRecordCount = 64;
    static constexpr uint32_t kNoFormat = 32;   // the format before a file is parsed
    static constexpr uintmax_t kMaxFileSize = uintmax_t(64) << 20;
    static constexpr size_t kTrackNameLength = 16;

    // How opening or creating a file ended
    enum class OpenResult {
        Ok,
        NotMidiPath,    // the path does not end in ".MID": no document, no message
        EmptyFile,      // "File possibly corrupted - empty file"
        ReadFailed,     // the file cannot be read (or is larger than kMaxFileSize)
        ParseError,     // "ERROR! %s", caption "ParseMidi"
        ViewsFailed,    // the bar view cannot show the file
        TemplateFailed, // "Cannot create new midi template"
    };
    // How saving ended
    enum class SaveResult { Ok, BuildFailed, WriteFailed };
    // The answer to the close prompt and what it means
    enum class CloseAnswer { Yes, No, Cancel };
    struct CloseDecision {
        bool close = true; // the document may close
        bool save = false; // ... after Save ran
        bool operator==(const CloseDecision&) const = default;
    };

    MidiDocModel(ZibSettings& settings, const std::atomic<int>& playing, MidiDocHooks hooks = {});
    ~MidiDocModel() override;
    MidiDocModel(const MidiDocModel&) = delete;
    MidiDocModel& operator=(const MidiDocModel&) = delete;

    const MidiDocHooks& Hooks() const { return m_hooks; }
    void SetHooks(MidiDocHooks hooks) { m_hooks = std::move(hooks); }

    // ---- Opening, creating, closing (documents) --------------------------
    // 1 when the last four characters of the path, upper-cased, are ".MID"
    static uint32_t MidiExtensionTest(const std::filesystem::path& path);
    // Reads the file whole and opens its image
    OpenResult OnOpenDocument(const std::filesystem::path& path);
    OpenResult OpenImage(const std::filesystem::path& path, std::vector<uint8_t> image);
    // A new file from template 0 ("Normal template") or 1 ("16 track
    // template"; a negative choice counts as 0) in the folder LastOpenedDirectory
    OpenResult OnNewDocument(int templateChoice);
    // Fills the sequence and the 64 track records from the raw image
    bool ParseMidi();
    // After a fatal failure: the editors and the viewer close, everything goes
    void Close();
    void DeleteContents();
    // The close prompt as a rule: a document that is not modified closes at
    // once; Cancel keeps it open; Yes saves first; No closes without saving
    static CloseDecision SaveModifiedDecision(bool modified, CloseAnswer answer);
    // The prompt's text: "Save changes to " and the title
    std::string SaveModifiedText() const;
    // Writes the sequence as a file (an unmodified document writes its image
    // as read), to a temporary file then renamed; the document takes the path
    SaveResult Save();
    SaveResult SaveAs(const std::filesystem::path& path);
    std::vector<uint8_t> BuildFileImage(bool& ok) const;

    // ---- What the document holds -------------------------------------------
    CMidiParserEx& Sequence() { return m_sequence; }
    const CMidiParserEx& Sequence() const { return m_sequence; }
    CUndoManager& UndoManager() { return m_undo; }
    int TrackRecordCount() const { return int(m_tracks.size()); }
    bool HasTrackRecords() const { return !m_tracks.empty(); }
    CTrackInfo* TrackRecord(int row);
    const CTrackInfo* TrackRecord(int row) const;
    const CTrackInfo& MasterTrackRecord() const { return m_masterTrack; }
    const std::vector<uint8_t>& RawImage() const { return m_rawImage; }
    const std::filesystem::path& Path() const { return m_path; }
    const std::filesystem::path& Folder() const { return m_folder; }
    std::string Title() const;
    void SetTitle(std::string title) { m_title = std::move(title); }
    uint32_t Format() const { return m_format; }
    uint32_t MidiFlag() const { return m_midiFlag; }
    uint16_t FileTrackCount() const { return m_fileTrackCount; }
    uint16_t Division() const { return m_division; }
    const std::string& ParseErrorText() const { return m_parseError; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }
    bool Playing() const { return m_playing.load() != 0; }
    // The track's record takes the sequence's event counts (track 1-64)
    void RefreshTrackCounts(int track);

    // Time signatures for the bar view
    uint32_t MeasureCount() const { return m_sequence.GetTimeSigCount(); }
    uint8_t NumeratorAt(uint32_t measure) const { return m_sequence.GetNumeratorAtMeasure(measure); }
    uint8_t DenominatorAt(uint32_t measure) const { return m_sequence.GetDenominatorAtMeasure(measure); }

    // ---- Values shared with the track list, the bar view and the player ----
    uint32_t m_LoopFlag = 0;   // loop between From and Thru (the "Set Loop On/Off" button)
    uint32_t m_RecordFlag = 0; // recording switch
    std::array<uint8_t, kTrackRecordCount> m_RowSelected{}; // rows selected in the bar view
    std::array<uint8_t, kTrackRecordCount> m_LiveVolume{};  // volume sent last while playing (100)
    std::array<uint8_t, kTrackRecordCount> m_LivePan{};     // pan sent last while playing (0)
    uint16_t m_RecordEchoChannels = 0xFFFF;                 // bit n: channel n + 1 is echoed while recording
    std::array<uint8_t, 65> m_ShownTracks{};                // tracks of the event editor (index = track)
    bool SomeTrackSoloed() const;
    bool SomeTrackMuted() const; // a track with events whose play flag is 0
    // Mix switches of the track list (rows 0..63)
    void SetTrackRecordFlag(int row, int value);
    void SetTrackSolo(int row, int value);
    void SetTrackPlay(int row, int value);

    // ---- Undo and redo -----------------------------------------------------
    EditResult Undo();
    EditResult Redo();

    // ---- Editing commands (From, Thru and the position in ticks) ----------
    EditResult OnEditDeleteTrack(const std::vector<int>& selectedRows);
    // Inserts an empty track at the focused and selected row (-1: none)
    EditResult InsertMidiTrack(int row);
    // Removes the events of the selected tracks from From to Thru; `removed` counts them
    EditResult DeleteFromThru(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru);
    EditResult DeleteFromThru(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru, size_t& removed);
    // The tracks flagged in m_RowSelected, with the "Copy MIDI Events" dialog
    EditResult CopyToClipboardFromThru(uint32_t from, uint32_t thru);
    // At the bar view's position, onto the first track flagged in m_RowSelected
    EditResult OnEditPaste(uint32_t startTick);
    EditResult TransposeSelectedTracksFromThru(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru);
    EditResult OnUtilTranspose();
    EditResult ShiftSelectedTracksFromThru(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru);
    // "Set From/Thru position": the new markers, or nothing on Cancel
    std::optional<FromThruTicks> SetFromThru(uint32_t from, uint32_t thru);
    EditResult ChangeDivision();
    // "Go to M:B:T": the bar view goes to the chosen position
    EditResult GoToPosition(uint32_t tick);
    // "Track Record Input" with the focused row (-1: none) selected in the dialog
    EditResult TrackRecordInput(int focusedRow = -1);
    EditResult MidiRecordSettings();
    // Track properties of the focused row (-1: none) and of a row
    EditResult OnEditMidiTrackProperties(int focusedRow, int column);
    EditResult EditMidiTrackProperties(int row, int column);
    // The track list's label edit: the row's track takes the name (UTF-8,
    // at most 256 bytes stored) as one undo group; the same name changes nothing
    EditResult RenameTrack(int row, const std::string& name);

    // Track setters (track 1-64; 0 on failure). The group-start flag is
    // cleared once a record was written.
    uint32_t SetTrackVolume(uint8_t value, int track, uint8_t channel, uint32_t& groupStart);
    uint32_t SetTrackPan(uint8_t value, int track, uint8_t channel, uint32_t& groupStart);
    uint32_t SetTrackName(const std::string& name, int track, uint32_t& groupStart); // Windows-1252
    uint32_t SetTrackPort(uint8_t port, int track, uint32_t& groupStart);
    uint32_t SetTrackProgram(uint8_t program, int track, uint8_t channel, uint32_t& groupStart);
    // 0xFF00 when a bank MSB of 255 removed the bank
    uint32_t SetTrackBank(uint16_t bank, int track, uint8_t channel, uint32_t& groupStart);

    // After an event's time changed: its sorted place (after equal times when
    // it moved earlier, before them when it moved later)
    size_t MoveEventToSortedPlace(size_t index, uint32_t oldTick, uint32_t newTick);

    // ---- Text dumps and MIDI to style --------------------------------------
    // The listing into `output` (0), or -1 with "Cannot open report file"
    int DumpMidiToTextFile(const std::filesystem::path& output, std::string_view fileName);
    std::string DumpText(std::string_view fileName);
    // "&File Text Dump": the title without its extension + ".txt" in the
    // document's folder, shown in the text viewer
    EditResult OnFileTextDump();
    // "Midi To Text": into a chosen file
    EditResult OnMidiToText();
    std::filesystem::path DumpFilePath() const;
    // "MIDI To wq-series Style" and "Midi to QE4K Style"
    EditResult OnUtilMidiToSty();
    EditResult OnUtilMidiToQeSty();

    // ---- EventListOwner ----------------------------------------------------
    CMidiParserEx* ListSequence() override { return &m_sequence; }
    CUndoManager& ListUndo() override { return m_undo; }
    const MidiDocHooks& ListHooks() const override { return m_hooks; }
    bool ListPlaying() const override { return Playing(); }
    uint32_t ListDocKind() const override { return m_midiFlag == 1 ? kMidiDocument : 0; }
    uint32_t ListModelLetter() const override { return m_format; }
    int ListKeyAlphabet() const override;
    int ListSortMethod() const override;
    std::filesystem::path ListFolder() const override { return m_folder; }
    void ListSetModified() override { m_modified = true; }
    MidiDocModel* ListDocument() override { return this; }

    // ---- CUndoOwner --------------------------------------------------------
    CMidiParserEx* UndoSequence() override { return &m_sequence; }
    void UndoFreezeViews() override;
    void UndoRefreshViews(bool tracksApplied) override;
    int UndoFileFormat() const override { return int(m_format); }
    CTrackInfo* UndoTrackRecord(int row) override { return TrackRecord(row); }
    const CMidiParserEx::Track* UndoTrackTable(int row) override;
    int UndoFileTrackCount() const override { return m_fileTrackCount; }
    bool UndoRemoveTrack(int row, int fileTrackCount) override;
    bool UndoInsertTrack(int row, const CTrackInfo& record, const CMidiParserEx::Track& table,
                         int fileTrackCount) override;
    bool UndoRestoreTrack(int row, const CTrackInfo& record, const CMidiParserEx::Track& table) override;
    void UndoTrackCountsChanged(int track) override { RefreshTrackCounts(track); }
    void UndoMasterEventRemoving(size_t index) override;
    void UndoMasterEventInserted(size_t index) override;
    void UndoTimeSignaturesChanged() override;

    // Track slots: removing slot r drops record r and sequence track r + 1
    // (whose events must be gone) and moves the later tracks one down;
    // inserting puts a record at r and moves the later tracks one up (refused
    // while track 64 holds events); the track's tables are the given ones, or
    // made from the record. Both keep 64 records.
    bool RemoveTrackSlot(int row);
    bool InsertTrackSlot(int row, const CTrackInfo& record, const CMidiParserEx::Track* table = nullptr);

private:
    void Report(int message, std::string_view caption, DocMessage::Icon icon = DocMessage::Icon::Exclamation,
                std::string extra = {});
    OpenResult FinishOpen(OpenResult result);
    void MakeTrackRecords();
    static CTrackInfo EmptyTrackRecord();
    void RememberFolder();
    void RefreshAllTrackCounts();
    bool TrackHasEvents(int track) const;
    std::vector<int> FromThruRows(const std::vector<int>& selectedRows, uint32_t from, uint32_t thru);
    void MarkFromThru(const std::vector<int>& rows, uint32_t from, uint32_t thru, uint16_t mark);
    // The pair ids of the note-offs marked without their note-on
    std::vector<int32_t> NoteOffsMarkedAlone(uint16_t mark) const;
    // After a command removed or moved those note-offs: each note takes its
    // duration to its note-off again, or becomes an open note when the
    // note-off is gone or lies before it (the note-off then stands alone),
    // recorded in the command's group when `record` is set
    void MendNotePairs(const std::vector<int32_t>& pairIds, bool record);
    // Where the file ends a note-on that has no note-off, as the reader takes it
    uint32_t OpenNoteEnd(const CMidiEvent& noteOn) const;
    uint32_t SetTrackController(uint8_t controller, uint8_t value, int track, uint8_t channel,
                                uint32_t& groupStart);
    uint32_t SetTrackMeta(uint8_t type, std::span<const uint8_t> data, uint8_t flag, int track,
                          uint32_t& groupStart);
    int64_t FindFirstOfKind(int track, uint8_t status, int controller, uint8_t channel) const;
    size_t InitialValuePlace() const;
    bool InsertInitialEvent(std::unique_ptr<CMidiEvent> e, uint32_t& groupStart);
    EditResult RunMidiToStyle(bool qe);
    EditResult ResultOf(CUndoManager::Outcome outcome);

    ZibSettings& m_settings;
    const std::atomic<int>& m_playing;
    MidiDocHooks m_hooks;
    CMidiParserEx m_sequence;
    std::vector<CTrackInfo> m_tracks;
    CTrackInfo m_masterTrack;
    CUndoManager m_undo;

    // The file
    std::vector<uint8_t> m_rawImage;
    std::filesystem::path m_path;
    std::filesystem::path m_folder;
    std::string m_title;
    std::string m_parseError;
    uint32_t m_format = kNoFormat;
    uint32_t m_midiFlag = 0;
    uint16_t m_fileTrackCount = 0;
    uint16_t m_division = 0;
    bool m_modified = false;
};

} // namespace zib
