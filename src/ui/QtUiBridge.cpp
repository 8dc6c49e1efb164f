#include "ui/QtUiBridge.h"

#include <QThread>
#include <algorithm>

#include "platform/StringTable.h"
#include "ui/XMessageBox.h"

namespace corvane {

CQtUiBridge::CQtUiBridge(QObject* parent) : QObject(parent) {}

CQtUiBridge::~CQtUiBridge() {
    if (installed_) {
        SetUiBridge(nullptr);
    }
    DismissOpenBoxes();
}

void CQtUiBridge::Install() {
    SetUiBridge(this);
    installed_ = true;
}

void CQtUiBridge::SetBeforeBox(std::function<void()> beforeBox) {
    beforeBox_ = std::move(beforeBox);
}

void CQtUiBridge::SetBoxOwner(QWidget* owner) {
    boxOwner_ = owner;
}

bool CQtUiBridge::MustNotWait() const {
    return QThread::currentThread() != thread() || IsUnattended();
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

void CQtUiBridge::OpenPostedBox(const std::string& text, const std::string& caption, unsigned style,
                                std::function<void(int)> onAnswer) {
    std::erase_if(openBoxes_, [](const OpenBox& box) {
        return box.dialog.isNull() || !box.dialog->isVisible();
    });
    const bool shown = std::any_of(openBoxes_.begin(), openBoxes_.end(), [&](const OpenBox& box) {
        return box.text == text && box.caption == caption;
    });
    if (shown) {
        log_.Printf(1, "Box already open, not shown again: %s", text.c_str());
        return;
    }
    if (beforeBox_) {
        beforeBox_();
    }
    QWidget* owner = boxOwner_.data();
    if (QDialog* box = OpenXMessageBox(owner, text, caption, style, nullptr, std::move(onAnswer))) {
        openBoxes_.push_back({box, text, caption});
    }
}

int CQtUiBridge::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    if (MustNotWait()) {
        log_.Printf(0, "Box shown later, answered now with its default: %s", text.c_str());
        PostMessageBox(text, caption, style);
        return DefaultAnswer(style);
    }
    return ShowBox(text, caption, style, 0);
}

void CQtUiBridge::PostMessageBox(const std::string& text, const std::string& caption,
                                 unsigned style) {
    PostQuestion(text, caption, style, {});
}

void CQtUiBridge::PostQuestion(const std::string& text, const std::string& caption, unsigned style,
                               std::function<void(int)> onAnswer) {
    QMetaObject::invokeMethod(
        this,
        [this, text, caption, style, onAnswer = std::move(onAnswer)]() mutable {
            OpenPostedBox(text, caption, style, std::move(onAnswer));
        },
        Qt::QueuedConnection);
}

int CQtUiBridge::Ask(const TimedQuestion& question) {
    if (MustNotWait()) {
        // Nobody can answer a question whose asker does not wait; it counts as timed out.
        log_.Printf(0, "Question answered with its default, nobody waits for it: %s",
                    question.text.c_str());
        return DefaultAnswer(question.style) | answer::kTimedOutBit;
    }
    return ShowBox(question.text, question.caption, question.style, question.timeoutSeconds);
}

void CQtUiBridge::ReportDatabaseError(const std::string& format, const std::string& description) {
    const std::string text = DatabaseErrorText(format, description);
    log_.Printf(0, "Database error: %s", text.c_str());
    const std::string& caption = LoadString(ids::kAppCaption);
    if (MustNotWait()) {
        PostMessageBox(text, caption, mb::kOk | mb::kIconStop);
    } else {
        ShowBox(text, caption, mb::kOk | mb::kIconStop, 0);
    }
}

std::vector<QDialog*> CQtUiBridge::OpenBoxes() const {
    std::vector<QDialog*> open;
    for (const OpenBox& box : openBoxes_) {
        if (!box.dialog.isNull() && box.dialog->isVisible()) {
            open.push_back(box.dialog.data());
        }
    }
    return open;
}

void CQtUiBridge::DismissOpenBoxes() {
    std::vector<OpenBox> boxes;
    boxes.swap(openBoxes_);
    for (OpenBox& box : boxes) {
        if (box.dialog.isNull()) {
            continue;
        }
        log_.Printf(0, "Box closed unanswered: %s", box.text.c_str());
        QObject::disconnect(box.dialog.data(), &QDialog::finished, nullptr, nullptr);
        box.dialog->done(QDialog::Rejected);
    }
}

}  // namespace corvane
