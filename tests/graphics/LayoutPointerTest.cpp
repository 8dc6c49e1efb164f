#include "graphics/LayoutPointer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/TrunkSetObj.h"

namespace corvane {
namespace {

// Intercoms A (1) and B (2) with the trunk set between them, and C (3) alone:
//   A box (34,34)-(66,66), its caption (45,77)-(55,87); B box (184,34)-(216,66);
//   C box (34,184)-(66,216); the set's caption (120,45)-(130,55) in the middle of A-B.
class LayoutPointerTest : public ::testing::Test {
protected:
    // The selection by letter: A, B, C the boxes, a, b, c their captions, t the set's.
    std::string Selected() const {
        std::set<std::string> names;
        for (const CGraphicObj* obj : layout.Selection()) {
            names.insert(Name(obj));
        }
        std::string out;
        for (const std::string& n : names) {
            out += n;
        }
        return out;
    }
    std::string Name(const CGraphicObj* obj) const {
        for (const auto& [o, n] :
             std::initializer_list<std::pair<const CGraphicObj*, const char*>>{{&a, "A"},
                                                                               {a.Caption(), "a"},
                                                                               {&b, "B"},
                                                                               {b.Caption(), "b"},
                                                                               {&c, "C"},
                                                                               {c.Caption(), "c"},
                                                                               {set.Caption(), "t"},
                                                                               {&set, "T"}}) {
            if (o == obj) {
                return n;
            }
        }
        return "?";
    }
    void Select(const std::string& letters) {
        for (char l : letters) {
            CGraphicObj* obj = l == 'A'   ? static_cast<CGraphicObj*>(&a)
                               : l == 'a' ? a.Caption()
                               : l == 'B' ? &b
                               : l == 'b' ? b.Caption()
                               : l == 'C' ? &c
                               : l == 'c' ? static_cast<CGraphicObj*>(c.Caption())
                                          : set.Caption();
            layout.SelectObject(*obj);
        }
    }

