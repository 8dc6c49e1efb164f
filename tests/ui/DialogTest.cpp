#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "platform/FileVersionInfo.h"
#include "qtsupport/HelpRequests.h"
#include "ui/AboutDlg.h"
#include "ui/AppResources.h"
#include "ui/HelpDialog.h"

namespace corvane {
namespace {

using testing::HelpRequests;

// A dialog with one control of id 1001 and one without an id.
template <typename Dialog>
struct TwoControls {
    Dialog dialog{157, nullptr};
    QLineEdit* named = new QLineEdit(&dialog);
    QLineEdit* plain = new QLineEdit(&dialog);
    TwoControls() {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(named);
        layout->addWidget(plain);
        CVorlinDialog::SetControlId(named, 1001);
        dialog.show();
        QCoreApplication::processEvents();
    }
    void F1(QWidget* focus, Qt::KeyboardModifiers modifiers) {
        focus->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, modifiers);
        QApplication::sendEvent(&dialog, &press);
    }
};

constexpr uint32_t kPopup1001 = ((157u | 0x8000u) << 16) + 1001u;

TEST(VorlinDialog, HelpRequests) {
    struct Case {
        bool helpDialog;
        bool onNamed;
        bool shift;
        std::vector<std::pair<uint32_t, unsigned>> expected;
    };
    const Case cases[] = {
        {false, true, true, {{kPopup1001, 8}}},
        {false, true, false, {}},
        {false, false, true, {}},
        {true, true, true, {{kPopup1001, 8}}},
        {true, true, false, {{157u | 0x20000u, 1}}},
        {true, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.helpDialog << c.onNamed << c.shift);
        HelpRequests requests;
        if (c.helpDialog) {
            TwoControls<CHelpDialog> d;
            d.F1(c.onNamed ? d.named : d.plain, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        } else {
            TwoControls<CVorlinDialog> d;
            d.F1(c.onNamed ? d.named : d.plain, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        }
        EXPECT_EQ(requests.seen, c.expected);
    }
}

TEST(VorlinDialog, AClickInHelpModeAsksForTheControlAndEndsTheMode) {
    HelpRequests requests;
    TwoControls<CVorlinDialog> d;
    QEvent enter(QEvent::EnterWhatsThisMode);
    QApplication::sendEvent(&d.dialog, &enter);
    EXPECT_TRUE(CVorlinDialog::s_bHelpMode);
    QHelpEvent click(QEvent::WhatsThis, d.named->geometry().center(), QPoint());
    QApplication::sendEvent(&d.dialog, &click);
    EXPECT_EQ(requests.seen, (std::vector<std::pair<uint32_t, unsigned>>{{kPopup1001, 8}}));
    EXPECT_FALSE(CVorlinDialog::s_bHelpMode);
}

TEST(VorlinDialog, ContextHelpModeEndsAfterTheClickItAnswered) {
    HelpRequests requests;
    TwoControls<CVorlinDialog> d;
    QWhatsThis::enterWhatsThisMode();
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_TRUE(CVorlinDialog::s_bHelpMode);
    QHelpEvent click(QEvent::WhatsThis, d.named->geometry().center(), QPoint());
    QApplication::sendEvent(&d.dialog, &click);
    EXPECT_EQ(requests.seen, (std::vector<std::pair<uint32_t, unsigned>>{{kPopup1001, 8}}));
    // The next click is the operator's again.
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    EXPECT_FALSE(CVorlinDialog::s_bHelpMode);
}

TEST(HelpDialog, HelpHitTest) {
    TwoControls<CHelpDialog> d;
    EXPECT_EQ(d.dialog.HelpHitTest(d.named->geometry().center()), kPopup1001);
    EXPECT_EQ(d.dialog.HelpHitTest(d.plain->geometry().center()), 157u | 0x20000u);
    EXPECT_EQ(d.dialog.GetHelpContext(), 0x2009Du);
}

TEST(AboutDlg, ShowsTheCompiledInNameAndVersion) {
    CAppResources resources;
    resources.Load(QApplication::palette());
    CAboutDlg about(resources, nullptr);
    EXPECT_EQ(about.windowTitle(), "About Corvane");
    EXPECT_EQ(about.LineText(CAboutDlg::kProductLine),
              QString::fromStdString("Corvane " + CFileVersionInfo().GetProductVersion()));
    EXPECT_EQ(about.LineText(CAboutDlg::kLegalLine),
              QString::fromUtf8("Copyright \u00A9 2013 Qelvo"));
    EXPECT_EQ(about.LineText(CAboutDlg::kBuildDateLine), "Build Date: Jun 12 2013");
    EXPECT_EQ(about.TemplateId(), 150);
}

}  // namespace
}  // namespace corvane
