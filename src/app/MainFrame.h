#pragma once

#include <QMainWindow>
#include <QTimer>
#include <chrono>

#include "log/DiagLogSource.h"

class QMdiArea;
class QMenu;

namespace corvane {

class CAppResources;
class CChildFrame;
class CProfileStore;
class CVorlinStatusBar;
class IFrameDocument;
struct ViewContext;
enum class ViewKind : int;

// The multiple-document main window: the status bar with the controller, instrument and
// testing panes, and the timer that refreshes them and runs the document's supervision tick.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kToolBarId = 59392;
    static constexpr int kStatusBarId = 59393;
    static constexpr int kPaneController = 1;
    static constexpr int kPaneInstrument = 2;
    static constexpr int kPaneTesting = 3;
    // Room for a pane's icon beside its text.
    static constexpr int kIconRoom = 22;
    static constexpr const char* kBarStatePrefix = "Preferences\\ToolBars\\";

    CMainFrame(const CAppResources& resources, CProfileStore& profile,
               std::chrono::milliseconds tickInterval = std::chrono::milliseconds(100));

    // Null until the document exists; the frame never owns it.
    void SetDocument(IFrameDocument* document);
    IFrameDocument* Document() const { return document_; }
    // What the child frames show; with it the first child frame opens. Null: no child
    // frames (a document without views).
    void SetViewContext(const ViewContext* context);

    // A new child frame showing a kind with a filter of two selectors; without an active
    // child frame "Command failed." and false.
    bool OpenFilteredView(ViewKind kind, int selector1, int selector2);
    // A new child frame as the Window menu's "New Window" opens it.
    CChildFrame* NewWindow();
    CChildFrame* ActiveChildFrame() const;

    CVorlinStatusBar& StatusBar() const { return *statusBar_; }
    QMdiArea& MdiArea() const { return *mdiArea_; }
    QMenu& FileMenu() const { return *fileMenu_; }
    QMenu& ViewMenu() const { return *viewMenu_; }
    QMenu& HelpMenu() const { return *helpMenu_; }

    // 9/10 of the screen's width and height, centred.
    void PlaceOnScreen();

    // The close of a signal: nobody is at the window, so the document asks nothing (it keeps
    // what changed and logs what it leaves) and a box open now is ended without an answer;
    // a close already waiting on one of its questions goes on that way.
    void CloseWithoutAsking();

    // The controller pane shows a controller that communicates.
    bool IsControllerShownCommunicating() const { return controllerShown_ && communicating_; }

    // "WHATSNEW.HTM" in the program's own folder.
    static QString ReleaseNotesPath();

public slots:
    void OnTimer();
    void OnUpdateViews(quint32 hint);
    void OnCompatibility();
    void OnReleaseNotes();

signals:
    // A close begins: what is shown without waiting for an answer goes first.
    void Closing();
    // The document has been closed and the frame is closing: the program may end.
    void DocumentClosed();
    // A matrix's compatibility status changed; anyState says whether any intercom has one.
    void CompatibilityStatusChanged(bool anyState);
    // The controller pane now shows the controller communicating, or not.
    void ControllerPaneChanged(bool communicating);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Shift+F1 over a status bar or info bar: the help of its pane, whatever has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    // A menu item of a command that the active child frame's panes handle.
    QAction* AddRoutedCommand(QMenu& menu, int id, const QString& text,
                              const QKeySequence& shortcut = {}, bool checkable = false);
    void UpdateRoutedCommands(QMenu& menu);
    CChildFrame* CreateChildFrame();
    void CloseChildFrames();
    void LoadBarState();
    void SaveBarState();
    void SetPaneTextWithIcon(int index, const QString& text);
    // Ends the menu or box open over the windows, if any, and closes again once its event
    // loop has returned; false when none is open.
    bool CloseAfterNestedLoops();
    // Ends the menu or box open over the windows; false when none is open.
    bool EndNestedLoops();
    void RetryClose(int loopLevel, int triesLeft);

    const CAppResources& resources_;
    CProfileStore& profile_;
    CDiagLogSource log_{"MainFrame", "Main Window", 0};
    IFrameDocument* document_ = nullptr;
    QMdiArea* mdiArea_;
    CVorlinStatusBar* statusBar_;
    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    const ViewContext* views_ = nullptr;
    QTimer timer_;
    bool communicating_ = true;
    bool controllerShown_ = false;
    QString instrumentText_;
    bool instrumentConnected_ = true;
    bool firstPass_ = true;
    bool closePending_ = false;
    // The document's may-close question is running.
    bool asking_ = false;
    bool unattended_ = false;
};

}  // namespace corvane
