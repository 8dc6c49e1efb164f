#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWhatsThis>
#include <filesystem>
#include <fstream>
#include <map>

#include "fakes/RecordingPreferenceTarget.h"
#include "fakes/RecordingUiBridge.h"
#include "fakes/TempDir.h"
#include "log/DiagLogFile.h"
#include "log/DiagLogSource.h"
#include "platform/ProfileStore.h"
#include "qtsupport/HelpRequests.h"
#include "settings/AppSettings.h"
#include "ui/LogSettingsDialog.h"
#include "ui/PrefSpinEdit.h"
#include "ui/VorlinDialog.h"
#include "ui/preferences/AlarmSetupPage.h"
#include "ui/preferences/ArchivePage.h"
#include "ui/preferences/ConfigPage.h"
#include "ui/preferences/PrefSheet.h"
#include "ui/preferences/TestParmsPage.h"

namespace corvane {
namespace {

struct SheetFixture {
    testing::RecordingUiBridge ui;
    SharedSettings settings;
    CProfileStore profile;
    PrefContext context{settings, profile, nullptr};
    explicit SheetFixture(const std::string& analyzer = "None", int lastPage = 0) {
        profile.Load("");
        settings.Modify([&](AppSettings& s) { s.AudioAnalyzer = analyzer; });
        context.sleep = [](std::chrono::milliseconds) {};
        CPrefSheet::s_nLastPage = lastPage;
        CAlarmSetupPage::s_nAlarmKind = 0;
    }
};

void Type(CPrefSpinEdit* edit, const QString& text) {
    edit->findChild<QLineEdit*>()->setText(text);
}

TEST(PrefSheet, PagesFollowTheInstrumentAndOpenOnTheLastPage) {
    SheetFixture f("None", 7);
    CPrefSheet sheet(f.context, nullptr);
    EXPECT_EQ(sheet.ShownPages(), (std::vector<int>{0, 1, 2, 3, 7}));
    EXPECT_EQ(sheet.ActivePage()->PageIndex(), 7);

    ASSERT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(CPrefSheet::s_nLastPage, 0);
    sheet.ConfigPage()->AnalyzerList()->setCurrentText("Tonexa");
    EXPECT_EQ(sheet.ShownPages(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(sheet.ActivePage()->PageIndex(), 0);
    sheet.ConfigPage()->AnalyzerList()->setCurrentText("None");
    EXPECT_EQ(sheet.ShownPages(), (std::vector<int>{0, 1, 2, 3, 7}));
}

TEST(PrefSheet, OkWritesTheProfileAndCancelWritesNothing) {
    for (bool ok : {true, false}) {
        SheetFixture f;
        CPrefSheet sheet(f.context, nullptr);
        ASSERT_TRUE(sheet.SetActivePage(prefpage::kGraphicalLayouts));
        auto boxes = sheet.Page(prefpage::kGraphicalLayouts)->findChildren<QCheckBox*>();
        for (QCheckBox* box : boxes) {
            if (CVorlinDialog::ControlId(box) == 1054) {
                box->click();
            }
        }
        if (ok) {
            sheet.accept();
        } else {
            sheet.reject();
        }
        EXPECT_EQ(f.profile.HasEntry("Settings\\Graphical Layouts", "AutoEnableAllowChanges"), ok);
        EXPECT_EQ(f.settings.Snapshot().AutoEnableAllowChanges, !ok);
        if (ok) {
            EXPECT_EQ(
                f.profile.GetProfileInt("Settings\\Graphical Layouts", "AutoEnableAllowChanges", 1),
                0);
        }
    }
}

TEST(PrefSheet, OutOfRangeInputIsRefusedWithTheSystemsMessage) {
    SheetFixture f;
    CPrefSheet sheet(f.context, nullptr);
    ASSERT_TRUE(sheet.SetActivePage(prefpage::kRequestArchives));
    auto* page = static_cast<CArchivePage*>(sheet.Page(prefpage::kRequestArchives));
    Type(page->TaskPeriodEdit(), "61");
    EXPECT_FALSE(sheet.SetActivePage(prefpage::kAlarmArchives));
    EXPECT_EQ(sheet.ActivePage(), page);
    sheet.accept();
    EXPECT_FALSE(f.profile.HasEntry("Settings\\Request Archive", "RequestArchiveTaskPeriod"));
    ASSERT_EQ(f.ui.Boxes().size(), 2u);
    EXPECT_EQ(f.ui.Boxes()[0].text, "Please enter an integer between 1 and 60.");
    Type(page->TaskPeriodEdit(), "60");
    sheet.accept();
    EXPECT_EQ(f.profile.GetProfileInt("Settings\\Request Archive", "RequestArchiveTaskPeriod", 0),
              60);
}

TEST(PrefSheet, TestParametersFollowTheUnappliedAnalyzer) {
    SheetFixture f("Tonexa");
    CPrefSheet sheet(f.context, nullptr);
    ASSERT_TRUE(sheet.SetActivePage(0));
    sheet.ConfigPage()->AnalyzerList()->setCurrentText("RT-2M");
    ASSERT_TRUE(sheet.SetActivePage(prefpage::kTestParameters));
    auto* page = static_cast<CTestParmsPage*>(sheet.Page(prefpage::kTestParameters));
    EXPECT_EQ(page->ShownChild(), 2);
    EXPECT_EQ(page->SettingsGroup()->title(), "RT-2M Settings");
    Type(page->TrunkLossEdit(), "31");
    EXPECT_FALSE(sheet.SetActivePage(prefpage::kTestSchedule));
    EXPECT_EQ(f.ui.Boxes().back().text, "Please enter an integer between 0 and 30.");
}

TEST(PrefSheet, AlarmKindsWithoutAnAnalyzer) {
    SheetFixture f;
    CPrefSheet sheet(f.context, nullptr);
    ASSERT_TRUE(sheet.SetActivePage(prefpage::kAlarmSetup));
    auto* page = static_cast<CAlarmSetupPage*>(sheet.Page(prefpage::kAlarmSetup));
    QStringList kinds;
    for (int i = 0; i < page->KindList()->count(); ++i) {
        kinds << page->KindList()->itemText(i);
    }
    EXPECT_EQ(kinds,
              (QStringList{"Quillex Events", "Intercom Events", "Trunk Request Busy Events"}));
    // Edited values of two kinds survive switching between them.
    page->EmailTo()->setText("a@example.org");
    page->KindList()->setCurrentIndex(1);
    page->EmailTo()->setText("b@example.org");
    page->KindList()->setCurrentIndex(0);
    EXPECT_EQ(page->EmailTo()->text(), "a@example.org");
    sheet.accept();
    const AppSettings s = f.settings.Snapshot();
    EXPECT_EQ(s.EmailTO[0], "a@example.org");
    EXPECT_EQ(s.EmailTO[2], "b@example.org");
}

TEST(PrefSheet, ShiftF1OnAPageControlAsksForItsPopupId) {
    SheetFixture f;
    std::vector<uint32_t> seen;
    CVorlinDialog::SetHelpHandler([&](uint32_t id, unsigned) { seen.push_back(id); });
    CPrefSheet sheet(f.context, nullptr);
    sheet.show();
    ASSERT_TRUE(sheet.SetActivePage(0));
    QLineEdit* host = nullptr;
    for (QLineEdit* e : sheet.ConfigPage()->findChildren<QLineEdit*>()) {
        if (CVorlinDialog::ControlId(e) == 1023) {
            host = e;
        }
    }
    ASSERT_NE(host, nullptr);
    host->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
    QApplication::sendEvent(&sheet, &press);
    CVorlinDialog::SetHelpHandler(nullptr);
    EXPECT_EQ(seen, std::vector<uint32_t>{((177u | 0x8000u) << 16) + 1023u});
}

using testing::HelpRequests;

TEST(PrefSheet, F1AloneGivesThePagesContextHelp) {
    SheetFixture f;
    HelpRequests help;
    CPrefSheet sheet(f.context, nullptr);
    sheet.show();
    ASSERT_TRUE(sheet.SetActivePage(prefpage::kAlarmSetup));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&sheet, &press);
    EXPECT_EQ(help.seen, (std::vector<std::pair<uint32_t, unsigned>>{{176u | 0x20000u, 1u}}));
}

// Shift+F1 on the tab bar asks for the help of the current tab, wherever it stands in the
// bar; the bar's centre is over another tab.
TEST(PrefSheet, ShiftF1OnTheTabBarAsksForTheCurrentTabsHelp) {
    SheetFixture f;
    HelpRequests help;
    CPrefSheet sheet(f.context, nullptr);
    sheet.show();
    QCoreApplication::processEvents();
    QTabBar* bar = sheet.Tabs()->tabBar();
    ASSERT_GE(bar->count(), 5);
    for (int page : {prefpage::kConfiguration, prefpage::kGraphicalLayouts}) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(sheet.SetActivePage(page));
        ASSERT_NE(bar->tabAt(bar->rect().center()), bar->currentIndex());
        bar->setFocus();
        help.seen.clear();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::ShiftModifier);
        QApplication::sendEvent(bar, &press);
        const auto* current = static_cast<CVorlinPage*>(sheet.Tabs()->currentWidget());
        EXPECT_EQ(help.seen, (std::vector<std::pair<uint32_t, unsigned>>{
                                 {static_cast<uint32_t>(current->HelpId()) | 0x20000u, 8u}}));
    }
}

TEST(PrefSheet, ContextHelpModeEndsAfterOneClick) {
    SheetFixture f;
    HelpRequests help;
    CPrefSheet sheet(f.context, nullptr);
    sheet.show();
    ASSERT_TRUE(sheet.SetActivePage(0));
    QCoreApplication::processEvents();
    QLineEdit* host = nullptr;
    for (QLineEdit* e : sheet.ConfigPage()->findChildren<QLineEdit*>()) {
        if (CVorlinDialog::ControlId(e) == 1023) {
            host = e;
        }
    }
    ASSERT_NE(host, nullptr);
    QWhatsThis::enterWhatsThisMode();
    ASSERT_TRUE(CVorlinDialog::s_bHelpMode);
    QHelpEvent click(QEvent::WhatsThis, host->mapTo(&sheet, host->rect().center()), QPoint());
    QApplication::sendEvent(&sheet, &click);
    EXPECT_EQ(help.seen,
              (std::vector<std::pair<uint32_t, unsigned>>{{((177u | 0x8000u) << 16) + 1023u, 8u}}));
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    EXPECT_FALSE(CVorlinDialog::s_bHelpMode);
}

TEST(PrefSheet, OpensWideEnoughForEveryTab) {
    SheetFixture f("Tonexa");
    CPrefSheet sheet(f.context, nullptr);
    sheet.show();
    QCoreApplication::processEvents();
    const QTabBar* bar = sheet.Tabs()->tabBar();
    ASSERT_EQ(bar->count(), 8);
    for (int tab = 0; tab < bar->count(); ++tab) {
        EXPECT_TRUE(bar->rect().contains(bar->tabRect(tab))) << tab;
    }
}

// A sheet whose pages reach a recording document.
struct TargetFixture : SheetFixture {
    testing::RecordingTarget target;
    PrefContext withTarget{settings, profile, &target};
    TargetFixture() {
        withTarget.sleep = [](std::chrono::milliseconds) {};
        withTarget.resolveHost = [](const std::string& host) { return host; };
    }
};

TEST(ConfigPage, TheApplysWaitsShowTheWaitCursorAndAModalNote) {
    TargetFixture f;
    f.settings.Modify([](AppSettings& s) {
        s.QuillexConnectionType = 1;
        s.QuillexMainIPAddress = "10.0.0.1";
    });
    int polls = 0;
    bool waitCursor = false;
    bool noteShown = false;
    f.target.disconnected = [&] {
        if (++polls < 3) {
            return false;
        }
        waitCursor = QApplication::overrideCursor() != nullptr &&
                     QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        const auto* note = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        noteShown = note != nullptr && note->isVisible();
        return true;
    };
    CPrefSheet sheet(f.withTarget, nullptr);
    sheet.show();
    ASSERT_TRUE(sheet.SetActivePage(0));
    sheet.ConfigPage()->MainEdit()->setText("10.0.0.2");
    ASSERT_TRUE(sheet.Apply());
    EXPECT_EQ(polls, 3);
    EXPECT_TRUE(waitCursor);
    EXPECT_TRUE(noteShown);
    // All of it ends with the apply.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(sheet.findChildren<QProgressDialog*>().isEmpty());
    EXPECT_EQ(f.target.calls.front(), "RequestDisconnect");
}

TEST(ConfigPage, AHostThatDoesNotResolveStaysInTheEdit) {
    TargetFixture f;
    f.settings.Modify([](AppSettings& s) { s.QuillexConnectionType = 1; });
    f.withTarget.resolveHost = [](const std::string&) { return std::string(); };
    CPrefSheet sheet(f.withTarget, nullptr);
    ASSERT_TRUE(sheet.SetActivePage(0));
    sheet.ConfigPage()->MainEdit()->setText("quillex.example.invalid");
    EXPECT_FALSE(sheet.Apply());
    EXPECT_EQ(sheet.ConfigPage()->MainEdit()->text(), "quillex.example.invalid");
    ASSERT_EQ(f.ui.Boxes().size(), 1u);
}

TEST(ConfigPage, PortCombosOfferTheMachinesSerialDevices) {
    testing::TempDir dev;
    std::filesystem::create_directories(dev.Path() / "serial/by-id");
    for (const char* name : {"ttyUSB0", "ttyS10", "ttyS0", "ttyACM1", "tty0", "ttyprintk"}) {
        std::ofstream(dev.Path() / name) << "";
    }
    std::filesystem::create_symlink("../../ttyUSB0",
                                    dev.Path() / "serial/by-id/usb-FTDI_Quillex-if00-port0");
    SheetFixture f;
    f.context.deviceFolder = dev.Path().string();
    CPrefSheet sheet(f.context, nullptr);
    QStringList items;
    for (int i = 0; i < sheet.ConfigPage()->SerialPortCombo()->count(); ++i) {
        items << sheet.ConfigPage()->SerialPortCombo()->itemText(i);
    }
    const QString root = QString::fromStdString(dev.Path().string());
    EXPECT_EQ(items,
              (QStringList{root + "/serial/by-id/usb-FTDI_Quillex-if00-port0", root + "/ttyS0",
                           root + "/ttyS10", root + "/ttyUSB0", root + "/ttyACM1"}));
    EXPECT_EQ(sheet.ConfigPage()->TesterPortCombo()->count(), items.size());
    // The stored setting is shown as it is, and any path may be typed.
    EXPECT_EQ(sheet.ConfigPage()->SerialPortCombo()->currentText(), "COM1");
    EXPECT_TRUE(sheet.ConfigPage()->SerialPortCombo()->isEditable());
}

TEST(AlarmSetupPage, RecipientsMailCannotBeSentToAreRefusedOnApply) {
    SheetFixture f;
    CPrefSheet sheet(f.context, nullptr);
    ASSERT_TRUE(sheet.SetActivePage(prefpage::kAlarmSetup));
    auto* page = static_cast<CAlarmSetupPage*>(sheet.Page(prefpage::kAlarmSetup));
    page->KindList()->setCurrentIndex(1);  // Intercom Events
    page->EmailTo()->setText("x> <y@z");
    page->KindList()->setCurrentIndex(0);
    sheet.accept();
    ASSERT_EQ(f.ui.Boxes().size(), 1u);
    EXPECT_EQ(f.ui.Boxes()[0].text.rfind("The e-mail recipients of the Intercom Events cannot be "
                                         "used:\n\nx> <y@z\n\n",
                                         0),
              0u)
        << f.ui.Boxes()[0].text;
    // The page shows the kind with the list, and nothing was stored.
    EXPECT_EQ(page->KindList()->currentData().toInt(), 2);
    EXPECT_EQ(page->EmailTo()->text(), "x> <y@z");
    EXPECT_EQ(f.settings.Snapshot().EmailTO[2], "");

    page->EmailTo()->setText("Desk <desk@example.org>; ops@example.org");
    sheet.accept();
    EXPECT_EQ(f.settings.Snapshot().EmailTO[2], "Desk <desk@example.org>; ops@example.org");
}

TEST(PrefSheet, Screenshots) {
    SheetFixture f("Tonexa");
    CPrefSheet sheet(f.context, nullptr);
    sheet.resize(560, 520);
    sheet.show();
    QDir().mkpath(CORVANE_SCREENSHOT_DIR);
    for (int index : sheet.ShownPages()) {
        ASSERT_TRUE(sheet.SetActivePage(index));
        QCoreApplication::processEvents();
        const QString name = QString("%1/pref-%2.png")
                                 .arg(CORVANE_SCREENSHOT_DIR)
                                 .arg(QString(PrefPage(index).caption).replace(' ', '-'));
        EXPECT_TRUE(sheet.grab().save(name)) << name.toStdString();
    }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(LogSettingsDialog, LevelsChangeForThisRunAndDefaultNeedsARow) {
    testing::RecordingUiBridge ui;
    CDiagLogSource source("PrefTestSource", "Preference dialog test", 2);
    CDiagLogFile file;
    CDlgDiagLog dialog(file, nullptr);
    QTreeWidget* list = dialog.SourceList();
    int row = -1;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == "PrefTestSource") {
            row = i;
        }
    }
    ASSERT_GE(row, 0);
    EXPECT_EQ(list->topLevelItem(row)->text(1), "2");
    dialog.OnDefault();  // no row selected: only a beep
    EXPECT_EQ(list->topLevelItem(row)->text(1), "2");
    list->topLevelItem(row)->setSelected(true);
    EXPECT_EQ(dialog.SelectedRow(), row);
    EXPECT_TRUE(dialog.DefaultButton()->isEnabled());
    dialog.LevelSpin()->setValue(7);
    EXPECT_EQ(list->topLevelItem(row)->text(1), "7");
    dialog.grab().save(QString("%1/log-settings.png").arg(CORVANE_SCREENSHOT_DIR));
    dialog.accept();
    EXPECT_EQ(source.Level(), 7);
    EXPECT_FALSE(Profile().HasEntry(CDiagLogSource::kLevelSection, "PrefTestSource"));

    CDlgDiagLog again(file, nullptr);
    again.AllToDefaultButton()->click();
    again.RememberBox()->setChecked(true);
    again.accept();
    EXPECT_EQ(source.Level(), 2);
    EXPECT_EQ(Profile().GetProfileInt(CDiagLogSource::kLevelSection, "PrefTestSource", -1), 2);
}

TEST(LogSettingsDialog, TheAmpersandsOfTheLabelsAreMnemonicsOfTheirEdits) {
    testing::RecordingUiBridge ui;
    CDiagLogFile file;
    CDlgDiagLog dialog(file, nullptr);
    std::map<QString, QWidget*> buddies;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        buddies[label->text()] = label->buddy();
    }
    EXPECT_EQ(buddies["Number of Days to &Keep"], dialog.DaysEdit());
    EXPECT_EQ(buddies["Max. File &Size (kB)"], dialog.SizeEdit());
}

TEST(LogSettingsDialog, RefusedWithoutALogFolder) {
    testing::RecordingUiBridge ui;
    CDiagLogFile file;
    ShowDiagLogDialog(nullptr, file);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text,
              "Diagnostic logging is disabled, as a directory to store the log files has not been "
              "specified.");
}

}  // namespace
}  // namespace corvane
