// The fake controller's network: its state, the changes a test or the simulator makes, and
// the change bits they set.
#include "fakes/FakeControllerModel.h"

#include <algorithm>
#include <utility>

namespace corvane::testing {

FakeControllerModel::FakeControllerModel(FakeNetwork network) : network_(std::move(network)) {
    network_.matrices.resize(std::min<size_t>(network_.matrices.size(), 256));
    network_.trunks.resize(std::min<size_t>(network_.trunks.size(), 10000));
    for (int area = kNames; area <= kOosPorts; ++area) {
        Bits(static_cast<Area>(area)).assign(AreaSize(static_cast<Area>(area)), 0);
    }
}

void FakeControllerModel::Install(FakeController& fake) {
    static const int kCodes[] = {3,  4,  5,  8,  14, 15, 17, 18, 21, 23, 25, 26, 27, 35, 36, 37,
                                 38, 39, 40, 41, 44, 52, 53, 54, 68, 70, 73, 74, 80, 81, 86};
    for (const int code : kCodes) {
        fake.SetHandler(code, [this](const FakeRequest& r) { return Answer(r); });
    }
}

size_t FakeControllerModel::AreaSize(Area area) const {
    switch (area) {
        case kAlphas:
            return 16 * network_.matrices.size();
        case kDefinitions:
        case kUsage:
            return network_.trunks.size();
        default:
            return network_.matrices.size();
    }
}

void FakeControllerModel::Mark(Area area, size_t item) {
    std::vector<uint8_t>& bits = Bits(area);
    if (item < bits.size()) {
        bits[item] = 1;
        changedSinceOverall_ = true;
    }
}

void FakeControllerModel::MarkAll() {
    for (int area = kNames; area <= kOosPorts; ++area) {
        std::vector<uint8_t>& bits = Bits(static_cast<Area>(area));
        if (area == kAlphas) {
            // Eight lists in the first byte of each matrix's pair.
            for (size_t i = 0; i < bits.size(); ++i) {
                bits[i] = i % 16 < 8 ? 1 : 0;
            }
        } else {
            std::fill(bits.begin(), bits.end(), 1);
        }
    }
    changedSinceOverall_ = true;
}

void FakeControllerModel::SetHelloExtras(bool capabilities, bool setAllChangeFlags,
                                         bool alphaSizeFromSetting) {
    std::lock_guard lock(mutex_);
    helloExtras_ = static_cast<uint8_t>((capabilities ? 0x80 : 0) | (setAllChangeFlags ? 0x08 : 0) |
                                        (alphaSizeFromSetting ? 0x20 : 0));
}

void FakeControllerModel::SetOverallNowOnChange(bool on) {
    std::lock_guard lock(mutex_);
    overallNowOnChange_ = on;
}

void FakeControllerModel::SetReady(bool ready) {
    std::lock_guard lock(mutex_);
    ready_ = ready;
}

void FakeControllerModel::Restart() {
    std::lock_guard lock(mutex_);
    reReadPending_ = true;
}

void FakeControllerModel::SetOutcomes(FakeMaintenanceOutcomes outcomes) {
    std::lock_guard lock(mutex_);
    outcomes_ = outcomes;
    exclusiveRefusalsLeft_ = outcomes.exclusiveControlRefusals;
}

void FakeControllerModel::SetTrunkStatus(int trunk, uint8_t status) {
    std::lock_guard lock(mutex_);
    if (trunk < 0 || static_cast<size_t>(trunk) >= network_.trunks.size()) {
        return;
    }
    FakeTrunk& t = network_.trunks[static_cast<size_t>(trunk)];
    if (!t.defined) {
        return;  // an undefined trunk carries no call
    }
    t.status = status;
    t.ends1.clear();
    t.ends2.clear();
    if (status == 2 || status == 3) {
        // End 1 talks to end 2 once the call is in use; while allocated nobody talks yet.
        const bool inUse = status == 3;
        FakeUsageEnd source;
        source.intercom = t.end1Intercom;
        source.number = t.end1Number;
        source.talk = inUse;
        source.farListen = inUse;
        FakeUsageEnd destination;
        destination.intercom = t.end2Intercom;
        destination.number = t.end2Number;
        destination.listen = inUse;
        destination.farTalk = inUse;
        t.ends1.push_back(source);
        t.ends2.push_back(destination);
    }
    Mark(kUsage, static_cast<size_t>(trunk));
}

void FakeControllerModel::SetTrunkOutOfService(int trunk, bool outOfService) {
    std::lock_guard lock(mutex_);
    if (trunk >= 0 && static_cast<size_t>(trunk) < network_.trunks.size()) {
        network_.trunks[static_cast<size_t>(trunk)].outOfService = outOfService;
        Mark(kUsage, static_cast<size_t>(trunk));
    }
}

void FakeControllerModel::SetTrunkDefinition(int trunk, const FakeTrunk& definition) {
    std::lock_guard lock(mutex_);
    if (trunk >= 0 && static_cast<size_t>(trunk) < network_.trunks.size()) {
        FakeTrunk& t = network_.trunks[static_cast<size_t>(trunk)];
        const FakeTrunk keep = t;
        t = definition;
        t.defined = true;
        t.status = keep.status;
        t.outOfService = keep.outOfService;
        t.ends1 = keep.ends1;
        t.ends2 = keep.ends2;
        t.cascadeTrunk = keep.cascadeTrunk;
        Mark(kDefinitions, static_cast<size_t>(trunk));
    }
}

void FakeControllerModel::UndefineTrunk(int trunk) {
    std::lock_guard lock(mutex_);
    if (trunk >= 0 && static_cast<size_t>(trunk) < network_.trunks.size()) {
        network_.trunks[static_cast<size_t>(trunk)] = FakeTrunk{};
        Mark(kDefinitions, static_cast<size_t>(trunk));
    }
}

void FakeControllerModel::SetMatrixName(int matrix, std::string name) {
    std::lock_guard lock(mutex_);
    if (matrix >= 0 && static_cast<size_t>(matrix) < network_.matrices.size()) {
        network_.matrices[static_cast<size_t>(matrix)].name = std::move(name);
        Mark(kNames, static_cast<size_t>(matrix));
    }
}

void FakeControllerModel::SetAlphas(int matrix, int kind, std::vector<std::string> alphas) {
    std::lock_guard lock(mutex_);
    if (matrix < 0 || static_cast<size_t>(matrix) >= network_.matrices.size() || kind < 0 ||
        kind > 8 || kind == 7) {
        return;
    }
    network_.matrices[static_cast<size_t>(matrix)].alphas[static_cast<size_t>(kind)] =
        std::move(alphas);
    Mark(kAlphas, 16 * static_cast<size_t>(matrix) + static_cast<size_t>(kind == 8 ? 7 : kind));
}

void FakeControllerModel::SetCommStatus(int matrix, uint8_t status) {
    std::lock_guard lock(mutex_);
    if (matrix >= 0 && static_cast<size_t>(matrix) < network_.matrices.size()) {
        network_.matrices[static_cast<size_t>(matrix)].commStatus = status;
        Mark(kCommStat, static_cast<size_t>(matrix));
    }
}

void FakeControllerModel::SetQueuedRequests(int matrix, std::vector<FakeQueuedRequest> requests) {
    std::lock_guard lock(mutex_);
    if (matrix >= 0 && static_cast<size_t>(matrix) < network_.matrices.size()) {
        network_.matrices[static_cast<size_t>(matrix)].queued = std::move(requests);
        Mark(kFailedRequests, static_cast<size_t>(matrix));
    }
}

void FakeControllerModel::SetOosPort(int matrix, int port, bool outOfService) {
    std::lock_guard lock(mutex_);
    if (matrix < 0 || static_cast<size_t>(matrix) >= network_.matrices.size() || port < 0 ||
        port >= 1024) {
        return;
    }
    uint8_t& byte = network_.matrices[static_cast<size_t>(matrix)].oosPorts[port / 8];
    const auto bit = static_cast<uint8_t>(1 << (port % 8));
    byte = outOfService ? byte | bit : byte & ~bit;
    Mark(kOosPorts, static_cast<size_t>(matrix));
}

void FakeControllerModel::SetCompatibility(int matrix, FakeCompatibility row) {
    std::lock_guard lock(mutex_);
    if (matrix >= 0 && static_cast<size_t>(matrix) < network_.matrices.size()) {
        network_.matrices[static_cast<size_t>(matrix)].compatibility = row;
    }
}

void FakeControllerModel::SetCapabilities(uint8_t capabilities) {
    std::lock_guard lock(mutex_);
    network_.capabilities = capabilities;
}

void FakeControllerModel::SetMaintenancePort(uint8_t matrix, uint16_t port) {
    std::lock_guard lock(mutex_);
    network_.maintenanceMatrix = matrix;
    network_.maintenancePort = port;
}

FakeNetwork FakeControllerModel::Network() const {
    std::lock_guard lock(mutex_);
    return network_;
}

size_t FakeControllerModel::TrunkCount() const {
    std::lock_guard lock(mutex_);
    return network_.trunks.size();
}

void FakeControllerModel::SetTimeSource(std::function<std::time_t()> now) {
    std::lock_guard lock(mutex_);
    now_ = std::move(now);
}

int FakeControllerModel::SetDateTimeCount() const {
    std::lock_guard lock(mutex_);
    return setDateTimeCount_;
}

std::array<uint8_t, 6> FakeControllerModel::LastSetDateTime() const {
    std::lock_guard lock(mutex_);
    return lastSetDateTime_;
}

bool FakeControllerModel::HasPendingChanges() const {
    std::lock_guard lock(mutex_);
    for (const auto& bits : changes_) {
        if (std::find(bits.begin(), bits.end(), 1) != bits.end()) {
            return true;
        }
    }
    return false;
}

const FakeMatrix* FakeControllerModel::MatrixAt(int matrix) const {
    return matrix >= 0 && static_cast<size_t>(matrix) < network_.matrices.size()
               ? &network_.matrices[static_cast<size_t>(matrix)]
               : nullptr;
}

const FakeTrunk* FakeControllerModel::TrunkAt(int trunk) const {
    return trunk >= 0 && static_cast<size_t>(trunk) < network_.trunks.size()
               ? &network_.trunks[static_cast<size_t>(trunk)]
               : nullptr;
}

}  // namespace corvane::testing
