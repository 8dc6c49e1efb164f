#include "presentation/CommandLineInfoEx.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(CommandLineInfoEx, Switches) {
    struct Case {
        std::vector<std::string> arguments;
        bool nologo;
        std::string value;
    };
    const Case cases[] = {
        {{}, false, ""},
        {{"-nologo"}, true, "TRUE"},
        {{"/nologo"}, true, "TRUE"},
        {{"nologo"}, false, ""},
        {{"-NOLOGO"}, false, ""},  // names compare exactly
        {{"--nologo"}, false, ""},
        {{"-nologo", "quiet"}, true, "quiet"},
        {{"-x", "-nologo"}, true, "TRUE"},
        {{"-"}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        CCommandLineInfoEx line;
        line.Parse(c.arguments);
        EXPECT_EQ(line.HasOption("nologo"), c.nologo);
        std::string value;
        EXPECT_EQ(line.GetOption("nologo", value), c.nologo);
        EXPECT_EQ(value, c.value);
    }
}

TEST(CommandLineInfoEx, APlainParameterIsTheValueOfTheSwitchBeforeIt) {
    CCommandLineInfoEx line;
    line.Parse({"-a", "1", "2", "-b"});
    std::string a, b;
    ASSERT_TRUE(line.GetOption("a", a));
    ASSERT_TRUE(line.GetOption("b", b));
    EXPECT_EQ(a, "1");
    EXPECT_EQ(b, "TRUE");
    EXPECT_FALSE(line.HasOption("2"));
}

}  // namespace
}  // namespace corvane
