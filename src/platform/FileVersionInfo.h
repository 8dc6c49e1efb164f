#pragma once

#include <string>

#include "platform/BuildInfo.h"

namespace corvane {

// The version block of this program, compiled in by the build.
class CFileVersionInfo {
public:
    std::string GetProductName() const { return CORVANE_PRODUCT_NAME; }
    std::string GetProductVersion() const { return CORVANE_PRODUCT_VERSION; }
    std::string GetLegalCopyright() const { return CORVANE_LEGAL_COPYRIGHT; }
    std::string GetCompanyName() const { return CORVANE_COMPANY_NAME; }
};

}  // namespace corvane
