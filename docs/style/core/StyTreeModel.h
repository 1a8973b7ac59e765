#pragma once

#include "docs/style/core/CQeStyleTreeEdits.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

class CWqStyleData;
class QeStyleEditor;

// Node codes of the style and pad trees: the root 1, element e
// (e+1) * 1000, chord variation c of e (e+1) * 1000 + (c+1) * 100 and track
// t of it (e+1) * 1000 + (c+1) * 100 + (t+1) * 10.
namespace StyNodeCode {
inline constexpr int kRoot = 1;
int Element(int e);
int Cv(int e, int cv);
int Track(int e, int cv, int t);
// The code of a selection (parts of 255 are left out); 0 when the element is 255.
int Of(const QeTreeSelection& selection);
// The selection a code stands for: an element node sets the element, a CV
// node element and CV, a track node all three. The root and every code that
// is no node of a tree (parts out of range, digits where none belong) give
// nothing.
QeTreeSelection Decode(int code);
} // namespace StyNodeCode

// Images of the trees' image list.
enum StyTreeImage : int {
    kImgRoot = 0,
    kImgElement = 1,
    kImgCv = 2,
    kImgTrack = 3,
    kImgEmptyElement = 4,
    kImgEmptyCv = 5,
    kImgEmptyTrack = 6,
};

// One node of a filled tree, in insertion order (parents before children).
struct StyTreeNode {
    int code = 0;
    int parent = -1;   // index of the parent node; -1 for the root
    std::string text;  // Windows-1252 bytes
    int image = kImgRoot;
    bool expanded = false;
};

// What a style or pad tree shows: built from the style editor of a Qe item
// or the Wq style data of a Wq item.
class StyTreeModel {
public:
    // Qe: 10 elements (12 for a Qe9z style), each with its six or two chord
    // variations; a CV with data gets its eight tracks and is expanded.
    static StyTreeModel FillQe(QeStyleEditor& editor, const std::string& title);
    // Wq: only the elements, CVs and tracks that hold data.
    static StyTreeModel FillWq(const CWqStyleData& style, const std::string& title);

    const std::vector<StyTreeNode>& Nodes() const { return nodes_; }
    // Index of the node with `code`, -1 when there is none.
    int Find(int code) const;

private:
    int Add(int parent, int code, std::string text, int image);
    std::vector<StyTreeNode> nodes_;
};

// Whether a node is expanded at a tree level (0 root ... 3 track level):
// the root from level 1, elements from 2, chord variations from 3.
bool StyNodeExpandedAtLevel(int code, int level);

// The level toolbar (buttons 291-294 for the levels 0-3): pressing the
// checked button goes one level up (from the root level round to the track
// level), any other button goes to its own level. Returns the new level.
int StyLevelAfterPress(int pressedLevel, bool pressedWasChecked);

// The image of the selected node after the track editor changed a track:
// a track node 3 or 6, an element node 1 or 4, a CV node 2 or 5; -1 when
// nothing is selected.
int StyNodeImageAfterEdit(const QeTreeSelection& selection, bool nonEmpty);

// Texts
std::string WqElementShortName(int e); // 0-9 "V1" .. "F2"
// The event list's node text: "%s%s %s" (for example "V1CV1 DRUM").
std::string QeTrackNodeText(int e, int cv, int t);
std::string WqTrackNodeText(int e, int cv, int t);
// The header of a node in the Wq style text dump, where the text pane moves
// on selection: the report title for the root, "=== element, CV, track ==="
// for a track, for a CV (an element counts as its CV1) "EMPTY: element, CV"
// when it is empty, else the header of its first track.
std::string WqDumpHeader(const CWqStyleData& style, const QeTreeSelection& selection);

} // namespace zib
