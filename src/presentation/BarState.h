#pragma once

#include <string>
#include <vector>

namespace corvane {

class CProfileStore;

// The saved state of a window's bars: a "<prefix>-Summary" section with "Bars", "ScreenCX"
// and "ScreenCY", and one "<prefix>-Bar<i>" section per bar with "BarID" and "Visible".
struct BarInfo {
    int id = 0;
    bool visible = true;
};

// False when the profile could not be saved.
bool SaveBarState(CProfileStore& profile, const std::string& prefix,
                  const std::vector<BarInfo>& bars, int screenCx, int screenCy);

// The bars found, in their saved order; a count beyond kMaxBars is cut to it.
std::vector<BarInfo> LoadBarState(const CProfileStore& profile, const std::string& prefix);

inline constexpr int kMaxBars = 32;

}  // namespace corvane
