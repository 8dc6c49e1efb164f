#include "platform/Format.h"

#include <gtest/gtest.h>

#include "platform/UiBridge.h"

namespace corvane {
namespace {

TEST(FormatTest, KeepsPrintfMeanings) {
    EXPECT_EQ(StrFormat("%3.1f", 2.25), "2.2");
    EXPECT_EQ(StrFormat("N0%2.2u", 7u), "N007");
    const std::string longText(1000, 'x');
    EXPECT_EQ(StrFormat("<%s>", longText.c_str()), "<" + longText + ">");
}

TEST(FormatTest, InsertArgs) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Failed to open the %1 COM port (%2)", "Failed to open the Tonexa COM port (COM2)"},
        {"trunk %1!d! is in use", "trunk Tonexa is in use"},
        {"100%% of %1", "100% of Tonexa"},
        {"%3 missing", " missing"},
        {"trailing %", "trailing %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InsertArgs(c.text, {"Tonexa", "COM2"}), c.expected) << c.text;
    }
}

TEST(UiBridgeTest, DefaultAnswerFollowsTheDefaultButton) {
    EXPECT_EQ(DefaultAnswer(mb::kOk), answer::kOk);
    EXPECT_EQ(DefaultAnswer(mb::kYesNo), answer::kYes);
    EXPECT_EQ(DefaultAnswer(mb::kYesNo | mb::kDefButton2), answer::kNo);
    EXPECT_EQ(DefaultAnswer(mb::kOkCancel | mb::kDefButton2), answer::kCancel);
    EXPECT_EQ(DefaultAnswer(mb::kAbortRetryIgnore | mb::kDefButton3), answer::kIgnore);
}

}  // namespace
}  // namespace corvane
