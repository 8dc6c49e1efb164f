#include "document/VorlinDoc.h"

#include <utility>

#include "document/DocumentPreferences.h"
#include "document/DocumentWorkers.h"
#include "store/ListCellMarker.h"

namespace corvane {

CVorlinDoc::CVorlinDoc(SharedSettings& settings, const IClock& clock, DocumentParts parts)
    : settings_(settings),
      clock_(clock),
      parts_(std::move(parts)),
      workers_(std::make_unique<DocumentWorkers>()),
      preferences_(std::make_unique<CDocumentPreferences>(*this, settings)),
      intercoms_(std::make_unique<CIntercomData[]>(kIntercomCount)),
      trunks_(std::make_unique<CTrunkData[]>(kTrunkCount)) {}

CVorlinDoc::~CVorlinDoc() {
    StopWorkers();
    // The database and the passes go before the model they refer to.
    workers_.reset();
}

void CVorlinDoc::FlagInspectTrunk(int trunk) const {
    if (ITrunkChecker* inspector = checker_.load(std::memory_order_acquire)) {
        inspector->FlagInspectTrunk(trunk);
    }
}

CIntercomData* CVorlinDoc::IntercomAt(int n) {
    return n >= 0 && n < kIntercomCount ? &intercoms_[n] : nullptr;
}

const CIntercomData* CVorlinDoc::IntercomAt(int n) const {
    return n >= 0 && n < kIntercomCount ? &intercoms_[n] : nullptr;
}

CTrunkData* CVorlinDoc::TrunkAt(int n) {
    return n >= 0 && n < kTrunkCount ? &trunks_[n] : nullptr;
}

const CTrunkData* CVorlinDoc::TrunkAt(int n) const {
    return n >= 0 && n < kTrunkCount ? &trunks_[n] : nullptr;
}

// Intercom text and number setters store without comparing: every call marks the row.
template <typename Store>
bool CVorlinDoc::SetIntercomRow(int intercom, bool oneBased, Store store) {
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

bool CVorlinDoc::SetIntercomControllerPort(int intercom, int port, bool oneBased) {
    port = ToModelNumber(port, oneBased);
    const int stored = port >= 0 && port < 32 ? port : 0;
    return SetIntercomRow(intercom, oneBased, [stored](CIntercomData& d) {
        d.controllerPort_.store(stored, std::memory_order_relaxed);
    });
}

bool CVorlinDoc::SetIntercomBaudRate(int intercom, int baudRate, bool oneBased) {
    return SetIntercomRow(intercom, oneBased, [baudRate](CIntercomData& d) {
        d.baudRate_.store(baudRate, std::memory_order_relaxed);
    });
}

bool CVorlinDoc::SetIntercomCascadeCost(int intercom, int cost, bool oneBased) {
    return SetIntercomRow(intercom, oneBased, [cost](CIntercomData& d) {
        d.cascadeCost_.store(cost, std::memory_order_relaxed);
    });
}

bool CVorlinDoc::SetIntercomCommStatus(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.commStatus_ = std::move(text); });
}

bool CVorlinDoc::SetIntercomConnType(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.connType_ = std::move(text); });
}

bool CVorlinDoc::SetIntercomIPAddress1(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.ipAddress1_ = std::move(text); });
}

bool CVorlinDoc::SetIntercomIPAddress2(int intercom, std::string text, bool oneBased) {
    return SetIntercomRow(intercom, oneBased,
                          [&text](CIntercomData& d) { d.ipAddress2_ = std::move(text); });
}

bool CVorlinDoc::AddAlpha(int intercom, int functionType, int number, std::string text,
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

}  // namespace corvane
