#pragma once

#include <string>

namespace corvane {

// A dotted address other than 0.0.0.0 and 255.255.255.255 as it is; otherwise the first IPv4
// address of the host name. "%d.%d.%d.%d", or empty when the name does not resolve.
std::string ResolveHostToDottedIP(const std::string& host);

// The text without leading and trailing blanks.
std::string TrimBlanks(const std::string& text);

}  // namespace corvane
