#include "mididoc/core/MidiDocModel.h"

#include "ui/core/ZibSettings.h"
#include "mididoc/core/CMidDocWriter.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/SequenceEdits.h"
#include "mididoc/core/MidiDocMessages.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace zib {

namespace {

constexpr size_t kParseErrorTextSize = 80;

// What a track's tables say about the track, beside its events and chunk:
// first values with their present flags, channel, port and name.
void takeTrackValues(CMidiParserEx::Track& to, const CMidiParserEx::Track& from)
{
    to.volume = from.volume;
    to.pan = from.pan;
    to.bankMsb = from.bankMsb;
    to.bankLsb = from.bankLsb;
    to.program = from.program;
    to.channel = from.channel;
    to.port = from.port;
    to.name = from.name;
    to.channelSeen = from.channelSeen;
    to.programSeen = from.programSeen;
    to.bankMsbSeen = from.bankMsbSeen;
    to.bankLsbSeen = from.bankLsbSeen;
    to.panSeen = from.panSeen;
    to.volumeSeen = from.volumeSeen;
    to.nameSeen = from.nameSeen;
    to.portSeen = from.portSeen;
}

// The chunk's size, bytes and end of track (an undo record keeps the bytes
// of a format-1 file only: in format 0 the tracks have no chunks of their own)
bool takeTrackBytes(CMidiParserEx::Track& to, const CMidiParserEx::Track& from)
{
    std::vector<uint8_t> bytes;
    if (!from.rawBuffer.empty() && !MidiDocAllocator::Resize(bytes, from.rawBuffer.size())) return false;
    std::copy(from.rawBuffer.begin(), from.rawBuffer.end(), bytes.begin());
    to.rawBuffer.swap(bytes);
    to.rawSize = from.rawSize;
    to.endTime = from.endTime;
    return true;
}

} // namespace

MidiDocModel::MidiDocModel(ZibSettings& settings, const std::atomic<int>& playing, MidiDocHooks hooks)
    : m_settings(settings), m_playing(playing), m_hooks(std::move(hooks)), m_undo(playing)
{
    m_LiveVolume.fill(100);
    m_LivePan.fill(0);
    m_folder = settings.LastOpenedDirectory;
    m_undo.SetOwner(CUndoManager::kOwnerMidiDocument, this);
}

MidiDocModel::~MidiDocModel()
{
    m_undo.ClearAll();
}

void MidiDocModel::Report(int message, std::string_view caption, DocMessage::Icon icon, std::string extra)
{
    DocMessage m;
    m.message = message;
    m.caption = std::string(caption);
    m.icon = icon;
    m.extra = std::move(extra);
    m_hooks.Reports().Report(m);
}

int MidiDocModel::ListKeyAlphabet() const
{
    return m_settings.KeyAlphabet;
}

int MidiDocModel::ListSortMethod() const
{
    return m_settings.MidiSortMethod;
}

std::string MidiDocModel::Title() const
{
    return m_title.empty() ? m_path.filename().string() : m_title;
}

CTrackInfo* MidiDocModel::TrackRecord(int row)
{
    return row >= 0 && row < TrackRecordCount() ? &m_tracks[size_t(row)] : nullptr;
}

const CTrackInfo* MidiDocModel::TrackRecord(int row) const
{
    return row >= 0 && row < TrackRecordCount() ? &m_tracks[size_t(row)] : nullptr;
}

void MidiDocModel::RefreshTrackCounts(int track)
{
    if (CTrackInfo* record = TrackRecord(track - 1)) {
        record->listedEvents = m_sequence.GetTrackEventCount(track);
        record->totalEvents = m_sequence.GetTrackTotalEvents(track);
    }
}

void MidiDocModel::RefreshAllTrackCounts()
{
    for (int t = 1; t <= TrackRecordCount(); ++t)
        RefreshTrackCounts(t);
}

// ---- Opening and creating --------------------------------------------------

