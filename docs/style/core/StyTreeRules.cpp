#include "docs/style/core/StyTreeRules.h"

#include "ui/core/CommandIds.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyWindowCommandIds.h"

namespace zib {

StyTreeState StyTreeState::OfQe(QeStyleEditor& editor, const QeTreeSelection& s, bool rootSelected,
                                bool clipboardHasBlock, bool pad)
{
    StyTreeState state;
    state.qe = true;
    state.pad = pad;
    state.selection = s;
    state.rootSelected = rootSelected;
    state.clipboardHasBlock = clipboardHasBlock;
    if (s.element == 255) return state;
    state.elementStatus = editor.QueryStyleElem(s.element);
    for (int c = 0; c < QeStyleEditor::CvCountOf(s.element); ++c)
        if (editor.QueryChordVar(s.element, c) != 0) ++state.presentCvs;
    if (s.cv != 255) state.cvStatus = editor.QueryChordVar(s.element, s.cv);
    if (s.cv != 255 && s.track != 255) state.patternStatus = editor.QueryPattern(s.element, s.cv, s.track);
    return state;
}

bool StyTreeRightClick::IsEnabled(int id) const
{
    for (const auto& [command, on] : enabled)
        if (command == id) return on;
    return false;
}

StyTreeRightClick StyTreeRightClickFor(const StyTreeState& st)
{
    using A = StyTreeRightClick::Action;
    StyTreeRightClick r;
    const QeTreeSelection& s = st.selection;
    if (st.rootSelected || s.element == 255) {
        if (!st.rootSelected) return r;
        r.action = st.qe ? A::StyleFlags : A::WqStyleProperties;
        return r;
    }
    if (s.IsElement()) {
        if (!st.qe) {
            r.action = A::WqChordTable;
            return r;
        }
        const bool data = st.elementStatus == 2;
        r.action = A::ElementPopup;
        r.enabled = {{cmd::EditCut, false},
                     {cmd::EditCopy, data},
                     {cmd::EditPaste, data},
                     {stycmd::DeleteElement, data},
                     {stycmd::AddCv, st.presentCvs < QeStyleEditor::CvCountOf(s.element)},
                     {stycmd::TrackInfo, true},
                     {stycmd::ChordTable, true},
                     {stycmd::Ntt, true}};
        return r;
    }
    if (s.IsCv()) {
        r.action = A::CvPopup;
        if (!st.qe) {
            r.enabled = {{cmd::EditCut, false},       {cmd::EditCopy, false},         {cmd::EditPaste, false},
                         {stycmd::DeleteCv, false},   {stycmd::WqCvParameters, true}, {stycmd::PlayCv, true}};
            return r;
        }
        const bool data = st.cvStatus == 2;
        r.enabled = {{cmd::EditCut, false},    {cmd::EditCopy, data},           {cmd::EditPaste, true},
                     {stycmd::DeleteCv, data}, {stycmd::WqCvParameters, false}, {stycmd::PlayCv, data}};
        return r;
    }
    r.action = A::TrackPopup;
    if (!st.qe) {
        r.enabled = {{cmd::EditCut, false},          {cmd::EditCopy, false},     {cmd::EditPaste, false},
                     {stycmd::DeleteTrack, false},   {stycmd::SetKeyChord, false}, {stycmd::PlayTrack, true},
                     {stycmd::EditTrackEvents, true}};
        return r;
    }
    const bool data = st.patternStatus == 2;
    r.enabled = {{cmd::EditCut, false},
                 {cmd::EditCopy, false},
                 {cmd::EditPaste, false},
                 {stycmd::DeleteTrack, data},
                 {stycmd::SetKeyChord, data && s.track > 1},
                 {stycmd::PlayTrack, data},
                 {stycmd::EditTrackEvents, data}};
    return r;
}

bool StyFrameCommandEnabled(int id, const StyTreeState& st)
{
    const QeTreeSelection& s = st.selection;
    const bool qe = st.qe;
    switch (id) {
    case stycmd::StartStopPlayback:
        if (!qe) return true;
        return (s.IsTrack() && st.patternStatus == 2) || (s.IsCv() && st.cvStatus == 2);
    case stycmd::StyleFlags:
        return st.rootSelected && qe;
    case stycmd::TrackInfo:
    case stycmd::Ntt:
    case stycmd::ChordTable:
        return qe && s.IsElement() && st.elementStatus == 2;
    case stycmd::EditTrackEvents:
    case stycmd::EditItem:
        return s.IsTrack();
    case stycmd::WqCvParameters:
        return !st.pad && !qe && s.IsCv();
    case stycmd::PlayCv:
        return s.IsCv() && (!qe || st.cvStatus == 2);
    case stycmd::PlayTrack:
        return s.IsTrack() && (!qe || st.patternStatus == 2);
    case stycmd::WqStyleProperties:
        return !st.pad && st.rootSelected && !qe;
    case stycmd::WqChordTable:
        return !st.pad && !qe && s.IsElement();
    case stycmd::SetKeyChord:
        return qe && s.IsTrack();
    case cmd::EditCut:
        return false;
    case stycmd::DeleteItems:
        if (!qe) return false;
        if (s.IsTrack()) return st.patternStatus == 2;
        if (s.IsCv()) return st.cvStatus == 2;
        if (s.IsElement()) return st.elementStatus == 2;
        return false;
    case cmd::EditCopy:
        if (!qe) return false;
        if (s.IsCv()) return st.cvStatus == 2;
        if (s.IsElement()) return st.elementStatus == 2;
        return false;
    case cmd::EditPaste:
        return qe && (s.IsCv() || s.IsElement()) && st.clipboardHasBlock;
    default:
        return false;
    }
}

QeTreeSelection StyPlaySelection(const QeTreeSelection& s)
{
    if (s.IsCv() || s.IsTrack()) return s;
    return {};
}

bool StyEditReachesOpenCv(const QeTreeSelection& target, const QeTreeSelection& open)
{
    if (open.element == 255 || open.cv == 255 || target.element != open.element) return false;
    return target.IsElement() || target.cv == open.cv;
}

} // namespace zib
