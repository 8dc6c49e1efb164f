#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "ui/VorlinDialog.h"

namespace corvane::testing {

// Records the help requests of the dialogs, (help id, command), for the length of a test.
struct HelpRequests {
    std::vector<std::pair<uint32_t, unsigned>> seen;
    HelpRequests() {
        CVorlinDialog::SetHelpHandler(
            [this](uint32_t id, unsigned command) { seen.emplace_back(id, command); });
    }
    ~HelpRequests() {
        CVorlinDialog::SetHelpHandler(nullptr);
        CVorlinDialog::s_bHelpMode = false;
    }
    HelpRequests(const HelpRequests&) = delete;
    HelpRequests& operator=(const HelpRequests&) = delete;
};

}  // namespace corvane::testing
