// The two tick steps that keep the settings in line with what the controller reports: its
// pair of addresses and the maintenance port through which the instrument reaches the
// matrices.
#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {

namespace {

constexpr const char* kInvalidPort =
    "Invalid Intercom/Port for %s connection.\r\nRestoring previous configuration.";
constexpr const char* kPortKept =
    "The Quillex did not take the new Intercom/Port for the %s connection and keeps its "
    "own:\r\n\r\n\tIntercom:\t%s\r\n\tPort:\t%s\r\n\r\nThe configuration now holds the "
    "Quillex's Intercom/Port.";
constexpr const char* kNoPortOnController =
    "No Intercom/Port configured for the %s connection on the Quillex. Configure the Quillex "
    "to use the following saved settings?\r\n\r\n\tIntercom:\t%s\r\n\tPort:\t%s [%s]\r\n";

}  // namespace

void CVorlinDoc::UpdateControllerAddresses() {
    CQuillex* controller = workers_->controller.get();
    std::string mainAddress;
    std::string partnerAddress;
    if (controller == nullptr || !controller->GetPartnerAddresses(mainAddress, partnerAddress)) {
        return;
    }
    log_.Printf(1, "Controller addresses now %s and %s", mainAddress.c_str(),
                partnerAddress.c_str());
    settings_.Modify([&](AppSettings& s) {
        s.QuillexMainIPAddress = mainAddress;
        s.QuillexPartnerIPAddress = partnerAddress;
    });
    SaveSettings();
}

void CVorlinDoc::CheckControllerConnection() {
    CQuillex* controller = workers_->controller.get();
    if (controller == nullptr || !controller->IsMaintenancePortReported()) {
        return;
    }
    controller->SetMaintenancePortReported(false);
    const bool givenUp = controller->IsMaintenancePortGivenUp();
    controller->SetMaintenancePortGivenUp(false);
    int intercom = 0;
    int port = 0;
    controller->GetMaintenancePort(intercom, port);
    const AppSettings s = settings_.Snapshot();
    const bool same = intercom == s.TonexaIntercom && port == s.TonexaPort;

    if (controller->IsMaintenancePortSet()) {
        // The answer to a port we asked for: a different one means the controller refused it.
        controller->SetMaintenancePortSet(false);
        if (same) {
            return;
        }
        Ui().PostMessageBox(StrFormat(kInvalidPort, GetAnalyzerDisplayName().c_str()),
                            LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
        StoreMaintenancePort(intercom, port);
        return;
    }
    if (same) {
        return;
    }
    if (givenUp) {
        // The operator's port never reached the controller: say once which one it kept, after
        // the tick rather than inside it.
        Ui().PostMessageBox(StrFormat(kPortKept, GetAnalyzerDisplayName().c_str(),
                                      intercom != 0 ? GetIntercomName(intercom).c_str() : "none",
                                      port != 0 ? GetAlphaDisplayName(0, port).c_str() : "none"),
                            LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
        StoreMaintenancePort(intercom, port);
        return;
    }
    if ((intercom != 0 && port != 0) || s.TonexaIntercom == 0 || s.TonexaPort == 0) {
        StoreMaintenancePort(intercom, port);
        return;
    }
    OfferMaintenancePort(intercom, port);
}

void CVorlinDoc::OfferMaintenancePort(int intercom, int port) {
    if (portQuestionOpen_) {
        return;
    }
    const AppSettings s = settings_.Snapshot();
    const std::string portName = GetAlphaDisplayName(0, s.TonexaPort);
    std::string alpha;
    if (CVorlinDatabase* db = workers_->database.get(); db != nullptr && db->IsOpen()) {
        alpha = db->GetAlphaText(s.TonexaIntercom, 0, s.TonexaPort);
    }
    if (alpha.empty()) {
        alpha = portName;
    }
    const std::string text =
        StrFormat(kNoPortOnController, GetAnalyzerDisplayName().c_str(),
                  GetIntercomName(s.TonexaIntercom).c_str(), alpha.c_str(), portName.c_str());
    // The tick goes on while the operator thinks; the answer is for the pairs of this moment.
    portQuestionOpen_ = true;
    Ui().PostQuestion(
        text, LoadString(ids::kAppCaption), mb::kYesNo | mb::kIconExclamation,
        [this, alive = std::weak_ptr<int>(alive_), reported = std::pair(intercom, port),
         saved = std::pair(s.TonexaIntercom, s.TonexaPort)](int answer) {
            if (!alive.expired()) {
                portQuestionOpen_ = false;
                TakeMaintenancePortAnswer(answer, reported, saved);
            }
        });
}

void CVorlinDoc::TakeMaintenancePortAnswer(int answer, std::pair<int, int> reported,
                                           std::pair<int, int> saved) {
    if (answer != answer::kYes) {
        StoreMaintenancePort(reported.first, reported.second);
        return;
    }
    CQuillex* controller = workers_->controller.get();
    if (controller == nullptr) {
        return;
    }
    log_.Printf(0, "Asking the controller for maintenance port %d/%d", saved.first, saved.second);
    controller->SetMaintenancePortRequest(saved.first, saved.second);
    SetLoopbackDue(true);
}

void CVorlinDoc::StoreMaintenancePort(int intercom, int port) {
    log_.Printf(0, "Maintenance port from the controller: intercom %d, port %d", intercom, port);
    settings_.Modify([&](AppSettings& s) {
        s.TonexaIntercom = intercom;
        s.TonexaPort = port;
    });
    SaveSettings();
}

}  // namespace corvane
