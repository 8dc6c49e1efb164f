#include <gtest/gtest.h>

#include "LayoutFixtures.h"
#include "graphics/LayoutArchive.h"

namespace corvane {
namespace {

using testing::DescribeLayout;

std::string Write(const CGraphicLayout& layout) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(WriteLayoutArchive(layout, bytes, error)) << error;
    return bytes;
}

bool Read(const std::string& bytes, CGraphicLayout& layout, std::string& error) {
    return ReadLayoutArchive(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), layout, error);
}

// A grid of intercoms with trunk sets between neighbours and across, in many states.
void BuildBusyLayout(CGraphicLayout& layout) {
    std::vector<CIcomObj*> boxes;
    for (int i = 1; i <= 12; ++i) {
        CIcomObj& box =
            layout.AddIntercom(i, {100 * (i % 4), 80 * (i / 4)}, "MX" + std::to_string(i));
        box.SetOnline(i % 3 != 0);
        box.SetBaud9600Mark(i % 5 == 0);
        boxes.push_back(&box);
    }
    for (size_t i = 0; i + 1 < boxes.size(); ++i) {
        layout.AddTrunkSet(*boxes[i], *boxes[i + 1],
                           {static_cast<int32_t>(i), 1, 0, static_cast<int32_t>(i % 2), 0});
    }
    layout.AddTrunkSet(*boxes[0], *boxes[11], {40, 10, 10, 10, 5});
    layout.AddTrunkSet(*boxes[4], *boxes[4], {1, 0, 0, 0, 0});  // both ends one box
    boxes[6]->MoveTo(-30, 900);
    boxes[7]->Show(false);
    boxes[2]->Caption()->Show(false);
    static_cast<CTrunkSetObj*>(*layout.TrunkSets().begin())->Caption()->Show(false);
    layout.SelectObject(*boxes[1]);
    layout.SelectObject(*boxes[1]->Caption());
}

TEST(LayoutArchiveRoundTripTest, ABusyLayoutComesBackAsItWasSaved) {
    CGraphicLayout layout;
    BuildBusyLayout(layout);
    const std::string bytes = Write(layout);

    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(Read(bytes, read, error)) << error;
    layout.ClearSelection();  // selection is not stored
    EXPECT_EQ(DescribeLayout(read), DescribeLayout(layout));
    EXPECT_EQ(Write(read), bytes);
}

TEST(LayoutArchiveRoundTripTest, ReadObjectsWorkLikeNewOnes) {
    CGraphicLayout layout;
    BuildBusyLayout(layout);
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(Read(Write(layout), read, error)) << error;

    // Moving a box drags its trunk sets along, and hidden boxes still go on save.
    CIcomObj* box = read.FindIntercom(2);
    ASSERT_NE(box, nullptr);
    box->MoveTo(500, 500);
    for (const CGraphicObj* obj : box->TrunkSets()) {
        const auto* set = static_cast<const CTrunkSetObj*>(obj);
        const GraphicRect& r = set->GetRect();
        EXPECT_TRUE((GraphicPoint{r.left, r.top}) == (GraphicPoint{516, 516}) ||
                    (GraphicPoint{r.right, r.bottom}) == (GraphicPoint{516, 516}));
    }
    EXPECT_EQ(read.RemoveHiddenIntercoms(), 1u);
    EXPECT_EQ(read.FindIntercom(8), nullptr);
    EXPECT_EQ(read.FindTrunkSet(0x0708), nullptr);
    EXPECT_EQ(read.FindTrunkSet(0x0809), nullptr);
    EXPECT_NE(read.FindTrunkSet(0x0607), nullptr);
}

TEST(LayoutArchiveRoundTripTest, ReadingEmptiesTheLayoutFirst) {
    CGraphicLayout layout;
    layout.AddIntercom(1, {0, 0}, "a");
    CGraphicLayout other;
    other.AddIntercom(2, {0, 0}, "b");
    std::string error;
    ASSERT_TRUE(Read(Write(other), layout, error)) << error;
    EXPECT_EQ(layout.Intercoms().GetCount(), 1u);
    EXPECT_NE(layout.FindIntercom(2), nullptr);
}

