#pragma once

#include <termios.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "log/DiagLogSource.h"
#include "platform/Clock.h"

namespace corvane {

// Upper bounds of the blocking calls of a serial port.
struct SerialPortTimeouts {
    std::chrono::milliseconds write{5000};
    std::chrono::milliseconds wait{5000};
    std::chrono::milliseconds read{5000};
};

// The step of CSerialPort::Open that failed, and the system error it gave.
enum class SerialOpenStep { kNone, kOpen, kGetSettings, kSetSettings, kGetTimeouts, kSetTimeouts };
struct SerialOpenFailure {
    SerialOpenStep step = SerialOpenStep::kNone;
    int error = 0;
};

// A tty device opened exclusively at 8N1 without flow control, with blocking calls bounded by
// time-outs. One port belongs to one worker thread; the class has no lock.
class CSerialPort {
public:
    CSerialPort(const std::string& name, const std::string& description,
                SerialPortTimeouts timeouts = {}, const IClock& clock = RealClock());
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // The name is a device path, or "COMn" of old settings. A port already open is closed
    // first. False, with nothing left open, when any step fails. With ctsFlowControl the
    // output waits while the device drops CTS.
    bool Open(const std::string& portName, int baudRate, bool ctsFlowControl = false);
    // Writes every byte or fails.
    bool Write(const uint8_t* bytes, size_t count);
    // Waits until characters have arrived; false on time-out, error or hang-up.
    bool WaitForEvent();
    // Reads what has arrived (at most capacity bytes), waiting for the first byte at most
    // the read time-out, or the given wait.
    bool Read(uint8_t* buffer, size_t capacity, size_t& count);
    bool Read(uint8_t* buffer, size_t capacity, size_t& count, std::chrono::milliseconds wait);
    // The last Read failed only because nothing came within its wait.
    bool ReadTimedOut() const { return readTimedOut_; }
    // Drops whatever has arrived and not been read.
    void DiscardInput();
    bool Close();
    // Close puts back the settings the device had before Open.
    void RestoreSettingsOnClose() { restoreOnClose_ = true; }

    bool IsOpen() const { return fd_ >= 0; }
    // Why the last Open failed.
    SerialOpenFailure LastOpenFailure() const { return openFailure_; }

private:
    enum class PollResult { kReady, kTimeout, kFailed, kHangUp };
    PollResult Poll(short events, SteadyTime deadline) const;
    bool ReportPollFailure(PollResult result, const char* failedText) const;
    SteadyTime Deadline(std::chrono::milliseconds limit) const;

    CDiagLogSource log_;
    SerialPortTimeouts timeouts_;
    const IClock& clock_;
    int fd_ = -1;
    termios saved_{};
    bool restoreOnClose_ = false;
    bool readTimedOut_ = false;
    SerialOpenFailure openFailure_;
};

}  // namespace corvane
