#include "ui/QtUiBridge.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
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

// The text of a box the bridge opened without waiting.
std::string TextOf(QDialog* box) {
    return box->findChild<QLabel*>("message")->text().toStdString();
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
    // The worker's box is shown later, on this thread, and nothing waits for it.
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return bridge.OpenBoxes().size() == 1; }));
    EXPECT_EQ(TextOf(bridge.OpenBoxes()[0]), "Lost contact");
    EXPECT_EQ(QThread::currentThread()->loopLevel(), 0);
    qobject_cast<CXMessageBoxDialog*>(bridge.OpenBoxes()[0])->Button(answer::kOk)->click();
    EXPECT_TRUE(bridge.OpenBoxes().empty());
}

// Unattended code (the tick) asks for boxes as any code does; none holds it. Each is shown
// once it has returned, window-modal over the owner, without an event loop of its own.
TEST(QtUiBridge, UnattendedCodeWaitsForNoBox) {
    CQtUiBridge bridge;
    QWidget owner;
    owner.show();
    bridge.SetBoxOwner(&owner);
    // A box that ran its own event loop would meet this guard there, and be closed by it.
    bool heldTheCaller = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QThread::currentThread()->loopLevel() > 0) {
            heldTheCaller = true;
            if (auto* box = qobject_cast<CXMessageBoxDialog*>(QApplication::activeModalWidget())) {
                box->done(0);
            }
        }
    });
    guard.start(20);
    std::vector<int> answers;
    {
        const UnattendedScope unattended;
        EXPECT_EQ(bridge.MessageBox("Invalid Intercom/Port", "Corvane", mb::kOk), answer::kOk);
        EXPECT_EQ(bridge.Ask({"Compact now?", "Corvane", mb::kYesNo | mb::kDefButton2, 20}),
                  answer::kNo | answer::kTimedOutBit);
        bridge.ReportDatabaseError("Error, updating Trunks data in database\nDescription: %s",
                                   "database is locked");
        bridge.PostQuestion("Configure the Quillex?", "Corvane", mb::kYesNo,
                            [&](int a) { answers.push_back(a); });
        EXPECT_TRUE(bridge.OpenBoxes().empty());  // none before the caller has returned
    }
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return bridge.OpenBoxes().size() == 3; }));
    std::vector<std::string> texts;
    for (QDialog* box : bridge.OpenBoxes()) {
        texts.push_back(TextOf(box));
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        EXPECT_EQ(box->parentWidget(), &owner);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Invalid Intercom/Port",
                         "Error, updating Trunks data in database\nDescription: database is locked",
                         "Configure the Quillex?"}));
    // The question's answer comes when the operator gives it.
    qobject_cast<CXMessageBoxDialog*>(bridge.OpenBoxes()[2])->Button(answer::kYes)->click();
    EXPECT_EQ(answers, std::vector<int>{answer::kYes});
    EXPECT_FALSE(heldTheCaller);
}

TEST(QtUiBridge, APostedBoxStillOpenIsNotOpenedAgain) {
    CQtUiBridge bridge;
    for (const char* text : {"Database locked", "Database locked", "Port missing"}) {
        bridge.PostMessageBox(text, "Corvane", mb::kOk | xmb::kNoSound);
    }
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return bridge.OpenBoxes().size() == 2; }));
    QCoreApplication::processEvents();
    ASSERT_EQ(bridge.OpenBoxes().size(), 2u);
    // Once answered, the same text opens again.
    qobject_cast<CXMessageBoxDialog*>(bridge.OpenBoxes()[0])->Button(answer::kOk)->click();
    bridge.PostMessageBox("Database locked", "Corvane", mb::kOk | xmb::kNoSound);
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return bridge.OpenBoxes().size() == 2; }));
    EXPECT_EQ(TextOf(bridge.OpenBoxes()[1]), "Database locked");
}

TEST(QtUiBridge, DismissedBoxesCloseUnanswered) {
    CQtUiBridge bridge;
    std::vector<int> answers;
    bridge.PostQuestion("Configure the Quillex?", "Corvane", mb::kYesNo | xmb::kNoSound,
                        [&](int a) { answers.push_back(a); });
    bridge.PostMessageBox("Database locked", "Corvane", mb::kOk | xmb::kNoSound);
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return bridge.OpenBoxes().size() == 2; }));
    QPointer<QDialog> question = bridge.OpenBoxes()[0];
    bridge.DismissOpenBoxes();
    EXPECT_TRUE(bridge.OpenBoxes().empty());
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return question.isNull(); }));
    EXPECT_TRUE(answers.empty());
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
