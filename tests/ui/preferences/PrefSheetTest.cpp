#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include "fakes/RecordingUiBridge.h"
#include "log/DiagLogFile.h"
#include "log/DiagLogSource.h"
#include "platform/ProfileStore.h"
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
