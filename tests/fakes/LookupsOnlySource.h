#pragma once

#include <string>
#include <vector>

#include "graphics/LayoutModelSource.h"

namespace corvane::testing {

// A layout's model source through its lookups only: every trunk set seeks its own row.
class LookupsOnlySource final : public LayoutModelSource {
public:
    explicit LookupsOnlySource(LayoutModelSource& source) : source_(source) {}
    Lookup FindIntercom(int number, IntercomRow& row, std::string& error) override {
        return source_.FindIntercom(number, row, error);
    }
    Lookup FindTrunkSummary(int from, int to, TrunkSetCounts& counts, std::string& error) override {
        return source_.FindTrunkSummary(from, to, counts, error);
    }
    Lookup ListIntercoms(std::vector<IntercomEntry>& intercoms, std::string& error) override {
        return source_.ListIntercoms(intercoms, error);
    }

private:
    LayoutModelSource& source_;
};

}  // namespace corvane::testing
