#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>

#include "TrunkViews.h"
#include "ui/VorlinStatusBar.h"

namespace corvane {
namespace {

using testing::FakeNetwork;
using testing::FakeTrunk;
using testing::SetAnalyzer;
using testing::TrunkForm;
using testing::TrunkList;
using testing::ViewsRig;

QCheckBox* Box(CTrunkFormView& form, int id) {
    return qobject_cast<QCheckBox*>(form.Control(id));
}

constexpr int kResultBoxes[] = {1050, 1051, 1052, 1053, 1054};

TEST(TrunkFormView, ShowsItsControlsWithTheirCaptionsAndHelpIds) {
    ViewsRig rig;
    CTrunkFormView* form = TrunkForm(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(form, nullptr);
    const std::pair<int, const char*> captions[] = {
        {1055, " Show idle trunks"},           {1056, " Show allocated trunks"},
        {1057, " Show in-use trunks"},         {1058, " Show trunks in maintenance"},
        {1059, " Show out-of-service trunks"}, {1196, " Show in-service trunks"},
        {1050, " Show passed trunks"},         {1054, " Show skipped trunks"},
    };
    for (const auto& [id, caption] : captions) {
        ASSERT_NE(Box(*form, id), nullptr) << id;
        EXPECT_EQ(Box(*form, id)->text(), caption) << id;
        EXPECT_TRUE(Box(*form, id)->isChecked()) << id;
    }
    auto* intercom = qobject_cast<QComboBox*>(form->Control(CTrunkFormView::kIntercomBox));
    ASSERT_NE(intercom, nullptr);
    ASSERT_EQ(intercom->count(), 7);  // "All intercoms" and six
    EXPECT_EQ(intercom->itemText(0), "All intercoms");
    EXPECT_EQ(intercom->itemText(1).toStdString(),
              rig.supervision.model.Network().matrices[0].name);
    EXPECT_EQ(form->GetHelpId(), 0x200C0u | 0x20000000u);
}

TEST(TrunkFormView, WithoutAnAnalyzerTheResultBoxesHideAndAllResultsShow) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkFormView* form = TrunkForm(frame);
    ASSERT_NE(form, nullptr);
    const testing::ChecksRestored restored(form);
    const auto* filter = static_cast<const CTrunkFilterData*>(form->GetFilterData());
    for (const int id : kResultBoxes) {
        EXPECT_FALSE(Box(*form, id)->isVisibleTo(form)) << id;
    }
    EXPECT_EQ(filter->ResultMask(), 31);
    EXPECT_FALSE(form->IsInfoBarEnabled(cmd::kInfoBar2));
    EXPECT_TRUE(form->IsInfoBarEnabled(cmd::kInfoBar1));

    // The analyzer configured and applied: the boxes and the second info bar come back.
    EXPECT_FALSE(frame->RouteCommandUpdate(cmd::kInfoBar2)->enabled);
    SetAnalyzer(rig, "RT-2M");
    rig.doc->UpdateAllViews(hint::kConfigurationApplied);
    EXPECT_TRUE(frame->RouteCommandUpdate(cmd::kInfoBar2)->enabled);
    for (const int id : kResultBoxes) {
        EXPECT_TRUE(Box(*form, id)->isVisibleTo(form)) << id;
        EXPECT_TRUE(Box(*form, id)->isChecked()) << id;
    }
    EXPECT_TRUE(form->IsInfoBarEnabled(cmd::kInfoBar2));
    EXPECT_FALSE(frame->InfoBar(1).isHidden());  // no saved state hides it

    // A hidden failure box would hide failed trunks for good: losing the analyzer shows all.
    Box(*form, 1051)->click();
    EXPECT_EQ(filter->ResultMask(), 31 & ~0x2);
    SetAnalyzer(rig, "None");
    rig.doc->UpdateAllViews(hint::kConfigurationApplied);
    EXPECT_EQ(filter->ResultMask(), 31);
    EXPECT_FALSE(Box(*form, 1051)->isVisibleTo(form));
    EXPECT_TRUE(frame->InfoBar(1).isHidden());
    EXPECT_EQ(TrunkList(frame)->Model().rowCount(), 40);
}

TEST(TrunkFormView, ServiceBoxesFollowTheController) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkFormView* form = TrunkForm(frame);
    ASSERT_NE(form, nullptr);
    const testing::ChecksRestored restored(form);
    EXPECT_TRUE(Box(*form, 1059)->isVisibleTo(form));
    Box(*form, 1196)->click();  // only the out-of-service trunks
    const FakeNetwork network = rig.supervision.model.Network();
    const auto out = std::count_if(network.trunks.begin(), network.trunks.end(),
                                   [](const FakeTrunk& t) { return t.outOfService; });
    EXPECT_EQ(TrunkList(frame)->Model().rowCount(), out);

