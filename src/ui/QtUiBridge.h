#pragma once

#include <QObject>
#include <functional>

#include "log/DiagLogSource.h"
#include "platform/UiBridge.h"

namespace corvane {

// The core's way to the window: posted calls become queued calls on the event loop of the
// thread that made the bridge (the user-interface thread), and only there do the handlers
// run. Boxes are modal on that thread; asked from another thread they are posted and the
// caller gets the default answer at once.
class CQtUiBridge final : public QObject, public UiBridge {
    Q_OBJECT

public:
    explicit CQtUiBridge(QObject* parent = nullptr);
    // Uninstalls itself when installed.
    ~CQtUiBridge() override;

    // Becomes the bridge in use.
    void Install();
    // Runs before every box is shown, e.g. to hide the splash screen.
    void SetBeforeBox(std::function<void()> beforeBox);

    void PostUpdateHint(uint32_t hint) override;
    void PostCompatibilityChange() override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    void PostMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override;
    int Ask(const TimedQuestion& question) override;
    void ReportDatabaseError(const std::string& format, const std::string& description) override;

signals:
    void UpdateViewsPosted(quint32 hint);
    void CompatibilityChangePosted();

private:
    bool OnOwnThread() const;
    int ShowBox(const std::string& text, const std::string& caption, unsigned style,
                int timeoutSeconds);

    CDiagLogSource log_{"UiBridge", "User Interface Messages", 0};
    std::function<void()> beforeBox_;
    bool installed_ = false;
};

}  // namespace corvane
