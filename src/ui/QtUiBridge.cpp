#include "ui/QtUiBridge.h"

#include <QThread>

#include "platform/StringTable.h"
#include "ui/XMessageBox.h"

namespace corvane {
namespace {

std::string InsertDescription(const std::string& format, const std::string& description) {
    const size_t at = format.find("%s");
    return at == std::string::npos ? format
                                   : format.substr(0, at) + description + format.substr(at + 2);
}

}  // namespace

CQtUiBridge::CQtUiBridge(QObject* parent) : QObject(parent) {}

CQtUiBridge::~CQtUiBridge() {
    if (installed_) {
        SetUiBridge(nullptr);
    }
}

void CQtUiBridge::Install() {
    SetUiBridge(this);
    installed_ = true;
}

void CQtUiBridge::SetBeforeBox(std::function<void()> beforeBox) {
    beforeBox_ = std::move(beforeBox);
}

bool CQtUiBridge::OnOwnThread() const {
    return QThread::currentThread() == thread();
}

void CQtUiBridge::PostUpdateHint(uint32_t hint) {
    QMetaObject::invokeMethod(
        this, [this, hint] { emit UpdateViewsPosted(hint); }, Qt::QueuedConnection);
}

void CQtUiBridge::PostCompatibilityChange() {
    QMetaObject::invokeMethod(
        this, [this] { emit CompatibilityChangePosted(); }, Qt::QueuedConnection);
}

int CQtUiBridge::ShowBox(const std::string& text, const std::string& caption, unsigned style,
                         int timeoutSeconds) {
    if (beforeBox_) {
        beforeBox_();
    }
    XMessageBoxParams params;
    params.timeoutSeconds = timeoutSeconds;
    return XMessageBox(nullptr, text, caption, style, &params);
}

int CQtUiBridge::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    if (!OnOwnThread()) {
        log_.Printf(0, "Box from a worker thread shown later, answered now with its default: %s",
                    text.c_str());
        PostMessageBox(text, caption, style);
        return DefaultAnswer(style);
    }
    return ShowBox(text, caption, style, 0);
}

void CQtUiBridge::PostMessageBox(const std::string& text, const std::string& caption,
                                 unsigned style) {
    QMetaObject::invokeMethod(
        this, [this, text, caption, style] { ShowBox(text, caption, style, 0); },
        Qt::QueuedConnection);
}

int CQtUiBridge::Ask(const TimedQuestion& question) {
    if (!OnOwnThread()) {
        // Nobody can answer a question whose asker does not wait; it counts as timed out.
        log_.Printf(0, "Question from a worker thread answered with its default: %s",
                    question.text.c_str());
        return DefaultAnswer(question.style) | answer::kTimedOutBit;
    }
    return ShowBox(question.text, question.caption, question.style, question.timeoutSeconds);
}

void CQtUiBridge::ReportDatabaseError(const std::string& format, const std::string& description) {
    const std::string text = InsertDescription(format, description);
    log_.Printf(0, "Database error: %s", text.c_str());
    const std::string& caption = LoadString(ids::kAppCaption);
    if (OnOwnThread()) {
        ShowBox(text, caption, mb::kOk | mb::kIconStop, 0);
    } else {
        PostMessageBox(text, caption, mb::kOk | mb::kIconStop);
    }
}

}  // namespace corvane
