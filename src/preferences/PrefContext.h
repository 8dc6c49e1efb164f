#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace corvane {

class CProfileStore;
class IPreferenceTarget;
class SharedSettings;

// What every preference page works with: the settings it edits, the profile they are saved
// to, the document to tell (may be null), and the waits, name look-ups and device folder of
// the pages, which tests replace.
struct PrefContext {
    PrefContext(SharedSettings& settings, CProfileStore& profile, IPreferenceTarget* target);

    SharedSettings& settings;
    CProfileStore& profile;
    IPreferenceTarget* target = nullptr;
    std::function<void(std::chrono::milliseconds)> sleep;
    std::function<std::string(const std::string&)> resolveHost;
    // Where the serial devices the port combos offer are looked for.
    std::string deviceFolder = "/dev";

    // Saves every setting; a failure is shown to the operator and returns false.
    bool SaveAll();
    // Polls done every interval, at most count times; true as soon as it holds.
    bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds interval,
                   int count);
};

// The stop box of the preference pages.
void ShowPrefStop(const std::string& text);

}  // namespace corvane
