#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "log/DiagLogSource.h"
#include "platform/UiBridge.h"

namespace corvane {

// The core's way to the window: posted calls become queued calls on the event loop of the
// thread that made the bridge (the user-interface thread), and only there do the handlers
// run. Boxes asked for on that thread by attended code are modal. Posted boxes, and those of
// worker threads and unattended code, are opened window-modal over the owner without an event
// loop of their own, so that nothing waits for them: the caller gets the default answer at
// once, and the supervision goes on while they are up. A posted box whose text and caption one
// still open shows already is not opened again.
class CQtUiBridge final : public QObject, public UiBridge {
    Q_OBJECT

public:
    explicit CQtUiBridge(QObject* parent = nullptr);
    // Uninstalls itself when installed; the posted boxes still open close unanswered.
    ~CQtUiBridge() override;

    // Becomes the bridge in use.
    void Install();
    // Runs before every box is shown, e.g. to hide the splash screen.
    void SetBeforeBox(std::function<void()> beforeBox);
    // The window posted boxes are modal over; none: the active window.
    void SetBoxOwner(QWidget* owner);

    void PostUpdateHint(uint32_t hint) override;
    void PostCompatibilityChange() override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    void PostMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override;
    void PostQuestion(const std::string& text, const std::string& caption, unsigned style,
                      std::function<void(int)> onAnswer) override;
    int Ask(const TimedQuestion& question) override;
    void ReportDatabaseError(const std::string& format, const std::string& description) override;

    // The posted boxes still open, oldest first.
    std::vector<QDialog*> OpenBoxes() const;
    // Closes every posted box unanswered (the program closes): no question gets an answer.
    void DismissOpenBoxes();

signals:
    void UpdateViewsPosted(quint32 hint);
    void CompatibilityChangePosted();

private:
    struct OpenBox {
        QPointer<QDialog> dialog;
        std::string text;
        std::string caption;
    };

    // Nothing may wait for an operator here: another thread, or unattended code.
    bool MustNotWait() const;
    int ShowBox(const std::string& text, const std::string& caption, unsigned style,
                int timeoutSeconds);
    void OpenPostedBox(const std::string& text, const std::string& caption, unsigned style,
                       std::function<void(int)> onAnswer);

    CDiagLogSource log_{"UiBridge", "User Interface Messages", 0};
    std::function<void()> beforeBox_;
    QPointer<QWidget> boxOwner_;
    std::vector<OpenBox> openBoxes_;
    bool installed_ = false;
};

}  // namespace corvane
