#pragma once

#include <string>
#include <vector>

#include "graphics/LayoutModelSource.h"
#include "store/TableRecordsets.h"

namespace corvane {

class CDaoDatabase;

// What a graphical view reads of the database: the Intercoms rows by number (and walked in
// name order for the menus) and the TrunkSummary row of a pair, each a seek on its table.
// Until opened every lookup finds nothing.
class CLayoutRecordsets final : public LayoutModelSource {
public:
    explicit CLayoutRecordsets(CDaoDatabase& db);

    // Throws CDaoException.
    void Open();
    bool IsOpen() const { return open_; }

    Lookup FindIntercom(int number, IntercomRow& row, std::string& error) override;
    Lookup FindTrunkSummary(int from, int to, TrunkSetCounts& counts, std::string& error) override;
    Lookup ReadTrunkSummaries(std::vector<PairCounts>& rows, std::string& error) override;
    Lookup ListIntercoms(std::vector<IntercomEntry>& intercoms, std::string& error) override;

private:
    void UseIntercomIndex(const char* index);

    CDaoDatabase& db_;
    CIntercomsRS intercoms_;
    CSummaryRS summary_;
    const char* intercomIndex_ = "";
    bool open_ = false;
};

}  // namespace corvane
