#pragma once

class wxTopLevelWindow;

namespace zib {

// A window sized by its content can be narrower than its title, which the
// title bar then cuts ("'Variat...yChord"). Widens the window, once laid
// out, to show its title whole: the title's text in a bold face (the title
// bar's) and room for the bar's buttons, at most the 1024 pixels of the
// smallest screen the dialogs fit.
void WidenToTitle(wxTopLevelWindow& window);

} // namespace zib
