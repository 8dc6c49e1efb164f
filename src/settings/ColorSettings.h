#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

class CProfileStore;

// A colour in the platform's red-green-blue word: red in the low byte, then green, then blue.
using ColorRef = uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>(r & 0xFF) | (static_cast<ColorRef>(g & 0xFF) << 8) |
           (static_cast<ColorRef>(b & 0xFF) << 16);
}
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// The display colours of the list views and the graphical view, section "Preferences\Colors".
enum class DisplayColor {
    IntercomBorder,
    IntercomInterior,
    IntercomCaptionBorder,
    IntercomCaptionText,
    IntercomCaptionBackground,
    TrunkCaptionBorder,
    TrunkCaptionText,
    TrunkCaptionBackground,
    SelectedIntercomBorder,
    SelectedIntercomInterior,
    SelectedIntercomCaptionBorder,
    SelectedIntercomCaptionText,
    SelectedIntercomCaptionBackground,
    DisconnectedIntercomInterior,
    DisconnectedIntercomCaptionBackground,
    RemoteIntercomInterior,
    SelectedTrunkCaptionBorder,
    SelectedTrunkCaptionText,
    SelectedTrunkCaptionBackground,
    TrunksIdle,
    TrunksAllocated,
    TrunksUnavailable,
    Background,
    AlarmActiveText,
    AlarmActiveBackground,
    AlarmResolvedText,
    AlarmResolvedBackground,
    AlarmStaleText,
    AlarmStaleBackground,
    AlarmUnresolvedText,
    AlarmUnresolvedBackground,
    AcknowledgedAlarmActiveText,
    AcknowledgedAlarmActiveBackground,
    AcknowledgedAlarmResolvedText,
    AcknowledgedAlarmResolvedBackground,
    AcknowledgedAlarmStaleText,
    AcknowledgedAlarmStaleBackground,
    AcknowledgedAlarmUnresolvedText,
    AcknowledgedAlarmUnresolvedBackground,
    AlternateLineShadingOffsets,
    Count
};

inline constexpr int kDisplayColorCount = static_cast<int>(DisplayColor::Count);

struct ColorSettings {
    static constexpr const char* kSection = "Preferences\\Colors";
    // White, for where no window system tells the window colour.
    static constexpr ColorRef kDefaultWindowColor = Rgb(255, 255, 255);

    ColorSettings();

    ColorRef Get(DisplayColor c) const { return values[static_cast<int>(c)]; }
    void Set(DisplayColor c, ColorRef value) { values[static_cast<int>(c)] = value; }

    static const char* KeyOf(DisplayColor c);
    // The default; windowColor stands in for the system's window colour.
    static ColorRef DefaultOf(DisplayColor c, ColorRef windowColor);

    void Load(const CProfileStore& profile, ColorRef windowColor = kDefaultWindowColor);
    bool Save(CProfileStore& profile) const;

    std::array<ColorRef, kDisplayColorCount> values{};
};

}  // namespace corvane
