#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "document/ViewHintBus.h"

namespace corvane {

// What a filter title needs to know of the model; the document provides it.
class FilterNameSource {
public:
    virtual ~FilterNameSource() = default;
    // Empty for INT_MAX or an unknown intercom.
    virtual std::string IntercomName(int intercom) const = 0;
    virtual bool IsValidFunctionType(int type) const = 0;
    virtual std::string FunctionTypeCode(int type) const = 0;
    // The alpha text of an assignment (function type << 16 | port) on an intercom; empty
    // when there is none.
    virtual std::string AssignmentAlpha(int intercom, int assignment) const = 0;
};

enum class FilterKind { Intercoms, Trunks, Requests, Alphas, Alarms, DupTrunks, Summary };

// The selectors of one child frame's form; INT_MAX means "any". The payload of the filter
// hint.
class CVorlinFilterData : public CHintPayload {
public:
    static constexpr int kAny = INT_MAX;

    ~CVorlinFilterData() override = default;

    FilterKind Kind() const { return kind_; }
    // Copies the six selectors, never the changed byte.
    void AssignSelectors(const CVorlinFilterData& other);
    virtual std::unique_ptr<CVorlinFilterData> Clone() const = 0;

    // The frame title; without a name source only the fixed word.
    virtual std::string GetTitle(const FilterNameSource* names) const = 0;

    int Selector(int n) const { return selectors_[n - 1]; }  // n = 1..6
    void SetSelector(int n, int value) { selectors_[n - 1] = value; }

    uint8_t changed = 0;

protected:
    explicit CVorlinFilterData(FilterKind kind) : kind_(kind) {}
    CVorlinFilterData(const CVorlinFilterData&) = default;
    CVorlinFilterData& operator=(const CVorlinFilterData&) = default;

    bool Bit(int selector, int bit) const { return (Selector(selector) & bit) != 0; }
    void SetBit(int selector, int bit, bool show) {
        SetSelector(selector, show ? (Selector(selector) | bit) : (Selector(selector) & ~bit));
    }

private:
    FilterKind kind_;
    int selectors_[6] = {kAny, kAny, kAny, kAny, kAny, kAny};
};

namespace trunkstate {
inline constexpr int kIdle = 0x1, kAllocated = 0x2, kInUse = 0x4, kMaintenance = 0x8;
}
namespace testresult {
inline constexpr int kPass = 0x1, kFailure = 0x2, kError = 0x4, kPending = 0x8, kSkipped = 0x10;
}
namespace service {
inline constexpr int kOutOfService = 0x1, kInService = 0x2;
}
namespace requeststate {
inline constexpr int kQueued = 0x1, kActive = 0x2, kAllocated = 0x4, kFinished = 0x8;
}
namespace alarmstate {
inline constexpr int kActive = 0x1, kResolved = 0x2, kStale = 0x4, kUnresolved = 0x8;
}
namespace alarmcategory {
inline constexpr int kController = 0x1, kIntercomCommunication = 0x2, kAcknowledged = 0x4,
                     kTrunkTestFailure = 0x8, kRequestBusy = 0x10, kAudioAnalyzer = 0x20;
}

// Whether selector n of a kind's filter is a mask of shown states or categories: the
// operator's choice, which a frame keeps when it is switched to the kind with another filter.
bool IsMaskSelector(FilterKind kind, int n);
// The filter a frame's form takes when it is switched to its kind with the given filter: the
// given selectors but the form's own masks, with the given changed byte.
void TakeSwitchedFilter(CVorlinFilterData& own, const CVorlinFilterData& given);

class CIcomFilterData final : public CVorlinFilterData {
public:
    CIcomFilterData() : CVorlinFilterData(FilterKind::Intercoms) {}
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;
};

class CTrunkFilterData final : public CVorlinFilterData {
public:
    CTrunkFilterData();
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;

    int Intercom() const { return Selector(1); }
    int OtherIntercom() const { return Selector(2); }
    void SetIntercom(int v) { SetSelector(1, v); }
    void SetOtherIntercom(int v) { SetSelector(2, v); }
    int StateMask() const { return Selector(3); }
    int ResultMask() const { return Selector(4); }
    int ServiceMask() const { return Selector(5); }
    void SetStateMask(int m) { SetSelector(3, m & 0xF); }
    void SetResultMask(int m) { SetSelector(4, m & 0x1F); }
    void SetServiceMask(int m) { SetSelector(5, m & 0x3); }
    bool ShowsState(int bit) const { return Bit(3, bit); }
    bool ShowsResult(int bit) const { return Bit(4, bit); }
    bool ShowsService(int bit) const { return Bit(5, bit); }
    void ShowState(int bit, bool show) { SetBit(3, bit, show); }
    void ShowResult(int bit, bool show) { SetBit(4, bit, show); }
    void ShowService(int bit, bool show) { SetBit(5, bit, show); }
};

class CRequestFilterData final : public CVorlinFilterData {
public:
    CRequestFilterData();
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;

    int Intercom1() const { return Selector(1); }
    int FunctionType() const { return Selector(2); }
    int Assignment() const { return Selector(3); }
    int Intercom2() const { return Selector(4); }
    int Trunk() const { return Selector(5); }
    void SetIntercom1(int v) { SetSelector(1, v); }
    void SetFunctionType(int v) { SetSelector(2, v); }
    void SetAssignment(int v) { SetSelector(3, v); }
    void SetIntercom2(int v) { SetSelector(4, v); }
    void SetTrunk(int v) { SetSelector(5, v); }
    int StateMask() const { return Selector(6); }
    void SetStateMask(int m) { SetSelector(6, m & 0xF); }
    bool ShowsState(int bit) const { return Bit(6, bit); }
    void ShowState(int bit, bool show) { SetBit(6, bit, show); }
};

class CAlphaFilterData final : public CVorlinFilterData {
public:
    CAlphaFilterData() : CVorlinFilterData(FilterKind::Alphas) {}
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;

    int Intercom() const { return Selector(1); }
    int FunctionType() const { return Selector(2); }
    void SetIntercom(int v) { SetSelector(1, v); }
    void SetFunctionType(int v) { SetSelector(2, v); }
};

class CAlarmFilterData final : public CVorlinFilterData {
public:
    CAlarmFilterData();
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;

    int Intercom() const { return Selector(1); }
    int Trunk() const { return Selector(2); }
    void SetIntercom(int v) { SetSelector(1, v); }
    void SetTrunk(int v) { SetSelector(2, v); }
    int StateMask() const { return Selector(3); }
    int CategoryMask() const { return Selector(4); }
    void SetStateMask(int m) { SetSelector(3, m & 0xF); }
    void SetCategoryMask(int m) { SetSelector(4, m & 0x3F); }
    bool ShowsState(int bit) const { return Bit(3, bit); }
    bool ShowsCategory(int bit) const { return Bit(4, bit); }
    void ShowState(int bit, bool show) { SetBit(3, bit, show); }
    void ShowCategory(int bit, bool show) { SetBit(4, bit, show); }
};

class CDupTrunkFilterData final : public CVorlinFilterData {
public:
    CDupTrunkFilterData() : CVorlinFilterData(FilterKind::DupTrunks) {}
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;
};

class CSummaryFilterData final : public CVorlinFilterData {
public:
    CSummaryFilterData() : CVorlinFilterData(FilterKind::Summary) {}
    std::unique_ptr<CVorlinFilterData> Clone() const override;
    std::string GetTitle(const FilterNameSource* names) const override;

    int Intercom() const { return Selector(1); }
    void SetIntercom(int v) { SetSelector(1, v); }
};

}  // namespace corvane