uint32_t MidiDocModel::MidiExtensionTest(const std::filesystem::path& path)
{
    const std::string text = path.string();
    if (text.size() < 4) return 0;
    std::string tail = text.substr(text.size() - 4);
    for (char& c : tail)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return tail == ".MID" ? 1u : 0u;
}

MidiDocModel::OpenResult MidiDocModel::OnOpenDocument(const std::filesystem::path& path)
{
    if (m_hooks.loadInstruments) m_hooks.loadInstruments();
    std::vector<uint8_t> image;
    switch (readWholeFile(path, image, kMaxFileSize)) {
    case FileIoError::None:
        break;
    case FileIoError::TooLarge:
        m_path = path;
        Report(14, "Serialize");
        return OpenResult::ReadFailed;
    default:
        m_path = path;
        Report(9, "Serialize");
        return OpenResult::ReadFailed;
    }
    return OpenImage(path, std::move(image));
}

MidiDocModel::OpenResult MidiDocModel::OpenImage(const std::filesystem::path& path, std::vector<uint8_t> image)
{
    DeleteContents();
    m_path = path;
    m_title.clear();
    if (image.empty()) {
        Report(kMsgEmptyFile, "");
        return OpenResult::EmptyFile;
    }
    m_rawImage = std::move(image);
    m_midiFlag = MidiExtensionTest(path);
    if (m_midiFlag != 1) {
        Close();
        return OpenResult::NotMidiPath;
    }
    if (!ParseMidi()) return OpenResult::ParseError;
    m_folder = path.parent_path();
    return FinishOpen(OpenResult::Ok);
}

MidiDocModel::OpenResult MidiDocModel::FinishOpen(OpenResult result)
{
    if (!m_hooks.Views().ShowDocument()) {
        DeleteContents();
        return OpenResult::ViewsFailed;
    }
    m_modified = false;
    RememberFolder();
    return result;
}

void MidiDocModel::RememberFolder()
{
    m_settings.LastOpenedFileType = int(m_midiFlag);
    m_settings.WriteSetting("LastOpenedFileType");
    if (!m_folder.empty()) m_settings.SetLastOpenedDirectory(m_folder.string());
}

MidiDocModel::OpenResult MidiDocModel::OnNewDocument(int templateChoice)
{
    if (m_hooks.loadInstruments) m_hooks.loadInstruments();
    DeleteContents();
    m_folder = m_settings.LastOpenedDirectory;
    m_path = m_folder / "NewFile";
    m_title = "NewFile";
    const int mode = templateChoice == 1 ? 1 : 0;
    CMidiParserEx maker;
    maker.SetAuthor(m_settings.Author); // the setting keeps Windows-1252 bytes
    uint32_t size = 0;
    if (maker.GetNewFileSize(mode, size) != 0) {
        Report(kMsgCannotCreateTemplate, "");
        return OpenResult::TemplateFailed;
    }
    if (!MidiDocAllocator::Resize(m_rawImage, size)) return OpenResult::TemplateFailed;
    if (maker.CreateNew(mode, m_rawImage.data(), size) != 0) {
        m_rawImage.clear();
        Report(kMsgCannotCreateTemplate, "");
        return OpenResult::TemplateFailed;
    }
    m_rawImage.resize(size);
    m_midiFlag = 1;
    if (!ParseMidi()) {
        Close();
        return OpenResult::ParseError;
    }
    return FinishOpen(OpenResult::Ok);
}

// The record of a track without events, as a file gives it
CTrackInfo MidiDocModel::EmptyTrackRecord()
{
    CTrackInfo record;
    record.channel = 0xFF;
    record.bank = 0xFF00;
    record.program = 0xFF;
    record.volume = 100;
    return record;
}

void MidiDocModel::MakeTrackRecords()
{
    m_tracks.assign(kTrackRecordCount, CTrackInfo());
    for (int i = 0; i < kTrackRecordCount; ++i)
        m_tracks[size_t(i)].index = uint32_t(i);
}

