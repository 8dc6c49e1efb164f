#include "app/MainFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QTimer>

#include <QMdiArea>
#include "MainFrameRig.h"
#include "fakes/FakeFrameDocument.h"
#include "fakes/SupervisionRig.h"
#include "fakes/TempDir.h"
#include "graphics/GraphicLayouts.h"
#include "graphics/LayoutFile.h"
#include "platform/ProfileStore.h"
#include "presentation/ViewKind.h"
#include "qtsupport/QtWait.h"
#include "settings/AppSettings.h"
#include "settings/ColorSettings.h"
#include "ui/AppResources.h"
#include "ui/QtUiBridge.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/ChildFrame.h"
#include "ui/views/CommandTarget.h"
#include "ui/views/ViewContext.h"
#include "ui/views/VorlinScrollView.h"

namespace corvane {
namespace {

using testing::FakeFrameDocument;
using testing::LiveDocument;
using testing::RoutedItem;

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources_.Load(QApplication::palette()));
        profile_.Load("");
    }

    std::unique_ptr<CMainFrame> Frame(IFrameDocument* document) {
        // A long interval: the test runs the timer step itself.
        auto frame = std::make_unique<CMainFrame>(resources_, profile_, std::chrono::hours(1));
        frame->SetDocument(document);
        return frame;
    }

    // A main frame over the live document, shown with its first child frame.
    std::unique_ptr<CMainFrame> ShownFrame(LiveDocument& live) {
        auto frame = Frame(&live.document);
        frame->SetViewContext(&live.context);
        frame->show();
        QCoreApplication::processEvents();
        return frame;
    }

    qint64 IconKey(int id) const { return resources_.Icon(id).cacheKey(); }
    static qint64 PaneIconKey(const CMainFrame& frame, int pane) {
        return frame.StatusBar().Pane(pane)->Icon().cacheKey();
    }
    static bool PaneHasIcon(const CMainFrame& frame, int pane) {
        return !frame.StatusBar().Pane(pane)->Icon().isNull();
    }

    CAppResources resources_;
    CProfileStore profile_;
};

TEST_F(MainFrameTest, InitialPanes) {
    auto frame = Frame(nullptr);
    const CVorlinStatusBar& bar = frame->StatusBar();
    ASSERT_EQ(bar.PaneCount(), 4);
    const int ids[] = {0, 212, 211, 213};
    const char* texts[] = {"", "Quillex", "Audio Analyzer", "Testing: In Progress"};
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(bar.PaneId(i), ids[i]);
        EXPECT_EQ(bar.PaneText(i).toStdString(), texts[i]);
        EXPECT_EQ(bar.PaneWidth(i), bar.TextWidth(texts[i]) + CMainFrame::kIconRoom);
    }
    EXPECT_GE(bar.minimumHeight(), 22);
    EXPECT_EQ(bar.BarId(), 59393);
}

TEST_F(MainFrameTest, NoTickUntilTheDocumentIsReady) {
    FakeFrameDocument document;
    document.ready = false;
    auto frame = Frame(&document);
    frame->OnTimer();
    EXPECT_EQ(document.ticks, 0);
    EXPECT_EQ(frame->StatusBar().PaneText(3), "Testing: In Progress");
    document.ready = true;
    frame->OnTimer();
    frame->OnTimer();
    EXPECT_EQ(document.ticks, 2);
    Frame(nullptr)->OnTimer();  // without a document nothing happens
}

TEST_F(MainFrameTest, PanesFollowTheDocument) {
    struct Case {
        std::optional<bool> controller;
        std::optional<bool> tester;
        TestingState testing;
        int controllerIcon;  // 0: none set
        int testerIcon;
        int testingIcon;
        const char* testingText;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, TestingState::Idle, 0, 0, 115, "Testing: Idle"},
        {true, true, TestingState::InProgress, 114, 114, 117, "Testing: In Progress"},
        {false, true, TestingState::Paused, 113, 114, 116, "Testing: Paused"},
        {true, false, TestingState::Idle, 114, 113, 115, "Testing: Idle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.testingText);
        FakeFrameDocument document;
        document.controllerCommunicating = c.controller;
        document.testerConnected = c.tester;
        document.testing = c.testing;
        auto frame = Frame(&document);
        frame->OnTimer();
        EXPECT_EQ(PaneHasIcon(*frame, 1), c.controllerIcon != 0);
        if (c.controllerIcon != 0) {
            EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(c.controllerIcon));
        }
        EXPECT_EQ(PaneHasIcon(*frame, 2), c.testerIcon != 0);
        if (c.testerIcon != 0) {
            EXPECT_EQ(PaneIconKey(*frame, 2), IconKey(c.testerIcon));
        }
        EXPECT_EQ(PaneIconKey(*frame, 3), IconKey(c.testingIcon));
        EXPECT_EQ(frame->StatusBar().PaneText(3).toStdString(), c.testingText);
    }
}

