#include <gtest/gtest.h>

#include "presentation/CompatibilityStatusReport.h"
#include "presentation/ControllerVersionText.h"

namespace corvane {
namespace {

constexpr uint8_t kRose = 0x02;
constexpr uint8_t kThree = 0x04;

CompatibilityStatusEntry Entry(int index, int state, int minutes, uint8_t flags, std::string name) {
    return {index, state, minutes, flags, std::move(name)};
}

std::string Paragraphs(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& p : parts) {
        text += (text.empty() ? "" : "\r\n\r\n") + p;
    }
    return text;
}

TEST(CompatibilityStatusReport, Durations) {
    const std::pair<int, const char*> cases[] = {
        {1, "1 minute"},
        {59, "59 minutes"},
        {60, "1 hour"},
        {61, "1 hour, 1 minute"},
        {1440, "1 day"},
        {1441, "1 day, 1 minute"},
        {2 * 1440 + 3 * 60 + 4, "2 days, 3 hours, 4 minutes"},
        {65535, "45 days, 12 hours, 15 minutes"},
    };
    for (const auto& [minutes, text] : cases) {
        EXPECT_EQ(IsolationDuration(minutes), text) << minutes;
    }
    EXPECT_EQ(IncompatibleStatusText(0), "Incompatible (becomes Isolated in less than 1 minute)");
    EXPECT_EQ(IncompatibleStatusText(90), "Incompatible (becomes Isolated in 1 hour, 30 minutes)");
}

TEST(CompatibilityStatusReport, RowsOfIncompatibleAndIsolatedOnly) {
    const CompatibilityStatusReport report = BuildCompatibilityStatusReport({
        Entry(0, 2, 5, 0, "North"),
        Entry(3, 1, 0, 0, "Fine"),
        Entry(254, 3, 0, 0, "South"),
    });
    EXPECT_EQ(report.rows, (std::vector<CompatibilityStatusRow>{
                               {0, "1", "North", "Incompatible (becomes Isolated in 5 minutes)"},
                               {254, "255", "South", "Isolated"}}));
    EXPECT_FALSE(report.close);
}

TEST(CompatibilityStatusReport, NothingListedCloses) {
    EXPECT_TRUE(BuildCompatibilityStatusReport({}).close);
    const CompatibilityStatusReport report =
        BuildCompatibilityStatusReport({Entry(1, 1, 0, 0, "x")});
    EXPECT_TRUE(report.close);
    EXPECT_TRUE(report.rows.empty());
    EXPECT_EQ(report.message, "");
}

TEST(CompatibilityStatusReport, Messages) {
    const std::string one5391 =
        "There seems to be a communication problem with Intercom #4 (East) that indicates the "
        "intercom may not be compatible with the Quillex.";
    struct Case {
        const char* what;
        std::vector<CompatibilityStatusEntry> entries;
        std::string message;
    };
    const Case cases[] = {
        {"one newly isolated, named by number and name",
         {Entry(2, 3, 0, kThree | kRose, "West"), Entry(3, 2, 50, kRose, "East")},
         Paragraphs({"Intercom #3 (West) seems to be incompatible with the Quillex and has "
                     "been isolated from the system in order to maintain a secure and stable "
                     "trunking environment.",
                     CompatibilityString(5389)})},
        {"several newly isolated",
         {Entry(2, 3, 0, kThree, "West"), Entry(5, 3, 0, kThree, "Far")},
         Paragraphs({"There are 2 intercoms that seem to be incompatible with the Quillex and "
                     "that have been isolated from the system in order to maintain a secure and "
                     "stable trunking environment.",
                     CompatibilityString(5390)})},
        {"one newly incompatible, days",
         {Entry(3, 2, 3000, kRose, "East")},
         Paragraphs({one5391,
                     "The Quillex will continue to try to communicate with this intercom for at "
                     "least 2 more days. " +
                         CompatibilityString(5395),
                     CompatibilityString(5387)})},
        {"one newly incompatible, 1 hour",
         {Entry(3, 2, 119, kRose, "East")},
         Paragraphs({one5391,
                     "The Quillex will continue to try to communicate with this intercom for at "
                     "least 1 more hour. " +
                         CompatibilityString(5395),
                     CompatibilityString(5387)})},
        {"one newly incompatible, less than a minute",
         {Entry(3, 2, 0, kRose, "East")},
         Paragraphs({one5391, CompatibilityString(5401) + " " + CompatibilityString(5395),
                     CompatibilityString(5387)})},
        {"several newly incompatible: their fewest minutes, not the others'",
         {Entry(1, 2, 1, 0, "Old"), Entry(3, 2, 45, kRose, "East"), Entry(4, 2, 30, kRose, "B")},
         Paragraphs({"There seems to be a communication problem with 2 intercoms that indicates "
                     "they may not be compatible with the Quillex.",
                     "The Quillex will continue to try to communicate with these intercoms for "
                     "at least 30 more minutes. " +
                         CompatibilityString(5396),
                     CompatibilityString(5388)})},
        {"still incompatible: the fewest minutes of all",
         {Entry(1, 2, 1, 0, "Old"), Entry(3, 2, 45, 0, "East")},
         Paragraphs({"There are 2 intercoms that continue to exhibit behaviour that indicates "
                     "they may may not be compatible with the Quillex.",
                     "The Quillex will continue to try to communicate with these intercoms for "
                     "at least 1 more minute. " +
                         CompatibilityString(5396),
                     CompatibilityString(5388)})},
        {"one still incompatible beside an isolated one names the incompatible one",
         {Entry(3, 2, 10, 0, "East"), Entry(7, 3, 0, 0, "Gone")},
         Paragraphs({"Intercom #4 (East) continues to exhibit behaviour that indicates it may "
                     "not be compatible with the Quillex.",
                     "The Quillex will continue to try to communicate with this intercom for at "
                     "least 10 more minutes. " +
                         CompatibilityString(5395),
                     CompatibilityString(5387)})},
        {"isolated before",
         {Entry(7, 3, 0, 0, "Gone")},
         Paragraphs({"Intercom #8 (Gone) seems to be incompatible with the Quillex and has been "
                     "isolated from the system in order to maintain a secure and stable "
                     "trunking environment.",
                     CompatibilityString(5389)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BuildCompatibilityStatusReport(c.entries).message, c.message);
    }
}

TEST(CompatibilityStatusReport, ClosingSentencesNameNoMaker) {
    for (int id = 5387; id <= 5390; ++id) {
        EXPECT_NE(CompatibilityString(id).find("sales representative"), std::string::npos);
    }
}

TEST(CompatibilityStatusReport, SortingByColumn) {
    EXPECT_EQ(CompatibilitySortKind(0), 1);
    EXPECT_EQ(CompatibilitySortKind(1), 4);
    EXPECT_EQ(CompatibilitySortKind(2), 4);
}

TEST(ControllerVersionText, SingleByteCharactersBecomeUtf8) {
    EXPECT_EQ(ControllerVersionText(""), "");
    EXPECT_EQ(ControllerVersionText("QX-70K V2.31"), "QX-70K V2.31");
    EXPECT_EQ(ControllerVersionText("V1\xB0"), "V1\xC2\xB0");
}

}  // namespace
}  // namespace corvane
