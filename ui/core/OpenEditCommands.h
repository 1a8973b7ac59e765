#pragma once

namespace zib {

// Whether a command saves, closes, plays or exports the active window's
// document: an open in-place edit (a cell typed into, a rename) is committed
// before it runs, and a value refused there stops it.
bool CommandCommitsOpenEdits(int command);

} // namespace zib
