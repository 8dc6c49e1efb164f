#pragma once

#include <string>

namespace corvane {

// The display name of an AudioAnalyzer setting: its name from the analyzer table, or
// "Audio Analyzer" for "None" and for names the table does not hold.
std::string AnalyzerDisplayName(const std::string& setting);

}  // namespace corvane
