#pragma once

#include <signal.h>
#include <QObject>

#include <string>

class QSocketNotifier;

namespace corvane {

// Turns SIGTERM and SIGINT into a call on the event loop: the handler only writes the
// signal's number into a pipe, whose reading end the loop watches.
class CSignalCloser : public QObject {
    Q_OBJECT

public:
    explicit CSignalCloser(QObject* parent = nullptr);
    // Restores the previous handlers, unless told to ignore the signals from now on.
    ~CSignalCloser() override;
    CSignalCloser(const CSignalCloser&) = delete;
    CSignalCloser& operator=(const CSignalCloser&) = delete;

    // Only one closer can be installed at a time; error says why it could not be.
    bool Install(std::string& error);
    // The program is stopping: SIGTERM and SIGINT are ignored from now on, also once this
    // closer has gone, so that neither ends the stop or the exit after it half-way.
    void IgnoreFromNowOn();

signals:
    void SignalReceived(int signalNumber);

private:
    void OnReadable();

    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction oldTerm_ {};
    struct sigaction oldInt_ {};
    bool installed_ = false;
    bool ignoring_ = false;
};

}  // namespace corvane
