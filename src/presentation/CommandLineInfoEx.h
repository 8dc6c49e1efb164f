#pragma once

#include <map>
#include <string>
#include <vector>

namespace corvane {

// The command line as switches with values: "-nologo" and "/nologo" give the switch "nologo"
// with the value "TRUE"; a plain parameter after a switch becomes that switch's value. The
// program opens no files, so other plain parameters are ignored.
class CCommandLineInfoEx {
public:
    void ParseParam(const std::string& text, bool isSwitch, bool isLast);
    // Every argument after the program name; a leading '-' or '/' makes a switch.
    void Parse(const std::vector<std::string>& arguments);

    bool GetOption(const std::string& name, std::string& value) const;
    bool HasOption(const std::string& name) const;

private:
    std::map<std::string, std::string> options_;
    std::string lastSwitch_;
};

}  // namespace corvane
