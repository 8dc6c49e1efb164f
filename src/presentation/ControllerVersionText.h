#pragma once

#include <string>

namespace corvane {

// The controller's version text as shown: its single-byte characters as UTF-8.
std::string ControllerVersionText(const std::string& reported);

}  // namespace corvane
