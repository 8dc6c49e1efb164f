#pragma once

#include <string>

#include "platform/BuildInfo.h"

namespace corvane {

// Product name and version of this program, compiled in by the build.
class CFileVersionInfo {
public:
    std::string GetProductName() const { return CORVANE_PRODUCT_NAME; }
    std::string GetProductVersion() const { return CORVANE_PRODUCT_VERSION; }
};

}  // namespace corvane
