#include "ui/XMessageBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "platform/ProfileStore.h"
#include "qtsupport/QtWait.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;

XMessageBoxModel Model(unsigned style, int timeout = 0, CProfileStore* profile = nullptr,
                       XMessageBoxParams params = {}) {
    params.timeoutSeconds = timeout;
    return XMessageBoxModel("Compact the database?", "Corvane", style, params, profile, "corvane");
}

void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
}

TEST(XMessageBoxDialog, TheTimeOutPressesTheDefaultButton) {
    XMessageBoxModel model = Model(mb::kYesNo | mb::kDefButton2, 3);
    CXMessageBoxDialog box(model, nullptr, 1ms);
    EXPECT_EQ(box.exec(), answer::kNo | answer::kTimedOutBit);
    EXPECT_EQ(box.Button(answer::kNo)->text(), "&No");
}

TEST(XMessageBoxDialog, AClickStopsTheCountdown) {
    XMessageBoxModel model = Model(mb::kYesNo | mb::kDefButton2, 20);
    CXMessageBoxDialog box(model, nullptr, 1ms);
    box.show();
    ASSERT_TRUE(
        testing::ProcessEventsUntil([&] { return box.Button(answer::kNo)->text().contains('='); }));
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &click);
    EXPECT_EQ(box.Button(answer::kNo)->text(), "&No");
    EXPECT_FALSE(model.IsTimeoutRunning());
    box.Button(answer::kYes)->click();
    EXPECT_EQ(box.result(), answer::kYes);
}

TEST(XMessageBoxDialog, CtrlCCopiesTheBox) {
    XMessageBoxModel model = Model(mb::kYesNo);
    CXMessageBoxDialog box(model, nullptr);
    box.show();
    QGuiApplication::clipboard()->clear();
    Key(&box, Qt::Key_C, Qt::ControlModifier);
    const std::string dashes = "---------------------------\r\n";
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              dashes + "Corvane\r\n" + dashes + "Compact the database?\r\n" + dashes +
                  "Yes   No   \r\n" + dashes);
    EXPECT_TRUE(box.isVisible());
}

TEST(XMessageBoxDialog, EscapeAsTheButtonSetSays) {
    struct Case {
        unsigned style;
        bool closes;
        int result;
    };
    const Case cases[] = {
        {mb::kOk, true, answer::kOk},
        {mb::kYesNoCancel, true, answer::kCancel},
        {mb::kYesNo, false, 0},
        {mb::kAbortRetryIgnore, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        XMessageBoxModel model = Model(c.style);
        CXMessageBoxDialog box(model, nullptr);
        box.show();
        Key(&box, Qt::Key_Escape);
        box.close();
        EXPECT_EQ(box.isVisible(), !c.closes);
        if (c.closes) {
            EXPECT_EQ(box.result(), c.result);
        }
    }
}

TEST(XMessageBoxDialog, ATickedAnswerIsRemembered) {
    CProfileStore profile;
    profile.Load("");
    XMessageBoxParams params;
    params.identifyingText = "compact";
    XMessageBoxModel model = Model(mb::kYesNo | xmb::kDontAskAgain, 0, &profile, params);
    CXMessageBoxDialog box(model, nullptr);
    box.show();
    ASSERT_NE(box.CheckBox(), nullptr);
    EXPECT_EQ(box.CheckBox()->text(), "Don't ask me again");
    EXPECT_FALSE(box.CheckBox()->isChecked());
    box.CheckBox()->click();
    box.Button(answer::kNo)->click();
    EXPECT_EQ(box.result(), answer::kNo | 0x1000000);
    EXPECT_EQ(Model(mb::kYesNo | xmb::kDontAskAgain, 0, &profile, params).RememberedResult(),
              answer::kNo | 0x1000000);
}

TEST(XMessageBoxDialog, TheDisabledPeriodHoldsTheButtons) {
    XMessageBoxParams params;
    params.disabledSeconds = 2;
    XMessageBoxModel model = Model(mb::kOkCancel | xmb::kHelp, 0, nullptr, params);
    CXMessageBoxDialog box(model, nullptr, 1ms);
    box.show();
    EXPECT_FALSE(box.Button(answer::kOk)->isEnabled());
    EXPECT_TRUE(box.Button(xid::kHelp)->isEnabled());
    Key(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    ASSERT_TRUE(testing::ProcessEventsUntil([&] { return box.Button(answer::kOk)->isEnabled(); }));
    EXPECT_EQ(box.windowTitle(), "Corvane");
    Key(&box, Qt::Key_Escape);
    EXPECT_EQ(box.result(), answer::kCancel);
}

TEST(XMessageBoxDialog, HelpGoesToTheHelpHandler) {
    std::vector<std::pair<uint32_t, unsigned>> requests;
    CXMessageBoxDialog::SetHelpHandler(
        [&](uint32_t id, unsigned command) { requests.emplace_back(id, command); });
    XMessageBoxParams params;
    params.helpContextId = 4711;
    XMessageBoxModel model = Model(mb::kOk | xmb::kHelp, 0, nullptr, params);
    CXMessageBoxDialog box(model, nullptr);
    box.show();
    box.Button(xid::kHelp)->click();
    EXPECT_TRUE(box.isVisible());
    CXMessageBoxDialog::SetHelpHandler(nullptr);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].first, 4711u);
    EXPECT_EQ(requests[0].second, 1u);
}

