#pragma once

#include <string>

namespace corvane {

// The device path of a serial port setting. Settings written on the old platform hold "COMn";
// those map to "/dev/ttyS(n-1)" so they keep working. Anything else is taken as a path.
std::string SerialDevicePath(const std::string& name);

}  // namespace corvane
