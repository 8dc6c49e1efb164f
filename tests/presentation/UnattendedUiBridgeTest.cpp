#include "presentation/UnattendedUiBridge.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/LogCapture.h"
#include "log/DiagLogSource.h"

namespace corvane {
namespace {

// Nothing is shown once a signal stops the program: each box is logged on one line and takes
// the default button.
TEST(UnattendedUiBridge, EveryBoxIsLoggedAndTakesItsDefault) {
    testing::LogCapture capture("Stopping", 0);
    const CDiagLogSource log("Stopping", "Stopping", 0);
    CUnattendedUiBridge bridge(log);
    struct Case {
        const char* text;
        unsigned style;
        int timeoutSeconds;  // -1: a plain box, not a question
        int answer;
    };
    const Case cases[] = {
        {"Configure?\r\n\r\n\tIntercom:\tMX01", mb::kYesNo | mb::kIconExclamation, -1,
         answer::kYes},
        {"Save?", mb::kYesNoCancel | mb::kDefButton3, -1, answer::kCancel},
        {"Compact now?", mb::kYesNo | mb::kDefButton2, 30, answer::kNo | answer::kTimedOutBit},
        {"Compact later?", mb::kYesNo, 0, answer::kYes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const int answer = c.timeoutSeconds < 0
                               ? bridge.MessageBox(c.text, "Corvane", c.style)
                               : bridge.Ask({c.text, "Corvane", c.style, c.timeoutSeconds});
        EXPECT_EQ(answer, c.answer);
    }
    bridge.PostMessageBox("Posted\nbox", "Corvane", mb::kOk);
    bridge.ReportDatabaseError("Error, writing trunks\nDescription: %s", "disk I/O error");
    bool answered = false;
    bridge.PostQuestion("Set the\nport?", "Corvane", mb::kYesNo, [&](int) { answered = true; });
    EXPECT_FALSE(answered);
    const std::string text = capture.Text();
    for (const char* line :
         {"Not asked, nobody is at the window; answer 6 taken: Configure?    \tIntercom:\tMX01",
          "answer 2 taken: Save?", "answer 7 taken: Compact now?",
          "Not shown, nobody is at the window: Posted box",
          "Not shown, nobody is at the window: Error, writing trunks Description: disk I/O "
          "error",
          "Not asked, nobody is at the window: Set the port?"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(UnattendedUiBridge, GoingItLeavesNoBridgeBehind) {
    const CDiagLogSource log;
    const UiBridge* gone = nullptr;
    {
        CUnattendedUiBridge bridge(log);
        SetUiBridge(&bridge);
        gone = &bridge;
    }
    EXPECT_NE(&Ui(), gone);
}

}  // namespace
}  // namespace corvane
