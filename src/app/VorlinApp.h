#pragma once

#include <QApplication>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/GraphicLayouts.h"
#include "log/DiagLogSource.h"
#include "settings/AppSettings.h"
#include "settings/ColorSettings.h"
#include "ui/AppResources.h"

namespace corvane {

class CMainFrame;
class CQuillex;
class CQtUiBridge;
class CSignalCloser;
class CSplash;
class CUnattendedUiBridge;
class IFrameDocument;
struct ViewContext;

// The one application object: starts the program in its fixed order, holds the settings,
// the shared drawing resources and the layout names, and releases everything at exit.
class CVorlinApp : public QApplication {
    Q_OBJECT

public:
    using DocumentFactory = std::function<std::unique_ptr<IFrameDocument>(CVorlinApp&)>;

    CVorlinApp(int& argc, char** argv);
    ~CVorlinApp() override;

    // The application object, or null when the running application is another.
    static CVorlinApp* Instance();

    // Start-up; false ends the program (call ExitInstance all the same).
    bool InitInstance(const DocumentFactory& createDocument);
    // Shut-down after the event loop: closes a document still open, releases the shared
    // objects, stops the log. Returns the exit code.
    int ExitInstance(int exitCode);

    // The last step of start-up: the main window shown maximised and in front.
    static void ShowMainWindow(CMainFrame& frame);

    void WinHelp(uint32_t helpId, unsigned command);
    void OnAppAbout();
    // Command 32776: the preference sheet.
    void OnPreferences();
    // Opens or refreshes the compatibility status of the matrices.
    void OnCompatibilityStatus();
    void HideSplash();
    // The number of layout files left out of the names.
    size_t EnumerateLayoutFiles();

    SharedSettings& Settings() { return settings_; }
    ColorSettings& Colors() { return colors_; }
    const CAppResources& Resources() const { return resources_; }
    IFrameDocument* Document() const { return document_.get(); }
    CMainFrame* MainFrame() const { return mainFrame_.get(); }
    CGraphicLayouts& Layouts() { return layouts_; }

private:
    // The live document's controller object, when there is one.
    CQuillex* Controller() const;
    // The first SIGTERM or SIGINT closes without asking; one during that stop is only logged.
    void OnSignal(int signalNumber);
    void CloseDocument();

    CDiagLogSource log_{"Application", "General Application Logging", 0};
    SharedSettings settings_;
    ColorSettings colors_;
    CAppResources resources_;
    CGraphicLayouts layouts_;
    std::unique_ptr<CSplash> splash_;
    std::unique_ptr<CSignalCloser> signalCloser_;
    std::unique_ptr<CQtUiBridge> bridge_;
    // In place of the window's bridge from the first signal on.
    std::unique_ptr<CUnattendedUiBridge> unattendedBridge_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<IFrameDocument> document_;
    // What the child frames show; only with a live document.
    std::unique_ptr<ViewContext> viewContext_;
    bool logStarted_ = false;
    bool signalStop_ = false;
    bool repeatedSignalLogged_ = false;
};

// The program's one document, on the application's settings, colours and layouts.
std::unique_ptr<IFrameDocument> NewVorlinDoc(CVorlinApp& app);

}  // namespace corvane