TEST(LayoutArchiveRoundTripTest, FarCoordinatesWrapOnlyTheStoredLineTerms) {
    CGraphicLayout layout;
    CIcomObj& a = layout.AddIntercom(1, {0, 0}, "a");
    CIcomObj& b = layout.AddIntercom(2, {100000, 100000}, "b");
    const CTrunkSetObj& set = layout.AddTrunkSet(a, b, {1, 0, 0, 0, 0});
    EXPECT_EQ(set.Line().length2, int64_t{20000000000});
    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(Read(Write(layout), read, error)) << error;
    const CTrunkSetObj* back = read.FindTrunkSet(0x0102);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->StoredLine().length2, static_cast<int32_t>(static_cast<uint32_t>(20000000000)));
    EXPECT_EQ(back->Line(), set.Line()) << "hits follow the line, not the wrapped terms";
    EXPECT_EQ(back->GetRect(), set.GetRect());
}

TEST(LayoutArchiveRoundTripTest, StaleLineTermsAreKeptForTheFileButNotUsedForHits) {
    CGraphicLayout layout;
    CIcomObj& a = layout.AddIntercom(1, {16, 16}, "a");
    CIcomObj& b = layout.AddIntercom(2, {116, 116}, "b");
    layout.AddTrunkSet(a, b, {4, 0, 0, 0, 0});
    std::string bytes = Write(layout);
    // The diagonal's terms as written: a, b, c, (yA - yB)², (xA - xB)², length².
    std::string terms;
    for (int32_t v : {-100, 100, 0, 10000, 10000, 20000}) {
        terms.append(reinterpret_cast<const char*>(&v), 4);
    }
    const size_t at = bytes.find(terms);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, terms.size(), std::string(terms.size(), '\0'));

    CGraphicLayout read;
    std::string error;
    ASSERT_TRUE(Read(bytes, read, error)) << error;
    const CTrunkSetObj* set = read.FindTrunkSet(0x0102);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->StoredLine(), TrunkSetLine{});
    // A corner of the span far from the diagonal: with the stored zeros only the span decided.
    const GraphicOptions options;
    EXPECT_EQ(set->HitTest({106, 26}, options), HitCode::Nothing);
    EXPECT_EQ(set->HitTest({66, 66}, options), HitCode::TrunkSet);
    EXPECT_EQ(Write(read), bytes) << "written back as read";
}

TEST(LayoutArchiveRoundTripTest, ALayoutLinkedTooDeeplyIsRefusedByTheWriter) {
    // A chain of boxes, each set written inside the box before it.
    CGraphicLayout layout;
    CIcomObj* previous = &layout.AddIntercom(0, {0, 0}, "");
    for (int i = 1; i < static_cast<int>(kMaxLayoutNesting); ++i) {
        CIcomObj& next = layout.AddIntercom(i, {i, 0}, "");
        layout.AddTrunkSet(*previous, next, {});
        previous = &next;
    }
    std::string bytes;
    std::string error;
    EXPECT_FALSE(WriteLayoutArchive(layout, bytes, error));
    EXPECT_NE(error.find("too deeply"), std::string::npos) << error;
}

TEST(LayoutArchiveRoundTripTest, ChainsUpToTheNestingBoundComeBack) {
    // 256 intercoms, the most a layout has, and the longest chain the bound allows.
    for (const int length : {256, static_cast<int>(kMaxLayoutNesting / 2) - 2}) {
        CGraphicLayout layout;
        CIcomObj* previous = &layout.AddIntercom(length, {0, 0}, "");
        for (int i = length - 1; i >= 1; --i) {
            CIcomObj& next = layout.AddIntercom(i, {(length - i) * 40, 0}, "");
            layout.AddTrunkSet(*previous, next, {});
            previous = &next;
        }
        CGraphicLayout read;
        std::string error;
        ASSERT_TRUE(Read(Write(layout), read, error)) << length << ": " << error;
        EXPECT_EQ(read.TrunkSets().GetCount(), static_cast<size_t>(length - 1));
    }
}

}  // namespace
}  // namespace corvane
