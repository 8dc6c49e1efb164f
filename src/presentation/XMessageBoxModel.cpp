#include "presentation/XMessageBoxModel.h"

#include "log/DiagLogSource.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "presentation/RememberedAnswers.h"

namespace corvane {
namespace {

struct BuiltInText {
    int stringId;
    const char* text;
};

// Indexed by XText.
constexpr BuiltInText kBuiltIn[kXTextCount] = {
    {9005, "&Abort"},
    {9002, "Cancel"},
    {9009, "&Continue"},
    {9010, "Don't ask me again"},
    {9011, "Don't tell me again"},
    {9012, "Don't show again"},
    {9006, "&Help"},
    {9003, "&Ignore"},
    {9017, "I&gnore All"},
    {9008, "&No"},
    {9014, "N&o to All"},
    {9001, "OK"},
    {9016, "Re&port"},
    {9004, "&Retry"},
    {9018, "&Skip"},
    {9019, "S&kip All"},
    {9015, "&Try Again"},
    {9007, "&Yes"},
    {9013, "Y&es to All"},
};

struct SetButton {
    int id;
    XText text;
};

std::vector<SetButton> ButtonSet(unsigned style) {
    const bool yesToAll = (style & xmb::kYesToAll) != 0;
    const bool noToAll = (style & xmb::kNoToAll) != 0;
    auto yesNo = [&](bool cancel) {
        std::vector<SetButton> set{{answer::kYes, XText::Yes}};
        if (yesToAll) {
            set.push_back({xid::kYesToAll, XText::YesToAll});
        }
        set.push_back({answer::kNo, XText::No});
        if (noToAll) {
            set.push_back({xid::kNoToAll, XText::NoToAll});
        }
        if (cancel) {
            set.push_back({answer::kCancel, XText::Cancel});
        }
        return set;
    };
    switch (style & mb::kButtonMask) {
        case mb::kOkCancel:
            return {{answer::kOk, XText::Ok}, {answer::kCancel, XText::Cancel}};
        case mb::kAbortRetryIgnore:
            return {{answer::kAbort, XText::Abort},
                    {answer::kRetry, XText::Retry},
                    {answer::kIgnore, XText::Ignore}};
        case mb::kYesNoCancel:
            return yesNo(true);
        case mb::kYesNo:
            return yesNo(false);
        case mb::kRetryCancel:
            return {{answer::kRetry, XText::Retry}, {answer::kCancel, XText::Cancel}};
        case xmb::kCancelTryContinue:
            return {{answer::kCancel, XText::Cancel},
                    {xid::kTryAgain, XText::TryAgain},
                    {xid::kContinue, XText::Continue}};
        case xmb::kContinueAbort:
            return {{xid::kContinue, XText::Continue}, {answer::kAbort, XText::Abort}};
        case xmb::kSkipSkipAllCancel:
            return {{xid::kSkip, XText::Skip},
                    {xid::kSkipAll, XText::SkipAll},
                    {answer::kCancel, XText::Cancel}};
        case xmb::kIgnoreIgnoreAllCancel:
            return {{answer::kIgnore, XText::Ignore},
                    {xid::kIgnoreAll, XText::IgnoreAll},
                    {answer::kCancel, XText::Cancel}};
        default:
            return {{answer::kOk, XText::Ok}};
    }
}

std::optional<int> EscapeOf(unsigned style) {
    switch (style & mb::kButtonMask) {
        case mb::kOk:
            return answer::kOk;
        case mb::kOkCancel:
        case mb::kYesNoCancel:
        case mb::kRetryCancel:
        case xmb::kCancelTryContinue:
        case xmb::kSkipSkipAllCancel:
        case xmb::kIgnoreIgnoreAllCancel:
            return answer::kCancel;
        default:
            return std::nullopt;
    }
}

int Bounded(int seconds) {
    if (seconds <= 0) {
        return 0;
    }
    return seconds >= 1000 ? 10 : seconds;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            parts.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

CDiagLogSource& Log() {
    static CDiagLogSource log("XMessageBox", "Extended Message Box", 0);
    return log;
}

const std::string kDashes = "---------------------------\r\n";

}  // namespace

XMessageBoxModel::XMessageBoxModel(std::string text, std::string caption, unsigned style,
                                   const XMessageBoxParams& params, CProfileStore* profile,
                                   std::string programName)
    : text_(std::move(text)),
      caption_(caption.empty() ? "Error" : std::move(caption)),
      style_(style),
      params_(params),
      profile_(profile),
      programName_(std::move(programName)),
      escape_(EscapeOf(style)),
      timeout_(Bounded(params.timeoutSeconds)),
      disabled_(Bounded(params.disabledSeconds)) {
    BuildButtons();
    if (style & xmb::kDontAskAgain) {
        checkBoxBit_ = xmb::kDontAskAgain;
        checkBoxText_ = TextOf(XText::DontAskAgain);
    } else if (style & xmb::kDontTellAgain) {
        checkBoxBit_ = xmb::kDontTellAgain;
        checkBoxText_ = TextOf(XText::DontTellAgain);
    } else if (style & xmb::kDontShowAgain) {
        checkBoxBit_ = xmb::kDontShowAgain;
        checkBoxText_ = TextOf(XText::DontShowAgain);
    }
    timeoutLeft_ = timeout_;
    timeoutRunning_ = timeout_ > 0;
    disabledLeft_ = disabled_;
    disabledActive_ = disabled_ > 0;
}

std::string XMessageBoxModel::TextOf(XText which) const {
    const size_t index = static_cast<size_t>(which);
    if (params_.useReplacementTexts && !params_.replacementTexts[index].empty()) {
        return params_.replacementTexts[index];
    }
    if ((style_ & xmb::kNoResource) == 0) {
        const std::string& loaded = LoadString(kBuiltIn[index].stringId);
        if (!loaded.empty()) {
            return loaded;
        }
    }
    return kBuiltIn[index].text;
}

void XMessageBoxModel::BuildButtons() {
    std::string custom =
        params_.customButtonsId != 0 ? LoadString(params_.customButtonsId) : std::string();
    if (custom.empty()) {
        custom = params_.customButtons;
    }
    const std::vector<std::string> customTexts = SplitLines(custom);
    if (!customTexts.empty()) {
        for (size_t i = 0; i < customTexts.size() && i < 4; ++i) {
            buttons_.push_back({xid::kCustomFirst + static_cast<int>(i), customTexts[i]});
        }
    } else {
        for (const SetButton& b : ButtonSet(style_)) {
            buttons_.push_back({b.id, TextOf(b.text)});
        }
    }
    // A default beyond the answer buttons gives the first.
    const size_t wanted = (style_ & xmb::kDefButtonMask) >> 8;
    defaultIndex_ = wanted < buttons_.size() ? wanted : 0;
    if (style_ & xmb::kHelp) {
        buttons_.push_back({xid::kHelp, TextOf(XText::Help)});
    }
    if (params_.reportCallback) {
        std::string report =
            params_.reportButtonId != 0 ? LoadString(params_.reportButtonId) : std::string();
        if (report.empty()) {
            report = params_.reportButtonText;
        }
        buttons_.push_back({xid::kReport, report.empty() ? TextOf(XText::Report) : report});
    }
}

bool XMessageBoxModel::UsesSystemBox() const {
    return (style_ & xmb::kIconMask) == mb::kIconStop && (style_ & xmb::kSystemModal) != 0;
}

std::optional<int> XMessageBoxModel::RememberedResult() const {
    if (profile_ == nullptr || checkBoxBit_ == 0 || !params_.identifyingText || UsesSystemBox()) {
        return std::nullopt;
    }
    return ReadRememberedAnswer(
        *profile_, RememberedAnswerSection(params_.companyKey, programName_),
        RememberedAnswerName(*params_.identifyingText, params_.identifyingNumber));
}

XIcon XMessageBoxModel::Icon() const {
    switch (style_ & xmb::kIconMask) {
        case 0:
            return XIcon::None;
        case mb::kIconStop:
            return XIcon::Stop;
        case mb::kIconQuestion:
            return XIcon::Question;
        case mb::kIconInformation:
            return XIcon::Information;
        default:
            return XIcon::Exclamation;
    }
}

std::string XMessageBoxModel::ButtonText(int id) const {
    for (const XButton& b : buttons_) {
        if (b.id == id) {
            const bool counting = timeoutRunning_ && !countdownText_.empty();
            return counting && id == DefaultButtonId() ? countdownText_ : b.text;
        }
    }
    return {};
}

bool XMessageBoxModel::IsButtonEnabled(int id) const {
    return !(disabledActive_ && id >= 1 && id <= xid::kLastAnswerButton);
}

std::string XMessageBoxModel::WindowCaption() const {
    return caption_ + captionSuffix_;
}

std::optional<int> XMessageBoxModel::OnTimeoutTick(bool checked) {
    if (!timeoutRunning_) {
        return std::nullopt;
    }
    if (timeoutLeft_ > 0) {
        countdownText_ = StrFormat("%s = %d", buttons_[defaultIndex_].text.c_str(), timeoutLeft_);
        --timeoutLeft_;
        return std::nullopt;
    }
    timeoutRunning_ = false;
    countdownText_.clear();
    return Finish(DefaultButtonId() | answer::kTimedOutBit, checked);
}

void XMessageBoxModel::StopTimeout() {
    timeoutRunning_ = false;
    countdownText_.clear();
}

bool XMessageBoxModel::OnDisabledTick() {
    if (!disabledActive_) {
        return false;
    }
    if (disabledLeft_ > 0) {
        captionSuffix_ = StrFormat(" %d", disabledLeft_);
        --disabledLeft_;
        return false;
    }
    disabledActive_ = false;
    captionSuffix_.clear();
    return true;
}

std::optional<int> XMessageBoxModel::Press(int id, bool checked) {
    if (id == xid::kHelp) {
        return std::nullopt;
    }
    if (id == xid::kReport) {
        if (params_.reportCallback) {
            params_.reportCallback(text_, params_.reportValue);
        }
        return std::nullopt;
    }
    if (!IsButtonEnabled(id)) {
        return std::nullopt;
    }
    return Finish(id, checked);
}

std::optional<int> XMessageBoxModel::Escape() const {
    return CanClose() ? escape_ : std::nullopt;
}

int XMessageBoxModel::Finish(int result, bool checked) {
    if (!checked || checkBoxBit_ == 0) {
        return result;
    }
    result |= static_cast<int>(checkBoxBit_);
    if (profile_ != nullptr && params_.identifyingText) {
        // A profile that cannot be saved only means that the answer is not remembered.
        if (!WriteRememberedAnswer(
                *profile_, RememberedAnswerSection(params_.companyKey, programName_),
                RememberedAnswerName(*params_.identifyingText, params_.identifyingNumber),
                result)) {
            Log().Printf(0, "The answer to \"%s\" could not be remembered",
                         params_.identifyingText->c_str());
        }
    }
    return result;
}

std::string XMessageBoxModel::ClipboardText() const {
    std::string out = kDashes + caption_ + "\r\n" + kDashes + text_ + "\r\n" + kDashes;
    for (const XButton& b : buttons_) {
        out += WithoutAmpersands(ButtonText(b.id)) + "   ";
    }
    if (!checkBoxText_.empty()) {
        out += WithoutAmpersands(checkBoxText_) + "   ";
    }
    return out + "\r\n" + kDashes;
}

std::string XMessageBoxModel::WithoutAmpersands(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '&') {
            out += c;
        }
    }
    return out;
}

}  // namespace corvane
