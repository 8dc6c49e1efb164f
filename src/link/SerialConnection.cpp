#include "link/SerialConnection.h"

#include <algorithm>

#include "link/SerialFrame.h"

namespace corvane {

CSerialConnection::CSerialConnection(IConnectionOwner& owner, const CDiagLogSource& log,
                                     SerialPortTimeouts timeouts, const IClock& clock)
    : CConnection(owner, log),
      port_("QX_SPort", "QX_SPort log", timeouts, clock),
      clock_(clock),
      timeouts_(timeouts) {}

void CSerialConnection::BeginMessage(int code) {
    number_ = static_cast<uint8_t>((number_ + 1) % 255);  // 255 is never used
    code_ = code;
    transmit_.clear();
    transmit_.push_back(static_cast<uint8_t>(code));
    transmit_.push_back(number_);
    toleratedMask_ = 0x3F;
}

void CSerialConnection::EndMessage(int flags) {
    transmit_.push_back(SerialFrameCrc8(transmit_));
    toleratedMask_ = (flags & 1) != 0 ? 0x80 : 0x00;
    lastErrorBits_ = 0x3F;
}

const uint8_t* CSerialConnection::GetReplyData() const {
    return receive_.size() > QuillexSerialFrame::kHeaderSize
               ? receive_.data() + QuillexSerialFrame::kHeaderSize
               : nullptr;
}

int CSerialConnection::GetReplyLength() const {
    return receive_.size() > QuillexSerialFrame::kHeaderSize
               ? static_cast<int>(receive_.size() - QuillexSerialFrame::kHeaderSize - 1)
               : 0;
}

void CSerialConnection::Transact(const ReplyHandler& handler) {
    std::vector<uint8_t> frame;
    if (!QuillexSerialFrame::Encode(transmit_, frame)) {
        Log().Printf(2, "Message Too Long: %zu bytes!", transmit_.size());
        DieLink();
    }
    int writeFailures = 0;
    int reads = 0;
    for (;;) {
        CheckAbort();
        // A reply that came too late for an earlier try must not be taken for this one's.
        port_.DiscardInput();
        if (!port_.Write(frame.data(), frame.size())) {
            Log().Printf(2, "Write Error/Timeout Occurred!");
            if (++writeFailures >= kMaxFailures) {
                Log().Printf(2, "Write Errors/Timeouts Reached %d!", kMaxFailures);
                DieLink();
            }
            continue;
        }
        CheckAbort();
        if (!port_.WaitForEvent()) {
            Log().Printf(2, "Error/Timeout Occurred While Waiting!");
            if (++writeFailures >= kMaxFailures) {
                Log().Printf(2, "Write Errors/Timeouts equal to the maximum!");
                DieLink();
            }
            continue;
        }
        CheckAbort();
        ++reads;
        if (!ReceiveBlock()) {
            Log().Printf(2, "Read Error Occurred!");
            if (reads >= kMaxFailures) {
                Log().Printf(2, "Read Errors Reached %d!", kMaxFailures);
                DieLink();
            }
            continue;
        }
        CheckAbort();
        Log().Printf(3, "Process Received Reply");
        if (QuillexSerialFrame::Decode(block_, receive_) != SerialFrameError::kNone) {
            Log().Printf(2, "Message delimiter not found!");
            if (reads >= kMaxFailures) {
                Log().Printf(2, "Message delimiter not found after a number of times!");
                DieLink();
            }
            continue;
        }
        Log().Printf(3, "Handle Response");
        if (const char* failure = CheckReply(handler)) {
            Log().Printf(2, "%s", failure);
            if (reads >= kMaxFailures) {
                Log().Printf(2, "Invalid response was received a number of times!");
                DieLink();
            }
            continue;
        }
        Log().Printf(3, "Response has been received successfully");
        MarkCommunicating();
        return;
    }
}

bool CSerialConnection::ReceiveBlock() {
    block_.assign(QuillexSerialFrame::kMaxFrame, 0);
    const SteadyTime deadline = clock_.Steady() + timeouts_.read;
    size_t used = 0;
    while (used < block_.size()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock_.Steady());
        size_t got = 0;
        if (!port_.Read(block_.data() + used, block_.size() - used, got,
                        std::max(left, std::chrono::milliseconds(0)))) {
            break;
        }
        const size_t start = used;
        used += got;
        for (size_t i = start; i < used; ++i) {
            if (block_[i] == QuillexSerialFrame::kEnd) {
                block_.resize(i + 1);  // the end byte is never escaped: the frame ends here
                return true;
            }
        }
    }
    // Without an end byte the decoder rejects what came; nothing at all is a read error.
    block_.resize(used);
    return used > 0;
}

const char* CSerialConnection::CheckReply(const ReplyHandler& handler) {
    if (SerialFrameCrc8(receive_) != 0) {
        return "Bad Checksum!";
    }
    const uint8_t requestCode = static_cast<uint8_t>(code_);
    const uint8_t errorBits = (receive_[0] ^ requestCode) & 0xC0;
    if ((receive_[0] ^ errorBits) != requestCode) {
        return "Message Type Discrepancy!";
    }
    if (receive_[1] != number_) {
        return "Message Number Discrepancy!";
    }
    if ((errorBits & ~toleratedMask_) != 0) {
        return "Message Errors Discrepancy!";
    }
    lastErrorBits_ = errorBits;
    if (!handler || !handler()) {
        return "Invalid response was received!";
    }
    return nullptr;
}

void CSerialConnection::DieLink() {
    lastErrorBits_ = 0x3F;
    receive_.clear();
    Die();
}

}  // namespace corvane
