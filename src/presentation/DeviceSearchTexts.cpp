#include "presentation/DeviceSearchTexts.h"

#include <map>

namespace corvane {

namespace {

const std::map<int, std::string>& Table() {
    static const std::map<int, std::string> table = {
        {5403, "Active"},
        {5404, "Standby"},
        {5405, "Intercoms"},
        {5406, "Selected Intercom"},
        {5407, "Available Intercoms"},
        {5408, "Quillexs"},
        {5409, "Selected Quillex"},
        {5410, "Available Quillexs"},
        {5411, "QX-5100"},
        {5412, "Belmar Intercom"},
        {5413, "VESK-e System Controller"},
        {5414, "KAVO-III"},
        {5415, "KAVO-III LE"},
        {5416, "ZRAX"},
        {5417, "QX-70K"},
        {5418, "%1 / %2 Available"},
        {5419, "Could not open broadcast socket! Try again later."},
        {5420, "Frame %u of %u"},
        {5428, "Unknown device type"},
    };
    return table;
}

}  // namespace

const std::string& DeviceSearchString(int id) {
    static const std::string empty;
    const auto it = Table().find(id);
    return it == Table().end() ? empty : it->second;
}

const std::string& DeviceTypeText(int deviceType) {
    switch (deviceType) {
        case 1:
        case 7:
            return DeviceSearchString(5411);
        case 2:
            return DeviceSearchString(5412);
        case 3:
            return DeviceSearchString(5413);
        case 4:
            return DeviceSearchString(5414);
        case 5:
            return DeviceSearchString(5415);
        case 6:
            return DeviceSearchString(5416);
        case 8:
        case 9:
            return DeviceSearchString(5417);
        default:
            return DeviceSearchString(5428);
    }
}

std::string DottedIPv4(uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

}  // namespace corvane
