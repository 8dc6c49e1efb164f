#pragma once

#include <vector>

#include "model/ViewUpdateHint.h"

namespace corvane {

// The object a filter or sort hint carries; each receiver checks which kind it is.
class CHintPayload {
public:
    virtual ~CHintPayload() = default;
};

// What travels with a hint: the filter or sort object, or for the four layout bits the
// index of a graphical layout (0 is "default").
struct HintPayload {
    const CHintPayload* object = nullptr;
    int layoutIndex = 0;
};

// A view of the document.
class IViewHintReceiver {
public:
    virtual ~IViewHintReceiver() = default;
    // sender: the view that sent the hint, or none.
    virtual void OnUpdate(IViewHintReceiver* sender, ViewUpdateHint hint,
                          const HintPayload& payload) = 0;
};

// The views of the document and the broadcast that tells them of a change. Views come and go
// while a broadcast is under way (a hint may close or open a frame): one that leaves gets
// nothing more, one that joins gets the next broadcast. User-interface thread only.
class CViewHintBus {
public:
    void Subscribe(IViewHintReceiver* receiver);
    void Unsubscribe(IViewHintReceiver* receiver);
    // Every view but the sender, in the order they joined.
    void Broadcast(IViewHintReceiver* sender, ViewUpdateHint hint, const HintPayload& payload = {});
    int ViewCount() const;

private:
    // Entries of views that left during a broadcast are cleared, and dropped after it.
    std::vector<IViewHintReceiver*> receivers_;
    int depth_ = 0;
};

}  // namespace corvane
