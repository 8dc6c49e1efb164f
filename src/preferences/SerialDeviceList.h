#pragma once

#include <string>
#include <vector>

namespace corvane {

// The serial devices a port combo offers, as paths below the device folder ("/dev"): the
// stable names under serial/by-id first, by name, then the ttyS, ttyUSB and ttyACM devices,
// each kind by number.
std::vector<std::string> ListSerialDevices(const std::string& deviceFolder);

}  // namespace corvane
