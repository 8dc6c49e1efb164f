#include "document/ViewHintBus.h"

#include <algorithm>

namespace corvane {

void CViewHintBus::Subscribe(IViewHintReceiver* receiver) {
    if (receiver != nullptr &&
        std::find(receivers_.begin(), receivers_.end(), receiver) == receivers_.end()) {
        receivers_.push_back(receiver);
    }
}

void CViewHintBus::Unsubscribe(IViewHintReceiver* receiver) {
    const auto at = std::find(receivers_.begin(), receivers_.end(), receiver);
    if (at == receivers_.end()) {
        return;
    }
    if (depth_ > 0) {
        *at = nullptr;
    } else {
        receivers_.erase(at);
    }
}

void CViewHintBus::Broadcast(IViewHintReceiver* sender, ViewUpdateHint hint,
                             const HintPayload& payload) {
    struct Delivery {
        CViewHintBus& bus;
        explicit Delivery(CViewHintBus& b) : bus(b) { ++bus.depth_; }
        ~Delivery() {
            if (--bus.depth_ == 0) {
                std::erase(bus.receivers_, nullptr);
            }
        }
    } delivery(*this);
    // By index, with the count taken first: the vector may grow while a view reacts.
    const size_t count = receivers_.size();
    for (size_t i = 0; i < count; ++i) {
        IViewHintReceiver* receiver = receivers_[i];
        if (receiver != nullptr && receiver != sender) {
            receiver->OnUpdate(sender, hint, payload);
        }
    }
}

int CViewHintBus::ViewCount() const {
    return static_cast<int>(std::count_if(receivers_.begin(), receivers_.end(),
                                          [](const IViewHintReceiver* r) { return r != nullptr; }));
}

}  // namespace corvane
