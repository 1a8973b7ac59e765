#pragma once

#include "mididoc/core/MidiDocHooks.h"

#include <atomic>
#include <cstdint>
#include <filesystem>

namespace zib {

class CMidiParserEx;
class CUndoManager;
class MidiDocModel;

// The document an event list edits: the MIDI document for the whole-file
// list, a pad or style document (TrackEditorOwner) for a track list.
class EventListOwner {
public:
    // Document kind values of the lists
    static constexpr uint32_t kMidiDocument = 1;
    static constexpr uint32_t kStyleDocument = 2;
    static constexpr uint32_t kPadDocument = 5;

    virtual ~EventListOwner();

    // The sequence the list shows (null: nothing to show)
    virtual CMidiParserEx* ListSequence() = 0;
    virtual CUndoManager& ListUndo() = 0;
    virtual const MidiDocHooks& ListHooks() const = 0;
    // The owner's playing flag: every edit is refused while it is set
    virtual bool ListPlaying() const = 0;
    // 1 MIDI document, 5 pad document, 2 style document (0 otherwise)
    virtual uint32_t ListDocKind() const = 0;
    // The keyboard model letter of a pad or style; the MIDI file's format
    virtual uint32_t ListModelLetter() const = 0;
    // Settings the lists read
    virtual int ListKeyAlphabet() const = 0;
    virtual int ListSortMethod() const = 0;
    // Where the list's text dump goes
    virtual std::filesystem::path ListFolder() const = 0;
    // Every edit ends here
    virtual void ListSetModified() = 0;
    // The MIDI document behind the whole-file list (its track records,
    // setters and bar view); null for pad and style documents
    virtual MidiDocModel* ListDocument() { return nullptr; }
};

} // namespace zib
