#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "link/AuthStat.h"
#include "link/ChangeQueryMessages.h"
#include "link/Connection.h"
#include "link/ConnectionOwner.h"
#include "link/MaintenanceController.h"
#include "link/MaintenanceMessages.h"
#include "link/MaintenanceRequest.h"
#include "link/NetworkConnection.h"
#include "link/QuillexMessageCode.h"
#include "link/QuillexRequest.h"
#include "link/SerialPort.h"
#include "log/DiagLogSource.h"
#include "model/QuillexModel.h"
#include "model/TrunkChecker.h"
#include "platform/Clock.h"

namespace corvane {

class SharedSettings;

// Where the controller object's times and links come from; tests shorten them.
struct QuillexOptions {
    // Intervals (steady) and dates (wall). The links time their replies on the real clock.
    const IClock* clock = &RealClock();
    NetworkLinkSettings network;
    SerialPortTimeouts serial;
    int baudRate = 38400;
    std::chrono::milliseconds pass{100};
    std::chrono::seconds overallInterval{300};
    std::chrono::seconds clockCheckInterval{900};
    std::chrono::seconds compatibilityInterval{60};
    std::chrono::seconds requestTimeout{16};
    // A controller that keeps refusing exclusive control, or keeps activating, is asked again
    // until the request's time-out; the tries stop at once when the object is asked to stop.
    std::chrono::milliseconds exclusiveControlRetry{250};
    std::chrono::milliseconds activationPoll{100};
};

// The program's one controller object: its poll thread owns the link to the Quillex, sends a
// Hello every new second, reads what the controller reports as changed into the model, runs
// the queued maintenance request and keeps the matrices' compatibility status. The
// user-interface thread sets and reads its flags; everything they share is atomic or under a
// short lock of its own. Numbers are the controller's (0-based) unless said otherwise.
class CQuillex final : public IConnectionOwner,
                       public ITrunkChecker,
                       public IMaintenanceController {
public:
    static constexpr int kMatrixFlags = 12;  // queued requests, alpha kinds 0-6 and 8, comm
                                             // status, names, out-of-service ports

    // The model and the settings must outlive the object.
    CQuillex(IQuillexModel& model, const SharedSettings& settings, QuillexOptions options = {});
    // Stops the poll thread and waits for it.
    ~CQuillex();
    CQuillex(const CQuillex&) = delete;
    CQuillex& operator=(const CQuillex&) = delete;

    // --- Configuration and life (user-interface thread). ---
    void SetSerialPort(const std::string& portName);
    void SetNetworkAddresses(const std::string& mainAddress, const std::string& partnerAddress);
    void StartPolling();
    void RequestExit();
    // Asks the poll thread to end and joins it.
    void Stop();
    // The controller-stopped flag: set until the poll thread runs and again once it has ended.
    bool IsStopped() const { return stopped_.load(); }
    void RequestDisconnect();
    bool IsDisconnected() const { return !hasLink_.load() && !disconnect_.load(); }
    bool IsCommunicating() const override { return linkState_.load() == kCommunicating; }
    bool HasConnection() const { return hasLink_.load(); }

    // --- The maintenance port (1-based where said). ---
    // Asks for the port through which the test instrument reaches the matrices (1-based).
    void SetMaintenancePortRequest(int matrix, int port);
    // The known port plus 1 (0 for none).
    void GetMaintenancePort(int& matrix, int& port) const override;
    bool HasMaintenancePort() const override;
    bool IsMaintenancePortOutOfService() const override;
    bool IsMaintenancePortReported() const { return maintenancePortReported_.load(); }
    void SetMaintenancePortReported(bool on) { maintenancePortReported_ = on; }
    bool IsMaintenancePortSet() const { return maintenancePortSet_.load(); }
    void SetMaintenancePortSet(bool on) { maintenancePortSet_ = on; }
    // A Set Maintenance Port sequence ended before the controller answered the Set: it kept
    // the port it had. Marked before that port is read again.
    bool IsMaintenancePortGivenUp() const { return maintenancePortGivenUp_.load(); }
    void SetMaintenancePortGivenUp(bool on) { maintenancePortGivenUp_ = on; }

    // --- Markers the document's database checks read and clear. ---
    bool IsAlphasCheckDue() const { return alphasCheckDue_.load(); }
    void SetAlphasCheckDue(bool on) { alphasCheckDue_ = on; }
    bool IsIntercomStatusCheckDue() const { return intercomStatusCheckDue_.load(); }
    void SetIntercomStatusCheckDue(bool on) { intercomStatusCheckDue_ = on; }
    bool IsTrunkDefinitionsCheckDue() const { return trunkDefinitionsCheckDue_.load(); }
    void SetTrunkDefinitionsCheckDue(bool on) { trunkDefinitionsCheckDue_ = on; }

    // --- Queries to run on a later pass; numbers outside the controller's range do nothing. ---
    void FlagMatrixAlphasQuery(int matrix, int kind);  // kinds 0-6 and 8
    void FlagMatrixCommStatQuery(int matrix);
    void FlagMatrixOosPortsQuery(int matrix);
    void FlagTrunkDefinitionsQuery(int trunk);
    // Also from the poll thread, inside the model's trunk lock: takes no lock.
    void FlagInspectTrunk(int trunk) override;

    // --- What the controller reported. ---
    bool HasNetworkInfoCapability() const { return networkInfo_.load(); }
    bool HasOutOfServiceCapability() const override { return outOfService_.load(); }
    bool HasExtendedIntercomCapability() const { return extendedIntercoms_.load(); }
    std::string GetVersionString() const;
    // A new pair of addresses from the network link: copies it once, true.
    bool GetPartnerAddresses(std::string& mainAddress, std::string& partnerAddress);
    // The compatibility status of intercom index 0-254; none for any other index.
    CAuthStat* GetAuthStat(int index);

    // --- Maintenance requests (user-interface thread): each replaces the one before. ---
    void PutTrunkInMaintenance(int trunk, bool force) override;
    void RestoreTrunkToNormal(int trunk) override;
    void LoopBackMaintenancePort() override;
    void LoopBackTrunkPort(int matrix, int trunk) override;
    void CloseMaintenanceTrunkXpnt(int trunk) override;
    void CloseTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) override;
    void ClearMaintenancePortLoop() override;
    void ClearTrunkPortLoop(int matrix, int trunk) override;
    void ClearMaintenanceTrunkXpnt(int trunk) override;
    void ClearTrunkTrunkXpnt(int matrix, int trunk, int otherTrunk) override;
    // The status of the latest request (requeststatus::). One still in progress after the
    // time-out is cancelled and reported as timed out.
    int GetRequestStatus() override;

