#pragma once

#include <functional>
#include <string>

namespace zib {

// A failure that the style utilities report to the user. The GUI shows the
// localized text of the kind in a message box with the caption; `text` is the
// English wording with its values filled in.
enum class StyleNoticeKind {
    MemoryAllocationFailed, // "Memory allocation failed!"
    CvTooLong,              // "Fatal error: Chord variation length greater then 16!..."
    DamagedData,            // "Fatal error: data are damaged!"
};

struct StyleNotice {
    StyleNoticeKind kind;
    std::string text;
    std::string caption;
};

using StyleNoticeSink = std::function<void(const StyleNotice&)>;

} // namespace zib
