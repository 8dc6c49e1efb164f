#pragma once

#include <string>

#include "model/NameTables.h"
#include "platform/Clock.h"
#include "store/DaoValue.h"

namespace corvane {

// What the cell markers look up in the model.
class IListCellNames {
public:
    virtual ~IListCellNames() = default;
    virtual std::string IntercomName(int intercom) const = 0;
    virtual const CNameTables& Names() const = 0;
};

// The other cells of an alarm row that its device cell (marker "a") is read with.
struct AlarmDeviceCells {
    std::string deviceType;  // "Device Type"
    std::string context;     // "_Context"
};

// A list cell as the list shows it. Null is empty; a date is its time when it falls on the
// day of now, else the locale's date and time; a text that begins with the byte 0x01 is
// converted by the letter after it, and shows empty when it is too short for that letter:
//   b  a boolean: "0" shows "-", "-1" shows "Y"
//   c  shown only when its flag ("-1" or "0") is set; what follows may carry a marker again
//   t  talk, listen and inactive flags as "T", "L", "I" or "-", joined by "/"
//   g  a port: function code and number, shown as "[display name]"; empty when either is
//      not valid
//   a  an alarm's device by its instance number and the row's device type and context
std::string ListCellText(const DaoValue& value, const IListCellNames& names,
                         const AlarmDeviceCells* alarm, WallTime now);

// A date cell: "%H:%M:%S" on the day of now, else "%c".
std::string ListDateText(WallTime time, WallTime now);

}  // namespace corvane
