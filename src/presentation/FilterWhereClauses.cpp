#include "presentation/FilterWhereClauses.h"

#include <initializer_list>
#include <vector>

#include "model/ModelNumbers.h"

namespace corvane {
namespace {

// Selectors count only inside these limits; any other value (INT_MAX included) is "any".
bool CountsAsIntercom(int v) {
    return v < kIntercomCount;
}
bool CountsAsTrunk(int v) {
    return v < kTrunkCount;
}
// The function types that ports and alphas carry: 0-6 and 8.
bool IsPortFunctionType(int type) {
    return IsFunctionType(type) && type != kIntercomFunctionType;
}

// A name of the document's tables as an SQL text literal. The names are the program's own,
// but a quote in one must still not end the literal.
std::string Literal(const std::string& name) {
    std::string out = "'";
    for (const char c : name) {
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    out += '\'';
    return out;
}

std::string Number(int n) {
    return std::to_string(n);
}

// Clauses joined by " AND ".
class Clauses {
public:
    void Add(const std::string& clause) {
        if (!text_.empty()) {
            text_ += " AND ";
        }
        text_ += clause;
    }
    const std::string& Text() const { return text_; }
    bool Empty() const { return text_.empty(); }

private:
    std::string text_;
};

// A mask clause: each item a comparison and one blank, joined by "OR ", in parentheses.
class MaskClause {
public:
    void Item(const std::string& comparison) {
        if (!items_.empty()) {
            items_ += "OR ";
        }
        items_ += comparison + " ";
    }
    std::string Text() const { return "(" + items_ + ")"; }

private:
    std::string items_;
};

std::string Comparison(const char* column, const std::string& name) {
    return std::string(column) + " = " + Literal(name);
}

std::string EitherEnd(const char* end1, const char* end2, int value) {
    return "(" + std::string(end1) + " = " + Number(value) + " OR " + end2 + " = " + Number(value) +
           ")";
}

}  // namespace

std::string AlphaFilterText(const CAlphaFilterData& filter) {
    Clauses where;
    if (CountsAsIntercom(filter.Intercom())) {
        where.Add("(IntercomIndex = " + Number(filter.Intercom()) + ")");
    }
    if (IsFunctionType(filter.FunctionType())) {
        where.Add("(Function = " + Literal(FunctionTypeCode(filter.FunctionType())) + ")");
    }
    return where.Text();
}

std::string SummaryFilterText(const CVorlinFilterData& filter) {
    const int intercom = filter.Selector(1);
    return "(FromIntercomIndex = " + Number(CountsAsIntercom(intercom) ? intercom : 0) + ")";
}

std::string TrunkFilterText(const CTrunkFilterData& filter, const CNameTables& names) {
    Clauses where;
    for (const int intercom : {filter.Intercom(), filter.OtherIntercom()}) {
        if (CountsAsIntercom(intercom)) {
            where.Add(EitherEnd("Trunks.End1IntercomIndex", "Trunks.End2IntercomIndex", intercom));
        }
    }

    const int states = filter.StateMask() & 0xF;
    if (states == 0) {
        where.Add("(Trunks.State = 'IMPOSSIBLE_STATE')");
    } else if (states != 0xF) {
        MaskClause mask;
        for (int i = 0; i < 4; ++i) {
            if (states & (1 << i)) {
                mask.Item(Comparison("Trunks.State", names.trunkStates[i]));
            }
        }
        where.Add(mask.Text());
    }

    const int results = filter.ResultMask() & 0x1F;
    if (results == 0) {
        where.Add("(Trunks.TestResult = 'IMPOSSIBLE_RESULT')");
    } else if (results != 0x1F) {
        // Bit by bit: the result names each bit shows ("Pass" also shows the untested " ",
        // "Pending" also "Testing").
        static const std::vector<int> kResultsOfBit[5] = {{0, 6}, {1}, {2}, {3, 4}, {5}};
        MaskClause mask;
        for (int bit = 0; bit < 5; ++bit) {
            if (results & (1 << bit)) {
                for (const int result : kResultsOfBit[bit]) {
                    mask.Item(Comparison("Trunks.TestResult", names.testResults[result]));
                }
            }
        }
        where.Add(mask.Text());
    }

    const int service = filter.ServiceMask() & 0x3;
    if (service == 0) {
        where.Add("(Trunks.OOS = 0 AND Trunks.OOS = -1)");
    } else if (service != 0x3) {
        MaskClause mask;
        if (service & service::kOutOfService) {
            mask.Item("Trunks.OOS = -1");
        }
        if (service & service::kInService) {
            mask.Item("Trunks.OOS = 0");
        }
        where.Add(mask.Text());
    }
    return where.Text();
}

std::string RequestFilterText(const CRequestFilterData& filter, const CNameTables& names) {
    Clauses where;
    const int intercom = filter.Intercom1();
    const int type = filter.FunctionType();
    const int portType = filter.Assignment() >> 16;
    const int portNumber = filter.Assignment() & 0xFFFF;
    if (CountsAsIntercom(intercom)) {
        const std::string icom = Number(intercom);
        // A port whose function type is not one of the port types cannot be named; the
        // clause then falls back to the wider forms.
        if (portNumber <= kMaxPortNumber && IsPortFunctionType(portType)) {
            const std::string code = Literal(FunctionTypeCode(portType));
            const std::string number = Number(portNumber);
            where.Add("((Requests.End1IntercomIndex = " + icom + " AND Requests.End1Function = " +
                      code + " AND Requests.End1Number = " + number +
                      " )OR (Requests.End2IntercomIndex = " + icom +
                      " AND Requests.End2Function = " + code +
                      " AND Requests.End2Number = " + number + "))");
        } else if (IsPortFunctionType(type)) {
            const std::string code = Literal(FunctionTypeCode(type));
            where.Add("((Requests.End1IntercomIndex = " + icom + " AND Requests.End1Function = " +
                      code + ")OR (Requests.End2IntercomIndex = " + icom +
                      " AND Requests.End2Function = " + code + "))");
        } else {
            where.Add(
                EitherEnd("Requests.End1IntercomIndex", "Requests.End2IntercomIndex", intercom));
        }
    } else if (IsPortFunctionType(type)) {
        const std::string code = Literal(FunctionTypeCode(type));
        where.Add("(Requests.End1Function = " + code + " OR Requests.End2Function = " + code + ")");
    }
    if (CountsAsIntercom(filter.Intercom2())) {
        where.Add(EitherEnd("Requests.End1IntercomIndex", "Requests.End2IntercomIndex",
                            filter.Intercom2()));
    }
    if (CountsAsTrunk(filter.Trunk())) {
        where.Add(EitherEnd("Requests.Trunk1Index", "Requests.Trunk2Index", filter.Trunk()));
    }
    const int states = filter.StateMask() & 0xF;
    if (states != 0 && states != 0xF) {
        // Bits 0x1 queued, 0x2 active, 0x4 allocated, 0x8 finished, by the name table's
        // indexes.
        static constexpr int kStateOfBit[4] = {1, 2, 0, 3};
        MaskClause mask;
        for (int bit = 0; bit < 4; ++bit) {
            if (states & (1 << bit)) {
                mask.Item(Comparison("Requests.State", names.requestStates[kStateOfBit[bit]]));
            }
        }
        where.Add(mask.Text());
    }
    return where.Text();
}

std::string AlarmFilterText(const CAlarmFilterData& filter, const CNameTables& names) {
    const auto excluded = [&](int deviceType) {
        return "(Alarms.DeviceType <> " + Literal(names.deviceTypes[deviceType]) + ")";
    };
    const auto selected = [&](int deviceType, int instance) {
        return "(Alarms.DeviceType = " + Literal(names.deviceTypes[deviceType]) +
               " AND Alarms.DeviceInstance = " + Number(instance) + ")";
    };
    const int categories = filter.CategoryMask() & 0x3F;
    const auto shows = [&](int bit) { return (categories & bit) != 0; };

    // Intercom and trunk alarms: hidden as a group, or one device shown beside the rest.
    const std::string x = excluded(devicetype::kIntercom);
    const std::string y = excluded(devicetype::kTrunk);
    Clauses p;
    std::string a, b;
    if (!shows(alarmcategory::kIntercomCommunication)) {
        p.Add(x);
    } else if (CountsAsIntercom(filter.Intercom())) {
        a = selected(devicetype::kIntercom, filter.Intercom());
    }
    if (!shows(alarmcategory::kTrunkTestFailure)) {
        p.Add(y);
    } else if (CountsAsTrunk(filter.Trunk())) {
        b = selected(devicetype::kTrunk, filter.Trunk());
    }
    std::string devices = p.Text();
    const auto oneDevice = [&](const std::string& shown, const std::string& others) {
        return "(" + shown + " OR (" + others + (devices.empty() ? "" : " AND (" + devices + ")") +
               "))";
    };
    if (!a.empty() && !b.empty()) {
        devices = "(" + a + " OR " + b + ")";
    } else if (!a.empty()) {
        devices = oneDevice(a, x);
    } else if (!b.empty()) {
        devices = oneDevice(b, y);
    }

    Clauses where;
    if (!devices.empty()) {
        where.Add(devices);
    }
    if (!shows(alarmcategory::kController)) {
        where.Add(excluded(devicetype::kQuillex));
    }
    if (!shows(alarmcategory::kAudioAnalyzer)) {
        where.Add(excluded(devicetype::kTonexa));
        where.Add(excluded(devicetype::kRT2M));
    }
    if (!shows(alarmcategory::kRequestBusy)) {
        where.Add(excluded(devicetype::kRequest));
    }
    if (!shows(alarmcategory::kAcknowledged)) {
        where.Add("(Alarms.Acknowledged = 0)");
    }
    const int states = filter.StateMask() & 0xF;
    if (states != 0 && states != 0xF) {
        // Resolved first, then active, stale and unresolved.
        static constexpr int kBitOrder[4] = {alarmstate::kResolved, alarmstate::kActive,
                                             alarmstate::kStale, alarmstate::kUnresolved};
        static constexpr int kStateOfBit[4] = {1, 0, 2, 3};
        MaskClause mask;
        for (int i = 0; i < 4; ++i) {
            if (states & kBitOrder[i]) {
                mask.Item(Comparison("Alarms.State", names.alarmStates[kStateOfBit[i]]));
            }
        }
        where.Add(mask.Text());
    }
    return where.Text();
}

void BuildAlarmFilter(CListRecordset* rs, const CAlarmFilterData* filter,
                      const CNameTables& names) {
    if (rs == nullptr) {
        return;
    }
    rs->m_strFilter.clear();
    if (filter != nullptr) {
        rs->m_strFilter = AlarmFilterText(*filter, names);
    }
}

void BuildAlphaFilter(CListRecordset* rs, const CAlphaFilterData* filter) {
    if (rs == nullptr) {
        return;
    }
    rs->m_strFilter.clear();
    if (filter != nullptr) {
        rs->m_strFilter = AlphaFilterText(*filter);
    }
}

void BuildRequestFilter(CListRecordset* rs, const CRequestFilterData* filter,
                        const CNameTables& names) {
    if (rs == nullptr) {
        return;
    }
    rs->m_strFilter.clear();
    if (filter != nullptr) {
        rs->m_strFilter = RequestFilterText(*filter, names);
    }
}

void BuildTrunkFilter(CListRecordset* rs, const CTrunkFilterData* filter,
                      const CNameTables& names) {
    if (rs == nullptr) {
        return;
    }
    rs->m_strFilter.clear();
    if (filter != nullptr) {
        rs->m_strFilter = TrunkFilterText(*filter, names);
    }
}

void BuildSummaryFilter(CListRecordset* rs, const CVorlinFilterData* filter) {
    if (rs == nullptr) {
        return;
    }
    rs->m_strFilter.clear();
    if (filter != nullptr) {
        rs->m_strFilter = SummaryFilterText(*filter);
    }
}

void BuildIcomFilter(CListRecordset* rs, const CVorlinFilterData*) {
    if (rs != nullptr) {
        rs->m_strFilter.clear();
    }
}

void BuildDupTrunkFilter(CListRecordset* rs, const CVorlinFilterData*) {
    if (rs != nullptr) {
        rs->m_strFilter.clear();
    }
}

}  // namespace corvane
