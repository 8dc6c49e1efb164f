#include <algorithm>
#include <utility>

#include "graphics/CaptionObj.h"
#include "graphics/GraphicLayout.h"
#include "graphics/IcomObj.h"
#include "graphics/IntercomPairKey.h"
#include "graphics/LayoutModelSource.h"
#include "platform/Format.h"

namespace corvane {
namespace {

constexpr int kRemoteBaudRate = 9600;
constexpr size_t kReadAllSummariesFrom = 256;

void Merge(LayoutRefreshResult& into, LayoutRefreshResult&& part) {
    into.changed = into.changed || part.changed;
    for (LayoutModelError& e : part.errors) {
        into.errors.push_back(std::move(e));
    }
}

}  // namespace

std::string IntercomCaptionText(int number, const std::string& name) {
    const size_t last = name.find_last_not_of(' ');
    if (last != std::string::npos) {
        return name.substr(0, last + 1);
    }
    // The system's format; the compiler notes that its 0 flag changes nothing.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
    return StrFormat("MX%02.2d", number);
#pragma GCC diagnostic pop
}

bool IsOnlineComState(const std::string& comState) {
    return comState.compare(0, 2, "OK") == 0;
}

LayoutRefreshResult RefreshTrunkSetCounts(CGraphicLayout& layout, LayoutModelSource& model) {
    using Lookup = LayoutModelSource::Lookup;
    LayoutRefreshResult result;
    // A layout of many pairs reads the summary once: a lookup per pair costs more.
    std::vector<LayoutModelSource::PairCounts> rows;
    bool readAll = false;
    if (layout.TrunkSets().GetCount() >= kReadAllSummariesFrom) {
        std::string error;
        const Lookup read = model.ReadTrunkSummaries(rows, error);
        if (read == Lookup::Failed) {
            result.errors.push_back({kTrunkUsageErrorFormat, error});
            return result;
        }
        readAll = read == Lookup::Found;
    }
    const auto findRow = [&](int from, int to, TrunkSetCounts& counts) {
        const auto row = std::lower_bound(rows.begin(), rows.end(), std::pair(from, to),
                                          [](const LayoutModelSource::PairCounts& r, auto key) {
                                              return std::pair(r.from, r.to) < key;
                                          });
        if (row == rows.end() || row->from != from || row->to != to) {
            return Lookup::NotFound;
        }
        counts = row->counts;
        return Lookup::Found;
    };
    for (CGraphicObj* obj : layout.TrunkSets()) {
        auto* trunkSet = static_cast<CTrunkSetObj*>(obj);
        CTrunkSetCaption* caption = trunkSet->Caption();
        if (caption == nullptr) {
            continue;
        }
        const auto [from, to] = SplitPairKey(trunkSet->GetId());
        TrunkSetCounts counts;
        std::string error;
        const Lookup found =
            readAll ? findRow(from, to, counts) : model.FindTrunkSummary(from, to, counts, error);
        if (found == LayoutModelSource::Lookup::Failed) {
            result.errors.push_back({kTrunkUsageErrorFormat, error});
            continue;
        }
        if (found == LayoutModelSource::Lookup::NotFound) {
            counts = {};
        }
        const std::string before = caption->GetText();
        const bool countsChanged = trunkSet->SetTrunkCounts(counts);
        result.changed = result.changed || countsChanged || caption->GetText() != before;
    }
    return result;
}

LayoutRefreshResult RefreshIntercoms(CGraphicLayout& layout, LayoutModelSource& model) {
    LayoutRefreshResult result;
    for (CGraphicObj* obj : layout.Intercoms()) {
        auto* intercom = static_cast<CIcomObj*>(obj);
        CIcomCaption* caption = intercom->Caption();
        if (caption == nullptr) {
            continue;
        }
        LayoutModelSource::IntercomRow row;
        std::string error;
        const LayoutModelSource::Lookup found = model.FindIntercom(intercom->GetId(), row, error);
        if (found == LayoutModelSource::Lookup::Failed) {
            result.errors.push_back({kIntercomNameErrorFormat, error});
            continue;
        }
        if (found == LayoutModelSource::Lookup::NotFound) {
            row = {};
        }
        // Each of the three is set, whatever the others did.
        const bool text = caption->SetText(IntercomCaptionText(intercom->GetId(), row.name));
        const bool online = intercom->SetOnline(IsOnlineComState(row.comState));
        const bool remote = intercom->SetBaud9600Mark(row.baudRate == kRemoteBaudRate);
        result.changed = result.changed || text || online || remote;
    }
    return result;
}

LayoutRefreshResult RefreshLayout(CGraphicLayout& layout, LayoutModelSource& model,
                                  ViewUpdateHint hint) {
    LayoutRefreshResult result;
    if ((hint & hint::kSummaryEdited) != 0) {
        Merge(result, RefreshTrunkSetCounts(layout, model));
    }
    if ((hint & (hint::kIntercomsEdited | hint::kIntercomNames)) != 0) {
        Merge(result, RefreshIntercoms(layout, model));
    }
    return result;
}

}  // namespace corvane
