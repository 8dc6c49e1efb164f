#include "presentation/FilterData.h"

namespace corvane {
namespace {

// Joins the non-empty parts with one blank.
std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts) {
        if (p.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += ' ';
        }
        out += p;
    }
    return out;
}

std::string Name(const FilterNameSource* names, int intercom) {
    return names != nullptr && intercom != CVorlinFilterData::kAny ? names->IntercomName(intercom)
                                                                   : std::string();
}

// "A", "B" or "A/B" for a pair of intercoms.
std::string PairName(const FilterNameSource* names, int first, int second) {
    const std::string a = Name(names, first);
    const std::string b = Name(names, second);
    if (a.empty() || b.empty()) {
        return a.empty() ? b : a;
    }
    return a + "/" + b;
}

std::string TypeCode(const FilterNameSource* names, int type) {
    return names != nullptr && type != CVorlinFilterData::kAny && names->IsValidFunctionType(type)
               ? names->FunctionTypeCode(type)
               : std::string();
}

template <typename T>
std::unique_ptr<CVorlinFilterData> CloneOf(const T& self) {
    auto copy = std::make_unique<T>();
    copy->AssignSelectors(self);
    copy->changed = self.changed;
    return copy;
}

}  // namespace

bool IsMaskSelector(FilterKind kind, int n) {
    switch (kind) {
        case FilterKind::Trunks:
            return n >= 3 && n <= 5;
        case FilterKind::Requests:
            return n == 6;
        case FilterKind::Alarms:
            return n == 3 || n == 4;
        default:
            return false;
    }
}

void TakeSwitchedFilter(CVorlinFilterData& own, const CVorlinFilterData& given) {
    for (int n = 1; n <= 6; ++n) {
        if (!IsMaskSelector(own.Kind(), n)) {
            own.SetSelector(n, given.Selector(n));
        }
    }
    own.changed = given.changed;
}

void CVorlinFilterData::AssignSelectors(const CVorlinFilterData& other) {
    for (int n = 1; n <= 6; ++n) {
        SetSelector(n, other.Selector(n));
    }
}

CTrunkFilterData::CTrunkFilterData() : CVorlinFilterData(FilterKind::Trunks) {
    SetStateMask(15);
    SetResultMask(31);
    SetServiceMask(3);
}

CRequestFilterData::CRequestFilterData() : CVorlinFilterData(FilterKind::Requests) {
    SetStateMask(15);
}

CAlarmFilterData::CAlarmFilterData() : CVorlinFilterData(FilterKind::Alarms) {
    SetStateMask(15);
    SetCategoryMask(63);
}

std::unique_ptr<CVorlinFilterData> CIcomFilterData::Clone() const {
    return CloneOf(*this);
}
std::unique_ptr<CVorlinFilterData> CTrunkFilterData::Clone() const {
    return CloneOf(*this);
}
std::unique_ptr<CVorlinFilterData> CRequestFilterData::Clone() const {
    return CloneOf(*this);
}
std::unique_ptr<CVorlinFilterData> CAlphaFilterData::Clone() const {
    return CloneOf(*this);
}
std::unique_ptr<CVorlinFilterData> CAlarmFilterData::Clone() const {
    return CloneOf(*this);
}
std::unique_ptr<CVorlinFilterData> CDupTrunkFilterData::Clone() const {
    return CloneOf(*this);
}
std::unique_ptr<CVorlinFilterData> CSummaryFilterData::Clone() const {
    return CloneOf(*this);
}

std::string CIcomFilterData::GetTitle(const FilterNameSource*) const {
    return "Intercoms";
}

std::string CDupTrunkFilterData::GetTitle(const FilterNameSource*) const {
    return "Trunk Definition Conflicts";
}

std::string CAlarmFilterData::GetTitle(const FilterNameSource*) const {
    return "Alarms";
}

std::string CTrunkFilterData::GetTitle(const FilterNameSource* names) const {
    return Join({PairName(names, Intercom(), OtherIntercom()), "Trunks"});
}

std::string CSummaryFilterData::GetTitle(const FilterNameSource* names) const {
    return Join({Name(names, Intercom()), "Trunk Summary"});
}

std::string CAlphaFilterData::GetTitle(const FilterNameSource* names) const {
    return Join({Name(names, Intercom()), TypeCode(names, FunctionType()), "Alphas"});
}

std::string CRequestFilterData::GetTitle(const FilterNameSource* names) const {
    if (names == nullptr) {
        return "Requests";
    }
    const std::string type = Assignment() == kAny ? TypeCode(names, FunctionType()) : "";
    std::string title = Join({PairName(names, Intercom1(), Intercom2()), type, "Requests"});
    if (Assignment() != kAny) {
        const std::string alpha = names->AssignmentAlpha(Intercom1(), Assignment());
        if (!alpha.empty()) {
            title += " for " + alpha;
        }
    }
    if (Trunk() != kAny) {
        title += " on Trunk " + std::to_string(Trunk());
    }
    return title;
}

}  // namespace corvane
