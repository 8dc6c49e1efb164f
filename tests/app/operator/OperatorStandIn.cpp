// The program as it is installed, with what an operator does at the window done by script for
// the tests that end it with a signal. CORVANE_OPERATOR lists the steps, done in order once the
// controller has reported every trunk they name; then the log says "Operator steps done".
//   pause-testing   Pause testing, as the trunk list's menu does.
//   queue-test:N    Enable automatic testing of trunk N and queue it for testing.
//   edit-layout     Open the default layout in the active frame and place intercom 1 in it.
#include <QTimer>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "app/VorlinApp.h"
#include "document/VorlinDoc.h"
#include "graphics/GraphicLayouts.h"
#include "log/DiagLogSource.h"
#include "presentation/ViewKind.h"
#include "ui/views/ChildFrame.h"

using namespace corvane;

namespace {

std::vector<std::string> Steps() {
    const char* text = std::getenv("CORVANE_OPERATOR");
    std::istringstream words(text != nullptr ? text : "");
    std::vector<std::string> steps;
    for (std::string step; words >> step;) {
        steps.push_back(step);
    }
    return steps;
}

int TrunkOf(const std::string& step) {
    const std::string prefix = "queue-test:";
    return step.rfind(prefix, 0) == 0 ? std::atoi(step.c_str() + prefix.size()) : 0;
}

// Whether the window and the model are far enough for every step.
bool Ready(CVorlinApp& app, CVorlinDoc& doc, const std::vector<std::string>& steps) {
    if (app.MainFrame() == nullptr || app.MainFrame()->ActiveChildFrame() == nullptr) {
        return false;
    }
    for (const std::string& step : steps) {
        const int number = TrunkOf(step);
        const CTrunkData* trunk = number != 0 ? doc.TrunkAt(number) : nullptr;
        if (number != 0 && (trunk == nullptr || trunk->flags.IsUnset())) {
            return false;
        }
    }
    return true;
}

void Run(CVorlinApp& app, CVorlinDoc& doc, const std::string& step, const CDiagLogSource& log) {
    if (step == "pause-testing") {
        doc.SetTestingPaused(true);
    } else if (const int trunk = TrunkOf(step); trunk != 0) {
        doc.SetTrunkOption(trunk, CVorlinDoc::kCmdEnableAutoTest);
        if (!doc.QueueTrunkTest(true, trunk, false, false)) {
            log.Printf(0, "Trunk %d could not be queued", trunk);
        }
    } else if (step == "edit-layout") {
        app.MainFrame()->ActiveChildFrame()->SetViewKind(ViewKind::GraphicalUsage, nullptr);
        CGraphicLayout* layout = app.Layouts().GetGraphicLayout(0);
        if (layout == nullptr || layout->NeedsLoading()) {
            log.Printf(0, "The default layout was not loaded");
            return;
        }
        layout->AddIntercom(1, {60, 60}, "MX01");
        layout->SetModified(true);
    } else {
        log.Printf(0, "Unknown step %s", step.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    CVorlinApp app(argc, argv);
    const CDiagLogSource log("Operator", "Scripted operator steps", 0);
    const bool started = app.InitInstance(NewVorlinDoc);
    QTimer poll;
    if (started) {
        const std::vector<std::string> steps = Steps();
        QObject::connect(&poll, &QTimer::timeout, [&app, &poll, &log, steps] {
            auto* doc = dynamic_cast<CVorlinDoc*>(app.Document());
            if (doc == nullptr || !Ready(app, *doc, steps)) {
                return;
            }
            poll.stop();
            for (const std::string& step : steps) {
                Run(app, *doc, step, log);
            }
            log.Printf(0, "Operator steps done");
        });
        poll.start(50);
    }
    return app.ExitInstance(started ? app.exec() : 1);
}
