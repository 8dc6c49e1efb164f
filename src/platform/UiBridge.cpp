#include "platform/UiBridge.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace corvane {
namespace {

class ConsoleUiBridge final : public UiBridge {
public:
    void PostUpdateHint(uint32_t) override {}
    void PostCompatibilityChange() override {}
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
        Print(caption, text);
        return DefaultAnswer(style);
    }
    void PostMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        Print(caption, text);
    }
    void PostQuestion(const std::string& text, const std::string& caption, unsigned style,
                      std::function<void(int)> onAnswer) override {
        Print(caption, text);
        if (onAnswer) {
            onAnswer(DefaultAnswer(style));
        }
    }
    int Ask(const TimedQuestion& q) override {
        Print(q.caption, q.text);
        return DefaultAnswer(q.style) | (q.timeoutSeconds > 0 ? answer::kTimedOutBit : 0);
    }
    void ReportDatabaseError(const std::string& format, const std::string& description) override {
        Print("Corvane", DatabaseErrorText(format, description));
    }

private:
    void Print(const std::string& caption, const std::string& text) {
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    std::mutex mutex_;
};

ConsoleUiBridge& Console() {
    static ConsoleUiBridge bridge;
    return bridge;
}

std::atomic<UiBridge*> current{nullptr};

thread_local int unattendedDepth = 0;

}  // namespace

UnattendedScope::UnattendedScope() {
    ++unattendedDepth;
}

UnattendedScope::~UnattendedScope() {
    --unattendedDepth;
}

bool IsUnattended() {
    return unattendedDepth > 0;
}

UiBridge& Ui() {
    UiBridge* bridge = current.load(std::memory_order_acquire);
    return bridge != nullptr ? *bridge : Console();
}

void SetUiBridge(UiBridge* bridge) {
    current.store(bridge, std::memory_order_release);
}

int DefaultAnswer(unsigned style) {
    static const int first[] = {answer::kOk,  answer::kOk,  answer::kAbort,
                                answer::kYes, answer::kYes, answer::kRetry};
    static const int second[] = {answer::kOk, answer::kCancel, answer::kRetry,
                                 answer::kNo, answer::kNo,     answer::kCancel};
    static const int third[] = {answer::kOk,     answer::kCancel, answer::kIgnore,
                                answer::kCancel, answer::kNo,     answer::kCancel};
    const unsigned buttons = style & mb::kButtonMask;
    if (buttons > mb::kRetryCancel) {
        return answer::kOk;
    }
    if (style & mb::kDefButton3) {
        return third[buttons];
    }
    if (style & mb::kDefButton2) {
        return second[buttons];
    }
    return first[buttons];
}

std::string DatabaseErrorText(const std::string& format, const std::string& description) {
    const size_t at = format.find("%s");
    return at == std::string::npos ? format
                                   : format.substr(0, at) + description + format.substr(at + 2);
}

}  // namespace corvane
