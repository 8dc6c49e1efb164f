#include "platform/StringTable.h"

#include <unordered_map>

namespace corvane {
namespace {

const std::unordered_map<int, std::string>& Table() {
    static const std::unordered_map<int, std::string> table = {
        {102, "Corvane"},
        // status bar panes
        {211, "Audio Analyzer"},
        {212, "Quillex"},
        {213, "Testing: In Progress"},
        {5320,
         "Warning, trunk %1!d! is in use.  Do you want to procede\nwith the test which will "
         "cause the assignments to be\nmoved to another trunk?"},
        {5345, "Are you sure you want to delete '%s'?"},
        {5346, "Testing: Idle"},
        {5347, "Testing: In Progress"},
        {5348, "Testing: Paused"},
        {5349,
         "Warning, trunk %1!d! involves an intercom which is not communicating.\nDo you want "
         "to proceed with the test anyway?"},
        {5350, "Build Date: "},
        {5421, "Audio Analyzer"},
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
        // database
        {5351,
         "The database has grown large enough that you should consider compacting it to reduce "
         "the file size and reclaim the space occupied by deleted records.\n\nCompacting the "
         "database requires that the database be closed by ALL applications.  If there are "
         "other applications accessing the database, you should close them before continuing "
         "with the compaction.\n\nDo you want to compact the database now?"},
        {5374, "Busy"},
        {5650,
         "The database file %1 was removed or replaced while Corvane was using it.\n\nCorvane "
         "goes on supervising and writes on into the file it has open, which no longer has "
         "that name. Stop Corvane and start it again to go on with the database at %1; a new, "
         "empty one is made when there is none. Until then, do not open %1 with another "
         "program."},
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
        // device types
        {5620, "Quillex"},
        {5621, "Tonexa"},
        {5622, "Intercom"},
        {5623, "Trunk"},
        {5624, "Request"},
        {5625, "RT-2M"},
        // alarm categories
        {5630, "Communication"},
        {5631, "Test Failure"},
        {5632, "Loopback"},
        {5633, "Test Error"},
        {5634, "Busy"},
        {5635, "Device"},
        {5640, "All function types"},
        // the controller's serial port
        {5383,
         "Unable to open the %1 COM port!\n\nThe application will continue running but be "
         "unable to control the %1.\n\nThis problem may be the result of a resource leak in "
         "the application. Restarting the application may fix the problem."},
        {5384,
         "Failed to open the %1 COM port!\n\nThe application will continue running but be "
         "unable to control the %1.\n\nPlease verify that this port (%2) exists and is not "
         "already in use."},
        {61705, "Command failed."},
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
