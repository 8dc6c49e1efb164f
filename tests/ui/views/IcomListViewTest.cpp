#include <gtest/gtest.h>

#include "ViewsRig.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/IcomListView.h"

#include <QMenu>

#include "document/VorlinDoc.h"
#include "ui/views/VorlinFormView.h"

namespace corvane {
namespace {

using testing::ViewsRig;

TEST(IcomListView, ShowsTheIntercomsTheDocumentWrote) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Intercoms);
    auto* list = dynamic_cast<CIcomListView*>(frame->ListView());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(frame->FormView(), nullptr);
    const CListTableModel& model = list->Model();
    ASSERT_EQ(model.rowCount(), 6);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Icom #");
    const auto network = rig.supervision.model.Network();
    EXPECT_EQ(model.CellText(0, 0), "1");
    EXPECT_EQ(model.CellText(0, 1), network.matrices[0].name);
    EXPECT_EQ(frame->windowTitle(), "Intercoms");
    EXPECT_EQ(list->GetInfoText(1), "6 Intercoms");
    rig.Screenshot("view-intercoms.png");
}

QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

TEST(IcomListView, SeveralIntercomsOfferOnlyTheirSwitchesWhichActOnEach) {
    ViewsRig rig;
    CIcomListView* list =
        dynamic_cast<CIcomListView*>(rig.OpenFrame(ViewKind::Intercoms)->ListView());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->CreateContextMenu(), nullptr);  // nothing selected: no menu
    list->selectRow(0);
    const auto one = list->CreateContextMenu();
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->defaultAction()->data().toInt(), CIcomListView::kMenuSummary);
    EXPECT_EQ(MenuTexts(*one).size(), 9);

    for (int intercom = 1; intercom <= 3; ++intercom) {
        rig.doc->SetIntercomAlarmOption(intercom, CVorlinDoc::kCmdDisableAlarms);
    }
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->selectRow(2);
    const auto two = list->CreateContextMenu();
    EXPECT_EQ(MenuTexts(*two), (QStringList{"&Alarms", "&Notifications", "-", "Select &All"}));
    for (QAction* action : two->actions()[0]->menu()->actions()) {
        if (action->data().toInt() == CVorlinDoc::kCmdEnableAlarms) {
            action->trigger();
        }
    }
    for (const int intercom : {1, 2, 3}) {
        EXPECT_EQ(rig.doc->Intercoms()[intercom].AlarmsEnabled(), intercom != 2) << intercom;
    }
}

}  // namespace
}  // namespace corvane
