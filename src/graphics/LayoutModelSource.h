#pragma once

#include <string>
#include <vector>

#include "graphics/TrunkSetObj.h"
#include "model/ViewUpdateHint.h"

namespace corvane {

class CGraphicLayout;

// What a graphical layout needs of the model: an intercom's row and the trunk summary of a
// pair. The graphical view provides it over its recordsets (or the document).
class LayoutModelSource {
public:
    enum class Lookup { Found, NotFound, Failed };

    struct IntercomRow {
        std::string name;      // IntercomName
        std::string comState;  // ComState: "OK..." while the matrix communicates
        int baudRate = 0;      // BaudRate
    };

    struct IntercomEntry {
        int number = 0;
        std::string name;  // IntercomName as stored
    };

    struct PairCounts {
        int from = 0;
        int to = 0;
        TrunkSetCounts counts;
    };

    virtual ~LayoutModelSource() = default;
    // Failed fills error with the database's description.
    virtual Lookup FindIntercom(int number, IntercomRow& row, std::string& error) = 0;
    // The TrunkSummary row (from, to).
    virtual Lookup FindTrunkSummary(int from, int to, TrunkSetCounts& counts,
                                    std::string& error) = 0;
    // Every TrunkSummary row whose first intercom is the smaller, in (from, to) order: one
    // read in place of a lookup per pair when a layout shows many. NotFound from a source
    // that has only the lookups.
    virtual Lookup ReadTrunkSummaries(std::vector<PairCounts>& rows, std::string& error) {
        rows.clear();
        return Lookup::NotFound;
    }
    // The intercoms in the order of their names; Failed keeps those read before the failure.
    virtual Lookup ListIntercoms(std::vector<IntercomEntry>& intercoms, std::string& error) = 0;
};

// A lookup that failed: the view reports it in the words of the format.
struct LayoutModelError {
    std::string format;  // "...\nDescription: %s"
    std::string description;
};

inline constexpr const char* kTrunkUsageErrorFormat = "Error, getting trunk usage\nDescription: %s";
inline constexpr const char* kIntercomNameErrorFormat =
    "Error, getting intercom name\nDescription: %s";
inline constexpr const char* kIntercomNamesErrorFormat =
    "Error, reading intercom names\nDescription: %s";

struct LayoutRefreshResult {
    bool changed = false;  // a caption, count or flag changed: repaint
    std::vector<LayoutModelError> errors;
};

// An intercom's caption: its name without trailing blanks, or "MX%02.2d" when it has none.
std::string IntercomCaptionText(int number, const std::string& name);
// "OK..." communicates.
bool IsOnlineComState(const std::string& comState);

// The counts of every trunk set that has a caption, zeros where the summary has no row.
LayoutRefreshResult RefreshTrunkSetCounts(CGraphicLayout& layout, LayoutModelSource& model);
// Caption, online state and remote mark of every intercom that has a caption; an intercom
// the model lacks shows its number and is offline.
LayoutRefreshResult RefreshIntercoms(CGraphicLayout& layout, LayoutModelSource& model);
// What a hint asks for: the counts on a summary edit (0x10000), the intercoms on an
// intercom edit or name change (0x8, 0x10).
LayoutRefreshResult RefreshLayout(CGraphicLayout& layout, LayoutModelSource& model,
                                  ViewUpdateHint hint);

}  // namespace corvane
