#include "preferences/PrefContext.h"

#include <thread>

#include "log/DiagLogSource.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "preferences/PrefHostAddress.h"
#include "settings/AppSettings.h"

namespace corvane {
namespace {

CDiagLogSource& PrefLog() {
    static CDiagLogSource log("Preferences", "Preference Pages", 0);
    return log;
}

}  // namespace

PrefContext::PrefContext(SharedSettings& s, CProfileStore& p, IPreferenceTarget* t)
    : settings(s),
      profile(p),
      target(t),
      sleep([](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }),
      resolveHost(ResolveHostToDottedIP) {}

bool PrefContext::SaveAll() {
    if (settings.Save(profile)) {
        return true;
    }
    std::string problems;
    for (const std::string& p : profile.TakeProblems()) {
        PrefLog().Printf(0, "Saving the settings: %s", p.c_str());
        problems += "\n" + p;
    }
    Ui().MessageBox("The settings could not be saved." + problems, LoadString(ids::kAppCaption),
                    mb::kOk | mb::kIconStop);
    return false;
}

bool PrefContext::PollUntil(const std::function<bool()>& done, std::chrono::milliseconds interval,
                            int count) {
    for (int i = 0; i < count; ++i) {
        if (done()) {
            return true;
        }
        sleep(interval);
    }
    return done();
}

void ShowPrefStop(const std::string& text) {
    Ui().MessageBox(text, LoadString(ids::kAppCaption), mb::kOk | mb::kIconStop);
}

}  // namespace corvane
