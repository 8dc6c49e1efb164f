#pragma once

namespace corvane {

// Asks the controller object to read a trunk's usage again. The controller implements it; the
// model calls it from the poll thread while it holds the trunk lock, so an implementation
// takes no lock of the model.
class ITrunkChecker {
public:
    virtual ~ITrunkChecker() = default;
    // trunk is the controller's 0-based number.
    virtual void FlagInspectTrunk(int trunk) = 0;
};

}  // namespace corvane
