#include "platform/StringTable.h"

#include <unordered_map>

namespace corvane {
namespace {

const std::unordered_map<int, std::string>& Table() {
    static const std::unordered_map<int, std::string> table = {
        {102, "Corvane"},
        // request states
        {5304, "Alloc"},
        {5305, "Queued"},
        {5306, "Active"},
        {5307, "Finished"},
        {5308, "Incomplete"},
        // trunk states
        {5309, "Idle"},
        {5310, "Alloc"},
        {5311, "In Use"},
        {5312, "Maint"},
        // test results
        {5313, "Pass"},
        {5314, "Fail"},
        {5315, "Error"},
        {5316, "Pending"},
        {5317, "Testing"},
        {5318, "Skipped"},
        {5319, " "},
        // alarm states
        {5322, "Active"},
        {5323, "Resolved"},
        {5324, "Stale"},
        {5377, "Unresolved"},
        // notification states
        {5333, "None"},
        {5334, "Pending"},
        {5335, "Cancelled"},
        {5336, "Sent"},
        {5337, "Suppressed"},
        {5338, "Aborted"},
        {5339, "Error"},
        {5376, "Skipped"},
        // alarm setup kinds
        {5600, "Quillex Events"},
        {5601, "Tonexa Events"},
        {5602, "Intercom Events"},
        {5603, "Trunk Test Failures"},
        {5604, "Trunk Test Errors"},
        {5605, "Trunk Request Busy Events"},
        {5606, "RT-2M Events"},
        // audio analyzer names
        {5610, "None"},
        {5611, "Tonexa"},
        {5612, "RT-2M"},
    };
    return table;
}

}  // namespace

const std::string& LoadString(int id) {
    static const std::string empty;
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}

}  // namespace corvane
