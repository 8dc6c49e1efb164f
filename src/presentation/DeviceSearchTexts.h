#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Texts of the device search, by string id.
namespace devicesearchtext {
inline constexpr int kActive = 5403;
inline constexpr int kStandby = 5404;
inline constexpr int kIntercomsGroup = 5405;  // 5405-5407 intercom titles
inline constexpr int kQuillexsGroup = 5408;   // 5408-5410 controller titles
inline constexpr int kConnections = 5418;     // "%1 / %2 Available"
inline constexpr int kSocketFailed = 5419;
inline constexpr int kFrameOf = 5420;  // "Frame %u of %u"
}  // namespace devicesearchtext

// The text of a device search string id; empty for an id it does not know.
const std::string& DeviceSearchString(int id);

// The name of a device type: "QX-5100", "Belmar Intercom" ... "Unknown device type".
const std::string& DeviceTypeText(int deviceType);

// Dotted decimal of a host-order address; "0.0.0.0" for 0.
std::string DottedIPv4(uint32_t address);

}  // namespace corvane
