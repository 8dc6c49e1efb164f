#pragma once

#include <optional>
#include <string>
#include <vector>

#include "presentation/XMessageBoxParams.h"

namespace corvane {

class CProfileStore;

enum class XIcon { None, Stop, Question, Exclamation, Information };

struct XButton {
    int id = 0;
    std::string text;
};

// The extended message box without its window: which buttons it has, what its default and
// Escape give, the time-out and disabled-period countdowns, the result bits, the text it
// copies, and the answers it remembers.
class XMessageBoxModel {
public:
    // profile may be null: nothing is remembered. programName names the remembered-answer key.
    XMessageBoxModel(std::string text, std::string caption, unsigned style,
                     const XMessageBoxParams& params, CProfileStore* profile,
                     std::string programName);

    // Stop icon with system modal: the plain system box is shown instead.
    bool UsesSystemBox() const;
    // An answer remembered earlier with a check-box bit: returned without a box.
    std::optional<int> RememberedResult() const;

    const std::string& Text() const { return text_; }
    unsigned Style() const { return style_; }
    const XMessageBoxParams& Params() const { return params_; }
    XIcon Icon() const;
    // Answer buttons in row order, then Help and Report.
    const std::vector<XButton>& Buttons() const { return buttons_; }
    int DefaultButtonId() const { return buttons_[defaultIndex_].id; }
    // Empty when the set has no Escape result: Escape does nothing and Close is greyed.
    std::optional<int> EscapeResult() const { return escape_; }
    // Empty when the box has no check box.
    const std::string& CheckBoxText() const { return checkBoxText_; }
    int TimeoutSeconds() const { return timeout_; }
    int DisabledSeconds() const { return disabled_; }

    // What a button shows now: the default button shows its countdown while the time runs.
    std::string ButtonText(int id) const;
    bool IsButtonEnabled(int id) const;
    bool CanClose() const { return escape_.has_value() && !disabledActive_; }
    std::string WindowCaption() const;

    // One second of the time-out; the result once the time-out presses the default button.
    std::optional<int> OnTimeoutTick(bool checked);
    // A click or command: the countdown stops and the default button gets its text back.
    void StopTimeout();
    bool IsTimeoutRunning() const { return timeoutRunning_; }
    // One second of the disabled period; true when the buttons have just been enabled again.
    bool OnDisabledTick();

    // A button: the result that ends the box, or none for Help and Report, which keep it open
    // (Report calls the report callback).
    std::optional<int> Press(int id, bool checked);
    // Escape or Close.
    std::optional<int> Escape() const;

    // The text Ctrl+C puts on the clipboard.
    std::string ClipboardText() const;

    static std::string WithoutAmpersands(const std::string& text);

private:
    std::string TextOf(XText which) const;
    void BuildButtons();
    int Finish(int result, bool checked);

    std::string text_;
    std::string caption_;
    unsigned style_;
    XMessageBoxParams params_;
    CProfileStore* profile_;
    std::string programName_;
    std::vector<XButton> buttons_;
    size_t defaultIndex_ = 0;
    std::optional<int> escape_;
    std::string checkBoxText_;
    unsigned checkBoxBit_ = 0;
    int timeout_ = 0;
    int disabled_ = 0;
    int timeoutLeft_ = 0;
    bool timeoutRunning_ = false;
    std::string countdownText_;
    int disabledLeft_ = 0;
    bool disabledActive_ = false;
    std::string captionSuffix_;
};

}  // namespace corvane