TEST(XMessageBoxDialog, ARememberedAnswerShowsNoBox) {
    Profile().Load("");
    XMessageBoxParams params;
    params.identifyingText = "archive";
    const unsigned style = mb::kYesNo | xmb::kDontShowAgain | xmb::kNoSound;
    XMessageBoxModel(" ", "", style, params, &Profile(),
                     QCoreApplication::applicationName().toStdString())
        .Press(answer::kYes, true);
    bool boxShown = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            boxShown = true;
            modal->close();
        }
    });
    EXPECT_EQ(XMessageBox(nullptr, "Archive now?", "Corvane", style, &params),
              answer::kYes | 0x4000000);
    QCoreApplication::processEvents();
    EXPECT_FALSE(boxShown);
}

// A box opened without waiting gives its result when it ends, whichever kind of box it is.
TEST(XMessageBoxDialog, AnOpenedBoxGivesItsResultWhenItEnds) {
    Profile().Load("");
    XMessageBoxParams remembered;
    remembered.identifyingText = "compact";
    const unsigned rememberedStyle = mb::kYesNo | xmb::kDontShowAgain | xmb::kNoSound;
    XMessageBoxModel(" ", "", rememberedStyle, remembered, &Profile(),
                     QCoreApplication::applicationName().toStdString())
        .Press(answer::kNo, true);
    struct Case {
        const char* name;
        unsigned style;
        const XMessageBoxParams* params;
        const char* click;  // the button's text; none: no box
        int result;
    };
    const Case cases[] = {
        {"the extended box", mb::kYesNo | xmb::kNoSound, nullptr, "&Yes", answer::kYes},
        {"the system box", mb::kOk | mb::kIconStop | xmb::kSystemModal | xmb::kNoSound, nullptr,
         "OK", answer::kOk},
        {"a remembered answer", rememberedStyle, &remembered, nullptr, answer::kNo | 0x4000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> results;
        QPointer<QDialog> box =
            OpenXMessageBox(nullptr, "Compact the database?", "Corvane", c.style, c.params,
                            [&](int r) { results.push_back(r); });
        if (c.click == nullptr) {
            EXPECT_TRUE(box.isNull());
            EXPECT_EQ(results, std::vector<int>{c.result});
            continue;
        }
        ASSERT_FALSE(box.isNull());
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        EXPECT_TRUE(results.empty());
        QPushButton* button = nullptr;
        for (QPushButton* b : box->findChildren<QPushButton*>()) {
            if (b->text() == c.click) {
                button = b;
            }
        }
        ASSERT_NE(button, nullptr);
        button->click();
        EXPECT_EQ(results, std::vector<int>{c.result});
        ASSERT_TRUE(testing::ProcessEventsUntil([&] { return box.isNull(); }));
    }
}

}  // namespace
}  // namespace corvane
