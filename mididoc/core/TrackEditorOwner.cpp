#include "mididoc/core/TrackEditorOwner.h"

#include "ui/core/ZibSettings.h"

namespace zib {

TrackEditorOwner::TrackEditorOwner(uint32_t docKind, uint32_t modelLetter, const ZibSettings& settings,
                                   const std::atomic<int>& playing, MidiDocHooks hooks)
    : m_docKind(docKind), m_modelLetter(modelLetter), m_settings(settings), m_playing(playing),
      m_hooks(std::move(hooks)), m_undo(playing)
{
    m_undo.SetOwner(CUndoManager::kOwnerPadOrStyle, this);
}

void TrackEditorOwner::BindSequence(CMidiParserEx* sequence)
{
    m_undo.ClearAll();
    m_sequence = sequence;
}

int TrackEditorOwner::ListKeyAlphabet() const
{
    return m_settings.KeyAlphabet;
}

int TrackEditorOwner::ListSortMethod() const
{
    return m_settings.MidiSortMethod;
}

void TrackEditorOwner::ListSetModified()
{
    m_modified = true;
    if (onModified) onModified();
}

void TrackEditorOwner::UndoRefreshViews(bool)
{
    m_hooks.Views().Thaw();
    m_hooks.Views().Refill();
    if (onRefresh) onRefresh();
}

} // namespace zib
