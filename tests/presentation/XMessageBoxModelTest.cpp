#include "presentation/XMessageBoxModel.h"

#include <gtest/gtest.h>

#include "platform/ProfileStore.h"
#include "presentation/RememberedAnswers.h"

namespace corvane {
namespace {

XMessageBoxModel Model(unsigned style, const XMessageBoxParams& params = {},
                       CProfileStore* profile = nullptr, std::string caption = "Corvane") {
    return XMessageBoxModel("Compact the database?", std::move(caption), style, params, profile,
                            "corvane");
}

std::vector<int> Ids(const XMessageBoxModel& m) {
    std::vector<int> ids;
    for (const XButton& b : m.Buttons()) {
        ids.push_back(b.id);
    }
    return ids;
}

TEST(XMessageBoxModel, ButtonSetsAndIds) {
    struct Case {
        unsigned style;
        std::vector<int> ids;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {mb::kOk, {1}, {"OK"}},
        {mb::kOkCancel, {1, 2}, {"OK", "Cancel"}},
        {mb::kAbortRetryIgnore, {3, 4, 5}, {"&Abort", "&Retry", "&Ignore"}},
        {mb::kYesNoCancel, {6, 7, 2}, {"&Yes", "&No", "Cancel"}},
        {mb::kYesNo, {6, 7}, {"&Yes", "&No"}},
        {mb::kRetryCancel, {4, 2}, {"&Retry", "Cancel"}},
        {xmb::kCancelTryContinue, {2, 10, 11}, {"Cancel", "&Try Again", "&Continue"}},
        {xmb::kContinueAbort, {11, 3}, {"&Continue", "&Abort"}},
        {xmb::kSkipSkipAllCancel, {14, 15, 2}, {"&Skip", "S&kip All", "Cancel"}},
        {xmb::kIgnoreIgnoreAllCancel, {5, 16, 2}, {"&Ignore", "I&gnore All", "Cancel"}},
        {0xA, {1}, {"OK"}},
        {0xF, {1}, {"OK"}},
        {mb::kYesNo | xmb::kYesToAll | xmb::kNoToAll,
         {6, 19, 7, 20},
         {"&Yes", "Y&es to All", "&No", "N&o to All"}},
        {mb::kYesNoCancel | xmb::kNoToAll, {6, 7, 20, 2}, {"&Yes", "&No", "N&o to All", "Cancel"}},
        // The "to all" buttons belong to the Yes/No sets only.
        {mb::kOkCancel | xmb::kYesToAll, {1, 2}, {"OK", "Cancel"}},
        {mb::kOk | xmb::kHelp, {1, 300}, {"OK", "&Help"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const XMessageBoxModel m = Model(c.style);
        EXPECT_EQ(Ids(m), c.ids);
        std::vector<std::string> texts;
        for (const XButton& b : m.Buttons()) {
            texts.push_back(b.text);
        }
        EXPECT_EQ(texts, c.texts);
    }
}

TEST(XMessageBoxModel, DefaultAndEscapeResults) {
    struct Case {
        unsigned style;
        int defaultId;
        std::optional<int> escape;
    };
    const Case cases[] = {
        {mb::kOk, 1, 1},
        {mb::kOkCancel, 1, 2},
        {mb::kOkCancel | mb::kDefButton2, 2, 2},
        {mb::kAbortRetryIgnore | mb::kDefButton3, 5, std::nullopt},
        {mb::kYesNoCancel | mb::kDefButton3, 2, 2},
        {mb::kYesNo | mb::kDefButton2, 7, std::nullopt},
        {mb::kRetryCancel, 4, 2},
        {xmb::kCancelTryContinue | mb::kDefButton2, 10, 2},
        {xmb::kContinueAbort, 11, std::nullopt},
        {xmb::kSkipSkipAllCancel, 14, 2},
        {xmb::kIgnoreIgnoreAllCancel, 5, 2},
        {0xB, 1, std::nullopt},
        // A default beyond the buttons gives the first.
        {mb::kOkCancel | xmb::kDefButton4, 1, 2},
        {mb::kYesNo | xmb::kDefButton6, 6, std::nullopt},
        // The "to all" buttons count in the order they stand.
        {mb::kYesNoCancel | xmb::kYesToAll | xmb::kNoToAll | xmb::kDefButton5, 2, 2},
        {mb::kYesNo | xmb::kYesToAll | mb::kDefButton2, 19, std::nullopt},
        // Help is no answer and cannot be the default.
        {mb::kOk | xmb::kHelp | mb::kDefButton2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const XMessageBoxModel m = Model(c.style);
        EXPECT_EQ(m.DefaultButtonId(), c.defaultId);
        EXPECT_EQ(m.EscapeResult(), c.escape);
        EXPECT_EQ(m.Escape(), c.escape);
        EXPECT_EQ(m.CanClose(), c.escape.has_value());
    }
}

TEST(XMessageBoxModel, IconsAndSystemBox) {
    struct Case {
        unsigned style;
        XIcon icon;
        bool systemBox;
    };
    const Case cases[] = {
        {mb::kOk, XIcon::None, false},
        {mb::kIconStop, XIcon::Stop, false},
        {mb::kIconQuestion, XIcon::Question, false},
        {mb::kIconExclamation, XIcon::Exclamation, false},
        {mb::kIconInformation, XIcon::Information, false},
        {0x50, XIcon::Exclamation, false},
        {0xF0, XIcon::Exclamation, false},
        {mb::kIconStop | xmb::kSystemModal, XIcon::Stop, true},
        {mb::kIconExclamation | xmb::kSystemModal, XIcon::Exclamation, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        const XMessageBoxModel m = Model(c.style);
        EXPECT_EQ(m.Icon(), c.icon);
        EXPECT_EQ(m.UsesSystemBox(), c.systemBox);
    }
}

TEST(XMessageBoxModel, CaptionDefaultsToError) {
    EXPECT_EQ(Model(mb::kOk, {}, nullptr, "").WindowCaption(), "Error");
}

TEST(XMessageBoxModel, CountdownOnTheDefaultButtonEndsWithTheTimeOutBit) {
    struct Case {
        unsigned style;
        int timeout;
        int firstShown;
        std::string defaultText;
        int result;
    };
    const Case cases[] = {
        {mb::kYesNo | mb::kDefButton2, 20, 20, "&No", answer::kNo},
        {mb::kYesNo | mb::kIconStop, 3, 3, "&Yes", answer::kYes},
        {mb::kOkCancel, 1500, 10, "OK", answer::kOk},
        {mb::kOkCancel, 1000, 10, "OK", answer::kOk},
        {mb::kOkCancel, 999, 999, "OK", answer::kOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeout);
        XMessageBoxParams params;
        params.timeoutSeconds = c.timeout;
        XMessageBoxModel m = Model(c.style, params);
        EXPECT_EQ(m.ButtonText(m.DefaultButtonId()), c.defaultText);
        for (int left = c.firstShown; left >= 1; --left) {
            ASSERT_EQ(m.OnTimeoutTick(false), std::nullopt);
            ASSERT_EQ(m.ButtonText(m.DefaultButtonId()),
                      c.defaultText + " = " + std::to_string(left));
        }
        const auto result = m.OnTimeoutTick(false);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, c.result | answer::kTimedOutBit);
        // Compared with Yes, a timed-out Yes is not Yes.
        EXPECT_NE(*result, answer::kYes);
        EXPECT_FALSE(m.IsTimeoutRunning());
        EXPECT_EQ(m.ButtonText(m.DefaultButtonId()), c.defaultText);
    }
}

TEST(XMessageBoxModel, NoTimeOutNoCountdown) {
    for (int timeout : {0, -5}) {
        XMessageBoxParams params;
        params.timeoutSeconds = timeout;
        XMessageBoxModel m = Model(mb::kYesNo, params);
        EXPECT_FALSE(m.IsTimeoutRunning());
        EXPECT_EQ(m.OnTimeoutTick(false), std::nullopt);
        EXPECT_EQ(m.ButtonText(answer::kYes), "&Yes");
    }
}

TEST(XMessageBoxModel, AClickStopsTheCountdownAndRestoresTheText) {
    XMessageBoxParams params;
    params.timeoutSeconds = 20;
    XMessageBoxModel m = Model(mb::kYesNo | mb::kDefButton2, params);
    m.OnTimeoutTick(false);
    EXPECT_EQ(m.ButtonText(answer::kNo), "&No = 20");
    m.StopTimeout();
    EXPECT_EQ(m.ButtonText(answer::kNo), "&No");
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(m.OnTimeoutTick(false), std::nullopt);
    }
}

TEST(XMessageBoxModel, CheckBoxTextsAndResultBits) {
    struct Case {
        unsigned style;
        std::string text;
        int checkedBit;
    };
    const Case cases[] = {
        {mb::kYesNo, "", 0},
        {mb::kYesNo | xmb::kDontAskAgain, "Don't ask me again", 0x1000000},
        {mb::kYesNo | xmb::kDontTellAgain, "Don't tell me again", 0x2000000},
        {mb::kYesNo | xmb::kDontShowAgain, "Don't show again", 0x4000000},
        {mb::kYesNo | xmb::kDontTellAgain | xmb::kDontShowAgain, "Don't tell me again", 0x2000000},
        {mb::kYesNo | xmb::kCheckBoxMask, "Don't ask me again", 0x1000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        XMessageBoxModel m = Model(c.style);
        EXPECT_EQ(m.CheckBoxText(), c.text);
        EXPECT_EQ(m.Press(answer::kNo, false), answer::kNo);
        EXPECT_EQ(m.Press(answer::kNo, true), answer::kNo | c.checkedBit);
    }
    XMessageBoxParams params;
    params.timeoutSeconds = 1;
    XMessageBoxModel timed = Model(mb::kYesNo | xmb::kDontAskAgain, params);
    timed.OnTimeoutTick(true);
    EXPECT_EQ(timed.OnTimeoutTick(true), answer::kYes | answer::kTimedOutBit | 0x1000000);
}

TEST(XMessageBoxModel, HelpAndReportKeepTheBoxOpen) {
    std::vector<std::pair<std::string, uint32_t>> reports;
    XMessageBoxParams params;
    params.reportValue = 77;
    params.reportCallback = [&](const std::string& text, uint32_t value) {
        reports.emplace_back(text, value);
    };
    XMessageBoxModel m = Model(mb::kOkCancel | xmb::kHelp, params);
    EXPECT_EQ(Ids(m), (std::vector<int>{1, 2, 300, 301}));
    EXPECT_EQ(m.ButtonText(xid::kReport), "Re&port");
    EXPECT_EQ(m.Press(xid::kHelp, false), std::nullopt);
    EXPECT_EQ(m.Press(xid::kReport, false), std::nullopt);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, "Compact the database?");
    EXPECT_EQ(reports[0].second, 77u);
}

TEST(XMessageBoxModel, ButtonTextsFromParameters) {
    XMessageBoxParams custom;
    custom.customButtons = "One\nTwo\n\nThree\nFour\nFive";
    XMessageBoxModel m = Model(mb::kYesNo, custom);
    EXPECT_EQ(Ids(m), (std::vector<int>{23, 24, 25, 26}));
    EXPECT_EQ(m.ButtonText(26), "Four");

    XMessageBoxParams replaced;
    replaced.useReplacementTexts = true;
    replaced.replacementTexts[static_cast<size_t>(XText::Yes)] = "&Ja";
    replaced.replacementTexts[static_cast<size_t>(XText::DontAskAgain)] = "Nicht mehr fragen";
    replaced.reportButtonText = "&Send";
    replaced.reportCallback = [](const std::string&, uint32_t) {};
    XMessageBoxModel r = Model(mb::kYesNo | xmb::kDontAskAgain, replaced);
    EXPECT_EQ(r.ButtonText(answer::kYes), "&Ja");
    EXPECT_EQ(r.ButtonText(answer::kNo), "&No");  // an empty replacement keeps the built-in
    EXPECT_EQ(r.CheckBoxText(), "Nicht mehr fragen");
    EXPECT_EQ(r.ButtonText(xid::kReport), "&Send");
}

TEST(XMessageBoxModel, DisabledPeriod) {
    XMessageBoxParams params;
    params.disabledSeconds = 2;
    XMessageBoxModel m = Model(mb::kYesNoCancel | xmb::kHelp | xmb::kDontAskAgain, params);
    EXPECT_FALSE(m.IsButtonEnabled(answer::kYes));
    EXPECT_FALSE(m.IsButtonEnabled(answer::kCancel));
    EXPECT_TRUE(m.IsButtonEnabled(xid::kHelp));
    EXPECT_TRUE(m.IsButtonEnabled(xid::kCheckBox));
    EXPECT_EQ(m.Escape(), std::nullopt);
    EXPECT_EQ(m.Press(answer::kYes, false), std::nullopt);

    EXPECT_FALSE(m.OnDisabledTick());
    EXPECT_EQ(m.WindowCaption(), "Corvane 2");
    EXPECT_FALSE(m.OnDisabledTick());
    EXPECT_EQ(m.WindowCaption(), "Corvane 1");
    EXPECT_TRUE(m.OnDisabledTick());
    EXPECT_EQ(m.WindowCaption(), "Corvane");
    EXPECT_TRUE(m.IsButtonEnabled(answer::kYes));
    EXPECT_EQ(m.Escape(), answer::kCancel);

    XMessageBoxParams long_;
    long_.disabledSeconds = 5000;
    EXPECT_EQ(Model(mb::kOk, long_).DisabledSeconds(), 10);
}

TEST(XMessageBoxModel, ClipboardText) {
    struct Case {
        unsigned style;
        std::string buttons;
    };
    const Case cases[] = {
        {mb::kYesNo, "Yes   No   "},
        {mb::kOk, "OK   "},
        {mb::kYesNoCancel | xmb::kYesToAll | xmb::kDontAskAgain,
         "Yes   Yes to All   No   Cancel   Don't ask me again   "},
    };
    const std::string dashes = "---------------------------\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(Model(c.style).ClipboardText(), dashes + "Corvane\r\n" + dashes +
                                                      "Compact the database?\r\n" + dashes +
                                                      c.buttons + "\r\n" + dashes);
    }
}

TEST(RememberedAnswers, ValueNames) {
    struct Case {
        std::string text;
        uint32_t number;
        std::string name;
    };
    const Case cases[] = {
        {"Compact", 0, "Dqt8ryS0"},
        {"abc", 42, "7dj42"},
        {"", 3, "3"},
        // Bytes of non-ASCII text are negative as signed chars.
        {"\xc3\xa9", 7, "Dk7"},
        {"Z\xc3\xbcrich", 1, "0IGBzyG1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RememberedAnswerName(c.text, c.number), c.name);
    }
    const std::string name = RememberedAnswerName(std::string(600, '\xff'), 12);
    EXPECT_EQ(name.size(), 490u + 2u);
    EXPECT_EQ(name.substr(490), "12");
}

TEST(RememberedAnswers, Sections) {
    EXPECT_EQ(RememberedAnswerSection("Qelvo", "corvane"), "Software\\Qelvo\\corvane\\XMessageBox");
    EXPECT_EQ(RememberedAnswerSection("", "corvane"), "Software\\corvane\\XMessageBox");
}

TEST(RememberedAnswers, ATickedAnswerIsReturnedNextTimeWithoutABox) {
    CProfileStore profile;
    profile.Load("");
    XMessageBoxParams params;
    params.identifyingText = "compact";
    params.identifyingNumber = 5;
    const unsigned style = mb::kYesNo | xmb::kDontAskAgain;

    XMessageBoxModel first = Model(style, params, &profile);
    EXPECT_EQ(first.RememberedResult(), std::nullopt);
    EXPECT_EQ(first.Press(answer::kNo, true), answer::kNo | 0x1000000);
    EXPECT_EQ(Model(style, params, &profile).RememberedResult(), answer::kNo | 0x1000000);

    XMessageBoxParams other = params;
    other.identifyingNumber = 6;
    EXPECT_EQ(Model(style, other, &profile).RememberedResult(), std::nullopt);
    // Without a check box nothing is looked up.
    EXPECT_EQ(Model(mb::kYesNo, params, &profile).RememberedResult(), std::nullopt);
}

TEST(RememberedAnswers, OnlyTickedAnswersWithAnIdentifyingTextAreStored) {
    CProfileStore profile;
    profile.Load("");
    XMessageBoxParams params;
    params.identifyingText = "compact";
    const unsigned style = mb::kYesNo | xmb::kDontAskAgain;
    Model(style, params, &profile).Press(answer::kYes, false);
    EXPECT_EQ(Model(style, params, &profile).RememberedResult(), std::nullopt);

    XMessageBoxParams anonymous;
    EXPECT_EQ(Model(style, anonymous, &profile).Press(answer::kYes, true),
              answer::kYes | 0x1000000);
    EXPECT_EQ(Model(style, anonymous, &profile).RememberedResult(), std::nullopt);

    // A stored value without a check-box bit is no remembered answer.
    const std::string section = RememberedAnswerSection("", "corvane");
    profile.WriteProfileInt(section, RememberedAnswerName("compact", 0), answer::kYes);
    EXPECT_EQ(Model(style, params, &profile).RememberedResult(), std::nullopt);
}

}  // namespace
}  // namespace corvane