bool MidiDocModel::ParseMidi()
{
    if (m_midiFlag != 1) return false;
    if (m_hooks.enumerateDevices) m_hooks.enumerateDevices();
    WaitCursor wait(m_hooks.Reports());
    m_parseError.clear();
    MakeTrackRecords();
    int rc;
    try {
        rc = m_sequence.ParseImage(m_rawImage.data(), uint32_t(m_rawImage.size()));
    } catch (const std::bad_alloc&) {
        rc = CMidiParserEx::kCannotAllocateEvents;
    }
    if (rc != 0) {
        m_sequence.DeleteAllEvents();
        char text[kParseErrorTextSize] = {};
        m_sequence.ReportError(text, sizeof text, rc);
        m_parseError = text;
        DeleteContents();
        DocMessage m;
        m.uiText = "ERROR! %s";
        m.extra = cp1252ToUtf8(m_parseError);
        m.caption = "ParseMidi";
        m_hooks.Reports().Report(m);
        return false;
    }
    m_format = m_sequence.GetFormat();
    m_division = m_sequence.GetDivision();
    m_fileTrackCount = uint16_t(m_sequence.GetTrackCount() + (m_sequence.GetTrackShift() ? 1 : 0));
    m_masterTrack = CTrackInfo();
    m_masterTrack.rawLength = m_sequence.GetTrack(0)->rawSize;
    for (int i = 0; i < kTrackRecordCount; ++i) {
        CTrackInfo& record = m_tracks[size_t(i)];
        const CMidiParserEx::Track& table = *m_sequence.GetTrack(i + 1);
        record.index = uint32_t(i);
        record.listedEvents = table.eventCount;
        record.totalEvents = table.totalCount;
        record.rawLength = table.rawSize;
        record.volume = table.volume;
        record.pan = table.pan;
        const uint8_t msb = table.bankMsbSeen ? table.bankMsb : 0xFF;
        record.bank = uint16_t(msb << 8 | table.bankLsb);
        record.program = table.programSeen ? table.program : 0xFF;
        record.channel = table.channel;
        record.port = table.port;
        record.recordChannel = 0;
        record.record = 0;
        record.name = table.name.substr(0, kTrackNameLength);
        record.hasEvents = table.totalCount > 0 ? 1 : 0;
        record.play = record.hasEvents;
        record.solo = 0;
    }
    return true;
}

void MidiDocModel::Close()
{
    DeleteContents();
}

void MidiDocModel::DeleteContents()
{
    m_hooks.Views().CloseEditors();
    m_undo.ClearAll();
    m_rawImage.clear();
    m_rawImage.shrink_to_fit();
    m_tracks.clear();
    m_masterTrack = CTrackInfo();
    m_sequence.DeleteAllEvents();
    m_hooks.Views().CloseViewer();
}

MidiDocModel::CloseDecision MidiDocModel::SaveModifiedDecision(bool modified, CloseAnswer answer)
{
    if (!modified) return {true, false};
    switch (answer) {
    case CloseAnswer::Yes:
        return {true, true};
    case CloseAnswer::No:
        return {true, false};
    case CloseAnswer::Cancel:
    default:
        return {false, false};
    }
}

std::string MidiDocModel::SaveModifiedText() const
{
    return "Save changes to " + Title();
}

// ---- Saving ----------------------------------------------------------------

