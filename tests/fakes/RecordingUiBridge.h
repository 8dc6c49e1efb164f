#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/UiBridge.h"

namespace corvane::testing {

// Records everything the core asks of the user interface; answers from a script, else with
// the default button. Installs itself for its lifetime.
class RecordingUiBridge final : public UiBridge {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned style = 0;
        bool posted = false;
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
        std::lock_guard lock(mutex_);
        boxes_.push_back({text, caption, style, false});
        return NextAnswer(DefaultAnswer(style));
    }
    void PostMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        std::lock_guard lock(mutex_);
        boxes_.push_back({text, caption, style, true});
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
    int compatibilityChanges_ = 0;
};

}  // namespace corvane::testing