TEST_F(MainFrameTest, LinkChangesAndALostControllerObjectKeepTheLastIcon) {
    FakeFrameDocument document;
    document.controllerCommunicating = false;
    auto frame = Frame(&document);
    frame->OnTimer();
    EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(113));
    document.controllerCommunicating = true;
    frame->OnTimer();
    EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(114));
    document.controllerCommunicating.reset();
    frame->OnTimer();
    EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(114));
}

TEST_F(MainFrameTest, TheInstrumentPaneTakesTheNameAndItsWidth) {
    FakeFrameDocument document;
    document.analyzerName = "RT-2M";
    auto frame = Frame(&document);
    frame->OnTimer();
    const CVorlinStatusBar& bar = frame->StatusBar();
    EXPECT_EQ(bar.PaneText(2), "RT-2M");
    EXPECT_EQ(bar.PaneWidth(2), bar.TextWidth("RT-2M") + CMainFrame::kIconRoom);
}

TEST_F(MainFrameTest, ATickIsNeverReentered) {
    FakeFrameDocument document;
    CMainFrame* frame = nullptr;
    // As a message box inside the tick would, the tick lets further timer steps run.
    document.onTick = [&] {
        frame->OnTimer();
        frame->OnTimer();
    };
    auto owned = Frame(&document);
    frame = owned.get();
    frame->OnTimer();
    EXPECT_EQ(document.ticks, 1);
    frame->OnTimer();
    EXPECT_EQ(document.ticks, 2);
}

TEST_F(MainFrameTest, ACloseDuringTheTickWaitsForItsEnd) {
    FakeFrameDocument document;
    CMainFrame* frame = nullptr;
    document.onTick = [&] { frame->close(); };
    auto owned = Frame(&document);
    frame = owned.get();
    int closedSignals = 0;
    QObject::connect(frame, &CMainFrame::DocumentClosed, [&] { ++closedSignals; });
    frame->show();
    frame->OnTimer();
    EXPECT_EQ(document.closes, 1);
    EXPECT_FALSE(document.closedDuringTick);
    EXPECT_EQ(closedSignals, 1);
    EXPECT_EQ(frame->Document(), nullptr);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameTest, TheDocumentMayRefuseTheClose) {
    FakeFrameDocument document;
    document.allowClose = false;
    auto frame = Frame(&document);
    frame->show();
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(document.closes, 0);
    EXPECT_TRUE(frame->isVisible());
    document.allowClose = true;
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(document.closes, 1);
}

TEST_F(MainFrameTest, ASignalsCloseIsNotRefused) {
    FakeFrameDocument document;
    document.allowClose = false;
    auto frame = Frame(&document);
    frame->show();
    frame->CloseWithoutAsking();
    EXPECT_TRUE(document.unattended);
    EXPECT_EQ(document.closes, 1);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameTest, TheStatusBarStateIsSavedOnClose) {
    {
        auto frame = Frame(nullptr);
        frame->show();
        frame->StatusBar().hide();
        frame->close();
    }
    EXPECT_EQ(profile_.GetProfileInt("Preferences\\ToolBars\\-Bar0", "BarID", 0), 59393);
    EXPECT_EQ(profile_.GetProfileInt("Preferences\\ToolBars\\-Bar0", "Visible", 1), 0);
    auto again = Frame(nullptr);
    again->show();
    EXPECT_FALSE(again->StatusBar().isVisible());
}

