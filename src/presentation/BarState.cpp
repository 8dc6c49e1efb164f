#include "presentation/BarState.h"

#include <algorithm>

#include "platform/Format.h"
#include "platform/ProfileStore.h"

namespace corvane {
namespace {

std::string BarSection(const std::string& prefix, int index) {
    return StrFormat("%s-Bar%d", prefix.c_str(), index);
}

}  // namespace

bool SaveBarState(CProfileStore& profile, const std::string& prefix,
                  const std::vector<BarInfo>& bars, int screenCx, int screenCy) {
    CProfileStore::Batch batch(profile);
    const std::string summary = prefix + "-Summary";
    const int count = std::min(static_cast<int>(bars.size()), kMaxBars);
    profile.WriteProfileInt(summary, "Bars", count);
    profile.WriteProfileInt(summary, "ScreenCX", screenCx);
    profile.WriteProfileInt(summary, "ScreenCY", screenCy);
    for (int i = 0; i < count; ++i) {
        const std::string section = BarSection(prefix, i);
        profile.WriteProfileInt(section, "BarID", bars[static_cast<size_t>(i)].id);
        profile.WriteProfileInt(section, "Visible", bars[static_cast<size_t>(i)].visible ? 1 : 0);
    }
    return batch.Close();
}

std::vector<BarInfo> LoadBarState(const CProfileStore& profile, const std::string& prefix) {
    const int count =
        std::clamp(profile.GetProfileInt(prefix + "-Summary", "Bars", 0), 0, kMaxBars);
    std::vector<BarInfo> bars;
    for (int i = 0; i < count; ++i) {
        const std::string section = BarSection(prefix, i);
        const int id = profile.GetProfileInt(section, "BarID", 0);
        if (id != 0) {
            bars.push_back({id, profile.GetProfileInt(section, "Visible", 1) != 0});
        }
    }
    return bars;
}

}  // namespace corvane
