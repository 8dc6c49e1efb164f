#include "ui/Splash.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "presentation/CommandLineInfoEx.h"
#include "ui/AppResources.h"

namespace corvane {

CSplashWnd::CSplashWnd(const CDib& dib, int displayMs, unsigned flags,
                       std::function<bool()> mainWindowExists)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      dib_(dib),
      flags_(flags),
      mainWindowExists_(std::move(mainWindowExists)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(dib_.GetSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CSplashWnd::OnTimer);
    if (displayMs != CSplash::kNoTimer) {
        timer_.start(displayMs);
    }
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    dib_.Draw(painter);
}

void CSplashWnd::OnTimer() {
    if ((flags_ & CSplash::kCloseWithoutMainWindow) == 0 && !mainWindowExists_()) {
        timer_.start(100);
        return;
    }
    close();
}

void CSplashWnd::PostClose() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CSplashWnd::keyPressEvent(QKeyEvent* event) {
    if (flags_ & CSplash::kCloseOnInput) {
        PostClose();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButtons closing = Qt::LeftButton | Qt::RightButton | Qt::MiddleButton;
    if ((flags_ & CSplash::kCloseOnInput) && (event->button() & closing)) {
        PostClose();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

CSplash::CSplash(int bitmapId, int displayMs, unsigned flags,
                 const std::vector<std::string>& arguments,
                 std::function<bool()> mainWindowExists) {
    if ((flags & kIgnoreCommandLine) == 0) {
        CCommandLineInfoEx commandLine;
        commandLine.Parse(arguments);
        if (commandLine.HasOption("nologo")) {
            return;
        }
    }
    CDib dib;
    if (!dib.LoadFromResource(CAppResources::BitmapResource(bitmapId))) {
        return;
    }
    window_ = new CSplashWnd(dib, displayMs, flags, std::move(mainWindowExists));
    window_->show();
}

CSplash::~CSplash() {
    delete window_.data();
}

void CSplash::HideSplash() {
    if (window_) {
        QMetaObject::invokeMethod(window_.data(), &QWidget::close, Qt::QueuedConnection);
    }
}

bool CSplash::IsShown() const {
    return window_ && window_->isVisible();
}

}  // namespace corvane
