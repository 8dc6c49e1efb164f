#include "link/Connection.h"

namespace corvane {

void CConnection::AddBytes(const uint8_t* bytes, int count) {
    if (bytes == nullptr || count <= 0) {
        return;
    }
    transmit_.insert(transmit_.end(), bytes, bytes + count);
}

void CConnection::AddWord(unsigned value) {
    transmit_.push_back(static_cast<uint8_t>(value >> 8));
    transmit_.push_back(static_cast<uint8_t>(value));
}

void CConnection::AddByte(int value) {
    transmit_.push_back(static_cast<uint8_t>(value));
}

void CConnection::Die() {
    owner_.OnContactLost();
    throw CDied{};
}

}  // namespace corvane
