#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvane {

// Message-box styles and answers, with the values the system's callers and remembered
// answers use.
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kAbortRetryIgnore = 0x2;
inline constexpr unsigned kYesNoCancel = 0x3;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kRetryCancel = 0x5;
inline constexpr unsigned kButtonMask = 0xF;
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kDefButton2 = 0x100;
inline constexpr unsigned kDefButton3 = 0x200;
}  // namespace mb

namespace answer {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
inline constexpr int kTimedOutBit = static_cast<int>(0x80000000u);
}  // namespace answer

// A question that answers itself with its default button when the time runs out.
struct TimedQuestion {
    std::string text;
    std::string caption;
    unsigned style = mb::kYesNo;
    int timeoutSeconds = 0;  // 0: no time-out
};

// The one way the core reaches the user interface. Calls from worker threads, and from
// unattended code (below), are posted and never wait for an operator.
class UiBridge {
public:
    virtual ~UiBridge() = default;

    virtual void PostUpdateHint(uint32_t hint) = 0;
    virtual void PostCompatibilityChange() = 0;
    // Modal on the user-interface thread; returns an answer:: value. Unattended, the box is
    // posted and the answer is its default button.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // Shown later on the user-interface thread, and nobody waits for it; safe from any thread.
    virtual void PostMessageBox(const std::string& text, const std::string& caption,
                                unsigned style) = 0;
    // A question shown like a posted box: the caller goes on at once, and onAnswer runs on the
    // user-interface thread with the answer:: value once the operator has given it. A box
    // dismissed unanswered (the program closes) never calls it.
    virtual void PostQuestion(const std::string& text, const std::string& caption, unsigned style,
                              std::function<void(int)> onAnswer) = 0;
    // Unattended, answers with the default button and the time-out bit.
    virtual int Ask(const TimedQuestion& question) = 0;
    // The database error box: the caller's format ends in "\nDescription: %s". Unattended, it
    // is posted.
    virtual void ReportDatabaseError(const std::string& format, const std::string& description) = 0;
};

// Marks the code under it on this thread as unattended: supervision that must go on whether
// or not anyone is at the window (the tick). Its boxes are shown after it, and nothing waits
// for an answer. Scopes nest.
class UnattendedScope {
public:
    UnattendedScope();
    ~UnattendedScope();
    UnattendedScope(const UnattendedScope&) = delete;
    UnattendedScope& operator=(const UnattendedScope&) = delete;
};

// Whether this thread runs under an UnattendedScope.
bool IsUnattended();

// The bridge in use; without a window, one that writes to standard error and answers with
// the default button.
UiBridge& Ui();
// Installs a bridge (nullptr restores the console one). The caller keeps it alive.
void SetUiBridge(UiBridge* bridge);

// The answer a box of this style gives when nobody answers it: its default button.
int DefaultAnswer(unsigned style);

// The database error box's text: the engine's description in place of the format's "%s".
std::string DatabaseErrorText(const std::string& format, const std::string& description);

}  // namespace corvane
