#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/ModelTestSupport.h"

namespace corvane {
namespace {

using testing::DocTest;

// Intercom numbers as given, with the entry they must reach; 0 means refused.
struct Numbering {
    int given;
    bool oneBased;
    int entry;
};
constexpr Numbering kIntercomNumbering[] = {
    {0, false, 1},   {255, false, 256}, {1, true, 1},      {256, true, 256},
    {256, false, 0}, {-1, false, 0},    {kNone, false, 0}, {INT_MIN, false, 0},
    {0, true, 0},    {257, true, 0},    {-5, true, 0},     {kNone, true, 0},
};

struct IntercomSetter {
    const char* name;
    std::function<bool(CVorlinModel&, int, bool)> set;
    // Whether the value of `set` is stored in the intercom.
    std::function<bool(const CVorlinModel&, int)> stored;
};

const IntercomSetter kIntercomSetters[] = {
    {"ControllerPort",
     [](CVorlinModel& d, int i, bool b) { return d.SetIntercomControllerPort(i, 4, b); },
     [](const CVorlinModel& d, int i) { return d.Intercoms()[i].ControllerPort() != kNone; }},
    {"BaudRate", [](CVorlinModel& d, int i, bool b) { return d.SetIntercomBaudRate(i, 9600, b); },
     [](const CVorlinModel& d, int i) { return d.Intercoms()[i].BaudRate() == 9600; }},
    {"CascadeCost",
     [](CVorlinModel& d, int i, bool b) { return d.SetIntercomCascadeCost(i, 7, b); },
     [](const CVorlinModel& d, int i) { return d.Intercoms()[i].CascadeCost() == 7; }},
    {"CommStatus",
     [](CVorlinModel& d, int i, bool b) { return d.SetIntercomCommStatus(i, "OK", b); },
     [](const CVorlinModel& d, int i) { return d.GetIntercomTexts(i).commStatus == "OK"; }},
    {"ConnType",
     [](CVorlinModel& d, int i, bool b) { return d.SetIntercomConnType(i, "Network", b); },
     [](const CVorlinModel& d, int i) { return d.GetIntercomTexts(i).connType == "Network"; }},
    {"IPAddress1",
     [](CVorlinModel& d, int i, bool b) { return d.SetIntercomIPAddress1(i, "10.0.0.1", b); },
     [](const CVorlinModel& d, int i) { return d.GetIntercomTexts(i).ipAddress1 == "10.0.0.1"; }},
    {"IPAddress2",
     [](CVorlinModel& d, int i, bool b) { return d.SetIntercomIPAddress2(i, "10.0.0.2", b); },
     [](const CVorlinModel& d, int i) { return d.GetIntercomTexts(i).ipAddress2 == "10.0.0.2"; }},
    {"AlphaName",
     [](CVorlinModel& d, int i, bool b) {
         return d.AddAlpha(i, 7, 0, "North", alphaop::kStore, b);
     },
     [](const CVorlinModel& d, int i) { return d.GetIntercomTexts(i).name == "North"; }},
};

class IntercomSettersTest : public DocTest {};

TEST_F(IntercomSettersTest, NumberingRangeAndMarks) {
    for (const IntercomSetter& setter : kIntercomSetters) {
        for (const Numbering& n : kIntercomNumbering) {
            if (n.entry == 0) {
                EXPECT_FALSE(setter.set(*doc, n.given, n.oneBased)) << setter.name << n.given;
            }
        }
    }
    EXPECT_TRUE(Untouched());

    for (const IntercomSetter& setter : kIntercomSetters) {
        SCOPED_TRACE(setter.name);
        for (const Numbering& n : kIntercomNumbering) {
            if (n.entry == 0) {
                continue;
            }
            SCOPED_TRACE(n.given);
            auto& icom = doc->Intercoms()[n.entry];
            icom.flags.SetUnset();  // as the constructor left it
            EXPECT_TRUE(setter.set(*doc, n.given, n.oneBased));
            EXPECT_TRUE(setter.stored(*doc, n.entry));
            EXPECT_EQ(icom.flags.Mask(), intercombit::kRow);
            EXPECT_TRUE(doc->TakeDirty(ModelCollection::Intercoms));
            EXPECT_FALSE(doc->IsDirty(ModelCollection::Trunks));

            // The same value again still marks: these setters do not compare.
            icom.flags.Clear(intercombit::kRow);
            EXPECT_TRUE(setter.set(*doc, n.given, n.oneBased));
            EXPECT_EQ(icom.flags.Mask(), intercombit::kRow);
            EXPECT_TRUE(doc->TakeDirty(ModelCollection::Intercoms));
        }
    }
    EXPECT_TRUE(doc->Intercoms()[0].flags.IsUnset());
}

TEST_F(IntercomSettersTest, ControllerPortOf32OrMoreIsStoredAsZero) {
    struct Case {
        int port;
        bool oneBased;
        int stored;
    } cases[] = {
        {31, false, 0}, {30, false, 31}, {0, false, 1}, {kNone, false, 0},
        {-1, false, 0}, {31, true, 31},  {32, true, 0}, {-1, true, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(doc->SetIntercomControllerPort(5, c.port, c.oneBased));
        EXPECT_EQ(doc->Intercoms()[c.oneBased ? 5 : 6].ControllerPort(), c.stored)
            << c.port << " " << c.oneBased;
    }
}

// A name or alpha from the controller that begins with the list cell marker would be
// converted, as if the list had marked it, by every list that shows it.
TEST_F(IntercomSettersTest, TextsThatWouldBeginWithTheListMarkerAreKeptWithAQuestionMark) {
    const struct {
        std::string given;
        std::string kept;
    } cases[] = {
        {"\x01tAB", "?tAB"},    {"\x01", "?"},          {"\x01\x01c-1", "?\x01c-1"},
        {"A\x01tB", "A\x01tB"}, {"\x02tAB", "\x02tAB"}, {"North", "North"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kept);
        ASSERT_TRUE(doc->AddAlpha(2, 7, 0, c.given, alphaop::kStore, true));
        EXPECT_EQ(doc->GetIntercomTexts(2).name, c.kept);
        ASSERT_TRUE(doc->AddAlpha(2, 0, 5, c.given, alphaop::kStore, true));
        auto lock = doc->LockAlphas();
        ASSERT_EQ(doc->AlphaQueue().size(), 1u);
        EXPECT_EQ(doc->AlphaQueue().front().text, c.kept);
        doc->AlphaQueue().clear();
    }
}

TEST_F(IntercomSettersTest, AlphasQueueWithConvertedNumbers) {
    struct Case {
        int intercom, type, number, operation;
        bool oneBased;
        bool accepted;
        CAlpha queued;  // when accepted
    } cases[] = {
        {0, 0, 0, alphaop::kStore, false, true, {1, 0, 1, "A", alphaop::kStore}},
        {9, 8, 1023, alphaop::kDelete, false, true, {10, 8, 1024, "A", alphaop::kDelete}},
        {3, 6, 0, alphaop::kDeleteFrom, true, true, {3, 6, 0, "A", alphaop::kDeleteFrom}},
        {0, 0, 1024, alphaop::kStore, false, false, {}},  // number 1025
        {0, 9, 1, alphaop::kStore, false, false, {}},
        {0, -1, 1, alphaop::kStore, false, false, {}},
        {0, 0, -2, alphaop::kStore, false, false, {}},
        {0, 0, -1, alphaop::kStore, true, false, {}},
        {256, 0, 1, alphaop::kStore, false, false, {}},
        {-1, 0, 1, alphaop::kStore, false, false, {}},
        {1, 0, 1, 3, true, false, {}},
        {1, 0, 1, -1, true, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.intercom * 100000 + c.type * 10000 + c.number);
        const bool ok = doc->AddAlpha(c.intercom, c.type, c.number, "A", c.operation, c.oneBased);
        EXPECT_EQ(ok, c.accepted);
        auto lock = doc->LockAlphas();
        if (!c.accepted) {
            EXPECT_TRUE(doc->AlphaQueue().empty());
            EXPECT_FALSE(doc->IsDirty(ModelCollection::Alphas));
            continue;
        }
        ASSERT_EQ(doc->AlphaQueue().size(), 1u);
        const CAlpha& a = doc->AlphaQueue().front();
        EXPECT_EQ(a.intercom, c.queued.intercom);
        EXPECT_EQ(a.functionType, c.queued.functionType);
        EXPECT_EQ(a.number, c.queued.number);
        EXPECT_EQ(a.text, "A");
        EXPECT_EQ(a.operation, c.queued.operation);
        EXPECT_TRUE(doc->TakeDirty(ModelCollection::Alphas));
        doc->AlphaQueue().clear();
    }
    // The alphas go to their queue and never mark an intercom.
    EXPECT_TRUE(Untouched());
}

}  // namespace
}  // namespace corvane
