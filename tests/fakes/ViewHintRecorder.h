#pragma once

#include <functional>
#include <utility>

#include "document/ViewHintBus.h"

namespace corvane::testing {

// A view that hands every hint it gets to the test.
class ViewHintRecorder final : public IViewHintReceiver {
public:
    explicit ViewHintRecorder(std::function<void(ViewUpdateHint)> onHint)
        : onHint_(std::move(onHint)) {}
    void OnUpdate(IViewHintReceiver*, ViewUpdateHint hint, const HintPayload&) override {
        onHint_(hint);
    }

private:
    std::function<void(ViewUpdateHint)> onHint_;
};

}  // namespace corvane::testing
