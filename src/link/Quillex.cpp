// The controller object: configuration, the poll thread and its loop, the link and the
// contact state, and the flags the user-interface thread sets and reads.
#include "link/Quillex.h"

#include "link/AlphaMessages.h"
#include "link/SerialConnection.h"
#include "model/NameTables.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {

CQuillex::CQuillex(IQuillexModel& model, const SharedSettings& settings, QuillexOptions options)
    : model_(model), settings_(settings), options_(options), clock_(*options_.clock) {}

CQuillex::~CQuillex() {
    Stop();
}

void CQuillex::SetSerialPort(const std::string& portName) {
    {
        std::lock_guard lock(configMutex_);
        serialPort_ = portName;
    }
    useSerial_ = true;
    reconnect_ = true;
}

void CQuillex::SetNetworkAddresses(const std::string& mainAddress,
                                   const std::string& partnerAddress) {
    {
        std::lock_guard lock(configMutex_);
        mainAddress_ = mainAddress;
        partnerAddress_ = partnerAddress;
    }
    useSerial_ = false;
    reconnect_ = true;
}

void CQuillex::StartPolling() {
    if (thread_.joinable()) {
        return;
    }
    exit_ = false;
    stopped_ = false;
    thread_ = std::thread([this] { ThreadProc(); });
}

void CQuillex::RequestExit() {
    {
        // Under the sleep lock, so the poll thread cannot miss the wake-up.
        std::lock_guard lock(sleepMutex_);
        exit_ = true;
    }
    wake_.notify_all();
}

