#include "app/VorlinApp.h"

#include <QCursor>
#include <QMenu>
#include <QPalette>
#include <QWhatsThis>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/ApplicationParts.h"
#include "app/MainFrame.h"
#include "app/ShellCommands.h"
#include "document/FrameDocument.h"
#include "document/VorlinDoc.h"
#include "graphics/LayoutFileList.h"
#include "link/Quillex.h"
#include "log/DiagLogFile.h"
#include "platform/Clock.h"
#include "platform/Format.h"
#include "platform/ProfileStore.h"
#include "platform/StringTable.h"
#include "presentation/CommandLineInfoEx.h"
#include "presentation/HelpService.h"
#include "presentation/UnattendedUiBridge.h"
#include "ui/AboutDlg.h"
#include "ui/CompatibilityStatusDialog.h"
#include "ui/ControllerVersionDialog.h"
#include "ui/DeviceSearchDialog.h"
#include "ui/LogSettingsDialog.h"
#include "ui/QtUiBridge.h"
#include "ui/SignalCloser.h"
#include "ui/Splash.h"
#include "ui/XMessageBox.h"
#include "ui/preferences/ConfigPage.h"
#include "ui/preferences/PrefSheet.h"
#include "ui/views/ViewContext.h"

namespace corvane {
namespace {

constexpr int kSplashMs = 5000;

constexpr const char* kProfileKept =
    "The settings file %s could not be read.\n\nCorvane runs with the default settings and "
    "leaves the file as it is: settings changed in this run are not saved.\nCheck the file's "
    "permissions and size, then start Corvane again.";

std::vector<std::string> ArgumentsAfterProgram() {
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) {
        arguments.push_back(all[i].toStdString());
    }
    return arguments;
}

}  // namespace

CVorlinApp::CVorlinApp(int& argc, char** argv) : QApplication(argc, argv) {}

CVorlinApp::~CVorlinApp() = default;

CVorlinApp* CVorlinApp::Instance() {
    return qobject_cast<CVorlinApp*>(QCoreApplication::instance());
}

