#pragma once

#include "docs/program/core/ArgDocModel.h"
#include "docs/program/core/DialogControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

// The arrangement-global dialog of a document without its window:
// "WQR65 Arrangement Global Data" (202, model 'M') or "WQ41 Arrangement Global
// Data" (200, 'I'). It works on a copy of the image: the channel records of
// the list (1311) and the check boxes and radio groups of the model. OK gives
// the changed image; a control left as it was keeps its bytes, a radio group
// with no button checked keeps its field.
class ArgGlobalDlgModel {
public:
    // One channel of the list: an 8-character part label, its byte, whether
    // it is read signed and whether OFF may be chosen.
    struct ChannelRecord {
        std::string label;
        size_t byte = 0;
        bool isSigned = false;
        bool offersOff = false;
        int value = 0; // the channel byte as read (signed or not)
        int initial = 0;
    };

    explicit ArgGlobalDlgModel(const ArgDocModel& doc);

    int DialogId() const { return model_ == 'M' ? 202 : 200; }
    const char* Title() const;
    static constexpr int kChannelList = 1311;

    std::vector<ChannelRecord> records;
    std::vector<DialogControl> controls; // the list first, then the switches
    DialogControl* Control(int id);

    // The list line of a record: "%-7s : %s" of label and channel text.
    std::string ChannelLine(int record) const;
    // The item datum of a record: bits 24-31 its index, 16-23 the channel
    // byte, bit 0 set when it offers no OFF.
    uint32_t Datum(int record) const;
    // The "Midi Channel" dialog's OK: the record of the datum takes its
    // channel, its line is made again and selected.
    void SetChannelDatum(uint32_t datum);

    // OK: the image with the dialog's fields.
    std::vector<uint8_t> Ok() const;

private:
    int model_;
    std::vector<uint8_t> image_;
};

} // namespace zib
