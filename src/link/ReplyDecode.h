#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace corvane {

using ReplyBytes = std::span<const uint8_t>;

// A decoded reply payload, or why it was refused. A refused reply makes the link retry.
template <typename T>
class Decoded {
public:
    Decoded(T value) : value_(std::move(value)) {}  // NOLINT: a value is a decoded reply
    // An empty text refuses without a line of its own (the link logs the retry).
    static Decoded Refused(std::string why) {
        Decoded d;
        d.failure_ = std::move(why);
        return d;
    }

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const std::string& Failure() const { return failure_; }

private:
    Decoded() = default;
    std::optional<T> value_;
    std::string failure_;
};

// "<reply name>: Incorrect response length".
inline std::string LengthFailure(const char* replyName) {
    return std::string(replyName) + ": Incorrect response length";
}

inline unsigned WordAt(ReplyBytes bytes, size_t at) {
    return static_cast<unsigned>(bytes[at]) << 8 | bytes[at + 1];
}

}  // namespace corvane