bool CVorlinApp::InitInstance(const DocumentFactory& createDocument) {
    // 1. The splash, unless the command line says "nologo".
    splash_ = std::make_unique<CSplash>(CAppResources::kSplashBitmap, kSplashMs,
                                        CSplash::kCloseOnInput, ArgumentsAfterProgram(),
                                        [this] { return mainFrame_ != nullptr; });
    processEvents();

    // 2. The shared drawing resources.
    const bool resourcesComplete = resources_.Load(palette());

    // 3. In place of starting the sockets: a peer that goes away must not end the program.
    //    SIGTERM and SIGINT close the main window.
    if (std::signal(SIGPIPE, SIG_IGN) == SIG_ERR) {
        std::fprintf(stderr, "Corvane: SIGPIPE cannot be ignored: %s\n", std::strerror(errno));
        return false;
    }
    signalCloser_ = std::make_unique<CSignalCloser>();
    std::string signalError;
    const bool signalsCaught = signalCloser_->Install(signalError);
    connect(signalCloser_.get(), &CSignalCloser::SignalReceived, this, &CVorlinApp::OnSignal);

    // 6. The profile ("Qelvo").
    Profile().Load(DefaultProfilePath());
    // 7. The saved layouts.
    const size_t layoutFilesLeftOut = EnumerateLayoutFiles();
    // 8. The diagnostic log; what went wrong before it started is logged now.
    StartDiagLog();
    logStarted_ = true;
    log_.Printf(0, "Starting %s", applicationName().toUtf8().constData());
    for (const auto& problem : Profile().TakeProblems()) {
        log_.Printf(0, "Profile: %s", problem.c_str());
    }
    if (!resourcesComplete) {
        log_.Printf(0, "Some icons or bitmaps are missing from the resources");
    }
    if (layoutFilesLeftOut > 0) {
        log_.Printf(0, "%zu layout files of %s left out: no more than %d are listed",
                    layoutFilesLeftOut, layouts_.Directory().c_str(),
                    CGraphicLayouts::kMaxLayoutIndex);
    }
    if (!signalsCaught) {
        log_.Printf(0, "SIGTERM and SIGINT end the program without closing it: %s",
                    signalError.c_str());
    }

    // 10. The main frame, and the bridge through which the core reaches it.
    mainFrame_ = std::make_unique<CMainFrame>(resources_, Profile());
    mainFrame_->PlaceOnScreen();
    mainFrame_->HelpMenu().addAction(
        tr("&About %1...").arg(QString::fromStdString(LoadString(ids::kAppCaption))), this,
        &CVorlinApp::OnAppAbout);
    AddShellCommands(
        *mainFrame_,
        {[this] { OnPreferences(); },
         [this] { ShowDiagLogDialog(mainFrame_.get(), DiagLogFile()); },
         [this] { RunControllerVersionDialog(mainFrame_.get(), Controller()); },
         [this] { OnCompatibilityStatus(); },
         [this] { return Controller() != nullptr && Controller()->IsCommunicating(); }});
    connect(mainFrame_.get(), &CMainFrame::CompatibilityStatusChanged, this, [this](bool anyState) {
        const auto* doc = dynamic_cast<const CVorlinDoc*>(document_.get());
        if (doc != nullptr) {
            OnCompatibilityStatusChanged(
                mainFrame_.get(), doc->Controller(),
                [doc](int index) { return doc->GetIntercomName(index + 1); }, anyState);
        }
    });
    CConfigPage::SetControllerSearch([](QWidget* parent, std::string& main, std::string& partner) {
        std::string name;
        return RunDeviceSearchDialog(parent, false, "", DeviceFinderOptions{}, name, main, partner);
    });
    connect(mainFrame_.get(), &CMainFrame::DocumentClosed, this, [this] {
        CloseDocument();
        quit();
    });
    bridge_ = std::make_unique<CQtUiBridge>();
    bridge_->SetBeforeBox([this] { HideSplash(); });
    bridge_->SetBoxOwner(mainFrame_.get());
    connect(mainFrame_.get(), &CMainFrame::Closing, bridge_.get(), &CQtUiBridge::DismissOpenBoxes);
    connect(bridge_.get(), &CQtUiBridge::UpdateViewsPosted, mainFrame_.get(),
            &CMainFrame::OnUpdateViews);
    connect(bridge_.get(), &CQtUiBridge::CompatibilityChangePosted, mainFrame_.get(),
            &CMainFrame::OnCompatibility);
    bridge_->Install();
    if (Profile().IsFileKept()) {
        Ui().PostMessageBox(StrFormat(kProfileKept, Profile().Path().c_str()),
                            LoadString(ids::kAppCaption), mb::kOk | mb::kIconExclamation);
    }
    const auto help = [this](uint32_t id, unsigned command) { WinHelp(id, command); };
    CVorlinDialog::SetHelpHandler(help);
    CXMessageBoxDialog::SetHelpHandler(help);

    // 11. The command line opens no file: the default is the one new document.
    document_ = createDocument(*this);
    if (document_ == nullptr || !document_->OnNewDocument()) {
        log_.Printf(0, "The document could not be created; start-up ends");
        return false;
    }
    mainFrame_->SetDocument(document_.get());
    if (auto* doc = dynamic_cast<CVorlinDoc*>(document_.get())) {
        viewContext_.reset(
            new ViewContext{*doc, settings_, colors_, Profile(), resources_, layouts_,
                            [this](ViewKind kind, int selector1, int selector2) {
                                return mainFrame_->OpenFilteredView(kind, selector1, selector2);
                            }});
        mainFrame_->SetViewContext(viewContext_.get());
    }

    // 12. The main window shown maximised.
    ShowMainWindow(*mainFrame_);
    log_.Printf(0, "Start-up complete");
    return true;
}

void CVorlinApp::ShowMainWindow(CMainFrame& frame) {
    // The titles name the program themselves ("Corvane - [Trunks]"): no display name is set,
    // which the desktop would add to every title once more.
    frame.showMaximized();
    frame.raise();
    frame.activateWindow();
}

