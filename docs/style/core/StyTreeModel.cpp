#include "docs/style/core/StyTreeModel.h"

#include "docs/style/core/QeStyleEditor.h"
#include "midi/ValueTexts.h"
#include "styles/CWqStyleData.h"

#include <array>

namespace zib {

namespace {

constexpr int kQeTracks = 8;
constexpr int kWqTracks = 6;
constexpr int kWqElements = 10;

} // namespace

// ---- Node codes ---------------------------------------------------------

namespace StyNodeCode {

int Element(int e)
{
    return (e + 1) * 1000;
}

int Cv(int e, int cv)
{
    return Element(e) + (cv + 1) * 100;
}

int Track(int e, int cv, int t)
{
    return Cv(e, cv) + (t + 1) * 10;
}

int Of(const QeTreeSelection& s)
{
    if (s.element == 255) return 0;
    int code = Element(s.element);
    if (s.cv != 255) code += (s.cv + 1) * 100;
    if (s.cv != 255 && s.track != 255) code += (s.track + 1) * 10;
    return code;
}

QeTreeSelection Decode(int code)
{
    QeTreeSelection s;
    if (code < 1000) return s;
    const int q1 = code / 1000;
    const int r1 = code % 1000;
    if (q1 > 12) return s;
    if (r1 == 0) {
        s.element = uint8_t(q1 - 1);
        return s;
    }
    const int q2 = r1 / 100;
    const int r2 = r1 % 100;
    if (q2 < 1 || q2 > 6) return s;
    if (r2 == 0) {
        s.element = uint8_t(q1 - 1);
        s.cv = uint8_t(q2 - 1);
        return s;
    }
    const int q3 = r2 / 10;
    if (r2 % 10 != 0 || q3 < 1 || q3 > 8) return s;
    s.element = uint8_t(q1 - 1);
    s.cv = uint8_t(q2 - 1);
    s.track = uint8_t(q3 - 1);
    return s;
}

} // namespace StyNodeCode

// ---- Filling ------------------------------------------------------------

int StyTreeModel::Add(int parent, int code, std::string text, int image)
{
    nodes_.push_back({code, parent, std::move(text), image, false});
    return int(nodes_.size()) - 1;
}

int StyTreeModel::Find(int code) const
{
    for (size_t i = 0; i < nodes_.size(); ++i)
        if (nodes_[i].code == code) return int(i);
    return -1;
}

StyTreeModel StyTreeModel::FillQe(QeStyleEditor& editor, const std::string& title)
{
    StyTreeModel tree;
    const int root = tree.Add(-1, StyNodeCode::kRoot, title, kImgRoot);
    const int elements = editor.ElementCount();
    for (int e = 0; e < elements; ++e) {
        const int element = tree.Add(root, StyNodeCode::Element(e), GetQeElementName(e),
                                     editor.QueryStyleElem(e) != 0 ? kImgElement : kImgEmptyElement);
        for (int c = 0; c < QeStyleEditor::CvCountOf(e); ++c) {
            const int status = editor.QueryChordVar(e, c);
            const int cv = tree.Add(element, StyNodeCode::Cv(e, c), GetQeChordVariationName(c),
                                    status != 0 ? kImgCv : kImgEmptyCv);
            if (status != 2) continue;
            for (int t = 0; t < kQeTracks; ++t)
                tree.Add(cv, StyNodeCode::Track(e, c, t), GetQeTrackName(t),
                         editor.QueryPattern(e, c, t) != 0 ? kImgTrack : kImgEmptyTrack);
            tree.nodes_[size_t(cv)].expanded = true;
        }
        tree.nodes_[size_t(element)].expanded = true;
    }
    tree.nodes_[size_t(root)].expanded = true;
    return tree;
}

StyTreeModel StyTreeModel::FillWq(const CWqStyleData& style, const std::string& title)
{
    StyTreeModel tree;
    const int root = tree.Add(-1, StyNodeCode::kRoot, title, kImgRoot);
    for (int e = 0; e < kWqElements; ++e) {
        if (style.IsStyleElementEmpty(uint8_t(e))) continue;
        const int element = tree.Add(root, StyNodeCode::Element(e), CWqStyleData::GetStyleElementName(e), kImgElement);
        for (int c = 0; c < QeStyleEditor::CvCountOf(e); ++c) {
            if (style.IsChordVarEmpty(uint8_t(e), uint8_t(c))) continue;
            const int cv = tree.Add(element, StyNodeCode::Cv(e, c), CWqStyleData::GetCvName(c), kImgCv);
            for (int t = 0; t < kWqTracks; ++t)
                if (style.HasTrackData(uint8_t(e), uint8_t(c), uint8_t(t)))
                    tree.Add(cv, StyNodeCode::Track(e, c, t), CWqStyleData::GetTrackName(t), kImgTrack);
            tree.nodes_[size_t(cv)].expanded = true;
        }
        tree.nodes_[size_t(element)].expanded = true;
    }
    tree.nodes_[size_t(root)].expanded = true;
    return tree;
}

// ---- Levels and images --------------------------------------------------

bool StyNodeExpandedAtLevel(int code, int level)
{
    if (code == StyNodeCode::kRoot) return level >= 1;
    const QeTreeSelection s = StyNodeCode::Decode(code);
    if (s.IsElement()) return level >= 2;
    if (s.IsCv()) return level >= 3;
    return level >= 4;
}

int StyLevelAfterPress(int pressedLevel, bool pressedWasChecked)
{
    if (!pressedWasChecked) return pressedLevel;
    return pressedLevel == 0 ? 3 : pressedLevel - 1;
}

int StyNodeImageAfterEdit(const QeTreeSelection& s, bool nonEmpty)
{
    if (s.element == 255) return -1;
    if (s.track != 255 && s.cv != 255) return nonEmpty ? kImgTrack : kImgEmptyTrack;
    if (s.cv == 255 && s.track == 255) return nonEmpty ? kImgElement : kImgEmptyElement;
    if (s.track == 255) return nonEmpty ? kImgCv : kImgEmptyCv;
    return -1;
}

// ---- Texts --------------------------------------------------------------

std::string WqElementShortName(int e)
{
    static constexpr std::array<const char*, 10> names{"V1", "V2", "V3", "V4", "I1", "I2", "E1", "E2", "F1", "F2"};
    return e >= 0 && e < 10 ? names[size_t(e)] : "";
}

std::string QeTrackNodeText(int e, int cv, int t)
{
    return GetQeElementShortName(e) + GetQeChordVariationName(cv) + " " + GetQeTrackName(t);
}

std::string WqTrackNodeText(int e, int cv, int t)
{
    return WqElementShortName(e) + CWqStyleData::GetCvName(cv) + " " + CWqStyleData::GetTrackName(t);
}

std::string WqDumpHeader(const CWqStyleData& style, const QeTreeSelection& s)
{
    if (s.element == 255) return "Wqstyle Dump Report";
    const std::string element = CWqStyleData::GetStyleElementName(s.element);
    if (s.IsTrack())
        return "=== " + element + ", " + CWqStyleData::GetCvName(s.cv) + ", " + CWqStyleData::GetTrackName(s.track) +
               " ===";
    const uint8_t cv = s.cv == 255 ? 0 : s.cv;
    if (style.IsChordVarEmpty(s.element, cv)) return "EMPTY: " + element + ", " + CWqStyleData::GetCvName(cv);
    return "=== " + element + ", " + CWqStyleData::GetCvName(cv) + ", " + CWqStyleData::GetTrackName(0) + " ===";
}

} // namespace zib
