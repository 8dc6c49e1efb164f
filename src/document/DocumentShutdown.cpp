// The may-close question, the close and the stop order of the three workers.
#include <cctype>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "document/DocumentWorkers.h"
#include "document/VorlinDoc.h"
#include "platform/Format.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "settings/AppSettings.h"

namespace corvane {

namespace {

constexpr const char* kOperationsPending =
    "Trunk operations are in progress!\r\n\r\nIf you exit now, some trunks may\r\nbe left in "
    "maintenance mode, and\r\nsome crosspoints may be stuck on.\r\n\r\nAre you sure you want to "
    "exit?";
constexpr const char* kLayoutChanged =
    "Graphical layout '%s' has changed.\r\nDo you want to save the changes?";

// Waits until the worker says it has stopped, with a warning in the log every few seconds,
// so that a worker stuck in a long exchange shows in the log. The caller joins it after, so
// a worker that has not said so within the wait is still never freed while it runs.
template <typename IsStopped>
void WaitUntilStopped(const CDiagLogSource& log, const char* name, IsStopped isStopped) {
    using namespace std::chrono;
    const auto start = steady_clock::now();
    auto nextWarning = start + seconds(5);
    while (!isStopped()) {
        if (steady_clock::now() - start >= seconds(45)) {
            log.Printf(0, "The %s has not stopped within 45 s: waiting for its thread to end",
                       name);
            return;
        }
        std::this_thread::sleep_for(milliseconds(20));
        if (steady_clock::now() >= nextWarning) {
            log.Printf(0, "Still waiting for the %s to stop (%lld s)", name,
                       static_cast<long long>(
                           duration_cast<seconds>(steady_clock::now() - start).count()));
            nextWarning += seconds(5);
        }
    }
}

// Waits for a worker that was asked to stop, joins its thread and only then frees it.
template <typename Worker, typename Join>
void JoinAndFree(const CDiagLogSource& log, const char* name, std::unique_ptr<Worker>& worker,
                 Join join) {
    if (worker == nullptr) {
        return;
    }
    WaitUntilStopped(log, name, [&] { return worker->IsStopped(); });
    join(*worker);
    worker.reset();
    std::string text = name;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    log.Printf(0, "%s stopped", text.c_str());
}

}  // namespace

bool CVorlinDoc::SaveModified() {
    const std::vector<std::string> changed =
        parts_.layouts != nullptr ? parts_.layouts->ChangedLayouts() : std::vector<std::string>{};
    if (unattendedClose_) {
        return SaveModifiedUnattended(changed);
    }
    const std::string caption = LoadString(ids::kAppCaption);
    if (TrunkOperationsPending()) {
        const int answer =
            Ui().MessageBox(kOperationsPending, caption, mb::kYesNo | mb::kIconQuestion);
        // A signal that came while the question was open ended it: nobody answered.
        if (unattendedClose_) {
            return SaveModifiedUnattended(changed);
        }
        if (answer != answer::kYes) {
            log_.Printf(0, "Close refused: trunk operations are in progress");
            return false;
        }
    }
    const bool autoSave = settings_.Snapshot().AutoSaveLayouts;
    for (auto name = changed.begin(); name != changed.end(); ++name) {
        if (!autoSave) {
            const int answer = Ui().MessageBox(StrFormat(kLayoutChanged, name->c_str()), caption,
                                               mb::kYesNoCancel | mb::kIconQuestion);
            if (unattendedClose_) {
                return SaveModifiedUnattended(std::vector<std::string>(name, changed.end()));
            }
            if (answer == answer::kCancel) {
                return false;
            }
            if (answer == answer::kNo) {
                continue;
            }
        }
        if (!parts_.layouts->SaveLayout(*name)) {
            log_.Printf(0, "Layout %s could not be saved", name->c_str());
        }
    }
    return true;
}

bool CVorlinDoc::SaveModifiedUnattended(const std::vector<std::string>& changedLayouts) {
    if (TrunkOperationsPending()) {
        log_.Printf(0,
                    "Closing without asking while trunk operations are in progress; left to the "
                    "controller: %s",
                    DescribePendingTrunkOperations().c_str());
    }
    for (const std::string& name : changedLayouts) {
        if (parts_.layouts->SaveLayout(name)) {
            log_.Printf(0, "Changed layout %s saved at the close", name.c_str());
        } else {
            log_.Printf(0, "Changed layout %s could not be saved at the close", name.c_str());
        }
    }
    return true;
}

void CVorlinDoc::OnCloseDocument() {
    ready_.store(false, std::memory_order_release);
    DocumentWorkers& w = *workers_;
    StopWorkers();
    if (w.database != nullptr) {
        w.database->CloseDatabase();
    }
    w.notificationPass.reset();
    w.sequencer.reset();
    w.schedule.reset();
    w.archiver.reset();
    w.writeBack.reset();
    w.database.reset();
    log_.Printf(0, "Document closed after %llu ticks", static_cast<unsigned long long>(ticks_));
}

void CVorlinDoc::StopWorkers() {
    DocumentWorkers& w = *workers_;
    // Every flag first, so that the three wind down together.
    if (w.agent != nullptr) {
        w.agent->RequestStop();
    }
    if (w.tester != nullptr) {
        w.tester->Stop();
    }
    if (w.controller != nullptr) {
        w.controller->RequestExit();
    }
    if (w.sequencer != nullptr) {
        w.sequencer->SetController(nullptr);
        w.sequencer->SetTester(nullptr);
    }
    if (w.controller != nullptr) {
        SetTrunkChecker(nullptr);
        w.checks.reset();
    }
    JoinAndFree(log_, "controller", w.controller, [](CQuillex& c) { c.Stop(); });
    JoinAndFree(log_, "test instrument", w.tester, [](CTrunkTester& t) { t.Join(); });
    if (w.agent != nullptr) {
        // The agent may go on sending for its stop grace, and no longer.
        w.agent->AwaitStop();
    }
    JoinAndFree(log_, "notify agent", w.agent, [](CNotifyAgent& a) { a.Join(); });
    // What the agent left waits in the outbox for the next start.
    w.outbox.Close();
}

}  // namespace corvane
