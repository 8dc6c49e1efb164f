#pragma once

#include "link/Quillex.h"
#include "store/StoreInterfaces.h"

namespace corvane {

// The controller's check marks and queries as the database checks use them.
class ControllerChecks final : public IControllerChecks {
public:
    explicit ControllerChecks(CQuillex& controller) : controller_(controller) {}

    bool IsAlphasCheckDue() const override { return controller_.IsAlphasCheckDue(); }
    void SetAlphasCheckDue(bool due) override { controller_.SetAlphasCheckDue(due); }
    void FlagMatrixAlphasQuery(int intercom, int functionType) override {
        controller_.FlagMatrixAlphasQuery(intercom, functionType);
    }
    bool IsIntercomStatusCheckDue() const override {
        return controller_.IsIntercomStatusCheckDue();
    }
    void SetIntercomStatusCheckDue(bool due) override {
        controller_.SetIntercomStatusCheckDue(due);
    }
    void FlagMatrixCommStatQuery(int intercom) override {
        controller_.FlagMatrixCommStatQuery(intercom);
    }
    bool IsTrunkDefinitionsCheckDue() const override {
        return controller_.IsTrunkDefinitionsCheckDue();
    }
    void SetTrunkDefinitionsCheckDue(bool due) override {
        controller_.SetTrunkDefinitionsCheckDue(due);
    }
    void FlagTrunkDefinitionsQuery(int trunk) override {
        controller_.FlagTrunkDefinitionsQuery(trunk);
    }

private:
    CQuillex& controller_;
};

}  // namespace corvane
