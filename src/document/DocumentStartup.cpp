// The new-document step: settings, folders, database, model options and the three workers,
// in this order; the instrument's factory.
#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"
#include "platform/FileSystem.h"
#include "platform/ProfileStore.h"
#include "shell/AppSettings.h"
#include "shell/ColorSettings.h"

namespace corvane {

namespace {

CProfileStore& ProfileOf(const DocumentParts& parts) {
    return parts.profile != nullptr ? *parts.profile : Profile();
}

}  // namespace

bool CVorlinDoc::OnNewDocument() {
    if (workers_->database != nullptr) {
        log_.Printf(0, "The document is already open");
        return false;
    }
    CProfileStore& profile = ProfileOf(parts_);
    // Load and save at once, so that every key exists with its default after the first start.
    for (const auto& problem : settings_.Load(profile)) {
        log_.Printf(0, "Settings: %s", problem.c_str());
    }
    if (parts_.colors != nullptr) {
        parts_.colors->Load(profile);
    }
    SaveSettings();

    for (const char* folder : kDocumentFolders) {
        std::string error;
        if (!MakeDirectories(folder, 0755, error)) {
            log_.Printf(0, "Could not create %s: %s", folder, error.c_str());
        }
    }

    DocumentWorkers& w = *workers_;
    w.database = parts_.createDatabase ? parts_.createDatabase(*this)
                                       : std::make_unique<CVorlinDatabase>(
                                             profile, settings_, clock_, parts_.databasePath);
    if (w.database == nullptr || !w.database->OpenDatabase()) {
        log_.Printf(0, "Start-up ended: the database %s could not be opened",
                    parts_.databasePath.c_str());
        return false;
    }
    w.database->CheckTrunkTestStates();
    w.database->ReadIntercomOptions(*this);
    w.database->ReadTrunkOptions(*this);
    w.writeBack = std::make_unique<CModelWriteBack>(*this, *w.database, settings_);
    w.notificationPass =
        std::make_unique<CNotificationPass>(*this, *w.database, w.mailQueue, settings_, clock_);

    if (!StartWorkers()) {
        return false;
    }
    ready_.store(true, std::memory_order_release);
    log_.Printf(0, "Document ready");
    return true;
}

bool CVorlinDoc::StartWorkers() {
    DocumentWorkers& w = *workers_;
    w.controller = parts_.createController ? parts_.createController(*this)
                                           : std::make_unique<CQuillex>(*this, settings_);
    if (w.controller == nullptr) {
        log_.Printf(0, "Start-up ended: the controller object could not be created");
        return false;
    }
    const AppSettings s = settings_.Snapshot();
    if (s.QuillexConnectionType == 1) {
        log_.Printf(0, "Controller on the network: %s, partner %s", s.QuillexMainIPAddress.c_str(),
                    s.QuillexPartnerIPAddress.c_str());
        w.controller->SetNetworkAddresses(s.QuillexMainIPAddress, s.QuillexPartnerIPAddress);
    } else {
        log_.Printf(0, "Controller on the serial port %s", s.QuillexSerialPort.c_str());
        w.controller->SetSerialPort(s.QuillexSerialPort);
    }
    w.checks = std::make_unique<ControllerChecks>(*w.controller);
    SetTrunkChecker(w.controller.get());
    w.controller->StartPolling();

    w.tester = CreateTester();
    if (w.tester == nullptr) {
        log_.Printf(0, "Start-up ended: the test instrument could not be created");
        return false;
    }
    w.tester->Start();

    w.agent = parts_.createAgent ? parts_.createAgent(*this, w.mailQueue)
                                 : std::make_unique<CNotifyAgent>(w.mailQueue, settings_, clock_);
    if (w.agent == nullptr) {
        log_.Printf(0, "Start-up ended: the notify agent could not be created");
        return false;
    }
    w.agent->Start();
    return true;
}

std::unique_ptr<CTrunkTester> CVorlinDoc::CreateTester() {
    const int type = GetAnalyzerType(settings_.Snapshot().AudioAnalyzer);
    if (parts_.createTester) {
        return parts_.createTester(*this, type);
    }
    return std::make_unique<CDummyTester>();
}

bool CVorlinDoc::ReplaceTester() {
    DocumentWorkers& w = *workers_;
    if (w.tester != nullptr) {
        w.tester->Stop();
        w.tester->Join();
        w.tester.reset();
    }
    w.tester = CreateTester();
    if (w.tester == nullptr) {
        log_.Printf(0, "The test instrument could not be created");
        return false;
    }
    w.tester->Start();
    return true;
}

void CVorlinDoc::SetIntercomOptions(int intercom, bool alarms, bool notify,
                                    const std::string& comState) {
    auto lock = LockIntercoms();
    CIntercomData& data = intercoms_[intercom];
    data.SetAlarmsEnabled(alarms);
    data.SetNotificationsEnabled(notify);
    data.commStatus_ = comState;
}

void CVorlinDoc::SetTrunkOptions(int trunk, bool autoTest, bool alarms, bool notify) {
    CTrunkData& data = trunks_[trunk];
    data.SetAutoTestEnabled(autoTest);
    data.SetAlarmsEnabled(alarms);
    data.SetNotificationsEnabled(notify);
}

void CVorlinDoc::SaveSettings() {
    CProfileStore& profile = ProfileOf(parts_);
    const bool saved =
        settings_.Save(profile) && (parts_.colors == nullptr || parts_.colors->Save(profile));
    if (!saved) {
        log_.Printf(0, "Settings could not be saved to %s", profile.Path().c_str());
    }
}

}  // namespace corvane
