#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "ui/Dib.h"

namespace corvane {

// The splash window: the bitmap at its own size, centred, on top, until its display time has
// passed and the main window exists, or until a key or mouse press when asked.
class CSplashWnd : public QWidget {
public:
    CSplashWnd(const CDib& dib, int displayMs, unsigned flags,
               std::function<bool()> mainWindowExists);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnTimer();
    void PostClose();

    CDib dib_;
    unsigned flags_;
    std::function<bool()> mainWindowExists_;
    QTimer timer_;
};

// The splash screen of start-up, on the user-interface thread.
class CSplash {
public:
    static constexpr unsigned kCloseOnInput = 1;
    static constexpr unsigned kIgnoreCommandLine = 2;
    static constexpr unsigned kCloseWithoutMainWindow = 4;
    static constexpr int kNoTimer = -1;

    // Shows the splash at once unless the command line has the switch "nologo" (flag 2 skips
    // that look) or the bitmap cannot be loaded. arguments: without the program name.
    CSplash(int bitmapId, int displayMs, unsigned flags, const std::vector<std::string>& arguments,
            std::function<bool()> mainWindowExists);
    ~CSplash();
    CSplash(const CSplash&) = delete;
    CSplash& operator=(const CSplash&) = delete;

    // Posts a close to the window when it exists.
    void HideSplash();
    bool IsShown() const;
    QWidget* Window() const { return window_; }

private:
    QPointer<CSplashWnd> window_;
};

}  // namespace corvane
