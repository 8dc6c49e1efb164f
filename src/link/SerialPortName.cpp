#include "link/SerialPortName.h"

#include <cctype>

namespace corvane {

std::string SerialDevicePath(const std::string& name) {
    constexpr size_t kMaxDigits = 3;  // COM1 .. COM256 on the old platform
    if (name.size() < 4 || name.size() > 3 + kMaxDigits) {
        return name;
    }
    for (size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) {
            return name;
        }
    }
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return name;
        }
        number = number * 10 + (name[i] - '0');
    }
    if (number < 1) {
        return name;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace corvane
