#include "app/ApplicationParts.h"

#include <gtest/gtest.h>

#include <QPalette>

#include "fakes/SupervisionRig.h"
#include "settings/ColorSettings.h"

namespace corvane {
namespace {

constexpr DisplayColor kWindowColoured[] = {
    DisplayColor::AcknowledgedAlarmActiveBackground,
    DisplayColor::AcknowledgedAlarmResolvedBackground,
    DisplayColor::AcknowledgedAlarmStaleBackground,
    DisplayColor::AcknowledgedAlarmUnresolvedBackground,
};

// The program's document on a desktop whose lists are not white: the colours that default to
// the window colour take the palette's, unless the profile holds one; the others keep theirs.
TEST(ApplicationParts, TheWindowColoursDefaultToThePalettes) {
    struct Case {
        const char* name;
        bool stored;  // the profile holds a stale background of its own
    };
    const Case cases[] = {{"an empty profile", false}, {"a colour in the profile", true}};
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(250, 240, 200));
    const ColorRef window = Rgb(250, 240, 200);
    const ColorRef stored = Rgb(1, 2, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::SupervisionRig rig;
        if (c.stored) {
            rig.profile.WriteProfileInt(ColorSettings::kSection, "AcknowledgedAlarmStaleBackground",
                                        static_cast<int>(stored));
        }
        ColorSettings colors;
        DocumentParts parts = rig.Parts();
        AddApplicationParts(parts, colors, nullptr, palette);
        CVorlinDoc& doc = rig.Create(std::move(parts));
        ASSERT_TRUE(doc.OnNewDocument());
        for (DisplayColor colour : kWindowColoured) {
            SCOPED_TRACE(ColorSettings::KeyOf(colour));
            const bool kept = c.stored && colour == DisplayColor::AcknowledgedAlarmStaleBackground;
            EXPECT_EQ(colors.Get(colour), kept ? stored : window);
            // Written back, so the profile names the colour it was shown with.
            EXPECT_EQ(rig.profile.GetProfileInt(ColorSettings::kSection,
                                                ColorSettings::KeyOf(colour), -1),
                      static_cast<int>(kept ? stored : window));
        }
        EXPECT_EQ(colors.Get(DisplayColor::Background), Rgb(245, 245, 245));
        EXPECT_EQ(colors.Get(DisplayColor::AcknowledgedAlarmActiveText), Rgb(128, 0, 0));
    }
}

}  // namespace
}  // namespace corvane
