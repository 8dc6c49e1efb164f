#include "ui/QtUiBridge.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <thread>

#include "qtsupport/QtWait.h"
#include "ui/XMessageBox.h"

namespace corvane {
namespace {

// Answers the next box with its button of the given id, noting what it said.
struct BoxAnswerer {
    std::string text;
    std::string caption;
    bool stopIcon = false;
    void AnswerNextWith(int id) {
        QTimer::singleShot(0, [this, id] {
            auto* box = qobject_cast<CXMessageBoxDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->findChild<QLabel*>("message")->text().toStdString();
            caption = box->windowTitle().toStdString();
            stopIcon = box->findChild<QLabel*>("icon") != nullptr;
            box->Button(id)->click();
        });
    }
};

TEST(QtUiBridge, APostedHintReachesTheHandlerOnTheMainThreadOnly) {
    CQtUiBridge bridge;
    std::vector<quint32> hints;
    std::vector<bool> onMainThread;
    int compatibility = 0;
    QObject::connect(&bridge, &CQtUiBridge::UpdateViewsPosted, [&](quint32 hint) {
        hints.push_back(hint);
        onMainThread.push_back(QThread::currentThread() == qApp->thread());
    });
    QObject::connect(&bridge, &CQtUiBridge::CompatibilityChangePosted, [&] {
        ++compatibility;
        onMainThread.push_back(QThread::currentThread() == qApp->thread());
    });
    std::thread worker([&] {
        bridge.PostUpdateHint(0x40);
        bridge.PostUpdateHint(0x2000);
        bridge.PostCompatibilityChange();
    });
    worker.join();
    // Posted, not called: nothing ran on the worker.
    EXPECT_TRUE(hints.empty());
    EXPECT_EQ(compatibility, 0);
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return compatibility == 1; }));
    EXPECT_EQ(hints, (std::vector<quint32>{0x40, 0x2000}));
    EXPECT_EQ(onMainThread, (std::vector<bool>{true, true, true}));
}

TEST(QtUiBridge, InstallsItselfAsTheBridgeInUse) {
    {
        CQtUiBridge bridge;
        bridge.Install();
        EXPECT_EQ(&Ui(), &bridge);
    }
    EXPECT_EQ(dynamic_cast<CQtUiBridge*>(&Ui()), nullptr);  // uninstalled with its end
}

TEST(QtUiBridge, WorkerThreadsNeverWaitForAnOperator) {
    CQtUiBridge bridge;
    int asked = 0;
    int boxed = 0;
    std::thread worker([&] {
        asked = bridge.Ask({"Compact now?", "Corvane", mb::kYesNo | mb::kDefButton2, 20});
        boxed = bridge.MessageBox("Lost contact", "Corvane", mb::kOkCancel);
    });
    worker.join();
    EXPECT_EQ(asked, answer::kNo | answer::kTimedOutBit);
    EXPECT_EQ(boxed, answer::kOk);
    // The worker's box is shown later, on this thread.
    BoxAnswerer answerer;
    answerer.AnswerNextWith(answer::kOk);
    QCoreApplication::processEvents();
    EXPECT_EQ(answerer.text, "Lost contact");
}

TEST(QtUiBridge, DatabaseErrorsFillTheDescriptionUnderAStopIcon) {
    CQtUiBridge bridge;
    int before = 0;
    bridge.SetBeforeBox([&] { ++before; });
    BoxAnswerer answerer;
    answerer.AnswerNextWith(answer::kOk);
    bridge.ReportDatabaseError("Error, creating database\nDescription: %s", "disk I/O error");
    EXPECT_EQ(answerer.text, "Error, creating database\nDescription: disk I/O error");
    EXPECT_EQ(answerer.caption, "Corvane");
    EXPECT_TRUE(answerer.stopIcon);
    EXPECT_EQ(before, 1);
}

TEST(QtUiBridge, AskOnTheMainThreadReturnsTheAnswer) {
    CQtUiBridge bridge;
    BoxAnswerer answerer;
    answerer.AnswerNextWith(answer::kYes);
    EXPECT_EQ(bridge.Ask({"Compact now?", "Corvane", mb::kYesNo | xmb::kNoSound, 20}),
              answer::kYes);
}

}  // namespace
}  // namespace corvane
