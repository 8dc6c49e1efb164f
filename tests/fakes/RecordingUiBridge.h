#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/UiBridge.h"

namespace corvane::testing {

// Records everything the core asks of the user interface; answers from a script, else with
// the default button. A posted question takes a scripted answer at once, else waits for
// AnswerQuestion. Installs itself for its lifetime.
class RecordingUiBridge final : public UiBridge {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned style = 0;
        bool posted = false;
        bool unattended = false;  // asked by unattended code
    };

    RecordingUiBridge() { SetUiBridge(this); }
    ~RecordingUiBridge() override { SetUiBridge(nullptr); }

    void PostUpdateHint(uint32_t hint) override {
        std::lock_guard lock(mutex_);
        hints_.push_back(hint);
    }
    void PostCompatibilityChange() override {
        std::lock_guard lock(mutex_);
        ++compatibilityChanges_;
    }
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
        size_t shown = 0;
        int answer = 0;
        {
            std::lock_guard lock(mutex_);
            boxes_.push_back({text, caption, style, false, IsUnattended()});
            shown = boxes_.size();
            answer = NextAnswer(DefaultAnswer(style));
        }
        if (whileShown) {
            whileShown(shown);
        }
        return answer;
    }
    void PostMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        std::lock_guard lock(mutex_);
        boxes_.push_back({text, caption, style, true, IsUnattended()});
    }
    void PostQuestion(const std::string& text, const std::string& caption, unsigned style,
                      std::function<void(int)> onAnswer) override {
        int scripted = 0;
        {
            std::lock_guard lock(mutex_);
            boxes_.push_back({text, caption, style, true, IsUnattended()});
            if (answers_.empty()) {
                questionsWaiting_.push_back(std::move(onAnswer));
                return;
            }
            scripted = NextAnswer(0);
        }
        if (onAnswer) {
            onAnswer(scripted);
        }
    }
    // Answers the oldest question that waits; false when none does.
    bool AnswerQuestion(int answer) {
        std::function<void(int)> onAnswer;
        {
            std::lock_guard lock(mutex_);
            if (questionsWaiting_.empty()) {
                return false;
            }
            onAnswer = std::move(questionsWaiting_.front());
            questionsWaiting_.pop_front();
        }
        if (onAnswer) {
            onAnswer(answer);
        }
        return true;
    }
    int Ask(const TimedQuestion& q) override {
        std::lock_guard lock(mutex_);
        questions_.push_back(q);
        return NextAnswer(DefaultAnswer(q.style) | answer::kTimedOutBit);
    }
    void ReportDatabaseError(const std::string& format, const std::string& description) override {
        std::lock_guard lock(mutex_);
        databaseErrors_.push_back(format + "|" + description);
    }

    // Runs while a modal box is up, before it is answered, with the count of boxes so far
    // (as something the event loop delivers under the box would). Set before use.
    std::function<void(size_t)> whileShown;

    void QueueAnswer(int answer) {
        std::lock_guard lock(mutex_);
        answers_.push_back(answer);
    }
    std::vector<Box> Boxes() const {
        std::lock_guard lock(mutex_);
        return boxes_;
    }
    std::vector<uint32_t> Hints() const {
        std::lock_guard lock(mutex_);
        return hints_;
    }
    std::vector<TimedQuestion> Questions() const {
        std::lock_guard lock(mutex_);
        return questions_;
    }
    std::vector<std::string> DatabaseErrors() const {
        std::lock_guard lock(mutex_);
        return databaseErrors_;
    }
    int CompatibilityChanges() const {
        std::lock_guard lock(mutex_);
        return compatibilityChanges_;
    }

private:
    int NextAnswer(int fallback) {
        if (answers_.empty()) {
            return fallback;
        }
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    }

    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    std::vector<uint32_t> hints_;
    std::vector<TimedQuestion> questions_;
    std::vector<std::string> databaseErrors_;
    std::deque<int> answers_;
    std::deque<std::function<void(int)>> questionsWaiting_;
    int compatibilityChanges_ = 0;
};

}  // namespace corvane::testing
