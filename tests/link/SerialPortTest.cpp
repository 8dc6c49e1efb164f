#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "link/LinkTestSupport.h"
#include "link/SerialPort.h"
#include "link/SerialPortName.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// A pseudo-terminal pair: the test plays the device on the master.
class Pty {
public:
    Pty() {
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, &raw, nullptr) == 0) {
            name_ = name;
        }
    }
    ~Pty() {
        CloseMaster();
        if (slave_ >= 0) {
            ::close(slave_);
        }
    }
    const std::string& Name() const { return name_; }
    int Master() const { return master_; }
    void Send(const Bytes& bytes) const {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Closing the master and our slave hangs the line up.
    void HangUp() {
        CloseMaster();
        ::close(slave_);
        slave_ = -1;
    }

private:
    void CloseMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

constexpr SerialPortTimeouts kFast{300ms, 150ms, 150ms};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(pty.Name().empty()); }

    testing::LinkLog log;
    Pty pty;
    CSerialPort port{"QX_SPort", "QX_SPort log", kFast};
};

TEST(SerialDevicePathTest, MapsOldComNamesAndKeepsPaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM2", "/dev/ttyS1"},
        {"com10", "/dev/ttyS9"},
        {"COM256", "/dev/ttyS255"},
        {"COM0", "COM0"},
        {"COM", "COM"},
        {"COMx", "COMx"},
        {"COM1000", "COM1000"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"/dev/ttyS0", "/dev/ttyS0"},
        {"", ""},
        {"COM1 ", "COM1 "},
    };
    for (const auto& [name, path] : cases) {
        EXPECT_EQ(SerialDevicePath(name), path) << name;
    }
}

TEST_F(SerialPortTest, EveryCallOnAClosedPortFailsWithItsMessage) {
    const Bytes frame{0xF0, 0x24};
    EXPECT_FALSE(port.Write(frame.data(), frame.size()));
    EXPECT_FALSE(port.WaitForEvent());
    uint8_t buffer[16];
    size_t count = 99;
    EXPECT_FALSE(port.Read(buffer, sizeof(buffer), count));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(port.Close());

    const auto lines = log.Lines("QX_SPort");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Write  f0 24");  // the bytes are dumped before the check
    EXPECT_EQ(lines[1], "The serial port is not opened!");
    EXPECT_EQ(lines[2], "The Serial Port is not opened!");
    EXPECT_EQ(lines[3], "The Serial Port is not opened!");
}

TEST_F(SerialPortTest, OpensAPseudoTerminalAlthoughItHasNoModemLines) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(log.Has("QX_SPort", "Open the serial port"));
    EXPECT_TRUE(log.Has("QX_SPort", "Device Control Block (DCB) settings"));
    EXPECT_TRUE(log.Has("QX_SPort", "Read/Write time-outs settings"));
    EXPECT_TRUE(port.Close());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Close());
}

TEST_F(SerialPortTest, SetsARawLineSoEveryByteValuePasses) {
    ASSERT_TRUE(port.Open(pty.Name(), 9600));
    Bytes all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<uint8_t>(b));
    }
    pty.Send(all);
    Bytes got;
    while (got.size() < all.size()) {
        uint8_t buffer[512];
        size_t count = 0;
        ASSERT_TRUE(port.Read(buffer, sizeof(buffer), count));
        got.insert(got.end(), buffer, buffer + count);
    }
    EXPECT_EQ(got, all);
}

TEST_F(SerialPortTest, FailedOpensLeaveNothingOpen) {
    EXPECT_FALSE(port.Open("/dev/corvane-no-such-port", 38400));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(log.Has("QX_SPort", "Could not open the port"));

    EXPECT_FALSE(port.Open(pty.Name(), 12345));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(log.Has("QX_SPort", "Unsupported baud rate 12345!"));

    // The device is not held by the failed attempt.
    CSerialPort other("QX_SPort", "QX_SPort log", kFast);
    EXPECT_TRUE(other.Open(pty.Name(), 38400));
}

