#include "settings/ColorSettings.h"

#include "platform/ProfileStore.h"

namespace corvane {
namespace {

constexpr ColorRef kWindow = 0xFFFFFFFFu;  // marks the system window colour in the table

struct ColorRow {
    const char* key;
    ColorRef def;
};

constexpr ColorRow kRows[kDisplayColorCount] = {
    {"IntercomBorder", Rgb(0, 0, 0)},
    {"IntercomInterior", Rgb(0, 0, 192)},
    {"IntercomCaptionBorder", Rgb(0, 0, 0)},
    {"IntercomCaptionText", Rgb(0, 0, 0)},
    {"IntercomCaptionBackground", Rgb(192, 224, 255)},
    {"TrunkCaptionBorder", Rgb(0, 0, 0)},
    {"TrunkCaptionText", Rgb(0, 0, 0)},
    {"TrunkCaptionBackground", Rgb(255, 255, 255)},
    {"SelectedIntercomBorder", Rgb(0, 0, 0)},
    {"SelectedIntercomInterior", Rgb(255, 255, 0)},
    {"SelectedIntercomCaptionBorder", Rgb(0, 0, 0)},
    {"SelectedIntercomCaptionText", Rgb(0, 0, 0)},
    {"SelectedIntercomCaptionBackground", Rgb(255, 255, 0)},
    {"DisconnectedIntercomInterior", Rgb(192, 0, 192)},
    {"DisconnectedIntercomCaptionBackground", Rgb(255, 224, 255)},
    {"RemoteIntercomInterior", Rgb(192, 224, 255)},
    {"SelectedTrunkCaptionBorder", Rgb(0, 0, 0)},
    {"SelectedTrunkCaptionText", Rgb(0, 0, 0)},
    {"SelectedTrunkCaptionBackground", Rgb(255, 255, 0)},
    {"TrunksIdle", Rgb(0, 192, 0)},
    {"TrunksAllocated", Rgb(224, 224, 0)},
    {"TrunksUnavailable", Rgb(192, 0, 0)},
    {"Background", Rgb(245, 245, 245)},
    {"AlarmActiveText", Rgb(0, 0, 0)},
    {"AlarmActiveBackground", Rgb(255, 224, 224)},
    {"AlarmResolvedText", Rgb(0, 0, 0)},
    {"AlarmResolvedBackground", Rgb(224, 255, 224)},
    {"AlarmStaleText", Rgb(0, 0, 0)},
    {"AlarmStaleBackground", Rgb(255, 255, 224)},
    {"AlarmUnresolvedText", Rgb(0, 0, 0)},
    {"AlarmUnresolvedBackground", Rgb(255, 240, 224)},
    {"AcknowledgedAlarmActiveText", Rgb(128, 0, 0)},
    {"AcknowledgedAlarmActiveBackground", kWindow},
    {"AcknowledgedAlarmResolvedText", Rgb(0, 128, 0)},
    {"AcknowledgedAlarmResolvedBackground", kWindow},
    {"AcknowledgedAlarmStaleText", Rgb(128, 128, 0)},
    {"AcknowledgedAlarmStaleBackground", kWindow},
    {"AcknowledgedAlarmUnresolvedText", Rgb(224, 112, 0)},
    {"AcknowledgedAlarmUnresolvedBackground", kWindow},
    {"AlternateLineShadingOffsets", Rgb(10, 10, 10)},
};

}  // namespace

ColorSettings::ColorSettings() {
    for (int i = 0; i < kDisplayColorCount; ++i) {
        values[i] = DefaultOf(static_cast<DisplayColor>(i), kDefaultWindowColor);
    }
}

const char* ColorSettings::KeyOf(DisplayColor c) {
    return kRows[static_cast<int>(c)].key;
}

ColorRef ColorSettings::DefaultOf(DisplayColor c, ColorRef windowColor) {
    const ColorRef def = kRows[static_cast<int>(c)].def;
    return def == kWindow ? windowColor : def;
}

void ColorSettings::Load(const CProfileStore& profile, ColorRef windowColor) {
    for (int i = 0; i < kDisplayColorCount; ++i) {
        const auto c = static_cast<DisplayColor>(i);
        const int def = static_cast<int>(DefaultOf(c, windowColor));
        values[i] =
            static_cast<ColorRef>(profile.GetProfileInt(kSection, KeyOf(c), def)) & 0x00FFFFFFu;
    }
}

bool ColorSettings::Save(CProfileStore& profile) const {
    CProfileStore::Batch batch(profile);
    bool ok = true;
    for (int i = 0; i < kDisplayColorCount; ++i) {
        ok = profile.WriteProfileInt(kSection, KeyOf(static_cast<DisplayColor>(i)),
                                     static_cast<int>(values[i])) &&
             ok;
    }
    return batch.Close() && ok;
}

}  // namespace corvane
