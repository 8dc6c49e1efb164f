#include "model/VorlinModel.h"

#include <utility>

#include "model/ListCellMarker.h"

namespace corvane {

CVorlinModel::CVorlinModel(SharedSettings& settings, const IClock& clock)
    : settings_(settings),
      clock_(clock),
      intercoms_(std::make_unique<CIntercomData[]>(kIntercomCount)),
      trunks_(std::make_unique<CTrunkData[]>(kTrunkCount)) {}

CVorlinModel::~CVorlinModel() = default;

void CVorlinModel::FlagInspectTrunk(int trunk) const {
    if (ITrunkChecker* inspector = checker_.load(std::memory_order_acquire)) {
        inspector->FlagInspectTrunk(trunk);
    }
}

CIntercomData* CVorlinModel::IntercomAt(int n) {
    return n >= 0 && n < kIntercomCount ? &intercoms_[n] : nullptr;
}

const CIntercomData* CVorlinModel::IntercomAt(int n) const {
    return n >= 0 && n < kIntercomCount ? &intercoms_[n] : nullptr;
}

CTrunkData* CVorlinModel::TrunkAt(int n) {
    return n >= 0 && n < kTrunkCount ? &trunks_[n] : nullptr;
}

const CTrunkData* CVorlinModel::TrunkAt(int n) const {
    return n >= 0 && n < kTrunkCount ? &trunks_[n] : nullptr;
}

// Intercom text and number setters store without comparing: every call marks the row.
template <typename Store>
bool CVorlinModel::SetIntercomRow(int intercom, bool oneBased, Store store) {
    intercom = ToModelNumber(intercom, oneBased);
    if (!IsIntercomNumber(intercom)) {
        return false;
    }
    auto lock = LockIntercoms();
    CIntercomData& data = intercoms_[intercom];
    store(data);
    data.flags.Mark(intercombit::kRow);
    MarkDirty(ModelCollection::Intercoms);
    return true;
}

bool CVorlinModel::SetIntercomControllerPort(int intercom, int port, bool oneBased) {
    port = ToModelNumber(port, oneBased);
    const int stored = port >= 0 && port < 32 ? port : 0;
    return SetIntercomRow(intercom, oneBased, [stored](CIntercomData& d) {
        d.controllerPort_.store(stored, std::memory_order_relaxed);
    });
}

bool CVorlinModel::SetIntercomBaudRate(int intercom, int baudRate, bool oneBased) {
    return SetIntercomRow(intercom, oneBased, [baudRate](CIntercomData& d) {
        d.baudRate_.store(baudRate, std::memory_order_relaxed);
    });
}

bool CVorlinModel::SetIntercomCascadeCost(int intercom, int cost, bool oneBased) {
    return SetIntercomRow(intercom, oneBased, [cost](CIntercomData& d) {
        d.cascadeCost_.store(cost, std::memory_order_relaxed);
    });
}

bool CVorlinModel::SetIntercomCommStatus(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.commStatus_ = std::move(text); });
}

bool CVorlinModel::SetIntercomConnType(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.connType_ = std::move(text); });
}

bool CVorlinModel::SetIntercomIPAddress1(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.ipAddress1_ = std::move(text); });
}

bool CVorlinModel::SetIntercomIPAddress2(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.ipAddress2_ = std::move(text); });
}

bool CVorlinModel::AddAlpha(int intercom, int functionType, int number, std::string text,
                            int operation, bool oneBased) {
    intercom = ToModelNumber(intercom, oneBased);
    number = ToModelNumber(number, oneBased);
    if (!IsIntercomNumber(intercom) || number < 0 || number > kMaxPortNumber ||
        !IsFunctionType(functionType) || operation < alphaop::kStore ||
        operation > alphaop::kDeleteFrom) {
        return false;
    }
    text = WithoutListMarker(std::move(text));
    if (functionType == kIntercomFunctionType) {
        return SetIntercomRow(intercom, true,
                              [&text](CIntercomData& d) { d.name_ = std::move(text); });
    }
    auto lock = LockAlphas();
    alphas_.push_back(CAlpha{intercom, functionType, number, std::move(text), operation});
    MarkDirty(ModelCollection::Alphas);
    return true;
}

void CVorlinModel::SetIntercomOptions(int intercom, bool alarms, bool notify,
                                      const std::string& comState) {
    auto lock = LockIntercoms();
    CIntercomData& data = intercoms_[intercom];
    data.SetAlarmsEnabled(alarms);
    data.SetNotificationsEnabled(notify);
    data.commStatus_ = comState;
}

void CVorlinModel::SetTrunkOptions(int trunk, bool autoTest, bool alarms, bool notify) {
    CTrunkData& data = trunks_[trunk];
    data.SetAutoTestEnabled(autoTest);
    data.SetAlarmsEnabled(alarms);
    data.SetNotificationsEnabled(notify);
}

}  // namespace corvane
