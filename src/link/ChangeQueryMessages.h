#pragma once

#include <cstdint>
#include <vector>

#include "link/QuillexRequest.h"
#include "link/ReplyDecode.h"

namespace corvane {

// The change queries: what changed in each area since the flags were last cleared.

// The sub-codes of Change Query and Clear Change Flags.
enum class ChangeArea : uint8_t {
    kOverall = 0,
    kMatrixNames = 1,
    kMatrixAlphas = 2,
    kMatrixCommStat = 3,
    kTrunkDefinitions = 4,
    kTrunkUsage = 5,
    kFailedRequests = 6,
    kMatrixOosPorts = 7,
};
inline constexpr int kChangeAreaCount = 8;

// "Overall", "Matrix Names", ... as the log lines name them.
const char* ChangeAreaName(ChangeArea area);

inline constexpr const char* kClearChangeFlagsReplyName = "Clear Change Flags Reply";
inline constexpr const char* kSetAllChangeFlagsReplyName = "Set All Change Flags Reply";

// "Sending <area> Change Query Message".
QuillexRequest ChangeQueryRequest(ChangeArea area);
QuillexRequest SetAllChangeFlagsRequest();

// A change reply: a bit count and a map of that many bits, least significant bit first.
struct ChangeMap {
    int bitCount = 0;
    std::vector<uint8_t> payload;  // the reply as received, count included

    bool IsSet(int item) const;
    // A bit of a map byte, also past the bit count when the map is not empty.
    bool IsSetInByte(size_t byte, int bit) const;
};
// "<area> Change Query Reply".
std::string ChangeReplyName(ChangeArea area);
// The length must be exactly 2 + ceil(count / 8).
Decoded<ChangeMap> DecodeChangeReply(ChangeArea area, ReplyBytes payload);

// The items below the bit count and below the limit whose bit is set.
std::vector<int> MarkedItems(const ChangeMap& map, int limit);
// Alphas: 16 bits per matrix, of which the first byte's bits 0-7 stand for the alpha kinds
// 0-6 and 8, whatever the bit count; at most 255 matrices.
struct AlphaListMark {
    int matrix = 0;
    int kind = 0;
};
std::vector<AlphaListMark> MarkedAlphaLists(const ChangeMap& map);
// Overall: bits 0-6 of the first map byte stand for the areas 1-7, whatever the bit count.
std::vector<ChangeArea> MarkedAreas(const ChangeMap& map);

// Sub-code, then the complete payload of the change reply just received.
QuillexRequest ClearChangeFlagsRequest(ChangeArea area, const ChangeMap& map);

}  // namespace corvane
