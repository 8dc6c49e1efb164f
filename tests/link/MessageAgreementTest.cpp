// The program's requests put to the fake controller's model, and its answers read back with
// the program's decoders: the two sides, written apart, agree on every message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeControllerModel.h"
#include "fakes/FakeNetworkBuilder.h"
#include "link/AlphaMessages.h"
#include "link/ChangeQueryMessages.h"
#include "link/ControllerMessages.h"
#include "link/MaintenanceMessages.h"
#include "link/MatrixMessages.h"
#include "link/QueuedRequestMessages.h"
#include "link/RecordingModel.h"
#include "link/TrunkMessages.h"

namespace corvane {
namespace {

using testing::FakeControllerModel;
using testing::FakeRequest;

class MessageAgreementTest : public ::testing::Test {
protected:
    std::vector<uint8_t> Ask(const QuillexRequest& r) {
        FakeRequest request;
        request.valid = true;
        request.code = static_cast<int>(r.code);
        request.payload = r.payload;
        const auto reply = fake.Answer(request);
        EXPECT_TRUE(reply.has_value()) << r.sendingLine;
        return reply ? reply->payload : std::vector<uint8_t>{};
    }

    FakeControllerModel fake{testing::BuildFakeNetwork(40, 200)};
    testing::RecordingModel model;
    CDiagLogSource log;
};

TEST_F(MessageAgreementTest, ChangeMapsReportWhatChangedAndClearExactlyThat) {
    fake.SetTrunkStatus(17, 3);
    fake.SetTrunkStatus(150, 0);
    const auto overall =
        DecodeChangeReply(ChangeArea::kOverall, Ask(ChangeQueryRequest(ChangeArea::kOverall)));
    ASSERT_TRUE(overall);
    EXPECT_EQ(MarkedAreas(*overall), std::vector<ChangeArea>{ChangeArea::kTrunkUsage});

    const auto usage = DecodeChangeReply(ChangeArea::kTrunkUsage,
                                         Ask(ChangeQueryRequest(ChangeArea::kTrunkUsage)));
    ASSERT_TRUE(usage);
    EXPECT_EQ(usage->bitCount, 200);
    EXPECT_EQ(MarkedItems(*usage, kQuillexTrunks), (std::vector<int>{17, 150}));

    fake.SetTrunkStatus(18, 2);  // after the query: must survive the clear
    Ask(ClearChangeFlagsRequest(ChangeArea::kTrunkUsage, *usage));
    const auto after = DecodeChangeReply(ChangeArea::kTrunkUsage,
                                         Ask(ChangeQueryRequest(ChangeArea::kTrunkUsage)));
    EXPECT_EQ(MarkedItems(*after, kQuillexTrunks), std::vector<int>{18});
}

TEST_F(MessageAgreementTest, SetAllChangeFlagsMarksEveryItemAndEveryAlphaList) {
    Ask(SetAllChangeFlagsRequest());
    const auto alphas = DecodeChangeReply(ChangeArea::kMatrixAlphas,
                                          Ask(ChangeQueryRequest(ChangeArea::kMatrixAlphas)));
    ASSERT_TRUE(alphas);
    EXPECT_EQ(MarkedAlphaLists(*alphas).size(), 40u * 8);
    const auto names = DecodeChangeReply(ChangeArea::kMatrixNames,
                                         Ask(ChangeQueryRequest(ChangeArea::kMatrixNames)));
    EXPECT_EQ(MarkedItems(*names, kQuillexMatrices).size(), 40u);
}

TEST_F(MessageAgreementTest, AlphaPagesOfEverySize) {
    std::vector<std::string> list;
    for (int i = 0; i < 130; ++i) {
        list.push_back("X" + std::to_string(i));
    }
    fake.SetAlphas(3, 4, list);
    for (const int size : {4, 6, 8}) {
        model.Clear();
        AlphaPageQuery q;
        q.matrix = 3;
        q.kind = 4;
        q.alphaSize = size;
        q.sizeCode = AlphaSizeCode(true, size);
        q.alphasPerPage = AlphasPerPage(size);
        int pages = 0;
        do {
            const auto next = HandleAlphasReply(q, Ask(RequestAlphasRequest(q)), model, log);
            ASSERT_TRUE(next);
            q.startIndex = *next;
            ++pages;
        } while (q.startIndex != 0);
        EXPECT_EQ(pages, size == 4 ? 2 : size == 6 ? 2 : 3);
        const auto calls = model.Calls();
        ASSERT_EQ(calls.size(), 131u);
        EXPECT_EQ(calls[0], "Alpha 3 4 130 '' op2");
        EXPECT_EQ(calls[130], "Alpha 3 4 129 'X129' op0");
    }
}

TEST_F(MessageAgreementTest, TrunkMatrixAndQueueReplies) {
    fake.SetTrunkStatus(17, 3);
    const auto definition =
        HandleTrunkDefinitionsReply(17, Ask(TrunkDefinitionsRequest(17)), model, log);
    EXPECT_EQ(definition, true);
    EXPECT_EQ(HandleTrunkDefinitionsReply(49, Ask(TrunkDefinitionsRequest(49)), model, log), false);
    EXPECT_TRUE(HandleTrunkStatusReply(17, Ask(TrunkStatusRequest(17, true)), true, model, log));
    EXPECT_TRUE(HandleInspectTrunkReply(17, Ask(InspectTrunkRequest(17)), model, log));
    EXPECT_TRUE(HandleQueuedRequestsReply(0, Ask(QueuedRequestsRequest(0)), model, log));
    EXPECT_TRUE(HandleQueuedRequestsReply(32, Ask(QueuedRequestsRequest(32)), model, log));
    EXPECT_TRUE(HandleCommStatReply(9, Ask(DeviceCommStatusRequest(9)), model, log));
    EXPECT_TRUE(HandleIPAddressReply(1, 4, Ask(MatrixIPAddressRequest(1, 4)), model, log));
    EXPECT_TRUE(HandleCascadeCostReply(6, Ask(MatrixCascadeCostRequest(6)), model, log));
    EXPECT_TRUE(DecodeOosPortsReply(Ask(OosPortsRequest(2))));
    const auto calls = model.Calls();
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(calls[1], "Undefine 49");
    EXPECT_EQ(calls[3], "State 17 2");
    EXPECT_EQ(calls[4].rfind("Usage 17 cascade 65535 17:0:", 0), 0u) << calls[4];
    EXPECT_EQ(calls.back(), "CascadeCost 6 6");
}

TEST_F(MessageAgreementTest, MaintenanceSequenceOutcomes) {
    testing::FakeMaintenanceOutcomes outcomes;
    outcomes.activationInProgressReplies = 2;
    outcomes.trunkModeSucceeds = false;
    fake.SetOutcomes(outcomes);
    EXPECT_EQ(HandleActivationReply(Ask(ActivateChangesRequest()), log), true);
    EXPECT_EQ(HandleActivationReply(Ask(GetActivationStatusRequest()), log), true);
    EXPECT_EQ(HandleActivationReply(Ask(GetActivationStatusRequest()), log), false);
    EXPECT_EQ(HandleSetTrunkModeReply(Ask(SetTrunkModeRequest(3, 1)), false, log),
              requeststatus::kMaintenanceRefused);
    EXPECT_EQ(
        HandleSetTrunkCrosspointsReply(Ask(SetTrunkCrosspointsRequest(0, 3, 0xFFFF, true)), log),
        requeststatus::kSucceeded);
    EXPECT_TRUE(HandleSetMaintenancePortReply(Ask(SetMaintenancePortRequest(2, 700)), log));
    const auto port = DecodeMaintenancePortReply(Ask(GetMaintenancePortRequest()));
    ASSERT_TRUE(port);
    EXPECT_EQ(port->matrix, 2);
    EXPECT_EQ(port->port, 700);
}

}  // namespace
}  // namespace corvane
