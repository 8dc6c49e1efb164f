#include "link/ChangeQueryMessages.h"

#include <algorithm>

#include "link/AlphaMessages.h"
#include "link/QuillexMessageCode.h"

namespace corvane {

const char* ChangeAreaName(ChangeArea area) {
    static const char* const kNames[kChangeAreaCount] = {
        "Overall",           "Matrix Names", "Matrix Alphas",   "Matrix CommStat",
        "Trunk Definitions", "Trunk Usage",  "Failed Requests", "Matrix OOS Ports"};
    const auto i = static_cast<size_t>(area);
    return i < kChangeAreaCount ? kNames[i] : "?";
}

std::string ChangeReplyName(ChangeArea area) {
    return std::string(ChangeAreaName(area)) + " Change Query Reply";
}

QuillexRequest ChangeQueryRequest(ChangeArea area) {
    return MakeRequest(QuillexMessageCode::kChangeQuery,
                       std::string("Sending ") + ChangeAreaName(area) + " Change Query Message")
        .Byte(static_cast<int>(area));
}

QuillexRequest SetAllChangeFlagsRequest() {
    return MakeRequest(QuillexMessageCode::kSetAllChangeFlags,
                       "Sending Set All Change Flags Message");
}

QuillexRequest ClearChangeFlagsRequest(ChangeArea area, const ChangeMap& map) {
    return MakeRequest(QuillexMessageCode::kClearChangeFlags, "Sending Clear Change Flags Message")
        .Byte(static_cast<int>(area))
        .Bytes(map.payload);
}

bool ChangeMap::IsSet(int item) const {
    if (item < 0 || item >= bitCount) {
        return false;
    }
    const size_t at = 2 + static_cast<size_t>(item) / 8;
    return at < payload.size() && (payload[at] >> (item % 8) & 1) != 0;
}

Decoded<ChangeMap> DecodeChangeReply(ChangeArea area, ReplyBytes payload) {
    // The count is read only once it is there.
    if (payload.size() < 2) {
        return Decoded<ChangeMap>::Refused(LengthFailure(ChangeReplyName(area).c_str()));
    }
    ChangeMap map;
    map.bitCount = static_cast<int>(WordAt(payload, 0));
    if (payload.size() != 2 + (static_cast<size_t>(map.bitCount) + 7) / 8) {
        return Decoded<ChangeMap>::Refused(LengthFailure(ChangeReplyName(area).c_str()));
    }
    map.payload.assign(payload.begin(), payload.end());
    return map;
}

std::vector<int> MarkedItems(const ChangeMap& map, int limit) {
    std::vector<int> items;
    const int end = std::min(map.bitCount, limit);
    for (int item = 0; item < end; ++item) {
        if (map.IsSet(item)) {
            items.push_back(item);
        }
    }
    return items;
}

bool ChangeMap::IsSetInByte(size_t byte, int bit) const {
    const size_t at = 2 + byte;
    return bitCount > 0 && at < payload.size() && (payload[at] >> bit & 1) != 0;
}

// Both read whole map bytes: the bit count only says that the map is there.
std::vector<AlphaListMark> MarkedAlphaLists(const ChangeMap& map) {
    std::vector<AlphaListMark> marks;
    for (int matrix = 0; matrix < kQuillexMatrices; ++matrix) {
        for (int bit = 0; bit < 8; ++bit) {
            if (map.IsSetInByte(2 * static_cast<size_t>(matrix), bit)) {
                marks.push_back({matrix, AlphaListKinds()[static_cast<size_t>(bit)].kind});
            }
        }
    }
    return marks;
}

std::vector<ChangeArea> MarkedAreas(const ChangeMap& map) {
    std::vector<ChangeArea> areas;
    for (int bit = 0; bit < 7; ++bit) {
        if (map.IsSetInByte(0, bit)) {
            areas.push_back(static_cast<ChangeArea>(bit + 1));
        }
    }
    return areas;
}

}  // namespace corvane
