#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <memory>

#include "link/AuthStat.h"
#include "link/Quillex.h"
#include "link/RecordingModel.h"
#include "qtsupport/QtWait.h"
#include "settings/AppSettings.h"
#include "ui/CompatibilityStatusDialog.h"

namespace corvane {
namespace {

using testing::ProcessEventsUntil;

// The statuses of the 255 intercoms, named "Icom <number>".
struct Statuses {
    std::array<CAuthStat, 255> stats;

    CDlgAuthStatus::AuthStatSource Source() {
        return [this](int index) -> CAuthStat* {
            return index >= 0 && index < 255 ? &stats[static_cast<size_t>(index)] : nullptr;
        };
    }
    static CDlgAuthStatus::NameSource Names() {
        return [](int index) { return "Icom " + std::to_string(index + 1); };
    }
    void Set(int index, int state, int minutes = 0) {
        stats[static_cast<size_t>(index)].SetState(state);
        stats[static_cast<size_t>(index)].SetWordValue2(minutes);
    }
};

std::vector<std::string> Column(const CDlgAuthStatus& dialog, int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < dialog.List()->topLevelItemCount(); ++i) {
        texts.push_back(dialog.List()->topLevelItem(i)->text(column).toStdString());
    }
    return texts;
}

TEST(CompatibilityStatusDialog, ListsIncompatibleAndIsolatedIntercomsAndClearsTheirFlags) {
    Statuses s;
    s.Set(4, CAuthStat::kIncompatible, 1500);
    s.Set(9, CAuthStat::kIsolated);
    s.Set(20, 1);
    CDlgAuthStatus dialog(s.Source(), Statuses::Names(), nullptr);
    dialog.Open();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Compatibility Notification");
    EXPECT_EQ(dialog.TemplateId(), 180);
    ASSERT_EQ(dialog.List()->columnCount(), 3);
    EXPECT_EQ(dialog.List()->headerItem()->text(0), "Intercom");
    EXPECT_EQ(dialog.List()->headerItem()->text(1), "Alpha");
    EXPECT_EQ(dialog.List()->headerItem()->text(2), "Status");
    EXPECT_EQ(dialog.Rows(),
              (std::vector<CompatibilityStatusRow>{
                  {4, "5", "Icom 5", "Incompatible (becomes Isolated in 1 day, 1 hour)"},
                  {9, "10", "Icom 10", "Isolated"}}));
    // Newly isolated comes first.
    EXPECT_TRUE(dialog.MessageText().startsWith(
        "Intercom #10 (Icom 10) seems to be incompatible with the Quillex and has been isolated "
        "from the system"))
        << dialog.MessageText().toStdString();
    EXPECT_FALSE(dialog.MessageText().contains('\r'));
    EXPECT_TRUE(dialog.MessageText().contains("\n\n"));
    for (int index : {4, 9}) {
        EXPECT_EQ(s.stats[static_cast<size_t>(index)].ChangeFlags(), 0) << index;
    }
    // Not listed, so its flags stay for whoever reads them.
    EXPECT_NE(s.stats[20].ChangeFlags(), 0);
    ASSERT_NE(dialog.RefreshTimer(), nullptr);
    EXPECT_TRUE(dialog.RefreshTimer()->isActive());
    EXPECT_EQ(dialog.RefreshTimer()->interval(), 60000);

    QCoreApplication::processEvents();
    QDir().mkpath(CORVANE_SCREENSHOT_DIR);
    EXPECT_TRUE(
        dialog.grab().save(QString("%1/compatibility-status.png").arg(CORVANE_SCREENSHOT_DIR)));

    // Nothing new since: the intercom still incompatible is the one talked about.
    ASSERT_TRUE(dialog.SelectIntercom(9));
    dialog.Refresh();
    EXPECT_TRUE(dialog.MessageText().startsWith(
        "Intercom #5 (Icom 5) continues to exhibit behaviour that indicates it may not be "
        "compatible with the Quillex."))
        << dialog.MessageText().toStdString();
    EXPECT_TRUE(dialog.MessageText().contains("for at least 1 more day."));
    EXPECT_EQ(dialog.SelectedIntercom(), 9);
}

TEST(CompatibilityStatusDialog, AnIntercomIsolatedSinceTheLastRefreshGivesTheIsolatedMessage) {
    Statuses s;
    s.Set(0, CAuthStat::kIncompatible, 0);
    CDlgAuthStatus dialog(s.Source(), Statuses::Names(), nullptr);
    dialog.Open();
    EXPECT_TRUE(dialog.MessageText().startsWith(
        "There seems to be a communication problem with Intercom #1 (Icom 1)"));
    EXPECT_TRUE(dialog.MessageText().contains(
        "The Quillex will continue to try to communicate with this intercom for less than 1 "
        "minute."));
    EXPECT_EQ(Column(dialog, 2),
              std::vector<std::string>{"Incompatible (becomes Isolated in less than 1 minute)"});

    s.Set(0, CAuthStat::kIsolated);
    dialog.Refresh();
    EXPECT_TRUE(dialog.MessageText().startsWith(
        "Intercom #1 (Icom 1) seems to be incompatible with the Quillex and has been isolated"))
        << dialog.MessageText().toStdString();
    EXPECT_EQ(Column(dialog, 2), std::vector<std::string>{"Isolated"});
}

TEST(CompatibilityStatusDialog, SortsTheNumberColumnAsNumbersAndTheOthersAsText) {
    Statuses s;
    s.Set(1, CAuthStat::kIsolated);
    s.Set(10, CAuthStat::kIncompatible, 5);
    s.Set(100, CAuthStat::kIsolated);
    CDlgAuthStatus dialog(s.Source(), Statuses::Names(), nullptr);
    dialog.Open();
    // Opened sorted by number, as numbers.
    EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"2", "11", "101"}));
    dialog.List()->SetSortColumn(1);
    EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"101", "11", "2"}));
    dialog.List()->SetSortColumn(2);
    dialog.List()->SetSortColumn(2);  // the same column again: descending
    EXPECT_EQ(Column(dialog, 0)[2], "11");
    dialog.Refresh();  // the rows read again stay in that order
    EXPECT_EQ(Column(dialog, 0)[2], "11");
}

TEST(CompatibilityStatusDialog, ClosesOnceEveryIntercomIsCompatibleAgain) {
    Statuses s;
    s.Set(3, CAuthStat::kIsolated);
    CDlgAuthStatus dialog(s.Source(), Statuses::Names(), nullptr);
    dialog.Open();
    ASSERT_TRUE(dialog.isVisible());
    s.Set(3, 0);
    dialog.Refresh();
    EXPECT_TRUE(dialog.Rows().empty());
    ASSERT_TRUE(ProcessEventsUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.RefreshTimer()->isActive());
}

TEST(CompatibilityStatusDialog, ShowingKeepsOneDialogOnTheControllersStatuses) {
    testing::RecordingModel model;
    SharedSettings settings;
    CQuillex controller(model, settings);
    ASSERT_NE(controller.GetAuthStat(7), nullptr);
    controller.GetAuthStat(7)->SetState(CAuthStat::kIsolated);
    const auto names = [](int index) { return "Matrix " + std::to_string(index); };

    ShowCompatibilityStatus(nullptr, &controller, names);
    QPointer<CDlgAuthStatus> first = OpenCompatibilityStatus();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->Rows(),
              (std::vector<CompatibilityStatusRow>{{7, "8", "Matrix 7", "Isolated"}}));

    // A second showing refreshes the open one.
    controller.GetAuthStat(8)->SetState(CAuthStat::kIsolated);
    ShowCompatibilityStatus(nullptr, &controller, names);
    EXPECT_EQ(OpenCompatibilityStatus(), first.data());
    EXPECT_EQ(first->Rows().size(), 2u);
    // Only the one isolated since the last look is news.
    EXPECT_TRUE(first->MessageText().startsWith("Intercom #9 (Matrix 8) seems"))
        << first->MessageText().toStdString();

    // Once nothing is left it closes, and is gone.
    controller.GetAuthStat(7)->SetState(0);
    controller.GetAuthStat(8)->SetState(0);
    first->Refresh();
    ASSERT_TRUE(ProcessEventsUntil([&] { return first.isNull(); }));
    EXPECT_EQ(OpenCompatibilityStatus(), nullptr);

    // Without a controller there is nothing to list.
    ShowCompatibilityStatus(nullptr, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return OpenCompatibilityStatus() == nullptr; }));
    controller.Stop();
}

TEST(CompatibilityStatusDialog, AChangeRefreshesTheOpenDialogAtOnceAndChoosingItBringsItForward) {
    testing::RecordingModel model;
    SharedSettings settings;
    CQuillex controller(model, settings);
    const auto names = [](int index) { return "Matrix " + std::to_string(index); };
    // News without a state opens nothing; with one it opens the dialog.
    OnCompatibilityStatusChanged(nullptr, &controller, names, false);
    EXPECT_EQ(OpenCompatibilityStatus(), nullptr);
    controller.GetAuthStat(2)->SetState(CAuthStat::kIsolated);
    OnCompatibilityStatusChanged(nullptr, &controller, names, true);
    QPointer<CDlgAuthStatus> dialog = OpenCompatibilityStatus();
    ASSERT_NE(dialog, nullptr);

    // Another window in front; choosing the command again puts the dialog before it.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(ProcessEventsUntil([&] { return QApplication::activeWindow() == &other; }));
    ShowCompatibilityStatus(nullptr, &controller, names);
    EXPECT_TRUE(ProcessEventsUntil([&] { return QApplication::activeWindow() == dialog; }));

    // Every intercom compatible again: the news itself closes it, no timer needed.
    controller.GetAuthStat(2)->SetState(0);
    OnCompatibilityStatusChanged(nullptr, &controller, names, false);
    EXPECT_TRUE(ProcessEventsUntil([&] { return dialog.isNull(); }));
    controller.Stop();
}

}  // namespace
}  // namespace corvane
