#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include "document/FrameDocument.h"
#include "platform/StringTable.h"
#include "platform/UiBridge.h"
#include "presentation/BarState.h"
#include "presentation/ViewId.h"
#include "ui/AppResources.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/ViewContext.h"

namespace corvane {
namespace {

// A box with an event loop of its own inside the tick would deliver further timer events;
// they must not start a second tick.
bool tickRunning = false;

// How long a close waits for a menu's or box's event loop to return.
constexpr int kCloseRetries = 10;
constexpr int kCloseRetryMs = 20;

constexpr int kIconConnected = 114;
constexpr int kIconNotConnected = 113;
constexpr int kIconTestingIdle = 115;
constexpr int kIconTestingPaused = 116;
constexpr int kIconTestingInProgress = 117;

}  // namespace

CMainFrame::CMainFrame(const CAppResources& resources, CProfileStore& profile,
                       std::chrono::milliseconds tickInterval)
    : resources_(resources),
      profile_(profile),
      mdiArea_(new QMdiArea(this)),
      statusBar_(new CVorlinStatusBar(kStatusBarId, this)),
      instrumentText_(QString::fromStdString(LoadString(ids::kPaneAudioAnalyzer))) {
    setWindowTitle(QString::fromStdString(LoadString(ids::kAppCaption)));
    setWindowIcon(resources.Icon(CAppResources::kProgramIcon));
    setCentralWidget(mdiArea_);
    setStatusBar(statusBar_);
    statusBar_->SetIndicators({0, ids::kPaneQuillex, ids::kPaneAudioAnalyzer, ids::kPaneTesting});
    for (int pane : {kPaneController, kPaneInstrument, kPaneTesting}) {
        statusBar_->SetPaneWidth(pane, statusBar_->PaneWidth(pane) + kIconRoom);
    }
    CreateMenus();
    LoadBarState();
    connect(&timer_, &QTimer::timeout, this, &CMainFrame::OnTimer);
    timer_.start(tickInterval);
    qApp->installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F1 && (key->modifiers() & Qt::ShiftModifier) != 0 &&
            widget != nullptr && widget->window() == this &&
            CVorlinStatusBar::RequestHelpUnderCursor(this)) {
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::CreateMenus() {
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    AddRoutedCommand(*fileMenu_, cmd::kLayoutSave, tr("&Save Layout"), QKeySequence::Save);
    AddRoutedCommand(*fileMenu_, cmd::kLayoutSaveAs, tr("Save Layout &As..."));
    fileMenu_->addSeparator();
    fileMenu_->addAction(tr("E&xit"), this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    AddRoutedCommand(*edit, cmd::kEditUndo, tr("&Undo Changes"), QKeySequence::Undo);
    edit->addSeparator();
    AddRoutedCommand(*edit, cmd::kEditSelectAll, tr("Select &All"), QKeySequence::SelectAll);
    AddRoutedCommand(*edit, cmd::kAllowChanges, tr("Allow &Changes"), {}, true);

    viewMenu_ = menuBar()->addMenu(tr("&View"));
    QAction* bar = viewMenu_->addAction(tr("&Status Bar"));
    bar->setCheckable(true);
    connect(bar, &QAction::toggled, statusBar_, &QWidget::setVisible);
    connect(viewMenu_, &QMenu::aboutToShow, bar,
            [this, bar] { bar->setChecked(statusBar_->isVisible()); });
    AddRoutedCommand(*viewMenu_, cmd::kInfoBar1, tr("Info Bar &1"), {}, true);
    AddRoutedCommand(*viewMenu_, cmd::kInfoBar2, tr("Info Bar &2"), {}, true);

    QMenu* window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("&New Window"), this, &CMainFrame::NewWindow);
    AddRoutedCommand(*window, cmd::kCloseWindow, tr("&Close Window"));
    window->addSeparator();
    window->addAction(tr("&Cascade"), mdiArea_, &QMdiArea::cascadeSubWindows);
    window->addAction(tr("&Tile"), mdiArea_, &QMdiArea::tileSubWindows);
    AddRoutedCommand(*window, cmd::kNextPane, tr("Ne&xt Pane"), QKeySequence(Qt::Key_F6));
    AddRoutedCommand(*window, cmd::kPrevPane, tr("Pre&vious Pane"),
                     QKeySequence(Qt::SHIFT | Qt::Key_F6));

    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    helpMenu_->addAction(tr("&Release Notes..."), this, &CMainFrame::OnReleaseNotes);
}

QAction* CMainFrame::AddRoutedCommand(QMenu& menu, int id, const QString& text,
                                      const QKeySequence& shortcut, bool checkable) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [this, id] {
        if (CChildFrame* frame = ActiveChildFrame()) {
            frame->RouteCommand(id);
        }
    });
    if (!menu.property("routed").toBool()) {
        menu.setProperty("routed", true);
        connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { UpdateRoutedCommands(menu); });
    }
    return action;
}

