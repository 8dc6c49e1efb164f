#include "presentation/CommandLineInfoEx.h"

namespace corvane {

void CCommandLineInfoEx::ParseParam(const std::string& text, bool isSwitch, bool /*isLast*/) {
    if (isSwitch) {
        options_[text] = "TRUE";
        lastSwitch_ = text;
    } else if (!lastSwitch_.empty()) {
        options_[lastSwitch_] = text;
        lastSwitch_.clear();
    }
}

void CCommandLineInfoEx::Parse(const std::vector<std::string>& arguments) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool isSwitch = a.size() > 1 && (a[0] == '-' || a[0] == '/');
        ParseParam(isSwitch ? a.substr(1) : a, isSwitch, i + 1 == arguments.size());
    }
}

bool CCommandLineInfoEx::GetOption(const std::string& name, std::string& value) const {
    const auto it = options_.find(name);
    if (it == options_.end()) {
        return false;
    }
    value = it->second;
    return true;
}

bool CCommandLineInfoEx::HasOption(const std::string& name) const {
    return options_.count(name) != 0;
}

}  // namespace corvane
