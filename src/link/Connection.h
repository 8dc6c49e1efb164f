#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "link/AppDied.h"
#include "link/ConnectionOwner.h"
#include "log/DiagLogSource.h"

namespace corvane {

// The link to one controller, whatever the wire: a request is begun with its code, given its
// payload, ended, and transacted with a reply handler. Only the poll thread uses it.
class CConnection {
public:
    // Thrown by value when the link is beyond repair, after lost contact has been reported.
    struct CDied {};

    // Reads the reply through GetReplyData/GetReplyLength; true when the reply is valid.
    using ReplyHandler = std::function<bool()>;

    // The longest request or reply payload: a change map of 65535 bits (a 16-bit count and
    // 8192 map bytes) echoed behind its sub-code, with room to spare.
    static constexpr size_t kMaxPayload = 8200;

    CConnection(IConnectionOwner& owner, const CDiagLogSource& log) : owner_(owner), log_(log) {}
    virtual ~CConnection() = default;
    CConnection(const CConnection&) = delete;
    CConnection& operator=(const CConnection&) = delete;

    // Keeps the partner address current (network only).
    virtual void CheckPartner() = 0;
    // Opens a session when none is held (network only).
    virtual void OpenSession() = 0;
    virtual void BeginMessage(int code) = 0;
    // Flags bit 0: the reply may carry the error bit.
    virtual void EndMessage(int flags) = 0;
    // Sends, receives, checks, calls the handler and retries; returns only on success,
    // else throws CDied (or what the owner's abort check throws).
    virtual void Transact(const ReplyHandler& handler) = 0;
    // 1 when the last accepted reply carried the tolerated error bit.
    virtual int GetReplyErrorFlag() const = 0;
    virtual const uint8_t* GetReplyData() const = 0;
    virtual int GetReplyLength() const = 0;

    void AddBytes(const uint8_t* bytes, int count);
    // High byte first.
    void AddWord(unsigned value);
    void AddByte(int value);

protected:
    void CheckAbort() { owner_.CheckAbort(); }
    // Reports lost contact and throws CDied.
    [[noreturn]] void Die();
    void MarkCommunicating() { owner_.OnContactRegained(); }
    IConnectionOwner& Owner() { return owner_; }
    const CDiagLogSource& Log() const { return log_; }

    // The unescaped body of the request being built: the transport's header, then payload.
    std::vector<uint8_t> transmit_;

private:
    IConnectionOwner& owner_;
    const CDiagLogSource& log_;
};

}  // namespace corvane
