#include "link/QuillexRequest.h"

namespace corvane {

QuillexRequest& QuillexRequest::Byte(int value) {
    payload.push_back(static_cast<uint8_t>(value));
    return *this;
}

QuillexRequest& QuillexRequest::Word(unsigned value) {
    payload.push_back(static_cast<uint8_t>(value >> 8));
    payload.push_back(static_cast<uint8_t>(value));
    return *this;
}

QuillexRequest& QuillexRequest::Bytes(const std::vector<uint8_t>& bytes) {
    payload.insert(payload.end(), bytes.begin(), bytes.end());
    return *this;
}

void QuillexRequest::BuildOn(CConnection& link) const {
    link.BeginMessage(static_cast<int>(code));
    link.AddBytes(payload.data(), static_cast<int>(payload.size()));
    link.EndMessage(endFlags);
}

QuillexRequest MakeRequest(QuillexMessageCode code, std::string sendingLine, int endFlags) {
    QuillexRequest r;
    r.code = code;
    r.endFlags = endFlags;
    r.sendingLine = std::move(sendingLine);
    return r;
}

}  // namespace corvane