    CGraphicLayout layout;
    CIcomObj& a = layout.AddIntercom(1, {50, 50}, "North");
    CIcomObj& b = layout.AddIntercom(2, {200, 50}, "South");
    CIcomObj& c = layout.AddIntercom(3, {50, 200}, "East");
    CTrunkSetObj& set = layout.AddTrunkSet(a, b, {4, 1, 0, 0, 0});
    GraphicOptions options;
    CLayoutPointer pointer;
};

constexpr GraphicPoint kOnA{50, 50};
constexpr GraphicPoint kOnACaption{50, 80};
constexpr GraphicPoint kOnSetLine{90, 50};
constexpr GraphicPoint kOnSetCaption{125, 50};
constexpr GraphicPoint kOnNothing{300, 300};

TEST_F(LayoutPointerTest, APressSelectsWhatItHitsWithWhatComesAlong) {
    constexpr KeyFlags kNone{};
    constexpr KeyFlags kShift{false, true};
    constexpr KeyFlags kCtrl{true, false};
    const struct {
        const char* name;
        const char* before;
        GraphicPoint point;
        KeyFlags keys;
        const char* after;
        bool changed;
    } cases[] = {
        {"intercom", "", kOnA, kNone, "Aa", true},
        {"intercom with Shift", "", kOnA, kShift, "A", true},
        {"intercom caption", "", kOnACaption, kNone, "Aa", true},
        {"intercom caption with Shift", "", kOnACaption, kShift, "a", true},
        {"trunk set: never itself", "", kOnSetLine, kNone, "ABabt", true},
        {"trunk set with Shift", "", kOnSetLine, kShift, "ABabt", true},
        {"trunk-set caption", "", kOnSetCaption, kNone, "ABabt", true},
        {"trunk-set caption with Shift", "", kOnSetCaption, kShift, "t", true},
        {"beside the selection", "Cc", kOnA, kNone, "Aa", true},
        {"beside the selection with Ctrl", "Cc", kOnA, kCtrl, "ACac", true},
        {"on the selection", "AaCc", kOnA, kNone, "ACac", false},
        {"the background", "Cc", kOnNothing, kNone, "", true},
        {"the background with Ctrl", "Cc", kOnNothing, kCtrl, "Cc", false},
        {"nothing on nothing", "", kOnNothing, kNone, "", false},
    };
    for (const auto& tc : cases) {
        layout.ClearSelection();
        Select(tc.before);
        const CLayoutPointer::Effect effect =
            pointer.Press(&layout, tc.point, tc.keys, true, options);
        EXPECT_EQ(Selected(), tc.after) << tc.name;
        EXPECT_EQ(effect.changed, tc.changed) << tc.name;
        EXPECT_FALSE(effect.moved) << tc.name;
        pointer.Release(&layout, tc.point, tc.keys, options);
    }
}

TEST_F(LayoutPointerTest, AClickOnTheSelectionSelectsItAloneOrWithCtrlTakesItOut) {
    const struct {
        const char* name;
        const char* before;
        GraphicPoint point;
        KeyFlags keys;
        const char* after;
    } cases[] = {
        {"click", "AaCc", kOnA, {}, "Aa"},
        {"Ctrl", "AaCc", kOnA, {true, false}, "Cc"},
        {"Ctrl and Shift", "AaCc", kOnA, {true, true}, "Cac"},
        {"Ctrl on a caption", "AaCc", kOnACaption, {true, false}, "Cc"},
        {"Ctrl on a set's caption", "ABabtCc", kOnSetCaption, {true, false}, "Cc"},
        {"Ctrl and Shift on a set's caption", "ABabtCc", kOnSetCaption, {true, true}, "ABCabc"},
        {"a click beside it keeps the new selection", "Cc", kOnA, {}, "Aa"},
    };
    for (const auto& tc : cases) {
        layout.ClearSelection();
        Select(tc.before);
        pointer.Press(&layout, tc.point, tc.keys, true, options);
        pointer.Release(&layout, tc.point, tc.keys, options);
        EXPECT_EQ(Selected(), tc.after) << tc.name;
    }
}

TEST_F(LayoutPointerTest, OnlyAMoveOfFiveUnitsWithTheButtonDownDrags) {
    const struct {
        const char* name;
        bool press;
        bool editing;
        GraphicPoint to;
        bool drags;
    } cases[] = {
        {"4 units right", true, true, {54, 50}, false},
        {"4 units both ways", true, true, {46, 54}, false},
        {"5 units right", true, true, {55, 50}, true},
        {"5 units up", true, true, {50, 45}, true},
        {"5 units left", true, true, {45, 50}, true},
        {"no button", false, true, {80, 80}, false},
        {"no editing", true, false, {80, 80}, false},
    };
    for (const auto& tc : cases) {
        layout.ClearSelection();
        a.MoveTo(34, 34);
        if (tc.press) {
            pointer.Press(&layout, kOnA, {}, tc.editing, options);
        }
        const CLayoutPointer::Effect effect = pointer.Move(&layout, tc.to, options);
        EXPECT_EQ(pointer.IsDragging(), tc.drags) << tc.name;
        EXPECT_EQ(effect.moved, tc.drags) << tc.name;
        const GraphicPoint moved{34 + (tc.drags ? tc.to.x - 50 : 0),
                                 34 + (tc.drags ? tc.to.y - 50 : 0)};
        EXPECT_EQ(a.GetTopLeft(), moved) << tc.name;
        pointer.Release(&layout, tc.to, {}, options);
        EXPECT_FALSE(pointer.IsDragging()) << tc.name;
    }
}

TEST_F(LayoutPointerTest, ADragMovesTheVisibleSelectionAndTheSetsFollow) {
    pointer.Press(&layout, kOnA, {}, true, options);
    const GraphicPoint caption = a.Caption()->GetTopLeft();
    pointer.Move(&layout, {56, 50}, options);  // starts the drag: 6 right
    pointer.Move(&layout, {60, 60}, options);  // 4 right and 10 down more
    EXPECT_EQ(a.GetRect(), (GraphicRect{44, 44, 76, 76}));
    EXPECT_EQ(a.Caption()->GetTopLeft(), (GraphicPoint{caption.x + 10, caption.y + 10}));
    EXPECT_EQ(set.GetRect(), (GraphicRect{60, 60, 200, 50}));
    EXPECT_EQ(set.Caption()->GetRect().Centre(), (GraphicPoint{130, 55}));
    const CLayoutPointer::Effect up = pointer.Release(&layout, {60, 60}, {}, options);
    EXPECT_FALSE(up.changed) << "a drag keeps the selection";
    EXPECT_EQ(Selected(), "Aa");
    EXPECT_EQ(pointer.Move(&layout, {90, 90}, options).moved, false) << "the button is up";
    EXPECT_EQ(a.GetRect(), (GraphicRect{44, 44, 76, 76}));
}

TEST_F(LayoutPointerTest, ARubberBandSelectsWhatItMeetsAndGoesAtRelease) {
    pointer.Press(&layout, {20, 20}, {}, true, options);
    EXPECT_FALSE(pointer.Band());
    CLayoutPointer::Effect effect = pointer.Move(&layout, {24, 24}, options);
    EXPECT_FALSE(effect.band);
    effect = pointer.Move(&layout, {70, 70}, options);
    EXPECT_TRUE(effect.band);
    EXPECT_TRUE(effect.changed);
    EXPECT_EQ(pointer.Band(), (GraphicRect{20, 20, 70, 70}));
    EXPECT_EQ(Selected(), "A");
    effect = pointer.Move(&layout, {140, 100}, options);
    EXPECT_EQ(Selected(), "Aat");
    effect = pointer.Move(&layout, {10, 10}, options);
    EXPECT_EQ(pointer.Band(), (GraphicRect{10, 10, 20, 20}));
    EXPECT_EQ(Selected(), "");
    effect = pointer.Release(&layout, {10, 10}, {}, options);
    EXPECT_TRUE(effect.band) << "the band is wiped off";
    EXPECT_FALSE(pointer.Band());
}

TEST_F(LayoutPointerTest, ObjectsDeletedUnderAPressEndTheGesture) {
    pointer.Press(&layout, kOnA, {}, true, options);
    EXPECT_EQ(pointer.HitObject(&layout).object, &a);
    // Another view of the layout reloads it: every object is new.
    layout.DeleteAllObjects();
    layout.AddIntercom(1, {50, 50}, "North");
    EXPECT_EQ(pointer.HitObject(&layout).object, nullptr);
    EXPECT_FALSE(pointer.IsPressed());
    EXPECT_FALSE(pointer.Move(&layout, {90, 90}, options).moved);
    EXPECT_FALSE(pointer.Release(&layout, {90, 90}, {true, false}, options).changed);
}

TEST_F(LayoutPointerTest, ALayoutGoneMeansNothingIsHit) {
    pointer.Press(&layout, kOnA, {}, true, options);
    CGraphicLayout other;
    EXPECT_EQ(pointer.HitObject(&other).object, nullptr) << "another layout object";
    EXPECT_FALSE(pointer.Move(nullptr, {90, 90}, options).moved);
    EXPECT_FALSE(pointer.SelectAt(nullptr, kOnA, {}, options).changed);
    EXPECT_EQ(pointer.LastPoint(), kOnA);
}

}  // namespace
}  // namespace corvane