void CMainFrame::UpdateRoutedCommands(QMenu& menu) {
    const CChildFrame* frame = ActiveChildFrame();
    for (QAction* action : menu.actions()) {
        if (!action->data().isValid()) {
            continue;
        }
        const auto ui = frame != nullptr ? frame->RouteCommandUpdate(action->data().toInt())
                                         : std::optional<CommandUi>();
        action->setEnabled(ui.has_value() && ui->enabled);
        action->setChecked(ui.has_value() && ui->checked);
    }
}

void CMainFrame::SetViewContext(const ViewContext* context) {
    if (context == nullptr) {
        CloseChildFrames();
    }
    views_ = context;
    if (views_ != nullptr && mdiArea_->subWindowList().isEmpty()) {
        NewWindow();
    }
}

CChildFrame* CMainFrame::CreateChildFrame() {
    if (views_ == nullptr) {
        return nullptr;
    }
    auto* frame = new CChildFrame(*views_);
    mdiArea_->addSubWindow(frame);
    return frame;
}

CChildFrame* CMainFrame::NewWindow() {
    CChildFrame* frame = CreateChildFrame();
    if (frame == nullptr) {
        return nullptr;
    }
    frame->show();
    return frame;
}

CChildFrame* CMainFrame::ActiveChildFrame() const {
    return qobject_cast<CChildFrame*>(mdiArea_->activeSubWindow());
}

bool CMainFrame::OpenFilteredView(ViewKind kind, int selector1, int selector2) {
    if (ActiveChildFrame() == nullptr || views_ == nullptr) {
        Ui().MessageBox(LoadString(ids::kCommandFailed), windowTitle().toStdString(),
                        mb::kOk | mb::kIconExclamation);
        return false;
    }
    // Opened on the kind at once: the new frame reads no other kind's rows first.
    const std::unique_ptr<CVorlinFilterData> filter = NewViewFilter(kind, selector1, selector2);
    auto* frame = new CChildFrame(*views_, kind, filter.get());
    mdiArea_->addSubWindow(frame);
    frame->show();
    return true;
}

void CMainFrame::CloseChildFrames() {
    // The views hold recordsets on the document's database: they go before it closes.
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        delete window;
    }
}

void CMainFrame::SetDocument(IFrameDocument* document) {
    document_ = document;
    firstPass_ = true;
}

void CMainFrame::PlaceOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const int width = area.width() * 9 / 10;
    const int height = area.height() * 9 / 10;
    setGeometry(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2,
                width, height);
}

void CMainFrame::SetPaneTextWithIcon(int index, const QString& text) {
    statusBar_->SetPaneText(index, text);
    statusBar_->SetPaneWidth(index, statusBar_->TextWidth(text) + kIconRoom);
}

void CMainFrame::OnTimer() {
    if (document_ == nullptr || !document_->IsReady()) {
        return;
    }
    if (const auto communicating = document_->IsControllerCommunicating();
        communicating && (firstPass_ || *communicating != communicating_)) {
        communicating_ = *communicating;
        controllerShown_ = true;
        statusBar_->SetPaneIcon(
            kPaneController, resources_.Icon(communicating_ ? kIconConnected : kIconNotConnected));
        emit ControllerPaneChanged(communicating_);
    }
    const QString instrument = QString::fromStdString(document_->GetAnalyzerDisplayName());
    if (instrument != instrumentText_) {
        instrumentText_ = instrument;
        SetPaneTextWithIcon(kPaneInstrument, instrument);
    }
    if (const auto connected = document_->IsTesterConnected();
        connected && (firstPass_ || *connected != instrumentConnected_)) {
        instrumentConnected_ = *connected;
        statusBar_->SetPaneIcon(
            kPaneInstrument,
            resources_.Icon(instrumentConnected_ ? kIconConnected : kIconNotConnected));
    }
    int icon = kIconTestingIdle;
    int text = ids::kTestingIdle;
    switch (document_->GetTestingState()) {
        case TestingState::Paused:
            icon = kIconTestingPaused;
            text = ids::kTestingPaused;
            break;
        case TestingState::InProgress:
            icon = kIconTestingInProgress;
            text = ids::kTestingInProgress;
            break;
        case TestingState::Idle:
            break;
    }
    statusBar_->SetPaneIcon(kPaneTesting, resources_.Icon(icon));
    statusBar_->SetPaneText(kPaneTesting, QString::fromStdString(LoadString(text)));
    firstPass_ = false;

    if (tickRunning) {
        return;
    }
    tickRunning = true;
    document_->OnSupervisionTick();
    tickRunning = false;
    if (closePending_) {
        closePending_ = false;
        close();
    }
}

