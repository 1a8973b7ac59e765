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
// or more), the log lines of the meta events of pass 1, and which failures of
// a run its counts do not hold yet.
class CMidiToStyleReader : public CMidiFileEx {
public:
    // Pass 1 reads the whole file; a subclass numbers its later passes.
    static constexpr int kPassCollect = 6;

    ~CMidiToStyleReader() override;

    // "D major", "F# minor" ... of a key-signature event; "???" outside -7 to 7 sharps
    static std::string KeySignatureText(int sharps, int minor);

protected:
    // The subclass's codes for the header failures, and the two that stop a
    // run on the errors it counted ("Found fatal errors during parsing" and
    // "... during conversion")
    struct RunCodes {
        int formatNotSupported;
        int divisionNotSupported;
        int fatalParsingErrors;
        int fatalConversionErrors;
    };
    explicit CMidiToStyleReader(const RunCodes& codes);

    // The log of a run goes to the caller's stream (nowhere for null) until
    // CloseLog writes its end lines with the run's counts.
    void OpenLog(std::ostream* log);
    void CloseLog(int errors, int warnings);
    // Whether a run that returned `result` stopped on an error no count holds
    // yet: any failure but the two that stop on the errors counted before.
    // The run counts that one too, so that its log never ends with no errors.
    bool StopsOnUncountedError(int result) const;

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
    RunCodes m_runCodes;
    std::unique_ptr<COStreamLogSink> m_sink;
};

} // namespace zib
