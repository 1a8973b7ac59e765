#pragma once

#include "docs/style/core/StyTreeClipboard.h"
#include "docs/style/core/StyUiPort.h"
#include "ulvarf/ulvarf.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zib {

class CStyItem;

// The selection of a style or pad tree: element (SE), chord variation and
// track, each 255 when that level is not selected.
struct QeTreeSelection {
    uint8_t element = 255;
    uint8_t cv = 255;
    uint8_t track = 255;

    bool IsElement() const { return element != 255 && cv == 255; }
    bool IsCv() const { return element != 255 && cv != 255 && track == 255; }
    bool IsTrack() const { return element != 255 && cv != 255 && track != 255; }
};

// What the style and pad trees do with whole chord variations and style
// elements of a Qe style on their style editor: copy and paste through the
// private clipboard format, and a new one-bar chord variation. The tree
// hands in its editor (not owned), its selection, the document's model
// letter and the edited item (its sound table follows a pasted element);
// after a change the edits set the edited flag and call `refill` (the tree
// is built anew) and `show` (the node scrolled into view).
class CQeStyleTreeEdits {
public:
    CQeStyleTreeEdits(ULStEEditor* editor, StyUiPort& port, uint32_t documentModel, CStyItem* item);

    QeTreeSelection selection;
    int edited = 0;
    std::function<void()> refill;
    std::function<void(int element, int cv, int track)> show;

    // Commands of the tree (57634, 57637, 32901)
    void CopySelection();
    void PasteSelection();
    void OnQeAddCv();

    // The operations
    bool CopyCvToClipboard();
    bool CopyElementToClipboard();
    bool PasteQeChordVariation(const CvClipBlock& block);
    bool PasteQeStyleElement(const SeClipBlock& block);

    // The blocks of the selection, as the copies put them on the clipboard.
    std::optional<CvClipBlock> CvBlock(int element, int cv, bool tellEmpty);
    std::optional<SeClipBlock> ElementBlock(int element);

    // Elements that may take one another's data: variations (0-3) each
    // other, intros 1-2 (4, 5), fills 1-2 (6, 7), endings (8, 9); nothing
    // else.
    static bool ElementsFit(int source, int target);

private:
    // The clipboard's tree block for `caption`; nullopt after the message.
    std::optional<std::vector<uint8_t>> ReadTreeBlock(const char* caption, uint8_t& letter, uint8_t& code);
    uint8_t Letter() const;
    int CvCountOf(int element) const { return element < 4 ? 6 : 2; }
    void Changed(int element, int cv, int track);

    ULStEEditor* editor_;
    StyUiPort& port_;
    uint32_t documentModel_;
    CStyItem* item_;
};

} // namespace zib