TEST_F(MainFrameTest, PostedMessagesReachTheDocument) {
    FakeFrameDocument document;
    document.compatibilityState = true;
    auto frame = Frame(&document);
    CQtUiBridge bridge;
    QObject::connect(&bridge, &CQtUiBridge::UpdateViewsPosted, frame.get(),
                     &CMainFrame::OnUpdateViews);
    QObject::connect(&bridge, &CQtUiBridge::CompatibilityChangePosted, frame.get(),
                     &CMainFrame::OnCompatibility);
    std::vector<bool> compatibility;
    QObject::connect(frame.get(), &CMainFrame::CompatibilityStatusChanged,
                     [&](bool any) { compatibility.push_back(any); });
    bridge.PostUpdateHint(0x440);
    bridge.PostCompatibilityChange();
    EXPECT_TRUE(document.hints.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(document.hints, std::vector<uint32_t>{0x440});
    EXPECT_EQ(compatibility, std::vector<bool>{true});
}

TEST_F(MainFrameTest, PlacedOnNineTenthsOfTheScreen) {
    auto frame = Frame(nullptr);
    frame->PlaceOnScreen();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frame->geometry().width(), area.width() * 9 / 10);
    EXPECT_EQ(frame->geometry().height(), area.height() * 9 / 10);
}

// The window as the operator sees it, saved for a look by people.
void SaveScreenshot(CMainFrame& frame, const QString& name) {
    frame.resize(900, 560);
    frame.show();
    QCoreApplication::processEvents();
    const QImage shot = frame.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(CORVANE_SCREENSHOT_DIR);
    const QString path = QStringLiteral(CORVANE_SCREENSHOT_DIR "/") + name;
    ASSERT_TRUE(shot.save(path, "PNG"));
    const QImage saved(path);
    EXPECT_EQ(saved.size(), shot.size());
}

// The live document against the fake controller on loopback, ticked by the frame's timer
// step until the link is up.
TEST_F(MainFrameTest, ScreenshotOfTheLiveDocumentWithTheLinkUp) {
    testing::SupervisionRig rig;
    CVorlinDoc& document = rig.Start();
    ASSERT_TRUE(rig.started);
    auto frame = Frame(&document);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (document.IsControllerCommunicating() != true && std::chrono::steady_clock::now() < end) {
        rig.clock.Advance(std::chrono::milliseconds(100));
        frame->OnTimer();
        QCoreApplication::processEvents();
    }
    frame->OnTimer();
    ASSERT_EQ(document.IsControllerCommunicating(), true);
    EXPECT_GT(document.TickCount(), 0u);
    SaveScreenshot(*frame, "main-frame-link-up.png");
    const CVorlinStatusBar& bar = frame->StatusBar();
    EXPECT_EQ(bar.PaneText(1), "Quillex");
    EXPECT_EQ(bar.PaneText(2), "Audio Analyzer");
    EXPECT_EQ(bar.PaneText(3), "Testing: Idle");
    EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(114));
    document.OnCloseDocument();
}

TEST_F(MainFrameTest, ScreenshotAfterTheLinkCameUp) {
    FakeFrameDocument document;
    document.controllerCommunicating = false;
    document.analyzerName = "Tonexa";
    document.testerConnected = false;
    auto frame = Frame(&document);
    frame->OnTimer();
    EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(113));
    document.controllerCommunicating = true;
    document.testerConnected = true;
    frame->OnTimer();
    const CVorlinStatusBar& bar = frame->StatusBar();
    EXPECT_EQ(bar.PaneText(1), "Quillex");
    EXPECT_EQ(bar.PaneText(2), "Tonexa");
    EXPECT_EQ(bar.PaneText(3), "Testing: Idle");
    EXPECT_EQ(PaneIconKey(*frame, 1), IconKey(114));
    EXPECT_EQ(PaneIconKey(*frame, 2), IconKey(114));
    EXPECT_EQ(PaneIconKey(*frame, 3), IconKey(115));
}