std::vector<uint8_t> MidiDocModel::BuildFileImage(bool& ok) const
{
    ok = false;
    std::vector<uint8_t> out;
    if (m_midiFlag != 1 || m_format > 1 || m_tracks.empty()) return out;
    if (!m_modified && !m_rawImage.empty()) {
        ok = true;
        return m_rawImage;
    }
    try {
        ok = CMidDocWriter::Build(m_sequence, m_format, out) == CMidDocWriter::kOk;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    return out;
}

MidiDocModel::SaveResult MidiDocModel::Save()
{
    return SaveAs(m_path);
}

MidiDocModel::SaveResult MidiDocModel::SaveAs(const std::filesystem::path& path)
{
    bool ok = false;
    std::vector<uint8_t> image = BuildFileImage(ok);
    if (!ok) return SaveResult::BuildFailed;
    if (writeFileAtomically(path, image) != FileIoError::None) return SaveResult::WriteFailed;
    m_rawImage = std::move(image);
    m_path = path;
    m_folder = path.parent_path();
    m_title.clear();
    m_modified = false;
    return SaveResult::Ok;
}

// ---- Mix switches ----------------------------------------------------------

bool MidiDocModel::SomeTrackSoloed() const
{
    return std::any_of(m_tracks.begin(), m_tracks.end(), [](const CTrackInfo& t) { return t.solo != 0; });
}

bool MidiDocModel::SomeTrackMuted() const
{
    return std::any_of(m_tracks.begin(), m_tracks.end(),
                       [](const CTrackInfo& t) { return t.hasEvents && t.play == 0; });
}

void MidiDocModel::SetTrackRecordFlag(int row, int value)
{
    if (CTrackInfo* t = TrackRecord(row)) t->record = value != 0 ? 1 : 0;
}

void MidiDocModel::SetTrackSolo(int row, int value)
{
    if (CTrackInfo* t = TrackRecord(row)) t->solo = value != 0 ? 1 : 0;
}

void MidiDocModel::SetTrackPlay(int row, int value)
{
    // Only a track with events can be muted; any other call makes it play.
    if (CTrackInfo* t = TrackRecord(row)) t->play = (value == 0 && t->hasEvents) ? 0 : 1;
}

// ---- Undo and redo ---------------------------------------------------------

EditResult MidiDocModel::ResultOf(CUndoManager::Outcome outcome)
{
    switch (outcome) {
    case CUndoManager::Outcome::Applied:
        m_modified = true;
        return EditResult::Done;
    case CUndoManager::Outcome::RefusedWhilePlaying:
        return EditResult::RefusedWhilePlaying;
    case CUndoManager::Outcome::Failed:
        m_modified = true;
        return EditResult::Failed;
    default:
        return EditResult::Nothing;
    }
}

EditResult MidiDocModel::Undo()
{
    return ResultOf(m_undo.UndoGroup());
}

EditResult MidiDocModel::Redo()
{
    return ResultOf(m_undo.RedoGroup());
}

void MidiDocModel::UndoFreezeViews()
{
    m_hooks.Views().Freeze();
}

void MidiDocModel::UndoRefreshViews(bool tracksApplied)
{
    MidiDocViews& views = m_hooks.Views();
    if (tracksApplied) views.TrackRowsChanged();
    views.Thaw();
    views.Refill();
    views.Redraw();
}

void MidiDocModel::UndoMasterEventRemoving(size_t index)
{
    m_hooks.Views().RemoveMasterRow(index);
}

void MidiDocModel::UndoMasterEventInserted(size_t index)
{
    m_hooks.Views().InsertMasterRow(index);
}

void MidiDocModel::UndoTimeSignaturesChanged()
{
    m_hooks.Views().RebuildBarList();
}

// ---- Track slots -----------------------------------------------------------

bool MidiDocModel::TrackHasEvents(int track) const
{
    for (const auto& e : m_sequence.GetEvents())
        if (e->track == track) return true;
    return false;
}

bool MidiDocModel::RemoveTrackSlot(int row)
{
    if (row < 0 || row >= TrackRecordCount()) return false;
    const int track = row + 1;
    // Events left on the track would land on the next one.
    if (TrackHasEvents(track)) return false;
    for (int t = track; t + 1 < CMidiParserEx::kMaxTracks; ++t)
        *m_sequence.GetTrack(t) = std::move(*m_sequence.GetTrack(t + 1));
    *m_sequence.GetTrack(CMidiParserEx::kMaxTracks - 1) = CMidiParserEx::Track();
    for (const auto& e : m_sequence.GetEvents())
        if (e->track > track) --e->track;
    m_tracks.erase(m_tracks.begin() + row);
    m_tracks.push_back(EmptyTrackRecord());
    for (size_t i = 0; i < m_tracks.size(); ++i)
        m_tracks[i].index = uint32_t(i);
    // The rows selected for the bar view move with their tracks.
    std::move(m_RowSelected.begin() + row + 1, m_RowSelected.end(), m_RowSelected.begin() + row);
    m_RowSelected.back() = 0;
    return true;
}

bool MidiDocModel::InsertTrackSlot(int row, const CTrackInfo& record, const CMidiParserEx::Track* values)
{
    if (row < 0 || row >= TrackRecordCount()) return false;
    const int last = CMidiParserEx::kMaxTracks - 1;
    // The events of track 64 would have no track to move to.
    if (TrackHasEvents(last)) return false;
    const int track = row + 1;
    CMidiParserEx::Track table;
    table.modified = 1;
    if (values) {
        takeTrackValues(table, *values);
        table.eventCount = values->eventCount;
        table.totalCount = values->totalCount;
        if (!takeTrackBytes(table, *values)) return false;
    } else {
        table.eventCount = record.listedEvents;
        table.totalCount = record.totalEvents;
        table.volume = record.volume;
        table.pan = record.pan;
        table.bankMsb = record.BankMsb();
        table.bankLsb = record.BankLsb();
        table.program = record.program;
        table.channel = record.channel;
        table.port = record.port;
        table.name = record.name;
    }
    for (const auto& e : m_sequence.GetEvents())
        if (e->track >= track) ++e->track;
    for (int t = last; t > track; --t)
        *m_sequence.GetTrack(t) = std::move(*m_sequence.GetTrack(t - 1));
    *m_sequence.GetTrack(track) = std::move(table);
    m_tracks.insert(m_tracks.begin() + row, record);
    m_tracks.pop_back();
    for (size_t i = 0; i < m_tracks.size(); ++i)
        m_tracks[i].index = uint32_t(i);
    std::move_backward(m_RowSelected.begin() + row, m_RowSelected.end() - 1, m_RowSelected.end());
    m_RowSelected[size_t(row)] = 0;
    return true;
}

const CMidiParserEx::Track* MidiDocModel::UndoTrackTable(int row)
{
    return row >= 0 && row < TrackRecordCount() ? m_sequence.GetTrack(row + 1) : nullptr;
}

// The file's track count goes back to the one the record carries: a command
// that deleted tracks beyond the file's own counted only those it held.
bool MidiDocModel::UndoRemoveTrack(int row, int fileTrackCount)
{
    if (!RemoveTrackSlot(row)) return false;
    if (m_format == 1 && fileTrackCount >= 0) m_fileTrackCount = uint16_t(fileTrackCount);
    return true;
}

bool MidiDocModel::UndoInsertTrack(int row, const CTrackInfo& record, const CMidiParserEx::Track& table,
                                   int fileTrackCount)
{
    if (!InsertTrackSlot(row, record, &table)) return false;
    if (m_format == 1 && fileTrackCount >= 0) m_fileTrackCount = uint16_t(fileTrackCount);
    return true;
}

// The record and the sequence's tables of its track take the recorded
// values, present flags and channel included; the event counts stay, as the
// events that Undo removes or puts back keep them.
bool MidiDocModel::UndoRestoreTrack(int row, const CTrackInfo& snapshot, const CMidiParserEx::Track& values)
{
    CTrackInfo* live = TrackRecord(row);
    CMidiParserEx::Track* table = m_sequence.GetTrack(row + 1);
    if (!live || !table) return false;
    if (!takeTrackBytes(*table, values)) return false;
    *live = snapshot;
    live->index = uint32_t(row);
    takeTrackValues(*table, values);
    RefreshTrackCounts(row + 1);
    return true;
}

size_t MidiDocModel::MoveEventToSortedPlace(size_t index, uint32_t oldTick, uint32_t newTick)
{
    return zib::MoveEventToSortedPlace(m_sequence, index, oldTick, newTick);
}

} // namespace zib