    ASSERT_TRUE(testing::SetOutOfServiceReported(rig, false));
    EXPECT_FALSE(Box(*form, 1059)->isVisibleTo(form));
    EXPECT_FALSE(Box(*form, 1196)->isVisibleTo(form));
    EXPECT_EQ(static_cast<const CTrunkFilterData*>(form->GetFilterData())->ServiceMask(), 3);
    EXPECT_EQ(TrunkList(frame)->Model().rowCount(), 40);
}

TEST(TrunkFormView, ChoosingAnIntercomFiltersTheListAndTitlesTheFrame) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkFormView* form = TrunkForm(frame);
    ASSERT_NE(form, nullptr);
    auto* intercom = qobject_cast<QComboBox*>(form->Control(CTrunkFormView::kIntercomBox));
    const int index = intercom->findData(2);
    ASSERT_GT(index, 0);
    intercom->setCurrentIndex(index);
    const FakeNetwork network = rig.supervision.model.Network();
    const auto onTwo = std::count_if(
        network.trunks.begin(), network.trunks.end(),
        [](const FakeTrunk& t) { return t.end1Intercom == 1 || t.end2Intercom == 1; });
    EXPECT_EQ(TrunkList(frame)->Model().rowCount(), onTwo);
    EXPECT_NE(frame->windowTitle().toStdString().find(network.matrices[1].name), std::string::npos);
    intercom->setCurrentIndex(0);  // all intercoms
    EXPECT_EQ(TrunkList(frame)->Model().rowCount(), 40);
}

TEST(TrunkFormView, ARenamedIntercomIsRenamedInBothBoxesAndKeepsItsSelection) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Trunks);
    CTrunkFormView* form = TrunkForm(frame);
    ASSERT_NE(form, nullptr);
    auto* intercom = qobject_cast<QComboBox*>(form->Control(CTrunkFormView::kIntercomBox));
    auto* other = qobject_cast<QComboBox*>(form->Control(CTrunkFormView::kOtherIntercomBox));
    intercom->setCurrentIndex(intercom->findData(3));
    rig.supervision.model.SetMatrixName(2, "NEWS");
    ASSERT_TRUE(rig.supervision.TickUntil([&] {
        QCoreApplication::processEvents();
        return intercom->findText("NEWS") >= 0;
    }));
    EXPECT_GE(other->findText("NEWS"), 0);
    EXPECT_EQ(intercom->currentData().toInt(), 3);
    EXPECT_EQ(intercom->currentText(), "NEWS");
}

TEST(TrunkFormView, ASecondFrameStartsFromTheLastCheckStates) {
    ViewsRig rig;
    CTrunkFormView* first = TrunkForm(rig.OpenFrame(ViewKind::Trunks));
    ASSERT_NE(first, nullptr);
    Box(*first, 1057)->click();  // no in-use trunks
    CChildFrame* second = rig.OpenFrame(ViewKind::Trunks);
    CTrunkFormView* form = TrunkForm(second);
    const testing::ChecksRestored restored(form);
    EXPECT_FALSE(Box(*form, 1057)->isChecked());
    const FakeNetwork network = rig.supervision.model.Network();
    const auto notInUse = std::count_if(network.trunks.begin(), network.trunks.end(),
                                        [](const FakeTrunk& t) { return t.status != 3; });
    EXPECT_EQ(TrunkList(second)->Model().rowCount(), notInUse);
}

TEST(TrunkFormView, AFilterHandedOverKeepsTheChecksAndSelectsTheIntercom) {
    ViewsRig rig;
    CChildFrame* frame = rig.OpenFrame(ViewKind::Intercoms);
    CTrunkFormView* form = nullptr;
    CTrunkFilterData given;
    given.SetIntercom(3);
    given.SetStateMask(0);  // a switch keeps the form's own masks
    frame->SetViewKind(ViewKind::Trunks, &given);
    form = TrunkForm(frame);
    ASSERT_NE(form, nullptr);
    auto* intercom = qobject_cast<QComboBox*>(form->Control(CTrunkFormView::kIntercomBox));
    EXPECT_EQ(intercom->currentData().toInt(), 3);
    EXPECT_TRUE(Box(*form, 1055)->isChecked());
    const FakeNetwork network = rig.supervision.model.Network();
    const auto onThree = std::count_if(
        network.trunks.begin(), network.trunks.end(),
        [](const FakeTrunk& t) { return t.end1Intercom == 2 || t.end2Intercom == 2; });
    EXPECT_EQ(TrunkList(frame)->Model().rowCount(), onThree);

    // Switched to the same kind again, the panes stay and the filter goes straight through.
    given.SetIntercom(4);
    frame->SetViewKind(ViewKind::Trunks, &given);
    EXPECT_EQ(TrunkForm(frame), form);
    EXPECT_EQ(intercom->currentData().toInt(), 4);
}

}  // namespace
}  // namespace corvane
