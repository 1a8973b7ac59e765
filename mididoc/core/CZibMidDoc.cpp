#include "mididoc/core/CZibMidDoc.h"

#include "mididoc/core/CMidDocWriter.h"
#include "mididoc/core/MidiTextDump.h"
#include "mididoc/core/SequenceEdits.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace zib {

namespace {

constexpr size_t kParseErrorTextSize = 80;
constexpr size_t kTrackNameLength = 16;

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

CZibMidDoc::CZibMidDoc()
{
    m_LiveVolume.fill(100);
    m_LivePan.fill(0);
    m_undo.SetOwner(CUndoManager::kOwnerMidiDocument, this);
    m_undo.SetSequence(&m_sequence);
}

CZibMidDoc::~CZibMidDoc()
{
    m_undo.ClearAll();
}

// ---- Opening and creating --------------------------------------------------

uint32_t CZibMidDoc::MidiExtensionTest(std::string_view path)
{
    if (path.size() < 4) return 0;
    std::string tail(path.substr(path.size() - 4));
    for (char& c : tail)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return tail == ".MID" ? 1u : 0u;
}

CZibMidDoc::Result CZibMidDoc::OpenFile(const std::string& path)
{
    std::vector<uint8_t> image;
    switch (readWholeFile(path, image, kMaxFileSize)) {
    case FileIoError::None:
        break;
    case FileIoError::TooLarge:
        return Result::TooLarge;
    default:
        return Result::ReadFailed;
    }
    return LoadImage(path, std::move(image));
}

CZibMidDoc::Result CZibMidDoc::LoadImage(const std::string& path, std::vector<uint8_t> image)
{
    DeleteContents();
    m_path = path;
    if (image.empty()) return Result::EmptyFile;
    if (image.size() > kMaxFileSize) return Result::TooLarge;
    m_rawImage = std::move(image);
    m_midiFlag = MidiExtensionTest(path);
    if (m_midiFlag != 1) {
        DeleteContents();
        return Result::NotMidiPath;
    }
    if (!ParseMidi()) return Result::ParseError;
    m_folder = folderOf(path);
    m_undo.SetSequence(&m_sequence);
    m_modified = false;
    return Result::Ok;
}

CZibMidDoc::Result CZibMidDoc::NewDocument(NewTemplate tmpl, const std::string& folder, const std::string& author,
                                           const std::string& year)
{
    DeleteContents();
    m_folder = folder;
    m_path = folder + "/NewFile";
    const int mode = tmpl == NewTemplate::SixteenTracks ? 1 : 0;
    CMidiParserEx maker;
    maker.SetAuthor(author);
    maker.SetCopyrightYear(year);
    uint32_t size = 0;
    if (maker.GetNewFileSize(mode, size) != 0) return Result::TemplateFailed;
    try {
        m_rawImage.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return Result::TemplateFailed;
    }
    if (maker.CreateNew(mode, m_rawImage.data(), size) != 0) {
        m_rawImage.clear();
        return Result::TemplateFailed;
    }
    m_rawImage.resize(size);
    m_midiFlag = 1;
    if (!ParseMidi()) return Result::ParseError;
    m_undo.SetSequence(&m_sequence);
    m_modified = false;
    return Result::Ok;
}

void CZibMidDoc::MakeTrackRecords()
{
    // Always exactly 64 records, whatever a previous parse left.
    m_tracks.clear();
    m_tracks.reserve(kTrackRecordCount);
    for (int i = 0; i < kTrackRecordCount; ++i) {
        auto record = std::make_unique<CTrackInfo>();
        record->index = uint32_t(i);
        m_tracks.push_back(std::move(record));
    }
}

bool CZibMidDoc::ParseMidi()
{
    if (m_midiFlag != 1) return false;
    m_parseError.clear();
    try {
        MakeTrackRecords();
    } catch (const std::bad_alloc&) {
        m_parseError = "Memory allocation failed!";
        DeleteContents();
        return false;
    }
    const int rc = m_sequence.ParseImage(m_rawImage.data(), uint32_t(m_rawImage.size()));
    if (rc != 0) {
        m_sequence.DeleteAllEvents();
        char text[kParseErrorTextSize] = {};
        m_sequence.ReportError(text, sizeof text, rc);
        m_parseError = text;
        DeleteContents();
        return false;
    }

    m_format = m_sequence.GetFormat();
    m_division = m_sequence.GetDivision();
    m_fileTrackCount = uint16_t(m_sequence.GetTrackCount() + (m_sequence.GetTrackShift() ? 1 : 0));
    const CMidiParserEx::Track& master = *m_sequence.GetTrack(0);
    m_masterTrack.rawData = master.rawBuffer;
    m_masterTrack.rawLength = master.rawSize;

    for (int i = 0; i < kTrackRecordCount; ++i) {
        CTrackInfo& record = *m_tracks[size_t(i)];
        const CMidiParserEx::Track& table = *m_sequence.GetTrack(i + 1);
        record.index = uint32_t(i);
        record.listedEvents = table.eventCount;
        record.totalEvents = table.totalCount;
        record.rawData = table.rawBuffer;
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
    RecomputeMixFlags();
    return true;
}

void CZibMidDoc::DeleteContents()
{
    m_undo.ClearAll();
    m_rawImage.clear();
    m_rawImage.shrink_to_fit();
    m_tracks.clear();
    m_masterTrack = CTrackInfo();
    m_sequence.DeleteAllEvents();
    m_SoloedTrackFlag = 0;
    m_MutedTrackFlag = 0;
}

// ---- Writing back ----------------------------------------------------------

CZibMidDoc::Result CZibMidDoc::BuildFileImage(std::vector<uint8_t>& out) const
{
    if (m_midiFlag != 1 || m_format > 1) return Result::BuildFailed;
    if (!m_modified && !m_rawImage.empty()) {
        out = m_rawImage;
        return Result::Ok;
    }
    try {
        return CMidDocWriter::Build(m_sequence, m_format, out) == CMidDocWriter::kOk ? Result::Ok
                                                                                      : Result::BuildFailed;
    } catch (const std::bad_alloc&) {
        return Result::BuildFailed;
    }
}

CZibMidDoc::Result CZibMidDoc::SaveAs(const std::string& path)
{
    std::vector<uint8_t> image;
    if (Result r = BuildFileImage(image); r != Result::Ok) return r;
    if (writeFileAtomically(path, image) != FileIoError::None) return Result::WriteFailed;
    // The file on disk is now what the document holds.
    m_rawImage = std::move(image);
    m_path = path;
    m_folder = folderOf(path);
    m_modified = false;
    return Result::Ok;
}

int CZibMidDoc::DumpMidiToTextFile(const std::filesystem::path& output, std::string_view fileName)
{
    std::string text;
    try {
        text = MidiTextDump(*this, fileName);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return writeFileAtomically(output, text) == FileIoError::None ? 0 : -1;
}

// ---- Undo and redo ---------------------------------------------------------

int CZibMidDoc::Undo()
{
    const int applied = m_undo.Undo();
    m_modified = true;
    return applied;
}

int CZibMidDoc::Redo()
{
    const int applied = m_undo.Redo();
    m_modified = true;
    return applied;
}

// ---- Events and track slots ------------------------------------------------

size_t CZibMidDoc::MoveEventToSortedPlace(size_t index, uint32_t oldTick, uint32_t newTick)
{
    return zib::MoveEventToSortedPlace(m_sequence, index, oldTick, newTick);
}

bool CZibMidDoc::TrackHasEvents(int track) const
{
    for (const auto& e : m_sequence.GetEvents())
        if (e->track == track) return true;
    return false;
}

void CZibMidDoc::RenumberTrackRecords()
{
    for (size_t i = 0; i < m_tracks.size(); ++i)
        m_tracks[i]->index = uint32_t(i);
}

bool CZibMidDoc::RemoveTrackSlot(int row)
{
    if (row < 0 || row >= TrackRecordCount()) return false;
    const int track = row + 1;
    // Events left on the track would land on the next one.
    if (TrackHasEvents(track)) return false;
    for (int t = track; t + 1 < CMidiParserEx::kMaxTracks; ++t)
        *m_sequence.GetTrack(t) = std::move(*m_sequence.GetTrack(t + 1));
    *m_sequence.GetTrack(CMidiParserEx::kMaxTracks - 1) = CMidiParserEx::Track();
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        CMidiEvent& e = *m_sequence.GetEvent(i);
        if (e.track > track) --e.track;
    }
    m_tracks.erase(m_tracks.begin() + row);
    m_tracks.push_back(std::make_unique<CTrackInfo>());
    RenumberTrackRecords();
    return true;
}

bool CZibMidDoc::InsertTrackSlot(int row, std::unique_ptr<CTrackInfo> record)
{
    if (!record || row < 0 || row >= TrackRecordCount()) return false;
    const int last = CMidiParserEx::kMaxTracks - 1;
    // The events of track 64 would have no track to move to.
    if (TrackHasEvents(last)) return false;
    const int track = row + 1;
    for (size_t i = 0; i < m_sequence.GetEventCount(); ++i) {
        CMidiEvent& e = *m_sequence.GetEvent(i);
        if (e.track >= track) ++e.track;
    }
    for (int t = last; t > track; --t)
        *m_sequence.GetTrack(t) = std::move(*m_sequence.GetTrack(t - 1));

    CMidiParserEx::Track table;
    table.modified = 1;
    table.eventCount = record->listedEvents;
    table.totalCount = record->totalEvents;
    table.volume = record->volume;
    table.pan = record->pan;
    table.bankMsb = record->BankMsb();
    table.bankLsb = record->BankLsb();
    table.program = record->program;
    table.channel = record->channel;
    table.port = record->port;
    table.name = record->name;
    table.rawBuffer = record->rawData;
    table.rawSize = uint32_t(record->rawData.size());
    *m_sequence.GetTrack(track) = std::move(table);

    m_tracks.insert(m_tracks.begin() + row, std::move(record));
    m_tracks.pop_back();
    RenumberTrackRecords();
    return true;
}

bool CZibMidDoc::UndoRemoveTrack(int row)
{
    if (!RemoveTrackSlot(row)) return false;
    if (m_format == 1 && m_fileTrackCount > 0) --m_fileTrackCount;
    return true;
}

bool CZibMidDoc::UndoInsertTrack(int row, std::unique_ptr<CTrackInfo> record)
{
    if (!InsertTrackSlot(row, std::move(record))) return false;
    if (m_format == 1) ++m_fileTrackCount;
    return true;
}

// ---- Mix switches ----------------------------------------------------------

void CZibMidDoc::RecomputeMixFlags()
{
    m_SoloedTrackFlag = 0;
    m_MutedTrackFlag = 0;
    for (const auto& t : m_tracks) {
        if (t->solo) m_SoloedTrackFlag = 1;
        if (t->hasEvents && !t->play) m_MutedTrackFlag = 1;
    }
}

void CZibMidDoc::SetTrackRecordFlag(int row, int value)
{
    if (CTrackInfo* t = TrackRecord(row)) t->record = value != 0 ? 1 : 0;
}

void CZibMidDoc::SetTrackSolo(int row, int value)
{
    CTrackInfo* t = TrackRecord(row);
    if (!t) return;
    t->solo = value != 0 ? 1 : 0;
    RecomputeMixFlags();
}

void CZibMidDoc::SetTrackPlay(int row, int value)
{
    CTrackInfo* t = TrackRecord(row);
    if (!t) return;
    // Only a track with events can be muted; any other call makes it play.
    t->play = (value == 0 && t->hasEvents) ? 0 : 1;
    RecomputeMixFlags();
}

// ---- Listeners -------------------------------------------------------------

void CZibMidDoc::AddListener(CMidDocListener* listener)
{
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void CZibMidDoc::RemoveListener(CMidDocListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void CZibMidDoc::UndoFreezeViews()
{
    for (CMidDocListener* l : m_listeners)
        l->FreezeViews();
}

void CZibMidDoc::UndoRefreshViews(bool tracksApplied)
{
    if (tracksApplied) RecomputeMixFlags();
    for (CMidDocListener* l : m_listeners)
        l->RefreshViews(tracksApplied);
}

void CZibMidDoc::UndoMasterEventRemoving(size_t index)
{
    for (CMidDocListener* l : m_listeners)
        l->MasterEventRemoving(index);
}

void CZibMidDoc::UndoMasterEventInserted(size_t index)
{
    for (CMidDocListener* l : m_listeners)
        l->MasterEventInserted(index);
}

void CZibMidDoc::UndoTimeSignaturesChanged()
{
    for (CMidDocListener* l : m_listeners)
        l->TimeSignaturesChanged();
}

} // namespace zib