    // --- Called by the links (poll thread). ---
    void CheckAbort() override;
    void OnContactLost() override;
    void OnContactRegained() override;
    void SetPartnerAddresses(const std::string& mainAddress,
                             const std::string& partnerAddress) override;

    const CDiagLogSource& Log() const { return log_; }

private:
    static constexpr int kNeither = 0, kCommunicating = 1, kLost = 2;
    // Matrix flag slots.
    static constexpr int kQueuedSlot = 0, kCommStatSlot = 9, kNamesSlot = 10, kOosSlot = 11;
    using Flag = std::atomic<uint8_t>;

    // Keeps CheckAbort quiet while a maintenance sequence runs, also when it throws.
    class SequenceGuard;

    void ThreadProc();
    void PollLoop();
    void Pass();
    bool Connect();
    void DropConnection();
    std::unique_ptr<CConnection> CreateSerialConnection(const std::string& portName);
    std::unique_ptr<CConnection> CreateNetworkConnection(const std::string& mainAddress,
                                                         const std::string& partnerAddress);
    void SetReReadFlags();
    bool Sleep(std::chrono::milliseconds duration);
    bool Elapsed(const std::optional<SteadyTime>& last, std::chrono::seconds interval) const;

    // Messages (QuillexMessages.cpp).
    void Send(const QuillexRequest& request, const std::function<bool()>& handler);
    // A reply that is logged and accepted as it is.
    void SendLogged(const QuillexRequest& request, const char* replyName);
    ReplyBytes Reply() const;
    void Hello();
    bool OnHelloReply();
    void GetQxVersion();
    void Capabilities();
    void GetMaintenancePortMessage();
    void CheckClock();
    void Compatibility();
    void ChangeQuery(ChangeArea area);
    bool OnChangeReply(ChangeArea area);

    // Sweeps (QuillexSweeps.cpp).
    void RunAreas();
    void Sweep(ChangeArea area);
    void RequestAlphas(int matrix, int kind);
    void SweepNames(int matrix);
    void TrunkStatus(int trunk);

