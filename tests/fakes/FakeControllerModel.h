#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fakes/FakeController.h"

namespace corvane::testing {

// The fake controller's own picture of a trunking network, and its answers to the whole
// message set, written from the message definitions apart from the program's decoders.
// Numbers are the controller's (0-based). Every call is safe from any thread.

// One end of a trunk's connection as Inspect Trunk reports it.
struct FakeUsageEnd {
    uint8_t intercom = 0;
    uint8_t functionType = 0;
    uint16_t number = 0;
    bool talk = false;
    bool listen = false;
    bool inactive = false;
    // The flags of the opposite end as this entry reports them.
    bool farTalk = false;
    bool farListen = false;
    bool farInactive = false;
};

struct FakeTrunk {
    bool defined = false;
    uint8_t end1Intercom = 255;
    uint16_t end1Number = 0xFFFF;
    uint8_t end2Intercom = 255;
    uint16_t end2Number = 0xFFFF;
    uint8_t fixed1Intercom = 0;
    uint8_t fixed1FunctionType = 0;
    uint16_t fixed1Number = 0;
    uint8_t fixed2Intercom = 0;
    uint8_t fixed2FunctionType = 0;
    uint16_t fixed2Number = 0;
    bool canCascade = false;
    bool useFixed = false;
    // Status byte: 0 idle, 2 allocated, 3 in use, 4 maintenance.
    uint8_t status = 0;
    bool outOfService = false;
    uint16_t cascadeTrunk = 0xFFFF;
    std::vector<FakeUsageEnd> ends1;  // sources
    std::vector<FakeUsageEnd> ends2;  // destinations
};

struct FakeQueuedRequest {
    uint8_t sourceIntercom = 0;
    uint16_t sourceNumber = 0;
    uint8_t destinationIntercom = 0;
    uint8_t destinationFunctionType = 0;
    uint16_t destinationNumber = 0;
    bool talk = false;
    bool listen = false;
    bool inactive = false;
};

struct FakeCompatibility {
    uint8_t state = 0;
    uint8_t byteValue = 0;
    uint16_t wordValue1 = 0;
    uint16_t wordValue2 = 0;
};

struct FakeMatrix {
    std::string name;
    uint8_t baudCode = 1;  // 38400
    uint8_t port = 0;
    uint8_t connType = 0;  // serial
    std::array<uint8_t, 4> ip1{};
    std::array<uint8_t, 4> ip2{};
    uint16_t cascadeCost = 0;
    uint8_t commStatus = 0x81;  // OK, MX4600
    // Alpha lists by kind (0-6 and 8; entry 7 is unused, the names are the matrices' names).
    // An empty text is an alpha the controller has deleted.
    std::array<std::vector<std::string>, 9> alphas;
    std::vector<FakeQueuedRequest> queued;
    std::array<uint8_t, 128> oosPorts{};
    FakeCompatibility compatibility;
};

// How the maintenance sequences come out.
struct FakeMaintenanceOutcomes {
    int exclusiveControlRefusals = 0;     // refusals before the grant; -1: never granted
    int activationInProgressReplies = 0;  // "still in progress" answers before "complete"
    bool trunkModeSucceeds = true;
    bool crosspointsSucceed = true;
    bool setMaintenancePortSucceeds = true;
};

struct FakeNetwork {
    std::vector<FakeMatrix> matrices;  // at most 256
    std::vector<FakeTrunk> trunks;     // at most 10000
    uint8_t capabilities = 0x0F;
    std::string version = "Fake Quillex 1.0";
    uint8_t maintenanceMatrix = 255;
    uint16_t maintenancePort = 0xFFFF;
    std::array<uint8_t, 6> dateTime{};  // as Get Date and Time answers; zero: the host's time
};

class FakeControllerModel {
public:
    // Change areas (the sub-codes of Change Query).
    enum Area { kNames = 1, kAlphas, kCommStat, kDefinitions, kUsage, kFailedRequests, kOosPorts };

    explicit FakeControllerModel(FakeNetwork network = {});

    // Answers every code of the message set on the given fake from now on.
    void Install(FakeController& fake);

    // Hello: bit 1 (re-read everything) on the first Hello after Restart; bit 2 (overall query
    // now) while changes are pending when overallNowOnChange is set.
    void SetHelloExtras(bool capabilities, bool setAllChangeFlags, bool alphaSizeFromSetting);
    void SetOverallNowOnChange(bool on);
    void SetReady(bool ready);  // Hello bit 0
    void Restart();             // re-read everything on the next Hello
    void SetOutcomes(FakeMaintenanceOutcomes outcomes);

    // Changes that set the matching change bits, as a controller does.
    // With a matching usage; an undefined trunk is left as it is.
    void SetTrunkStatus(int trunk, uint8_t status);
    void SetTrunkOutOfService(int trunk, bool outOfService);
    void SetTrunkDefinition(int trunk, const FakeTrunk& definition);
    void UndefineTrunk(int trunk);
    void SetMatrixName(int matrix, std::string name);
    void SetAlphas(int matrix, int kind, std::vector<std::string> alphas);
    void SetCommStatus(int matrix, uint8_t status);
    void SetQueuedRequests(int matrix, std::vector<FakeQueuedRequest> requests);
    void SetOosPort(int matrix, int port, bool outOfService);
    void SetCompatibility(int matrix, FakeCompatibility row);
    void SetCapabilities(uint8_t capabilities);
    void SetMaintenancePort(uint8_t matrix, uint16_t port);
    // Get Date and Time answers this time rather than the host's (when the network gives no
    // time of its own), so that a controller stays in step with a test's clock.
    void SetTimeSource(std::function<std::time_t()> now);

    FakeNetwork Network() const;
    size_t TrunkCount() const;
    // How many Set Date Time requests came, and the last one's six bytes.
    int SetDateTimeCount() const;
    std::array<uint8_t, 6> LastSetDateTime() const;
    // Whether any change bit is still set.
    bool HasPendingChanges() const;

    // The reply to one request, or none for a code the model does not answer.
    std::optional<FakeReply> Answer(const FakeRequest& request);

private:
    void Mark(Area area, size_t item);
    void MarkAll();
    size_t AreaSize(Area area) const;
    std::vector<uint8_t>& Bits(Area area) { return changes_[static_cast<size_t>(area)]; }
    std::vector<uint8_t> ChangeReply(uint8_t subCode) const;
    void ClearReported(const std::vector<uint8_t>& payload);
    std::vector<uint8_t> HelloByte();
    std::vector<uint8_t> Alphas(const std::vector<uint8_t>& request) const;
    std::vector<uint8_t> Definition(int trunk) const;
    std::vector<uint8_t> Inspect(int trunk) const;
    std::vector<uint8_t> Queued(int matrix) const;
    FakeReply Maintenance(const FakeRequest& request);
    const FakeMatrix* MatrixAt(int matrix) const;
    const FakeTrunk* TrunkAt(int trunk) const;

    mutable std::mutex mutex_;
    FakeNetwork network_;
    std::array<std::vector<uint8_t>, 8> changes_;  // one byte per item, by area
    bool reReadPending_ = true;
    bool changedSinceOverall_ = false;
    bool overallNowOnChange_ = true;
    bool ready_ = true;
    uint8_t helloExtras_ = 0x88;  // capabilities and set all change flags supported
    FakeMaintenanceOutcomes outcomes_;
    int exclusiveRefusalsLeft_ = 0;
    int activationInProgressLeft_ = 0;
    std::function<std::time_t()> now_;
    int setDateTimeCount_ = 0;
    std::array<uint8_t, 6> lastSetDateTime_{};
};

}  // namespace corvane::testing
