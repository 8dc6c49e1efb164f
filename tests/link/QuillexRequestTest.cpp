#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "link/AlphaMessages.h"
#include "link/ChangeQueryMessages.h"
#include "link/CompatibilityMessages.h"
#include "link/ControllerMessages.h"
#include "link/MaintenanceMessages.h"
#include "link/MatrixMessages.h"
#include "link/QueuedRequestMessages.h"
#include "link/TrunkMessages.h"

namespace corvane {
namespace {

using Bytes = std::vector<uint8_t>;

struct RequestCase {
    friend void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }
    const char* name;
    std::function<QuillexRequest()> build;
    int code;
    Bytes payload;
    int endFlags;
    const char* line;
};

class QuillexRequestTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(QuillexRequestTest, CarriesItsCodePayloadFlagsAndSendingLine) {
    const RequestCase& c = GetParam();
    const QuillexRequest r = c.build();
    EXPECT_EQ(static_cast<int>(r.code), c.code);
    EXPECT_EQ(r.payload, c.payload);
    EXPECT_EQ(r.endFlags, c.endFlags);
    EXPECT_EQ(r.sendingLine, c.line);
}

AlphaPageQuery Page(int matrix, int kind, int start, int sizeCode, int perPage) {
    AlphaPageQuery q;
    q.matrix = matrix;
    q.kind = kind;
    q.startIndex = start;
    q.sizeCode = sizeCode;
    q.alphasPerPage = perPage;
    return q;
}

ChangeMap MapOf(Bytes payload) {
    ChangeMap m;
    m.payload = std::move(payload);
    return m;
}

LocalTime At(int year, int month, int day, int hour, int minute, int second) {
    LocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    MessageSet, QuillexRequestTest,
    ::testing::Values(
        RequestCase{"Hello", HelloRequest, 36, {}, 0, "Sending Hello Message"},
        RequestCase{
            "Version", GetQxVersionRequest, 21, {0, 0}, 0, "Sending Get QX Version Message"},
        RequestCase{"Capabilities", CapabilitiesRequest, 74, {}, 0, "Sending Capabilities Message"},
        RequestCase{"GetDateAndTime",
                    GetDateAndTimeRequest,
                    37,
                    {},
                    0,
                    "Sending Get Date and Time Message"},
        RequestCase{"SetDateTime",
                    [] { return SetDateTimeRequest(At(2026, 12, 10, 9, 5, 59)); },
                    17,
                    {126, 12, 10, 9, 5, 59},
                    0,
                    "Sending Set Date Time Message"},
        RequestCase{"OverallChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kOverall); },
                    38,
                    {0},
                    0,
                    "Sending Overall Change Query Message"},
        RequestCase{"NamesChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kMatrixNames); },
                    38,
                    {1},
                    0,
                    "Sending Matrix Names Change Query Message"},
        RequestCase{"AlphasChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kMatrixAlphas); },
                    38,
                    {2},
                    0,
                    "Sending Matrix Alphas Change Query Message"},
        RequestCase{"CommStatChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kMatrixCommStat); },
                    38,
                    {3},
                    0,
                    "Sending Matrix CommStat Change Query Message"},
        RequestCase{"DefinitionsChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kTrunkDefinitions); },
                    38,
                    {4},
                    0,
                    "Sending Trunk Definitions Change Query Message"},
        RequestCase{"UsageChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kTrunkUsage); },
                    38,
                    {5},
                    0,
                    "Sending Trunk Usage Change Query Message"},
        RequestCase{"FailedRequestsChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kFailedRequests); },
                    38,
                    {6},
                    0,
                    "Sending Failed Requests Change Query Message"},
        RequestCase{"OosChangeQuery",
                    [] { return ChangeQueryRequest(ChangeArea::kMatrixOosPorts); },
                    38,
                    {7},
                    0,
                    "Sending Matrix OOS Ports Change Query Message"},
        RequestCase{
            "ClearChangeFlagsEchoesTheReply",
            [] {
                return ClearChangeFlagsRequest(ChangeArea::kTrunkUsage, MapOf({0, 10, 0x05, 0x02}));
            },
            53,
            {5, 0, 10, 0x05, 0x02},
            0,
            "Sending Clear Change Flags Message"},
        RequestCase{"SetAllChangeFlags",
                    SetAllChangeFlagsRequest,
                    54,
                    {},
                    0,
                    "Sending Set All Change Flags Message"},
        RequestCase{"RequestAlphasPointToPoint",
                    [] { return RequestAlphasRequest(Page(4, 0, 0, 0, 128)); },
                    5,
                    {4, 0x00, 0x00, 0x00, 128},
                    0,
                    "Sending Request Alphas (Point-To-Point) Message, Matrix = 4"},
        RequestCase{"RequestAlphasSecondPageOfIfbSpecialListsAtSize8",
                    [] { return RequestAlphasRequest(Page(200, 8, 64, 3, 64)); },
                    5,
                    {200, 0x80, 64, 0x30, 64},
                    0,
                    "Sending Request Alphas (IFB Special Lists) Message, Matrix = 200"},
        RequestCase{"RequestAlphasUplResourcesAtSize6",
                    [] { return RequestAlphasRequest(Page(1, 6, 85, 2, 85)); },
                    5,
                    {1, 0x60, 85, 0x20, 85},
                    0,
                    "Sending Request Alphas (UPL Resources) Message, Matrix = 1"},
        RequestCase{"RequestAlphasStartIndexAbove255",
                    [] { return RequestAlphasRequest(Page(2, 1, 384, 0, 128)); },
                    5,
                    {2, 0x11, 0x80, 0x00, 128},
                    0,
                    "Sending Request Alphas (Party Lines) Message, Matrix = 2"},
        RequestCase{"MatrixNames",
                    [] { return RequestAlphasRequest(Page(9, 7, 128, 0, 128)); },
                    5,
                    {9, 0x70, 128, 0x00, 128},
                    0,
                    "Sending Matrix Names Query Message, Matrix = 9"},
        RequestCase{"TrunkDefinitions",
                    [] { return TrunkDefinitionsRequest(9999); },
                    8,
                    {0x27, 0x0F, 0, 1},
                    0,
                    "Sending Get Trunk Definitions Message, Trunk = 9999"},
        RequestCase{"TrunkStatus",
                    [] { return TrunkStatusRequest(300, false); },
                    14,
                    {0x01, 0x2C, 0, 1},
                    0,
                    "Sending Get Trunk Status Message, Trunk = 300"},
        RequestCase{"TrunkStatusWithOutOfService",
                    [] { return TrunkStatusRequest(300, true); },
                    14,
                    {0x01, 0x2C, 0, 1, 1},
                    0,
                    "Sending Get Trunk Status Message, Trunk = 300"},
        RequestCase{"InspectTrunk",
                    [] { return InspectTrunkRequest(258); },
                    35,
                    {0x01, 0x02},
                    0,
                    "Sending Inspect Trunk Message, Trunk = 258"},
        RequestCase{"BaudRate",
                    [] { return MatrixBaudRateRequest(3); },
                    15,
                    {3, 1},
                    0,
                    "Sending Get Matrix Baud Rate Message, Matrix = 3"},
        RequestCase{"PortMapping",
                    [] { return MatrixPortMappingRequest(3); },
                    27,
                    {3, 1},
                    0,
                    "Sending Get Mapping of Intercoms to Ports Message, Matrix = 3"},
        RequestCase{"ConnType",
                    [] { return MatrixConnTypeRequest(3); },
                    68,
                    {3, 1},
                    0,
                    "Sending Get Matrix Conn Type Message, Matrix = 3"},
        RequestCase{"IPAddress1",
                    [] { return MatrixIPAddressRequest(0, 3); },
                    70,
                    {0, 3, 1},
                    0,
                    "Sending Get Matrix IP Address 1 Message, Matrix = 3"},
        RequestCase{"IPAddress2",
                    [] { return MatrixIPAddressRequest(1, 3); },
                    70,
                    {1, 3, 1},
                    0,
                    "Sending Get Matrix IP Address 2 Message, Matrix = 3"},
        RequestCase{"CascadeCost",
                    [] { return MatrixCascadeCostRequest(254); },
                    81,
                    {0, 254, 0, 1},
                    0,
                    "Sending Get Matrix Cascade Cost Message, Matrix = 254"},
        RequestCase{"DeviceCommStatus",
                    [] { return DeviceCommStatusRequest(7); },
                    18,
                    {1, 7, 1},
                    0,
                    "Sending Get Device Comm Status Message, Matrix = 7"},
        RequestCase{"OosPorts",
                    [] { return OosPortsRequest(7); },
                    80,
                    {7, 1},
                    0,
                    "Sending Get OOS Ports Message, Matrix = 7"},
        RequestCase{"QueuedRequestsMatrix30",
                    [] { return QueuedRequestsRequest(30); },
                    41,
                    {30},
                    0,
                    "Sending Get Queued Requests Message, Matrix = 30"},
        RequestCase{"QueuedRequestsMatrix31",
                    [] { return QueuedRequestsRequest(31); },
                    86,
                    {0, 32},
                    0,
                    "Sending Get Queued Requests Message, Matrix = 31"},
        RequestCase{"GetExclusiveControl",
                    GetExclusiveControlRequest,
                    25,
                    {},
                    1,
                    "Sending Get Exclusive Control Message"},
        RequestCase{"ReleaseExclusiveControl",
                    ReleaseExclusiveControlRequest,
                    26,
                    {},
                    0,
                    "Sending Exclusive Control Message"},
        RequestCase{"AbortAllChanges",
                    AbortAllChangesRequest,
                    4,
                    {},
                    1,
                    "Sending Abort All Changes Message"},
        RequestCase{"ActivateChanges",
                    ActivateChangesRequest,
                    3,
                    {},
                    0,
                    "Sending Activate Changes Message"},
        RequestCase{"GetActivationStatus",
                    GetActivationStatusRequest,
                    23,
                    {},
                    0,
                    "Sending Get Activation Status Message"},
        RequestCase{"SetTrunkModeForced",
                    [] { return SetTrunkModeRequest(513, 2); },
                    39,
                    {0x02, 0x01, 2},
                    0,
                    "Sending Set Trunk Mode Message"},
        RequestCase{"CrosspointsMaintenancePortLoop",
                    [] { return SetTrunkCrosspointsRequest(4, 0xFFFF, 0xFFFF, true); },
                    40,
                    {4, 0xFF, 0xFF, 0xFF, 0xFF, 1},
                    0,
                    "Sending Set Trunk Crosspoints Message"},
        RequestCase{"CrosspointsClearTrunkTrunk",
                    [] { return SetTrunkCrosspointsRequest(2, 17, 300, false); },
                    40,
                    {2, 0, 17, 0x01, 0x2C, 0},
                    0,
                    "Sending Set Trunk Crosspoints Message"},
        RequestCase{"SetMaintenancePort",
                    [] { return SetMaintenancePortRequest(3, 700); },
                    44,
                    {3, 0x02, 0xBC},
                    0,
                    "Sending Set Maintenance Port Message"},
        RequestCase{"GetMaintenancePort",
                    GetMaintenancePortRequest,
                    52,
                    {},
                    0,
                    "Sending Get Maintenance Port Message"},
        RequestCase{"Compatibility31",
                    [] { return CompatibilityRequest(false); },
                    73,
                    {0, 31},
                    0,
                    "Sending Compatibility Message"},
        RequestCase{"Compatibility255",
                    [] { return CompatibilityRequest(true); },
                    73,
                    {0, 255},
                    0,
                    "Sending Compatibility Message"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvane
