#include "ui/SignalCloser.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace corvane {
namespace {

std::atomic<int> writeFd{-1};

void OnSignal(int signalNumber) {
    const int saved = errno;
    const int fd = writeFd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // A full pipe already holds a close request; dropping this one loses nothing.
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

CSignalCloser::CSignalCloser(QObject* parent) : QObject(parent) {}

CSignalCloser::~CSignalCloser() {
    if (installed_) {
        if (!ignoring_) {
            ::sigaction(SIGTERM, &oldTerm_, nullptr);
            ::sigaction(SIGINT, &oldInt_, nullptr);
        }
        writeFd.store(-1);
    }
    delete notifier_;
    for (int fd : fds_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool CSignalCloser::Install(std::string& error) {
    if (installed_ || writeFd.load() >= 0) {
        error = "a signal closer is already installed";
        return false;
    }
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::strerror(errno);
        return false;
    }
    writeFd.store(fds_[1]);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &action, &oldTerm_) != 0 ||
        ::sigaction(SIGINT, &action, &oldInt_) != 0) {
        error = std::strerror(errno);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
        writeFd.store(-1);
        return false;
    }
    installed_ = true;
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &CSignalCloser::OnReadable);
    return true;
}

void CSignalCloser::IgnoreFromNowOn() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGTERM, &ignore, nullptr);
    ::sigaction(SIGINT, &ignore, nullptr);
    ignoring_ = true;
}

void CSignalCloser::OnReadable() {
    unsigned char bytes[16];
    const ssize_t n = ::read(fds_[0], bytes, sizeof bytes);
    for (ssize_t i = 0; i < n; ++i) {
        emit SignalReceived(bytes[i]);
    }
}

}  // namespace corvane