// The Window menu's frames and the commands routed to the active frame's panes.
TEST_F(MainFrameTest, ChildFramesOpenCloseAndTakeTheMenusCommands) {
    LiveDocument live(resources_, &profile_);
    ASSERT_TRUE(live.rig.started);
    CVorlinDoc& document = live.document;
    auto frame = ShownFrame(live);
    ASSERT_EQ(frame->MdiArea().subWindowList().size(), 1);
    CChildFrame* first = frame->ActiveChildFrame();
    ASSERT_NE(first, nullptr);
    // The last frame cannot be closed, by the menu or its own close button.
    EXPECT_FALSE(first->RouteCommandUpdate(cmd::kCloseWindow)->enabled);
    first->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->MdiArea().subWindowList().size(), 1);

    CChildFrame* second = frame->NewWindow();
    ASSERT_NE(second, nullptr);
    frame->MdiArea().setActiveSubWindow(second);
    EXPECT_TRUE(frame->ActiveChildFrame()->RouteCommandUpdate(cmd::kCloseWindow)->enabled);
    second->SetViewKind(ViewKind::Intercoms, nullptr);
    const auto bar = second->RouteCommandUpdate(cmd::kInfoBar1);
    ASSERT_TRUE(bar.has_value());
    EXPECT_TRUE(second->RouteCommand(cmd::kInfoBar1));
    EXPECT_NE(second->RouteCommandUpdate(cmd::kInfoBar1)->checked, bar->checked);
    EXPECT_TRUE(second->RouteCommand(cmd::kCloseWindow));
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->MdiArea().subWindowList().size(), 1);

    // A filtered view opens in a new frame beside the active one, and only beside one.
    EXPECT_TRUE(frame->OpenFilteredView(ViewKind::Intercoms, 1, 2));
    EXPECT_EQ(frame->MdiArea().subWindowList().size(), 2);
    frame->SetViewContext(nullptr);
    EXPECT_TRUE(frame->MdiArea().subWindowList().isEmpty());
    EXPECT_FALSE(frame->OpenFilteredView(ViewKind::Intercoms, 1, 2));
    ASSERT_FALSE(live.rig.ui.Boxes().empty());
    EXPECT_EQ(live.rig.ui.Boxes().back().text, "Command failed.");
    document.OnCloseDocument();
}

TEST_F(MainFrameTest, TheLayoutCommandsOfTheMenusReachTheGraphicalView) {
    LiveDocument live(resources_);
    ASSERT_TRUE(live.rig.started);
    CVorlinDoc& document = live.document;
    auto frame = ShownFrame(live);
    CChildFrame* child = frame->ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    const auto filter = NewFilterOf(ViewKind::Alphas);
    filter->SetSelector(1, 0);
    child->SetViewKind(ViewKind::GraphicalUsage, filter.get());
    CGraphicLayout* layout = live.layouts.GetGraphicLayout(0);
    ASSERT_NE(layout, nullptr);
    layout->AddIntercom(1, {50, 50}, "North");
    layout->SetModified(true);

    QAction* allow = RoutedItem(*frame, "&Edit", cmd::kAllowChanges);
    ASSERT_NE(allow, nullptr);
    EXPECT_TRUE(allow->isEnabled());
    EXPECT_TRUE(allow->isChecked());
    QAction* saveAs = RoutedItem(*frame, "&File", cmd::kLayoutSaveAs);
    ASSERT_NE(saveAs, nullptr);
    EXPECT_TRUE(saveAs->isEnabled());
    QAction* save = RoutedItem(*frame, "&File", cmd::kLayoutSave);
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_FALSE(layout->IsModified());
    CGraphicLayout read;
    ASSERT_EQ(LoadLayoutFile(read, "../views", "default").status, LayoutLoadStatus::Loaded);
    EXPECT_NE(read.FindIntercom(1), nullptr);

    frame->SetViewContext(nullptr);
    document.OnCloseDocument();
}

