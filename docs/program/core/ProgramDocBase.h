#pragma once

#include "docs/program/core/NullProgramDocPort.h"
#include "docs/program/core/ProgramDocPort.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
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
    // After a successful open: keeps the folder and records the file kind and
    // folder in the settings.
    void Opened(int fileKind);
    void RequestClose() { closeRequested = true; }

    // Extract All Items: every item for which `name` gives a name (UTF-8,
    // without extension; empty: the item has no data) is written by `write`
    // into a folder the user chooses, as "<name><extension>". Names met twice
    // get a number; a file that exists before is overwritten only as the
    // user answers (Yes, Yes To All, No, Cancel).
    void ExtractAll(int count, const std::string& extension, const std::function<std::string(int)>& name,
                    const std::function<bool(int, const std::string&)>& write);

private:
    NullProgramDocPort nullPort_;
    ProgramDocPort* port_ = &nullPort_;
};

} // namespace zib