TEST_F(SerialPortTest, IsOpenedExclusively) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    CSerialPort other("QX_SPort", "QX_SPort log", kFast);
    EXPECT_FALSE(other.Open(pty.Name(), 38400));
    port.Close();
    EXPECT_TRUE(other.Open(pty.Name(), 38400));
}

TEST_F(SerialPortTest, OpeningAgainReleasesTheFirstDevice) {
    Pty second;
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    ASSERT_TRUE(port.Open(second.Name(), 38400));
    CSerialPort other("QX_SPort", "QX_SPort log", kFast);
    EXPECT_TRUE(other.Open(pty.Name(), 38400));  // not leaked, so not locked
    EXPECT_FALSE(other.Open(second.Name(), 38400));
}

TEST_F(SerialPortTest, WaitAndReadTimeOutWithoutInput) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    EXPECT_FALSE(port.WaitForEvent());
    uint8_t buffer[16];
    size_t count = 0;
    EXPECT_FALSE(port.Read(buffer, sizeof(buffer), count));
    EXPECT_TRUE(port.ReadTimedOut());
    EXPECT_EQ(log.Count("QX_SPort", "WaitForSingleObject has timed out!"), 2);
}

TEST_F(SerialPortTest, WaitAndReadReportTheBytesThatCame) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    pty.Send({0xF0, 0x24, 0x01});
    ASSERT_TRUE(port.WaitForEvent());
    uint8_t buffer[16];
    size_t count = 0;
    ASSERT_TRUE(port.Read(buffer, sizeof(buffer), count));
    EXPECT_EQ(Bytes(buffer, buffer + count), (Bytes{0xF0, 0x24, 0x01}));
    EXPECT_TRUE(log.Has("QX_SPort", "Event occurred for the port"));
    EXPECT_TRUE(log.Has("QX_SPort", "Read  f0 24 01"));
}

TEST_F(SerialPortTest, ReadTakesNoMoreThanTheBufferHolds) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    pty.Send(Bytes(100, 0x41));
    uint8_t buffer[40];
    size_t count = 0;
    ASSERT_TRUE(port.Read(buffer, sizeof(buffer), count));
    EXPECT_LE(count, sizeof(buffer));
    EXPECT_FALSE(port.Read(nullptr, 0, count));
}

TEST_F(SerialPortTest, AHungUpLineIsAFailureNotAnEvent) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    pty.HangUp();
    EXPECT_FALSE(port.WaitForEvent());
    uint8_t buffer[16];
    size_t count = 0;
    EXPECT_FALSE(port.Read(buffer, sizeof(buffer), count));
    EXPECT_FALSE(port.ReadTimedOut());  // a failure the caller must not wait out
    const Bytes frame{0xF0};
    EXPECT_FALSE(port.Write(frame.data(), frame.size()));
    EXPECT_FALSE(log.Has("QX_SPort", "Event occurred for the port"));
}

TEST_F(SerialPortTest, WritesEveryByteOfALongBlock) {
    CSerialPort patient("QX_SPort", "QX_SPort log", {10s, 10s, 10s});
    ASSERT_TRUE(patient.Open(pty.Name(), 38400));
    Bytes block(256 * 1024);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>(i * 7);
    }
    Bytes received;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done || received.size() < block.size()) {
            pollfd p{pty.Master(), POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) {
                if (done) {
                    break;
                }
                continue;
            }
            uint8_t buffer[8192];
            const ssize_t n = ::read(pty.Master(), buffer, sizeof(buffer));
            if (n > 0) {
                received.insert(received.end(), buffer, buffer + n);
            }
        }
    });
    const bool written = patient.Write(block.data(), block.size());
    done = true;
    reader.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(received, block);
}

TEST_F(SerialPortTest, AWriteThatCannotFinishFails) {
    ASSERT_TRUE(port.Open(pty.Name(), 38400));
    const Bytes block(1024 * 1024, 0x55);  // more than the terminal holds; nobody reads
    EXPECT_FALSE(port.Write(block.data(), block.size()));
    EXPECT_TRUE(log.Has("QX_SPort", "WaitForSingleObject has timed out!"));
    EXPECT_FALSE(log.Has("QX_SPort", "WriteFile completed successfully!"));
}

}  // namespace
}  // namespace corvane