void CMainFrame::OnUpdateViews(quint32 hint) {
    if (document_ != nullptr) {
        document_->UpdateAllViews(hint);
    }
}

void CMainFrame::OnCompatibility() {
    emit CompatibilityStatusChanged(document_ != nullptr && document_->HasCompatibilityState());
}

QString CMainFrame::ReleaseNotesPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/WHATSNEW.HTM");
}

void CMainFrame::OnReleaseNotes() {
    const QString path = ReleaseNotesPath();
    // A missing file is the desktop's to report.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        log_.Printf(0, "Could not open the release notes %s", path.toUtf8().constData());
    }
}

void CMainFrame::LoadBarState() {
    for (const BarInfo& bar : corvane::LoadBarState(profile_, kBarStatePrefix)) {
        if (bar.id == kStatusBarId) {
            statusBar_->setVisible(bar.visible);
        }
    }
}

void CMainFrame::SaveBarState() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen != nullptr ? screen->size() : QSize();
    if (!corvane::SaveBarState(profile_, kBarStatePrefix, {{kStatusBarId, !statusBar_->isHidden()}},
                               size.width(), size.height())) {
        log_.Printf(0, "The bar state could not be saved");
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (tickRunning) {
        // Closing the document under a running tick would pull the model from under it.
        log_.Printf(0, "Close requested during the supervision tick: closing after it");
        closePending_ = true;
        event->ignore();
        return;
    }
    emit Closing();
    if (CloseAfterNestedLoops()) {
        event->ignore();
        return;
    }
    if (document_ != nullptr) {
        asking_ = true;
        const bool allowed = document_->SaveModified();
        asking_ = false;
        if (!allowed) {
            log_.Printf(0, "Close refused by the document");
            event->ignore();
            return;
        }
    }
    log_.Printf(0, "Main window closing");
    SaveBarState();
    timer_.stop();
    CloseChildFrames();
    views_ = nullptr;
    if (document_ != nullptr) {
        IFrameDocument* document = document_;
        document_ = nullptr;
        document->OnCloseDocument();
    }
    event->accept();
    emit DocumentClosed();
}

void CMainFrame::CloseWithoutAsking() {
    unattended_ = true;
    if (document_ != nullptr) {
        document_->SetUnattendedClose();
    }
    if (asking_) {
        // The close waits on the document's question: once its box has gone the close goes on,
        // asking nothing more.
        log_.Printf(0, "Close question open: it is ended unanswered");
        EndNestedLoops();
        return;
    }
    close();
}

bool CMainFrame::EndNestedLoops() {
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* modal = QApplication::activeModalWidget();
    if (popup != nullptr) {
        popup->close();
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        // A question without an escape answer refuses to be rejected; nobody answers it on an
        // unattended close, so it ends with no answer.
        if (unattended_) {
            dialog->done(QDialog::Rejected);
        } else {
            dialog->reject();
        }
    } else if (modal != nullptr) {
        modal->close();
    }
    return popup != nullptr || modal != nullptr;
}

bool CMainFrame::CloseAfterNestedLoops() {
    // A view's menu or box runs its own event loop with the view's code waiting under it:
    // closing the child frames there would delete the view from under that code.
    if (!EndNestedLoops()) {
        return false;
    }
    log_.Printf(0, "Close requested with a menu or box open: closing once it has gone");
    const int level = QThread::currentThread()->loopLevel();
    QTimer::singleShot(0, this, [this, level] { RetryClose(level, kCloseRetries); });
    return true;
}

void CMainFrame::RetryClose(int loopLevel, int triesLeft) {
    // A popup shown without a loop of its own leaves the level as it was: the close goes on
    // after a few tries all the same.
    if (QThread::currentThread()->loopLevel() < loopLevel || triesLeft <= 0) {
        close();
        return;
    }
    QTimer::singleShot(kCloseRetryMs, this,
                       [this, loopLevel, triesLeft] { RetryClose(loopLevel, triesLeft - 1); });
}

}  // namespace corvane
