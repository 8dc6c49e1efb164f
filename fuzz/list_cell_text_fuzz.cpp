// A list cell as any program may have written it into the database: no marker, however short,
// nested or long, may crash the list, and a text that begins without one shows as it is.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/ListCellMarker.h"
#include "presentation/ListCellText.h"

namespace {

class FixedNames final : public corvane::IListCellNames {
public:
    std::string IntercomName(int intercom) const override {
        return "Icom" + std::to_string(intercom);
    }
    const corvane::CNameTables& Names() const override { return tables; }
    corvane::CNameTables tables;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FixedNames names;
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The row's device type and context of an alarm list, taken from the input too.
    const corvane::AlarmDeviceCells alarm{
        names.tables.deviceTypes[size % names.tables.deviceTypes.size()], text};
    const std::string shown =
        corvane::ListCellText(corvane::DaoValue(text), names, &alarm, corvane::WallTime{});
    if (!text.empty() && text[0] != corvane::kListCellMarker && shown != text) {
        std::abort();
    }
    return 0;
}
