#pragma once

namespace zib {

class CZibDocManager;
struct ZibSubsystems;

// Adds the document templates of the style (.sty) and pad (.pad) files.
void AddStyleDocTemplates(CZibDocManager& manager);

// Wires the style and pad documents into the shell: their templates, the
// edit frames the main frame opens, the Qe-track to Wq-track dialog and the
// sample runs of their dialogs for the test driver.
void ConnectStyleDocuments(ZibSubsystems& subsystems);

} // namespace zib
