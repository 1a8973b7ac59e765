#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "midi/CMidiFileEx.h"
#include "styles/CConversionLog.h"

namespace zib {

class COStreamLogSink;

// The reading shared by the MIDI-to-style converters of both series: the
// conversion log of a run, the pass the file is read in, the position of an
// event in the log, the header checks (a format-1 file of 96 ticks per quarter note
// or more) and the log lines of the meta events of pass 1.
class CMidiToStyleReader : public CMidiFileEx {
public:
    // Pass 1 reads the whole file; a subclass numbers its later passes.
    static constexpr int kPassCollect = 6;

    ~CMidiToStyleReader() override;

    // "D major", "F# minor" ... of a key-signature event; "???" outside -7 to 7 sharps
    static std::string KeySignatureText(int sharps, int minor);

protected:
    // The subclass's codes for the header failures
    struct HeaderCodes {
        int formatNotSupported;
        int divisionNotSupported;
    };
    explicit CMidiToStyleReader(const HeaderCodes& codes);

    // The log of a run goes to the caller's stream (nowhere for null) until
    // CloseLog writes its end lines with the run's counts.
    void OpenLog(std::ostream* log);
    void CloseLog(int errors, int warnings);

    // The first log line of a run, before the file's header values
    virtual void LogStart() {}

    // Position of the current event for the log
    StyleEventPosition Position() const;

    // Reading callbacks: the header checks, and the log lines of pass 1
    int OnHeader() override;
    int OnMetaTempo() override;
    int OnMetaTime() override;
    int OnMetaKeySig() override;
    int OnMetaPort() override;
    int OnMetaChan() override;

    CConversionLog m_log;
    int m_pass = kPassCollect;
    uint32_t m_imageSize = 0; // of the file being read, for the log

private:
    HeaderCodes m_headerCodes;
    std::unique_ptr<COStreamLogSink> m_sink;
};

} // namespace zib