void CQuillex::Stop() {
    RequestExit();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void CQuillex::RequestDisconnect() {
    disconnect_ = true;
}

void CQuillex::ThreadProc() {
    PollLoop();
    DropConnection();
    stopped_ = true;
}

bool CQuillex::Sleep(std::chrono::milliseconds duration) {
    std::unique_lock lock(sleepMutex_);
    return !wake_.wait_for(lock, duration, [this] { return exit_.load(); });
}

bool CQuillex::Elapsed(const std::optional<SteadyTime>& last, std::chrono::seconds interval) const {
    return !last || clock_.Steady() - *last >= interval;
}

void CQuillex::PollLoop() {
    helloSecond_.reset();
    lastOverall_.reset();
    lastClockCheck_.reset();
    lastCompatibility_.reset();
    while (!exit_) {
        if (!Sleep(options_.pass)) {
            continue;
        }
        if (disconnect_.exchange(false)) {
            OnContactLost();
            DropConnection();
        }
        if (reconnect_.exchange(false)) {
            OnContactLost();
            if (!Connect()) {
                continue;
            }
            SetReReadFlags();
        }
        if (!link_) {
            continue;
        }
        try {
            Pass();
        } catch (const CConnection::CDied&) {
            SetReReadFlags();
            FailRequestInProgress(requeststatus::kLinkLost);
        } catch (const CAppDied&) {
            // The loop's own test ends the thread.
        }
    }
}

void CQuillex::SetReReadFlags() {
    versionDue_ = 1;
    capabilitiesDue_ = 1;
    maintenancePortDue_ = 1;
    setAllChangeFlagsDue_ = 1;
    alphasCheckDue_ = 1;
    intercomStatusCheckDue_ = 1;
    trunkDefinitionsCheckDue_ = 1;
}

void CQuillex::Pass() {
    link_->CheckPartner();
    link_->OpenSession();
    const int64_t second =
        std::chrono::duration_cast<std::chrono::seconds>(clock_.Steady().time_since_epoch())
            .count();
    if (!helloSecond_ || second > *helloSecond_) {
        helloSecond_ = second;
        Hello();
    }
    if (!IsCommunicating()) {
        Sleep(options_.pass);
        return;
    }
    if (versionDue_.exchange(0)) {
        GetQxVersion();
    }
    if (capabilitiesDue_.exchange(0) && capabilitiesSupported_) {
        Capabilities();
    }
    if (maintenancePortDue_.exchange(0)) {
        GetMaintenancePortMessage();
    }
    if (maintenancePortRequest_.exchange(0)) {
        const int matrix = requestedMaintenanceMatrix_;
        const int port = requestedMaintenancePort_;
        if (matrix != maintenanceMatrix_ || port != maintenancePort_) {
            SetMaintenancePortSequence(matrix, port);
        }
    }
    if (setAllChangeFlagsDue_.exchange(0) && setAllChangeFlagsSupported_) {
        SendLogged(SetAllChangeFlagsRequest(), kSetAllChangeFlagsReplyName);
    }
    if (settings_.Snapshot().SyncQuillexClock &&
        Elapsed(lastClockCheck_, options_.clockCheckInterval)) {
        CheckClock();
    }
    if (requestPending_) {
        RunMaintenanceRequest();
    }
    if (overallNow_.exchange(0) != 0 || Elapsed(lastOverall_, options_.overallInterval)) {
        lastOverall_ = clock_.Steady();
        ChangeQuery(ChangeArea::kOverall);
    }
    RunAreas();
    if (periodicCompatibility_ && Elapsed(lastCompatibility_, options_.compatibilityInterval)) {
        lastCompatibility_ = clock_.Steady();
        Compatibility();
    }
}

bool CQuillex::Connect() {
    {
        std::lock_guard lock(textMutex_);
        addressesPending_ = false;
    }
    std::string port, main, partner;
    {
        std::lock_guard lock(configMutex_);
        port = serialPort_;
        main = mainAddress_;
        partner = partnerAddress_;
    }
    // The old link closes first: the new one may open the same serial device.
    link_.reset();
    hasLink_ = false;
    link_ = useSerial_ ? CreateSerialConnection(port) : CreateNetworkConnection(main, partner);
    hasLink_ = link_ != nullptr;
    return hasLink_;
}

void CQuillex::DropConnection() {
    {
        std::lock_guard lock(textMutex_);
        addressesPending_ = false;
    }
    link_.reset();
    hasLink_ = false;
}

std::unique_ptr<CConnection> CQuillex::CreateSerialConnection(const std::string& portName) {
    const std::string& device = LoadString(ids::kDeviceTypeFirst + devicetype::kQuillex);
    auto link = std::make_unique<CSerialConnection>(*this, log_, options_.serial);
    if (!link->Open(portName, options_.baudRate)) {
        Ui().PostMessageBox(InsertArgs(LoadString(ids::kFailedToOpenComPort), {device, portName}),
                            LoadString(ids::kAppCaption), mb::kOk);
        return nullptr;
    }
    return link;
}

std::unique_ptr<CConnection> CQuillex::CreateNetworkConnection(const std::string& mainAddress,
                                                               const std::string& partnerAddress) {
    static const char kUnableText[] =
        "Unable to establish a %1 network connection!\n\nThe application will continue running "
        "but be unable to control the %1.\n\nThis problem is likely the result of an invalid "
        "network address. Correcting the configured network addresses should fix the problem.";
    auto link = std::make_unique<CNetworkConnection>(*this, log_, options_.network);
    if (!link->Open(mainAddress, partnerAddress)) {
        const std::string& device = LoadString(ids::kDeviceTypeFirst + devicetype::kQuillex);
        Ui().PostMessageBox(InsertArgs(kUnableText, {device}), LoadString(ids::kAppCaption),
                            mb::kOk);
        return nullptr;
    }
    return link;
}

void CQuillex::OnContactLost() {
    if (linkState_.exchange(kLost) == kLost) {
        return;
    }
    log_.Printf(2, "Can't communicate with Quillex!");
    model_.AddAlarm(devicetype::kQuillex, 1, alarmcat::kCommunication, 0,
                    "Lost contact with Quillex", "", 0);
}

void CQuillex::OnContactRegained() {
    if (linkState_.exchange(kCommunicating) == kCommunicating) {
        return;
    }
    log_.Printf(2, "Can communicate with Quillex!");
    model_.AddAlarm(devicetype::kQuillex, 1, alarmcat::kCommunication, 1, "", "", 0);
}

void CQuillex::CheckAbort() {
    if (sequenceRunning_) {
        return;
    }
    if (exit_) {
        throw CAppDied{};
    }
    if (reconnect_ || disconnect_) {
        throw CConnection::CDied{};
    }
}

void CQuillex::SetPartnerAddresses(const std::string& mainAddress,
                                   const std::string& partnerAddress) {
    std::lock_guard lock(textMutex_);
    reportedMain_ = mainAddress;
    reportedPartner_ = partnerAddress;
    addressesPending_ = true;
}

bool CQuillex::GetPartnerAddresses(std::string& mainAddress, std::string& partnerAddress) {
    std::lock_guard lock(textMutex_);
    if (!addressesPending_) {
        return false;
    }
    mainAddress = reportedMain_;
    partnerAddress = reportedPartner_;
    addressesPending_ = false;
    return true;
}

std::string CQuillex::GetVersionString() const {
    std::lock_guard lock(textMutex_);
    return version_;
}

CAuthStat* CQuillex::GetAuthStat(int index) {
    return index >= 0 && index < kQuillexMatrices ? &authStats_[static_cast<size_t>(index)]
                                                  : nullptr;
}

void CQuillex::SetMaintenancePortRequest(int matrix, int port) {
    // 1-based in, the controller's numbers kept.
    if (matrix < 1 || matrix > kQuillexMatrices || port < 1 || port > kOosPortsPerMatrix) {
        log_.Printf(2, "Maintenance Port Request Refused: Intercom %d, Port %d", matrix, port);
        return;
    }
    requestedMaintenanceMatrix_ = matrix - 1;
    requestedMaintenancePort_ = port - 1;
    maintenancePortRequest_ = 1;
}

void CQuillex::GetMaintenancePort(int& matrix, int& port) const {
    matrix = maintenanceMatrix_ + 1;
    port = maintenancePort_ + 1;
}

bool CQuillex::HasMaintenancePort() const {
    return maintenanceMatrix_ >= 0 && maintenancePort_ >= 0;
}

bool CQuillex::IsMaintenancePortOutOfService() const {
    const int matrix = maintenanceMatrix_;
    const int port = maintenancePort_;
    if (!outOfService_ || matrix < 0 || matrix >= kQuillexMatrices || port < 0 ||
        port >= kOosPortsPerMatrix) {
        return false;
    }
    const uint8_t byte = oosMaps_[static_cast<size_t>(matrix)][static_cast<size_t>(port / 8)];
    return (byte >> (port % 8) & 1) != 0;
}

void CQuillex::FlagMatrixAlphasQuery(int matrix, int kind) {
    if (matrix < 0 || matrix >= kQuillexMatrices || !IsAlphaListKind(kind)) {
        return;
    }
    MatrixFlag(matrix, AlphaSlot(kind)) = 1;
    SweepDue(ChangeArea::kMatrixAlphas) = 1;
    QueryDue(ChangeArea::kMatrixAlphas) = 1;
}

void CQuillex::FlagMatrixCommStatQuery(int matrix) {
    if (matrix < 0 || matrix >= kQuillexMatrices) {
        return;
    }
    MatrixFlag(matrix, kCommStatSlot) = 1;
    SweepDue(ChangeArea::kMatrixCommStat) = 1;
    QueryDue(ChangeArea::kMatrixCommStat) = 1;
}

void CQuillex::FlagMatrixOosPortsQuery(int matrix) {
    if (matrix < 0 || matrix >= kQuillexMatrices) {
        return;
    }
    MatrixFlag(matrix, kOosSlot) = 1;
    SweepDue(ChangeArea::kMatrixOosPorts) = 1;
    QueryDue(ChangeArea::kMatrixOosPorts) = 1;
}

void CQuillex::FlagTrunkDefinitionsQuery(int trunk) {
    if (trunk < 0 || trunk >= kQuillexTrunks) {
        return;
    }
    trunkFlags_[static_cast<size_t>(trunk)].definitions = 1;
    SweepDue(ChangeArea::kTrunkDefinitions) = 1;
    QueryDue(ChangeArea::kTrunkDefinitions) = 1;
}

void CQuillex::FlagInspectTrunk(int trunk) {
    if (trunk < 0 || trunk >= kQuillexTrunks) {
        return;
    }
    trunkFlags_[static_cast<size_t>(trunk)].inspect = 1;
    SweepDue(ChangeArea::kTrunkUsage) = 1;
    QueryDue(ChangeArea::kTrunkUsage) = 1;
}

}  // namespace corvane
