#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/TempDir.h"
#include "link/ConnectionOwner.h"
#include "log/DiagLogFile.h"
#include "log/DiagLogSource.h"
#include "platform/ProfileStore.h"

namespace corvane::testing {

// How long the link tests wait for a reply: short, so that dropped replies cost little, yet
// long enough for a reply from a loaded machine under a sanitizer (600 ms was not: three
// late replies in a row lose the contact and start the sync again).
constexpr std::chrono::milliseconds kTestReplyWait{1500};

// Runs the diagnostic log in a temporary working tree with the link's sources at trace
// levels, and reads back what each source wrote.
class LinkLog {
public:
    LinkLog() {
        Profile().Load("");
        Profile().WriteProfileInt(CDiagLogSource::kLevelSection, "Quillex", 3);
        Profile().WriteProfileInt(CDiagLogSource::kLevelSection, "QX_SPort", 4);
        StartDiagLog();
    }
    ~LinkLog() {
        StopDiagLog();
        Profile().Load("");
    }
    LinkLog(const LinkLog&) = delete;
    LinkLog& operator=(const LinkLog&) = delete;

    // The texts of one source's lines, oldest first, without time and source name.
    std::vector<std::string> Lines(const std::string& source) const {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(tree_.Root() / "Logs")) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        const std::string marker = " " + source + " ";
        std::vector<std::string> lines;
        for (const auto& file : files) {
            std::ifstream in(file);
            for (std::string line; std::getline(in, line);) {
                // "HH:MM:SS.mmm Source text"
                if (line.size() > 12 && line.compare(12, marker.size(), marker) == 0) {
                    lines.push_back(line.substr(12 + marker.size()));
                }
            }
        }
        return lines;
    }
    int Count(const std::string& source, const std::string& text) const {
        const auto lines = Lines(source);
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }
    bool Has(const std::string& source, const std::string& text) const {
        return Count(source, text) > 0;
    }

private:
    ScopedWorkingTree tree_;
};

// Stands in for the controller object: counts contact reports, keeps reported addresses
// and lets a test interrupt a transaction from the abort check.
class RecordingOwner final : public IConnectionOwner {
public:
    void CheckAbort() override {
        ++abortChecks;
        if (onCheckAbort) {
            onCheckAbort();
        }
    }
    void OnContactLost() override { ++lost; }
    void OnContactRegained() override { ++regained; }
    void SetPartnerAddresses(const std::string& main, const std::string& partner) override {
        reported.emplace_back(main, partner);
    }

    CDiagLogSource log{"Quillex", "Quillex log", 0};
    std::function<void()> onCheckAbort;
    int abortChecks = 0;
    int lost = 0;
    int regained = 0;
    std::vector<std::pair<std::string, std::string>> reported;
};

}  // namespace corvane::testing
