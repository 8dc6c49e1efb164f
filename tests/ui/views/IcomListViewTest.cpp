#include <gtest/gtest.h>

#include "ViewsRig.h"
#include "ui/VorlinStatusBar.h"
#include "ui/views/IcomListView.h"
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

}  // namespace
}  // namespace corvane
