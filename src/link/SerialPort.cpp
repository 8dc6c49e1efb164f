#include "link/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "link/SerialPortName.h"

namespace corvane {
namespace {

struct BaudRate {
    int rate;
    speed_t constant;
};

constexpr BaudRate kBaudRates[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

// B0 for a rate the line cannot run at.
speed_t BaudConstant(int baudRate) {
    for (const BaudRate& b : kBaudRates) {
        if (b.rate == baudRate) {
            return b.constant;
        }
    }
    return B0;
}

void SetLineFormat(termios& tio, bool ctsFlowControl) {
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    if (ctsFlowControl) {
        tio.c_cflag |= CRTSCTS;
    }
    // No XON/XOFF, no translation of received bytes; nulls and breaks pass as data.
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                     ICRNL | IUCLC | IMAXBEL);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
}

}  // namespace

CSerialPort::CSerialPort(const std::string& name, const std::string& description,
                         SerialPortTimeouts timeouts, const IClock& clock)
    : log_(name, description, 0, false), timeouts_(timeouts), clock_(clock) {}

CSerialPort::~CSerialPort() {
    Close();
}

SteadyTime CSerialPort::Deadline(std::chrono::milliseconds limit) const {
    return clock_.Steady() + limit;
}

// Waits for the events until the deadline. A poll that times out ends the wait even when the
// clock says time is left, so a clock that does not move cannot make it spin.
CSerialPort::PollResult CSerialPort::Poll(short events, SteadyTime deadline) const {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock_.Steady());
        const int timeout = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        pollfd p{fd_, events, 0};
        const int n = ::poll(&p, 1, timeout);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return PollResult::kFailed;
        }
        if (n == 0) {
            return PollResult::kTimeout;
        }
        if ((p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return PollResult::kHangUp;
        }
        return PollResult::kReady;
    }
}

bool CSerialPort::ReportPollFailure(PollResult result, const char* failedText) const {
    switch (result) {
        case PollResult::kReady:
            return true;
        case PollResult::kTimeout:
            log_.Printf(2, "WaitForSingleObject has timed out!");
            break;
        case PollResult::kFailed:
            log_.Printf(2, "%s", failedText);
            break;
        case PollResult::kHangUp:
            log_.Printf(2, "An error occurred in the overlapped operation!");
            break;
    }
    return false;
}

bool CSerialPort::Open(const std::string& portName, int baudRate, bool ctsFlowControl) {
    log_.Printf(3, "Open the serial port");
    Close();
    openFailure_ = {};
    const std::string path = SerialDevicePath(portName);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        openFailure_ = {SerialOpenStep::kOpen, errno};
        if (fd >= 0) {
            ::close(fd);
        }
        log_.Printf(0, "Could not open the port");
        return false;
    }
    // Each failure after the open puts back what the port had and closes it.
    const auto fail = [this, fd](SerialOpenStep step, const char* text) {
        openFailure_ = {step, errno};
        log_.Printf(2, "%s", text);
        if (step != SerialOpenStep::kGetSettings) {
            ::tcsetattr(fd, TCSANOW, &saved_);
        }
        ::close(fd);
        return false;
    };

    log_.Printf(3, "Device Control Block (DCB) settings");
    if (::tcgetattr(fd, &saved_) != 0) {
        return fail(SerialOpenStep::kGetSettings, "Could not read the Device Control Block (DCB)!");
    }
    termios tio = saved_;
    const speed_t speed = BaudConstant(baudRate);
    if (speed == B0) {
        log_.Printf(2, "Unsupported baud rate %d!", baudRate);
        errno = EINVAL;
        return fail(SerialOpenStep::kSetSettings, "Could not set the Device Control Block (DCB)!");
    }
    SetLineFormat(tio, ctsFlowControl);
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        return fail(SerialOpenStep::kSetSettings, "Could not set the Device Control Block (DCB)!");
    }

    log_.Printf(3, "Read/Write time-outs settings");
    if (::tcgetattr(fd, &tio) != 0) {
        return fail(SerialOpenStep::kGetTimeouts, "Could not read the time-outs!");
    }
    // Reads return at once; the time-outs are kept by poll().
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        return fail(SerialOpenStep::kSetTimeouts, "Could not set the time-outs!");
    }

    // Pseudo-terminals and some adapters have no modem lines; that is not an error.
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (::ioctl(fd, TIOCMBIS, &lines) != 0) {
        log_.Printf(3, "DTR and RTS are not supported by the device (error %d)", errno);
    }
    fd_ = fd;
    return true;
}

