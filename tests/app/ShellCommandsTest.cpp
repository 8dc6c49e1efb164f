#include "app/ShellCommands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>

#include "app/MainFrame.h"
#include "fakes/FakeFrameDocument.h"
#include "platform/ProfileStore.h"
#include "ui/AppResources.h"

namespace corvane {
namespace {

class ShellCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources.Load(QApplication::palette()));
        profile.Load("");
        frame = std::make_unique<CMainFrame>(resources, profile, std::chrono::hours(1));
        frame->SetDocument(&document);
        commands =
            AddShellCommands(*frame, {[this] { ++configurations; }, [this] { ++logSettings; },
                                      [this] { ++versions; }, [this] { ++statuses; },
                                      [this] { return communicating; }});
    }
    // The controller starts or stops communicating; the frame's timer shows it.
    void Communicating(bool on) {
        communicating = on;
        document.controllerCommunicating = on;
        frame->OnTimer();
    }
    static QStringList Texts(const QMenu& menu) {
        QStringList texts;
        for (const QAction* a : menu.actions()) {
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        return texts;
    }

    CAppResources resources;
    CProfileStore profile;
    testing::FakeFrameDocument document;
    std::unique_ptr<CMainFrame> frame;
    ShellCommands commands;
    bool communicating = false;
    int configurations = 0, logSettings = 0, versions = 0, statuses = 0;
};

TEST_F(ShellCommandsTest, TheMenusReadAsTheSystemNamesThem) {
    EXPECT_EQ(Texts(frame->FileMenu()),
              (QStringList{"&Configuration...", "Diagnostic &Log Settings ...", "-", "&Save Layout",
                           "Save Layout &As...", "-", "E&xit"}));
    EXPECT_EQ(Texts(frame->HelpMenu()), (QStringList{"&Release Notes...", "Quillex &Version...",
                                                     "&Compatibility Status..."}));
    EXPECT_EQ(commands.compatibilityStatus->shortcut(), QKeySequence("Ctrl+Shift+B"));
    commands.configuration->trigger();
    commands.diagLogSettings->trigger();
    EXPECT_EQ(configurations, 1);
    EXPECT_EQ(logSettings, 1);
}

TEST_F(ShellCommandsTest, TheControllersCommandsOnlyWhileItCommunicates) {
    // Nothing shown yet.
    EXPECT_FALSE(commands.quillexVersion->isEnabled());
    EXPECT_FALSE(commands.compatibilityStatus->isEnabled());
    Communicating(false);
    EXPECT_FALSE(commands.quillexVersion->isEnabled());
    EXPECT_FALSE(commands.compatibilityStatus->isEnabled());
    commands.quillexVersion->trigger();
    commands.compatibilityStatus->trigger();
    EXPECT_EQ(versions + statuses, 0);

    Communicating(true);
    EXPECT_TRUE(commands.quillexVersion->isEnabled());
    EXPECT_TRUE(commands.compatibilityStatus->isEnabled());
    commands.quillexVersion->trigger();
    commands.compatibilityStatus->trigger();
    EXPECT_EQ(versions, 1);
    EXPECT_EQ(statuses, 1);

    // The link went down between two looks: the command does nothing.
    communicating = false;
    commands.quillexVersion->trigger();
    EXPECT_EQ(versions, 1);
    EXPECT_FALSE(commands.quillexVersion->isEnabled());
    // Opening the Help menu looks again.
    communicating = true;
    emit frame->HelpMenu().aboutToShow();
    EXPECT_TRUE(commands.quillexVersion->isEnabled());

    Communicating(false);
    EXPECT_FALSE(commands.quillexVersion->isEnabled());
    EXPECT_FALSE(commands.compatibilityStatus->isEnabled());
}

}  // namespace
}  // namespace corvane
