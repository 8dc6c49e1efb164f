#include "fakes/FakeControllerCodec.h"

namespace corvane::testing::fakewire {
namespace {

bool UdpSpecial(uint8_t b) {
    static const uint8_t kSpecial[] = {0x1A, 0x9E, 0xA5, 0xAD, 0xD5, 0xDA, 0xDD};
    for (const uint8_t s : kSpecial) {
        if (b == s) {
            return true;
        }
    }
    return false;
}

}  // namespace

uint8_t Crc8(const std::vector<uint8_t>& bytes) {
    // Bit by bit, where the program uses a table.
    uint8_t crc = 0x5A;
    for (const uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x01) ? static_cast<uint8_t>((crc >> 1) ^ 0xD9)
                               : static_cast<uint8_t>(crc >> 1);
        }
    }
    return crc;
}

std::vector<uint8_t> SerialBody(const SerialMessage& m) {
    std::vector<uint8_t> body{m.code, m.number};
    body.insert(body.end(), m.payload.begin(), m.payload.end());
    body.push_back(Crc8(body));
    return body;
}

std::vector<uint8_t> SerialWrap(const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out{0xF0};
    for (const uint8_t b : body) {
        if (b == 0xF0 || b == 0xF1 || b == 0xF2) {
            out.push_back(0xF1);
            out.push_back(static_cast<uint8_t>(b - 0x80));
        } else {
            out.push_back(b);
        }
    }
    out.push_back(0xF2);
    return out;
}

std::optional<std::vector<uint8_t>> SerialUnwrap(const std::vector<uint8_t>& frame) {
    enum { kOutside, kInside, kEscaped, kDone } state = kOutside;
    std::vector<uint8_t> body;
    for (const uint8_t b : frame) {
        switch (state) {
            case kOutside:
                if (b != 0xF0) {
                    return std::nullopt;
                }
                state = kInside;
                break;
            case kInside:
                if (b == 0xF2) {
                    state = kDone;
                } else if (b == 0xF1) {
                    state = kEscaped;
                } else if (b == 0xF0) {
                    return std::nullopt;
                } else {
                    body.push_back(b);
                }
                break;
            case kEscaped:
                if (b < 0x70 || b > 0x72) {
                    return std::nullopt;
                }
                body.push_back(static_cast<uint8_t>(b + 0x80));
                state = kInside;
                break;
            case kDone:
                return std::nullopt;  // bytes after the end
        }
    }
    if (state != kDone || body.size() < 3) {
        return std::nullopt;
    }
    return body;
}

std::optional<SerialMessage> SerialParse(const std::vector<uint8_t>& frame) {
    const auto body = SerialUnwrap(frame);
    if (!body || Crc8(*body) != 0) {
        return std::nullopt;
    }
    SerialMessage m;
    m.code = (*body)[0];
    m.number = (*body)[1];
    m.payload.assign(body->begin() + 2, body->end() - 1);
    return m;
}

uint8_t NegatedSum(const std::vector<uint8_t>& bytes) {
    uint8_t sum = 0;
    for (const uint8_t b : bytes) {
        sum = static_cast<uint8_t>(sum + b);
    }
    return static_cast<uint8_t>(256 - sum);
}

std::vector<uint8_t> UdpBody(const UdpMessage& m) {
    std::vector<uint8_t> body{
        static_cast<uint8_t>(m.session / 256),
        static_cast<uint8_t>(m.session % 256),
        m.code,
        static_cast<uint8_t>((m.status & 0x0F) * 16 + (m.number / 256) % 16),
        static_cast<uint8_t>(m.number % 256),
    };
    body.insert(body.end(), m.payload.begin(), m.payload.end());
    body.push_back(NegatedSum(body));
    return body;
}

std::vector<uint8_t> UdpWrap(const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out{0xD5};
    for (const uint8_t b : body) {
        if (UdpSpecial(b)) {
            out.push_back(0xDA);
        }
        out.push_back(b);
    }
    out.push_back(0xDD);
    return out;
}

std::optional<std::vector<uint8_t>> UdpUnwrap(const std::vector<uint8_t>& datagram) {
    if (datagram.size() < 2 || datagram.front() != 0xD5 || datagram.back() != 0xDD) {
        return std::nullopt;
    }
    std::vector<uint8_t> body;
    bool escaped = false;
    for (size_t i = 1; i + 1 < datagram.size(); ++i) {
        const uint8_t b = datagram[i];
        if (escaped) {
            if (!UdpSpecial(b)) {
                return std::nullopt;
            }
            body.push_back(b);
            escaped = false;
        } else if (b == 0xDA) {
            escaped = true;
        } else if (UdpSpecial(b)) {
            return std::nullopt;
        } else {
            body.push_back(b);
        }
    }
    if (escaped || body.size() < 6) {
        return std::nullopt;
    }
    return body;
}

std::optional<UdpMessage> UdpParse(const std::vector<uint8_t>& datagram) {
    const auto body = UdpUnwrap(datagram);
    if (!body) {
        return std::nullopt;
    }
    uint8_t sum = 0;
    for (const uint8_t b : *body) {
        sum = static_cast<uint8_t>(sum + b);
    }
    if (sum != 0) {
        return std::nullopt;
    }
    UdpMessage m;
    m.session = static_cast<uint16_t>((*body)[0] * 256 + (*body)[1]);
    m.code = (*body)[2];
    m.status = (*body)[3] / 16;
    m.number = static_cast<uint16_t>(((*body)[3] % 16) * 256 + (*body)[4]);
    m.payload.assign(body->begin() + 5, body->end() - 1);
    return m;
}

}  // namespace corvane::testing::fakewire