    // Maintenance (QuillexMaintenance.cpp).
    void Queue(MaintenanceRequest request, const std::string& line);
    void QueueWithPort(MaintenanceRequest request, const std::string& line);
    void RunMaintenanceRequest();
    int RunSequence(const MaintenanceRequest& request);
    int Crosspoints(const MaintenanceRequest& request, bool close);
    // Both ask again while inTime holds.
    bool RequestExclusiveControl(const std::function<bool()>& inTime);
    bool RequestActivation(const std::function<bool()>& inTime);
    // The request is the latest and still in progress.
    bool IsLiveRequest(uint32_t id);
    void SetMaintenancePortSequence(int matrix, int port);
    void SetRequestStatus(uint32_t id, int status);
    void FailRequestInProgress(int status);

    Flag& MatrixFlag(int matrix, int slot) {
        return matrixFlags_[static_cast<size_t>(matrix)][static_cast<size_t>(slot)];
    }
    static int AlphaSlot(int kind) { return kind == 8 ? 8 : kind + 1; }
    Flag& QueryDue(ChangeArea a) { return queryDue_[static_cast<size_t>(a)]; }
    Flag& SweepDue(ChangeArea a) { return sweepDue_[static_cast<size_t>(a)]; }

    IQuillexModel& model_;
    const SharedSettings& settings_;
    const QuillexOptions options_;
    const IClock& clock_;
    CDiagLogSource log_{"Quillex", "Quillex log", 0};

    // Control flags.
    std::atomic<bool> exit_{false};
    std::atomic<bool> sequenceRunning_{false};
    std::atomic<bool> reconnect_{false};
    std::atomic<bool> useSerial_{true};
    std::atomic<bool> disconnect_{false};
    std::atomic<bool> stopped_{true};
    std::atomic<int> linkState_{kNeither};

    // The link to build, written by the user-interface thread.
    mutable std::mutex configMutex_;
    std::string serialPort_;
    std::string mainAddress_;
    std::string partnerAddress_;

    // Poll thread only.
    std::unique_ptr<CConnection> link_;
    std::atomic<bool> hasLink_{false};
    std::thread thread_;
    std::mutex sleepMutex_;
    std::condition_variable wake_;
    std::optional<int64_t> helloSecond_;
    std::optional<SteadyTime> lastOverall_;
    std::optional<SteadyTime> lastClockCheck_;
    std::optional<SteadyTime> lastCompatibility_;
    std::array<ChangeMap, kChangeAreaCount> lastChange_;
    int alphaSize_ = 4;
    int alphasPerPage_ = 128;

    // One-shot queries.
    Flag versionDue_{1};
    Flag capabilitiesDue_{1};
    Flag maintenancePortDue_{1};
    Flag maintenancePortRequest_{0};
    Flag setAllChangeFlagsDue_{1};
    std::atomic<int> requestedMaintenanceMatrix_{-1};
    std::atomic<int> requestedMaintenancePort_{-1};

    std::array<Flag, kChangeAreaCount> queryDue_{};
    std::array<Flag, kChangeAreaCount> sweepDue_{};
    Flag overallNow_{0};
    std::array<std::array<Flag, kMatrixFlags>, kQuillexMatrices> matrixFlags_{};
    struct TrunkFlags {
        Flag definitions{0};
        Flag status{0};
        Flag inspect{0};
    };
    std::array<TrunkFlags, kQuillexTrunks> trunkFlags_{};

    // Hello and Capabilities results.
    std::atomic<bool> capabilitiesSupported_{false};
    std::atomic<bool> setAllChangeFlagsSupported_{false};
    std::atomic<bool> alphaSizeFromSetting_{false};
    std::atomic<bool> networkInfo_{false};
    std::atomic<bool> periodicCompatibility_{false};
    std::atomic<bool> outOfService_{false};
    std::atomic<bool> extendedIntercoms_{false};

    std::atomic<int> maintenanceMatrix_{-1};
    std::atomic<int> maintenancePort_{-1};
    Flag maintenancePortReported_{0};
    Flag maintenancePortSet_{0};
    Flag maintenancePortGivenUp_{0};
    Flag alphasCheckDue_{1};
    Flag intercomStatusCheckDue_{1};
    Flag trunkDefinitionsCheckDue_{1};

    mutable std::mutex textMutex_;
    std::string version_;
    std::string reportedMain_;
    std::string reportedPartner_;
    bool addressesPending_ = false;

    // The latest maintenance request and its status, under a short lock.
    std::mutex requestMutex_;
    MaintenanceRequest request_;
    int requestStatus_ = requeststatus::kTimedOut;
    uint32_t nextRequestId_ = 1;
    std::atomic<bool> requestPending_{false};

    std::array<CAuthStat, kQuillexMatrices> authStats_;
    std::array<std::array<std::atomic<uint8_t>, kOosMapBytes>, kQuillexMatrices> oosMaps_{};
};

}  // namespace corvane