void CVorlinApp::OnSignal(int signalNumber) {
    if (signalStop_) {
        if (!repeatedSignalLogged_) {
            log_.Printf(0, "Signal %d (%s) during the stop: the stop goes on", signalNumber,
                        strsignal(signalNumber));
            repeatedSignalLogged_ = true;
        }
        return;
    }
    signalStop_ = true;
    log_.Printf(0, "Signal %d (%s): closing the main window without asking", signalNumber,
                strsignal(signalNumber));
    // Nobody is at the window to answer what the rest of this run would ask.
    unattendedBridge_ = std::make_unique<CUnattendedUiBridge>(log_);
    SetUiBridge(unattendedBridge_.get());
    if (mainFrame_ != nullptr && mainFrame_->isVisible()) {
        mainFrame_->CloseWithoutAsking();
    } else {
        quit();
    }
}

void CVorlinApp::CloseDocument() {
    if (document_ == nullptr) {
        return;
    }
    if (mainFrame_ != nullptr) {
        mainFrame_->SetViewContext(nullptr);
    }
    viewContext_.reset();
    // The frame closes the document it holds when it closes; one that failed to start was
    // never given to the frame and is only destroyed.
    if (mainFrame_ != nullptr && mainFrame_->Document() != nullptr) {
        mainFrame_->SetDocument(nullptr);
        document_->OnCloseDocument();
    }
    document_.reset();
    log_.Printf(0, "Document closed");
}

int CVorlinApp::ExitInstance(int exitCode) {
    if (signalCloser_ != nullptr) {
        // The event loop that took the signals has ended: one now could only cut the stop
        // short.
        signalCloser_->IgnoreFromNowOn();
    }
    CloseDocument();
    CVorlinDialog::SetHelpHandler(nullptr);
    CXMessageBoxDialog::SetHelpHandler(nullptr);
    mainFrame_.reset();
    bridge_.reset();
    unattendedBridge_.reset();
    splash_.reset();
    resources_.Release();
    layouts_.Clear();
    signalCloser_.reset();
    if (logStarted_) {
        log_.Printf(0, "Stopped with exit code %d", exitCode);
        StopDiagLog();
        logStarted_ = false;
    }
    return exitCode;
}

void CVorlinApp::WinHelp(uint32_t helpId, unsigned command) {
    log_.Printf(1, "Help requested: id 0x%lx, command %u", static_cast<unsigned long>(helpId),
                command);
    corvane::WinHelp(settings_.Snapshot(), helpId, command, [](uint32_t id, unsigned) {
        // No help file is installed; the help id is what the operator can report.
        QWhatsThis::showText(QCursor::pos(), QString::fromStdString(StrFormat(
                                                 "No help topic is installed for help id 0x%lx.",
                                                 static_cast<unsigned long>(id))));
    });
}

CQuillex* CVorlinApp::Controller() const {
    const auto* doc = dynamic_cast<const CVorlinDoc*>(document_.get());
    return doc != nullptr ? doc->Controller() : nullptr;
}

void CVorlinApp::OnCompatibilityStatus() {
    const auto* doc = dynamic_cast<const CVorlinDoc*>(document_.get());
    if (doc == nullptr) {
        return;
    }
    ShowCompatibilityStatus(mainFrame_.get(), doc->Controller(),
                            [doc](int index) { return doc->GetIntercomName(index + 1); });
}

void CVorlinApp::OnPreferences() {
    RunPreferenceSheet(mainFrame_.get(), settings_, Profile(),
                       document_ != nullptr ? document_->PreferenceTarget() : nullptr);
}

void CVorlinApp::OnAppAbout() {
    CAboutDlg about(resources_, mainFrame_.get());
    about.exec();
}

void CVorlinApp::HideSplash() {
    if (splash_ != nullptr) {
        splash_->HideSplash();
    }
}

size_t CVorlinApp::EnumerateLayoutFiles() {
    return layouts_.EnumerateLayoutFiles();
}

std::unique_ptr<IFrameDocument> NewVorlinDoc(CVorlinApp& app) {
    DocumentParts parts;
    AddApplicationParts(parts, app.Colors(), &app.Layouts(), app.palette());
    return std::make_unique<CVorlinDoc>(app.Settings(), RealClock(), std::move(parts));
}

}  // namespace corvane
