#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QToolTip>

#include "GraphicalViewRig.h"
#include "graphics/CaptionObj.h"
#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/TrunkSetObj.h"
#include "model/Alpha.h"
#include "model/ModelNumbers.h"
#include "qtsupport/QtWait.h"

namespace corvane {
namespace {

using testing::BuildFakeNetwork;
using testing::GraphicalViewRig;
using testing::ViewsRig;

// The largest network a controller reports, matrices 0-254 (intercoms 1-255), their alphas
// left out for a quick start.
testing::FakeNetwork FullNetwork() {
    testing::FakeNetwork network = BuildFakeNetwork(255, 300);
    for (testing::FakeMatrix& matrix : network.matrices) {
        matrix.alphas = {};
        matrix.queued.clear();
    }
    return network;
}

class GraphicalViewIntercom256 : public ::testing::Test {
protected:
    static QString TipAt(CVorlinScrollView* view, QPoint at) {
        QToolTip::hideText();
        EXPECT_TRUE(testing::ProcessEventsUntil([] { return !QToolTip::isVisible(); }));
        QHelpEvent event(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    // Intercom 256, whose low byte is 0, named and communicating through the document's own
    // setters.
    void SetUp() override {
        ASSERT_TRUE(
            rig.doc->AddAlpha(256, kIntercomFunctionType, 1, "M255", alphaop::kStore, true));
        ASSERT_TRUE(rig.doc->SetIntercomCommStatus(256, "OK", true));
        ASSERT_TRUE(rig.supervision.TickUntil([this] { return rig.RowCount("Intercoms") == 256; }));
    }

    ViewsRig rig{FullNetwork()};
    GraphicalViewRig views{rig};
};

TEST_F(GraphicalViewIntercom256, ItsCommandsShowItAndItsTrunkSet) {
    CVorlinScrollView* view = views.OpenView(0);
    auto items = GraphicalViewRig::RightClick(view, {300, 100}, 33256);
    ASSERT_TRUE(GraphicalViewRig::HasItem(items, 33256));
    const CIcomObj* last = view->Layout()->FindIntercom(256);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->Caption()->GetText(), " M255 ");
    GraphicalViewRig::RightClick(view, {100, 100}, 33005);
    items = GraphicalViewRig::RightClick(view, {100, 100}, 33256);
    ASSERT_TRUE(GraphicalViewRig::HasItem(items, 33256));
    const CTrunkSetObj* set = view->Layout()->FindTrunkSet(MakePairKey(5, 256));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->FirstEnd()->GetId(), 5);
    EXPECT_EQ(set->SecondEnd(), last);
}

TEST_F(GraphicalViewIntercom256, HiddenCaptionsAreToldByTheirOwnObject) {
    CGraphicLayout& layout = views.Open(0);
    // Intercom 256's caption and the caption of the set (1, 256) share the key 256.
    CIcomObj& first = layout.AddIntercom(1, {100, 100}, "");
    CIcomObj& last = layout.AddIntercom(256, {300, 100}, "");
    CTrunkSetObj& set = layout.AddTrunkSet(first, last, {7, 2, 1, 0, 0});
    ASSERT_EQ(set.GetId(), last.GetId());
    last.Caption()->Show(false);
    set.Caption()->Show(false);
    CVorlinScrollView* view = views.OpenView(0);  // the captions now read from the database
    const QString box = QString::fromStdString(last.Caption()->GetText());
    const QString counts = QString::fromStdString(set.Caption()->GetText());
    ASSERT_EQ(box, " M255 ");
    ASSERT_NE(counts, box);
    EXPECT_EQ(TipAt(view, {300, 100}), box);
    EXPECT_EQ(TipAt(view, {150, 100}), counts);
    EXPECT_EQ(TipAt(view, {100, 100}), "") << "its caption is shown";
    EXPECT_EQ(TipAt(view, {500, 400}), "");
}

}  // namespace
}  // namespace corvane
