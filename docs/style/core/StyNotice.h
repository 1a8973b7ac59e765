#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zib {

// How a notice is shown: a plain box, or with the exclamation or stop icon.
enum class StyNoticeIcon { None, Exclamation, Stop };

// One message of the style and pad documents for the user, raised by the
// GUI-free models and shown by their windows in the current language: a
// numbered message of the localized table, or an English text of the UI
// catalogue whose printf conversions take `args` in order. An empty caption
// shows the program's name.
struct StyNotice {
    int message = -1;              // number in the message table; -1: use `text`
    std::string text;              // English text when message is -1
    std::vector<std::string> args; // arguments of the text's conversions
    std::string caption;
    StyNoticeIcon icon = StyNoticeIcon::None;

    static StyNotice Numbered(int message, std::string caption = {}, StyNoticeIcon icon = StyNoticeIcon::None)
    {
        return {message, {}, {}, std::move(caption), icon};
    }
    static StyNotice Text(std::string text, std::vector<std::string> args, std::string caption,
                          StyNoticeIcon icon = StyNoticeIcon::None)
    {
        return {-1, std::move(text), std::move(args), std::move(caption), icon};
    }

    // The text in `language` (0 English, 1 Italian, 2 German).
    std::string Localized(int language) const;
    std::string English() const { return Localized(0); }
};

using StyNoticeSink = std::function<void(const StyNotice&)>;

// Numbers of the localized message table that the style and pad documents show.
namespace stymsg {
inline constexpr int MemoryAllocationFailed = 2;
inline constexpr int NameNotAllowed = 3;
inline constexpr int ActionFinished = 4;
inline constexpr int CannotOpenFile = 9;
inline constexpr int GetFileSizeFailed = 13;
inline constexpr int BadFileSize = 14;
inline constexpr int CannotSaveEmptyFile = 16;
inline constexpr int WrongBytesRead = 15;
inline constexpr int NotDaskOrNotSupported = 17;
inline constexpr int FormatNotSupported = 18;
inline constexpr int FatalDeleting = 21;
inline constexpr int FatalEmptying = 22;
inline constexpr int NoFocusedItem = 23;
inline constexpr int NoSelectedItem = 24;
inline constexpr int InsertionLimit = 25;
inline constexpr int ImportNotExpectedFormat = 26;
inline constexpr int ErrorConvertingItem = 28;
inline constexpr int AddItemFailed = 29;
inline constexpr int CannotCreateNewItem = 30;
inline constexpr int DataDamaged = 31;
inline constexpr int AddIconFailed = 32;
inline constexpr int CannotAttachClipboard = 33;
inline constexpr int CannotGetClipboardData = 34;
inline constexpr int WrongClipboardSize = 35;
inline constexpr int WrongClipboardType = 36;
inline constexpr int CannotMoveInsideBlock = 37;
inline constexpr int EmptyFile = 46;
inline constexpr int IncorrectFormatWhileSaving = 47;
inline constexpr int CannotFillQeOutput = 48;
inline constexpr int CannotProcessEmptyItem = 50;
inline constexpr int Qe9zIntoQe4k = 52;
inline constexpr int WqIntoQe = 53;
inline constexpr int QeIntoWq = 54;
inline constexpr int CannotAddSoundInfo = 55;
inline constexpr int ZeroSizeSts = 56;
inline constexpr int CannotPlaybackEmptyStyle = 58;
inline constexpr int CannotCreateTextViewer = 59;
inline constexpr int CannotOpenReportFile = 60;
inline constexpr int CannotUpdateTextDescription = 61;
inline constexpr int WrongClipboardFormat = 73;
inline constexpr int CannotCopyToClipboard = 74;
inline constexpr int CannotPrepareCvMidiBuffer = 76;
inline constexpr int CannotImportCvMidiBuffer = 77;
inline constexpr int EmptyCvCannotCopy = 78;
inline constexpr int CannotAddChordVariation = 82;
inline constexpr int CannotPasteQe9zToQe4k = 83;
inline constexpr int StsNotPasted = 86;
inline constexpr int CannotPasteStylePerformance = 87;
inline constexpr int CannotPasteStsData = 88;
inline constexpr int ShowStyleView = 116;
inline constexpr int ShowStsView = 117;
} // namespace stymsg

} // namespace zib
