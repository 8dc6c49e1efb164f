// The new-document step: settings, folders, database, model options and the three workers,
// in this order; the instrument's factory.
#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"
#include "platform/FileSystem.h"
#include "platform/ProfileStore.h"
#include "settings/AppSettings.h"
#include "settings/ColorSettings.h"
#include "testing/RT2M.h"
#include "testing/Tonexa.h"

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
        parts_.colors->Load(profile, parts_.windowColor);
    }
    SaveSettings();

    for (const char* folder : kDocumentFolders) {
        std::string error;
        if (!MakeDirectories(folder, 0755, error)) {
            log_.Printf(0, "Could not create %s: %s", folder, error.c_str());
        }
    }

    DocumentWorkers& w = *workers_;
    w.database = parts_.createDatabase
                     ? parts_.createDatabase(*this)
                     : std::make_unique<CVorlinDatabase>(profile, settings_, clock_, DbaseLog(),
                                                         parts_.databasePath);
    if (w.database == nullptr || !w.database->OpenDatabase()) {
        log_.Printf(0, "Start-up ended: the database %s could not be opened",
                    parts_.databasePath.c_str());
        return false;
    }
    w.database->CheckTrunkTestStates();
    w.database->ReadIntercomOptions(*this);
    w.database->ReadTrunkOptions(*this);
    w.writeBack = std::make_unique<CModelWriteBack>(*this, *w.database, settings_);
    w.archiver = std::make_unique<CDatabaseArchiver>(*w.database, settings_, clock_);
    w.schedule = std::make_unique<CAutoTestSchedule>(*this, *w.database, settings_, clock_);
    w.sequencer = std::make_unique<CTrunkTestSequencer>(*this, *w.database, settings_, clock_);
    w.sequencer->SetLoopbackDue(loopbackDue_);
    w.notificationPass =
        std::make_unique<CNotificationPass>(*this, *w.database, w.mailQueue, settings_, clock_);
    std::vector<OutboxEntry> keptMail = w.outbox.Open(CMailOutbox::PathBeside(parts_.databasePath));
    w.mailQueue.SetOutbox(&w.outbox);
    w.notificationPass->ConfirmKeptMessages(w.outbox, keptMail);

    if (!StartWorkers(std::move(keptMail))) {
        return false;
    }
    ready_.store(true, std::memory_order_release);
    log_.Printf(0, "Document ready");
    return true;
}

bool CVorlinDoc::StartWorkers(std::vector<OutboxEntry>&& keptMail) {
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
    if (w.sequencer != nullptr) {
        w.sequencer->SetController(w.controller.get());
    }
    w.controller->StartPolling();

    if (!StartTester()) {
        log_.Printf(0, "Start-up ended: no test instrument");
        return false;
    }

    w.agent = parts_.createAgent ? parts_.createAgent(*this, w.mailQueue)
                                 : std::make_unique<CNotifyAgent>(w.mailQueue, settings_, clock_);
    if (w.agent == nullptr) {
        log_.Printf(0, "Start-up ended: the notify agent could not be created");
        return false;
    }
    w.agent->Resume(std::move(keptMail));
    w.agent->Start();
    return true;
}

std::unique_ptr<CTrunkTester> CVorlinDoc::CreateTester() {
    const int type = GetAnalyzerType(settings_.Snapshot().AudioAnalyzer);
    if (parts_.createTester) {
        return parts_.createTester(*this, type);
    }
    // An instrument that lost contact or was reset may have been moved: measure its port's
    // loop-back again.
    auto loopbackDue = [this] { SetLoopbackDue(true); };
    if (type == analyzer::kTonexa) {
        TonexaOptions options;
        options.loopbackDue = loopbackDue;
        return std::make_unique<CTonexa>(*this, settings_, std::move(options));
    }
    if (type == analyzer::kRT2M) {
        RT2MOptions options;
        options.loopbackDue = loopbackDue;
        return std::make_unique<CRT2M>(*this, settings_, std::move(options));
    }
    return std::make_unique<CDummyTester>();
}

void CVorlinDoc::DeleteTester() {
    DocumentWorkers& w = *workers_;
    if (w.tester == nullptr) {
        return;
    }
    if (w.sequencer != nullptr) {
        w.sequencer->SetTester(nullptr);
    }
    w.tester->Stop();
    w.tester->Join();
    w.tester.reset();
}

bool CVorlinDoc::StartTester() {
    DocumentWorkers& w = *workers_;
    if (w.tester != nullptr) {
        return true;
    }
    w.tester = CreateTester();
    if (w.tester == nullptr) {
        log_.Printf(0, "The test instrument could not be created");
        return false;
    }
    w.tester->Start();
    if (w.sequencer != nullptr) {
        w.sequencer->SetTester(w.tester.get());
    }
    return true;
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
