#pragma once

#include "docs/program/core/NullProgramDocPort.h"
#include "docs/program/core/ProgramDocPort.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// What every program, performance, arrangement and global document shares:
// its window (the port), the file it came from and its folder, the modified
// flag, the save prompt, saving, and the request to close after a fatal error.
class ProgramDocBase {
public:
    ProgramDocBase() = default;
    virtual ~ProgramDocBase() = default;
    ProgramDocBase(const ProgramDocBase&) = delete;
    ProgramDocBase& operator=(const ProgramDocBase&) = delete;

    // The window; documents without one talk to a port that shows nothing.
    void SetPort(ProgramDocPort* port) { port_ = port ? port : &nullPort_; }
    ProgramDocPort& Port() const { return *port_; }
    void Notify(const DocMessage& message) const { port_->Message(message); }

    // Open: reads and parses the file; false after the messages, with the
    // document left empty.
    virtual bool OnOpenDocument(const std::string& filePath) = 0;
    virtual void DeleteContents() = 0;

    // The file
    std::string path;   // UTF-8, "" for a new document
    std::string folder; // its folder, where the file dialogs start; "" before
    bool modified = false;
    // Set when a fatal error leaves the document unusable: the window closes it.
    bool closeRequested = false;

    // Closing a modified document asks "Save changes to <shown name>"
    // (caption "zib"): Yes (the caller saves), No, or Cancel (stays open).
    // An unmodified document answers No without asking.
    DocAnswer SaveModified(const std::string& shownName);

    // Save: the whole file built in memory, written to a temporary file that
    // then takes the file's place; false after a message.
    bool SaveTo(const std::string& file);
    virtual std::optional<std::vector<uint8_t>> BuildFileImage() = 0;

protected:
    // The file of an open: at most `limit` bytes (a fixed-size file needs
    // no more than its size + 1 for the size test); false after message 9.
    bool ReadForOpen(const std::string& filePath, size_t limit, std::vector<uint8_t>& bytes) const;
    // Opening an image: the old contents gone, the path kept, an empty file
    // refused (46); `parse` checks and reads the image and gives the file
    // kind to record (0: refused after its messages, the document emptied).
    // A success refills the list, keeps the folder and records the file kind
    // and folder in the settings.
    bool OpenWith(const std::string& filePath, std::span<const uint8_t> image,
                  const std::function<int(std::span<const uint8_t>)>& parse);
    // The model letter of a "DASK" head when `accepted` holds it; 0 after
    // message 17 (no such head) or 18 (another letter).
    int CheckDaskHead(std::span<const uint8_t> image, std::string_view accepted) const;
    void RequestClose() { closeRequested = true; }

    // A failure after its message: false.
    bool Failed(const DocMessage& message) const
    {
        Notify(message);
        return false;
    }

private:
    NullProgramDocPort nullPort_;
    ProgramDocPort* port_ = &nullPort_;
};

} // namespace zib