// A close (a signal's) while a view's context menu runs its own event loop ends the menu and
// closes once the menu has returned: the frames never go from under the view's code.
TEST_F(MainFrameTest, ACloseWithAViewsMenuOpenClosesAfterTheMenu) {
    LiveDocument live(resources_);
    ASSERT_TRUE(live.rig.started);
    auto frame = ShownFrame(live);
    CChildFrame* child = frame->ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    child->SetViewKind(ViewKind::GraphicalUsage, nullptr);
    QCoreApplication::processEvents();
    ASSERT_NE(child->GraphicalView(), nullptr);
    QWidget* viewport = child->GraphicalView()->viewport();

    bool menuOpen = false;
    QTimer::singleShot(50, frame.get(), [&] {
        menuOpen = QApplication::activePopupWidget() != nullptr;
        frame->close();
    });
    const QPointF at(200, 200);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::RightButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
    EXPECT_TRUE(menuOpen);
    for (int i = 0; i < 200 && frame->Document() != nullptr; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(frame->Document(), nullptr);
    EXPECT_TRUE(frame->MdiArea().subWindowList().isEmpty());
    EXPECT_FALSE(frame->isVisible());
}

// The live document with the program's layouts, one of them loaded.
struct DocumentWithLayouts {
    DocumentWithLayouts() {
        DocumentParts parts = rig.Parts();
        parts.layouts = &layouts;
        started = rig.Create(std::move(parts)).OnNewDocument();
        std::string error;
        loaded = layouts.LoadGraphicalLayout(0, error) != CGraphicLayouts::Opened::Failed;
    }
    // Intercom 1 placed in the default layout, not saved.
    void ChangeLayout() {
        layouts.GetGraphicLayout(0)->AddIntercom(1, {60, 60}, "MX01");
        layouts.GetGraphicLayout(0)->SetModified(true);
    }
    bool SavedWithTheChange() const {
        CGraphicLayout read;
        return LoadLayoutFile(read, "../views", "default").status == LayoutLoadStatus::Loaded &&
               read.FindIntercom(1) != nullptr;
    }

    testing::SupervisionRig rig;
    CGraphicLayouts layouts{"../views"};
    bool started = false;
    bool loaded = false;
};

// The operator's close asks as it always has; a signal's close afterwards asks nothing and
// keeps the change.
TEST_F(MainFrameTest, ClosingTheWindowAsksAndASignalsCloseDoesNot) {
    struct Case {
        const char* name;
        bool operationsPending;
        bool layoutChanged;
        const char* question;
        int answer;  // one that refuses the close
    };
    const Case cases[] = {
        {"trunk operations", true, false, "Trunk operations are in progress!", answer::kNo},
        {"a changed layout", false, true, "Graphical layout 'default' has changed.",
         answer::kCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentWithLayouts live;
        ASSERT_TRUE(live.started);
        ASSERT_TRUE(live.loaded);
        live.rig.settings.Modify([](AppSettings& s) { s.AutoSaveLayouts = false; });
        live.rig.doc->SetTrunkOperationsPending(c.operationsPending);
        if (c.layoutChanged) {
            live.ChangeLayout();
        }
        auto frame = Frame(live.rig.doc.get());
        frame->show();
        live.rig.ui.QueueAnswer(c.answer);
        EXPECT_FALSE(frame->close());
        ASSERT_EQ(live.rig.ui.Boxes().size(), 1u);
        EXPECT_EQ(live.rig.ui.Boxes()[0].text.rfind(c.question, 0), 0u)
            << live.rig.ui.Boxes()[0].text;
        EXPECT_TRUE(frame->isVisible());
        EXPECT_NE(frame->Document(), nullptr);

        frame->CloseWithoutAsking();
        EXPECT_EQ(live.rig.ui.Boxes().size(), 1u);
        EXPECT_EQ(frame->Document(), nullptr);
        EXPECT_FALSE(frame->isVisible());
        EXPECT_EQ(live.SavedWithTheChange(), c.layoutChanged);
    }
}

// A box that nobody can answer while a signal's close waits: the question of the close itself,
// and a question a view asked before the signal (neither of them can be escaped).
TEST_F(MainFrameTest, ASignalEndsTheBoxOpenOverTheWindowAndCloses) {
    for (const bool closeQuestion : {true, false}) {
        SCOPED_TRACE(closeQuestion ? "the close question" : "a view's question");
        DocumentWithLayouts live;
        ASSERT_TRUE(live.started);
        live.rig.settings.Modify([](AppSettings& s) { s.AutoSaveLayouts = false; });
        live.ChangeLayout();
        live.rig.doc->SetTrunkOperationsPending(closeQuestion);
        CQtUiBridge bridge;
        bridge.Install();
        auto frame = Frame(live.rig.doc.get());
        frame->show();
        bool boxUp = false;
        // The signal, delivered by the box's own event loop.
        const auto signalUnderTheBox = [&] {
            QTimer::singleShot(0, frame.get(), [&] {
                boxUp = QApplication::activeModalWidget() != nullptr;
                frame->CloseWithoutAsking();
            });
        };
        // Should nothing end a box, each is answered No after a while, so that the test fails
        // instead of hanging.
        QTimer guard(frame.get());
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                box->done(answer::kNo);
            }
        });
        guard.start(5000);
        if (closeQuestion) {
            signalUnderTheBox();
            EXPECT_TRUE(frame->close());
        } else {
            QTimer::singleShot(0, frame.get(), [&] {
                signalUnderTheBox();
                EXPECT_NE(Ui().MessageBox("Delete the layout?", "Corvane", mb::kYesNo),
                          answer::kYes);
            });
        }
        EXPECT_TRUE(testing::ProcessEventsUntil([&] { return frame->Document() == nullptr; }));
        EXPECT_TRUE(boxUp);
        EXPECT_FALSE(frame->isVisible());
        EXPECT_TRUE(live.SavedWithTheChange());
    }
}

}  // namespace
}  // namespace corvane
