#pragma once

#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/CUndoOwner.h"
#include "mididoc/core/EventListOwner.h"

#include <functional>

namespace zib {

class ZibSettings;

// The part of a pad or style document that its track editor uses: the undo
// manager (owner kind 2), the sequence of the open track editor (the tree
// view's event-list parser), the model letter, the document's own playing
// flag and its modified flag. The pad and style documents of the style
// issue hold one each.
class TrackEditorOwner : public EventListOwner, public CUndoOwner {
public:
    TrackEditorOwner(uint32_t docKind, uint32_t modelLetter, const ZibSettings& settings,
                     const std::atomic<int>& playing, MidiDocHooks hooks = {});

    // The sequence of the bound track editor; null when no editor is open.
    // Binding another sequence (or none) drops the undo history: it lives as
    // long as the editor that made it.
    void BindSequence(CMidiParserEx* sequence);
    void SetFolder(std::filesystem::path folder) { m_folder = std::move(folder); }
    CUndoManager& Undo() { return m_undo; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    // Called after an edit set the modified flag, and after Undo or Redo refreshed
    std::function<void()> onModified;
    std::function<void()> onRefresh;

    // EventListOwner
    CMidiParserEx* ListSequence() override { return m_sequence; }
    CUndoManager& ListUndo() override { return m_undo; }
    const MidiDocHooks& ListHooks() const override { return m_hooks; }
    bool ListPlaying() const override { return m_playing.load() != 0; }
    uint32_t ListDocKind() const override { return m_docKind; }
    uint32_t ListModelLetter() const override { return m_modelLetter; }
    int ListKeyAlphabet() const override;
    int ListSortMethod() const override;
    std::filesystem::path ListFolder() const override { return m_folder; }
    void ListSetModified() override;

    // CUndoOwner
    CMidiParserEx* UndoSequence() override { return m_sequence; }
    void UndoFreezeViews() override { m_hooks.Views().Freeze(); }
    void UndoRefreshViews(bool tracksApplied) override;

private:
    uint32_t m_docKind;
    uint32_t m_modelLetter;
    const ZibSettings& m_settings;
    const std::atomic<int>& m_playing;
    MidiDocHooks m_hooks;
    CUndoManager m_undo;
    CMidiParserEx* m_sequence = nullptr;
    std::filesystem::path m_folder;
    bool m_modified = false;
};

} // namespace zib
