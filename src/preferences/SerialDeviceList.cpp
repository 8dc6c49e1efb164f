#include "preferences/SerialDeviceList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <tuple>
#include <utility>

namespace corvane {
namespace {

namespace fs = std::filesystem;

// The number after the prefix of a name such as "ttyUSB12"; -1 for any other name.
long DeviceNumber(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix ||
        name.size() - prefix.size() > 6) {
        return -1;
    }
    long number = 0;
    for (const char c : name.substr(prefix.size())) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

}  // namespace

std::vector<std::string> ListSerialDevices(const std::string& deviceFolder) {
    constexpr std::string_view kKinds[] = {"ttyS", "ttyUSB", "ttyACM"};
    std::error_code ec;
    std::vector<std::string> devices;
    for (fs::directory_iterator it(fs::path(deviceFolder) / "serial" / "by-id", ec), end;
         !ec && it != end; it.increment(ec)) {
        devices.push_back(it->path().string());
    }
    std::sort(devices.begin(), devices.end());

    // By kind, then by number.
    std::vector<std::tuple<size_t, long, std::string>> numbered;
    ec.clear();
    for (fs::directory_iterator it(deviceFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (size_t kind = 0; kind < std::size(kKinds); ++kind) {
            if (const long number = DeviceNumber(name, kKinds[kind]); number >= 0) {
                numbered.emplace_back(kind, number, it->path().string());
            }
        }
    }
    std::sort(numbered.begin(), numbered.end());
    for (auto& [kind, number, path] : numbered) {
        devices.push_back(std::move(path));
    }
    return devices;
}

}  // namespace corvane
