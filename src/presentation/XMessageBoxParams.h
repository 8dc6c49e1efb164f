#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/UiBridge.h"

namespace corvane {

// Style bits of the extended message box beyond those of mb::.
namespace xmb {
inline constexpr unsigned kCancelTryContinue = 0x6;
inline constexpr unsigned kContinueAbort = 0x7;
inline constexpr unsigned kSkipSkipAllCancel = 0x8;
inline constexpr unsigned kIgnoreIgnoreAllCancel = 0x9;
inline constexpr unsigned kIconMask = 0xF0;
inline constexpr unsigned kDefButton4 = 0x300;
inline constexpr unsigned kDefButton5 = 0x400;
inline constexpr unsigned kDefButton6 = 0x500;
inline constexpr unsigned kDefButtonMask = 0xF00;
inline constexpr unsigned kSystemModal = 0x1000;
inline constexpr unsigned kHelp = 0x4000;
inline constexpr unsigned kSetForeground = 0x10000;
inline constexpr unsigned kTopmost = 0x40000;
inline constexpr unsigned kDontAskAgain = 0x1000000;
inline constexpr unsigned kDontTellAgain = 0x2000000;
inline constexpr unsigned kDontShowAgain = 0x4000000;
inline constexpr unsigned kCheckBoxMask = kDontAskAgain | kDontTellAgain | kDontShowAgain;
inline constexpr unsigned kYesToAll = 0x8000000;
inline constexpr unsigned kNoToAll = 0x10000000;
inline constexpr unsigned kNoResource = 0x20000000;  // built-in button texts only
inline constexpr unsigned kNoSound = 0x40000000;

// Options of XMessageBoxParams.
inline constexpr unsigned kRightJustifyButtons = 0x1;
inline constexpr unsigned kWideStyle = 0x2;
inline constexpr unsigned kNarrowMessage = 0x4;
}  // namespace xmb

// Button ids and results beyond those of answer::.
namespace xid {
inline constexpr int kTryAgain = 10;
inline constexpr int kContinue = 11;
inline constexpr int kSkip = 14;
inline constexpr int kSkipAll = 15;
inline constexpr int kIgnoreAll = 16;
inline constexpr int kYesToAll = 19;
inline constexpr int kNoToAll = 20;
inline constexpr int kCustomFirst = 23;  // up to four custom buttons: 23-26
inline constexpr int kLastAnswerButton = 26;
inline constexpr int kHelp = 300;
inline constexpr int kReport = 301;
inline constexpr int kCheckBox = 5555;
}  // namespace xid

// The replacement texts, in the order XMessageBoxParams::replacementTexts holds them.
enum class XText {
    Abort,
    Cancel,
    Continue,
    DontAskAgain,
    DontTellAgain,
    DontShowAgain,
    Help,
    Ignore,
    IgnoreAll,
    No,
    NoToAll,
    Ok,
    Report,
    Retry,
    Skip,
    SkipAll,
    TryAgain,
    Yes,
    YesToAll,
};
inline constexpr size_t kXTextCount = 19;

// The caller's parameter block; left as constructed it asks for nothing beyond the style bits.
struct XMessageBoxParams {
    static constexpr uint32_t kNoColor = 0xFFFFFFFF;

    uint32_t helpContextId = 0;
    int timeoutSeconds = 0;   // 1000 or more counts as 10
    int disabledSeconds = 0;  // 1000 or more counts as 10
    int x = 0;                // both 0: centred on the owner
    int y = 0;
    unsigned options = 0;
    int customButtonsId = 0;
    std::string customButtons;  // up to four texts separated by "\n"
    int reportButtonId = 0;
    std::string reportButtonText;
    std::string companyKey;
    std::optional<std::string> identifyingText;  // none: nothing is remembered
    uint32_t identifyingNumber = 0;
    uint32_t reportValue = 0;
    std::function<void(const std::string& message, uint32_t value)> reportCallback;
    uint32_t textColor = kNoColor;  // ColorRef
    uint32_t backgroundColor = kNoColor;
    bool useReplacementTexts = false;
    std::array<std::string, kXTextCount> replacementTexts;  // an empty one keeps the built-in
};

}  // namespace corvane