bool CSerialPort::Write(const uint8_t* bytes, size_t count) {
    log_.Dump(4, "Write", bytes, count);
    if (fd_ < 0) {
        log_.Printf(2, "The serial port is not opened!");
        return false;
    }
    const SteadyTime deadline = Deadline(timeouts_.write);
    bool waited = false;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            log_.Printf(2, "WriteFile failed, but isn't delayed!");
            return false;
        }
        waited = true;
        if (!ReportPollFailure(Poll(POLLOUT, deadline),
                               "An error has occurred in WaitForSingleObject!")) {
            return false;
        }
    }
    log_.Printf(3,
                waited ? "WriteFile completed successfully!" : "WriteFile completed immediately!");
    return true;
}

bool CSerialPort::WaitForEvent() {
    if (fd_ < 0) {
        log_.Printf(2, "The Serial Port is not opened!");
        return false;
    }
    log_.Printf(3, "Wait for an event to occur for the port");
    if (!ReportPollFailure(Poll(POLLIN, Deadline(timeouts_.wait)),
                           "Error in the WaitForSingleObject!")) {
        return false;
    }
    log_.Printf(3, "Event occurred for the port");
    return true;
}

bool CSerialPort::Read(uint8_t* buffer, size_t capacity, size_t& count) {
    return Read(buffer, capacity, count, timeouts_.read);
}

bool CSerialPort::Read(uint8_t* buffer, size_t capacity, size_t& count,
                       std::chrono::milliseconds wait) {
    count = 0;
    readTimedOut_ = false;
    if (fd_ < 0) {
        log_.Printf(2, "The Serial Port is not opened!");
        return false;
    }
    if (buffer == nullptr || capacity == 0) {
        log_.Printf(2, "ReadFile failed, error: %d", EINVAL);
        return false;
    }
    const SteadyTime deadline = Deadline(wait);
    bool waited = false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, capacity);
        if (n > 0) {
            count = static_cast<size_t>(n);
            log_.Printf(
                3, waited ? "ReadFile completed successfully!" : "ReadFile completed immediately!");
            log_.Dump(4, "Read", buffer, count);
            return true;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            log_.Printf(2, "ReadFile failed, error: %d", errno);
            return false;
        }
        // A raw tty reads 0 bytes when none are there; after poll said there were, the
        // line has ended.
        if (n == 0 && waited) {
            log_.Printf(2, "An error occurred in the overlapped operation!");
            return false;
        }
        waited = true;
        const PollResult result = Poll(POLLIN, deadline);
        readTimedOut_ = result == PollResult::kTimeout;
        if (!ReportPollFailure(result, "An error has occurred in WaitForSingleObject!")) {
            return false;
        }
    }
}

void CSerialPort::DiscardInput() {
    if (fd_ >= 0) {
        ::tcflush(fd_, TCIFLUSH);
    }
}

bool CSerialPort::Close() {
    if (fd_ < 0) {
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (restoreOnClose_ && ::tcsetattr(fd, TCSANOW, &saved_) != 0) {
        log_.Printf(2, "Could not restore the port's settings!");
    }
    if (::close(fd) != 0) {
        log_.Printf(2, "Could not close the port!");
        return false;
    }
    return true;
}

}  // namespace corvane
