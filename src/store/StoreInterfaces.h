#pragma once

#include <string>

namespace corvane {

// What the periodic database checks ask of the controller object: its check marks (set by
// the poll thread) and the queries they flag. Numbers are 0-based, as the controller's.
class IControllerChecks {
public:
    virtual ~IControllerChecks() = default;
    virtual bool IsAlphasCheckDue() const = 0;
    virtual void SetAlphasCheckDue(bool due) = 0;
    virtual void FlagMatrixAlphasQuery(int intercom, int functionType) = 0;
    virtual bool IsIntercomStatusCheckDue() const = 0;
    virtual void SetIntercomStatusCheckDue(bool due) = 0;
    virtual void FlagMatrixCommStatQuery(int intercom) = 0;
    virtual bool IsTrunkDefinitionsCheckDue() const = 0;
    virtual void SetTrunkDefinitionsCheckDue(bool due) = 0;
    virtual void FlagTrunkDefinitionsQuery(int trunk) = 0;
};

// Where the start-up reads put the operator's switches: the model's intercom and trunk
// entries, by their 1-based numbers (already checked against the model's size).
class IStartupOptionsSink {
public:
    virtual ~IStartupOptionsSink() = default;
    virtual void SetIntercomOptions(int intercom, bool alarms, bool notify,
                                    const std::string& comState) = 0;
    virtual void SetTrunkOptions(int trunk, bool autoTest, bool alarms, bool notify) = 0;
};

// Sizes of the model the start-up reads fill: entries 0..256 and 0..10000.
inline constexpr int kModelIntercoms = 257;
inline constexpr int kModelTrunks = 10001;

}  // namespace corvane
