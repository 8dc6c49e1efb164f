#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fakes/TempDir.h"
#include "log/DiagLogFile.h"
#include "platform/ProfileStore.h"

namespace corvane::testing {

// Every log file of a "Logs" folder, one after the other.
inline std::string ReadLogFolder(const std::filesystem::path& logs) {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(logs)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        text += s.str();
    }
    return text;
}

// Runs the diagnostic log into a temporary working tree for one test, with the levels of
// the given source set first, and reads back what it wrote.
class LogCapture {
public:
    LogCapture(const std::string& source, int level) {
        Profile().Load("");
        Profile().WriteProfileInt("Diagnostic Log - Log Levels", source, level);
        StartDiagLog();
    }
    ~LogCapture() {
        StopDiagLog();
        Profile().Load("");
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string Text() const { return ReadLogFolder(tree_.Root() / "Logs"); }

private:
    ScopedWorkingTree tree_;
};

}  // namespace corvane::testing
