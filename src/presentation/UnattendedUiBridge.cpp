#include "presentation/UnattendedUiBridge.h"

#include <algorithm>

#include "log/DiagLogSource.h"

namespace corvane {
namespace {

// A box's lines as one log line.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

CUnattendedUiBridge::~CUnattendedUiBridge() {
    if (&Ui() == this) {
        SetUiBridge(nullptr);
    }
}

int CUnattendedUiBridge::Answer(const std::string& text, unsigned style) const {
    const int answer = DefaultAnswer(style);
    log_.Printf(0, "Not asked, nobody is at the window; answer %d taken: %s", answer,
                OneLine(text).c_str());
    return answer;
}

int CUnattendedUiBridge::MessageBox(const std::string& text, const std::string&, unsigned style) {
    return Answer(text, style);
}

void CUnattendedUiBridge::PostMessageBox(const std::string& text, const std::string&, unsigned) {
    log_.Printf(0, "Not shown, nobody is at the window: %s", OneLine(text).c_str());
}

void CUnattendedUiBridge::PostQuestion(const std::string& text, const std::string&, unsigned,
                                       std::function<void(int)>) {
    log_.Printf(0, "Not asked, nobody is at the window: %s", OneLine(text).c_str());
}

int CUnattendedUiBridge::Ask(const TimedQuestion& question) {
    const int answer = Answer(question.text, question.style);
    return question.timeoutSeconds > 0 ? answer | answer::kTimedOutBit : answer;
}

void CUnattendedUiBridge::ReportDatabaseError(const std::string& format,
                                              const std::string& description) {
    PostMessageBox(DatabaseErrorText(format, description), {}, mb::kOk);
}

}  // namespace corvane
