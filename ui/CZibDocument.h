#pragma once

#include <wx/docview.h>

namespace zib {

// Base of the program's documents. A document is named after its file: when
// the file name changes (Save As, the first save of a new document) the name
// a new document was given ("unnamed2") goes, and every window of the
// document, its list and the windows titled after it, shows the new name.
class CZibDocument : public wxDocument {
public:
    void OnChangeFilename(bool notifyViews) override;
};

} // namespace zib
